#include "subtitles/SubtitleStyle.h"

#include "text/Cp949.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velmo {

namespace {

const char kSection[] = "Sami";
constexpr uint8_t kAntialiasedQuality = 4;

QFont::Weight nearestWeight(int32_t weight)
{
    static const QFont::Weight weights[] = {QFont::Thin, QFont::ExtraLight, QFont::Light, QFont::Normal,
                                            QFont::Medium, QFont::DemiBold, QFont::Bold, QFont::ExtraBold,
                                            QFont::Black};
    if (weight <= 0)
        return QFont::Normal; // 0 asks for the default weight
    QFont::Weight best = QFont::Normal;
    int bestDistance = 1 << 30;
    for (QFont::Weight w : weights) {
        const int distance = std::abs(static_cast<int>(w) - weight);
        if (distance < bestDistance) {
            best = w;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

void InstallKoreanFontSubstitutes()
{
    QStringList hangul;
    for (const char *family : {"NanumGothic", "Nanum Gothic", "NanumBarunGothic", "Noto Sans CJK KR", "UnDotum"}) {
        if (QFontDatabase::hasFamily(QString::fromUtf8(family)))
            hangul << QString::fromUtf8(family);
    }
    if (hangul.isEmpty())
        return;
    for (const char *face : {"굴림", "돋움", "굴림체", "돋움체", "Gulim", "Dotum", "GulimChe", "DotumChe"})
        QFont::insertSubstitutions(QString::fromUtf8(face), hangul);
}

void SetCellHeight(QFont &font, int cellHeight)
{
    const auto heightAt = [&font](int pixelSize) {
        font.setPixelSize(pixelSize);
        return QFontMetrics(font).height();
    };
    // The face's own proportions give the first guess; hinting may round
    // the metrics of the real size a pixel either way, so step to the
    // largest size whose line still fits.
    constexpr int kProbe = 100;
    const int probeHeight = heightAt(kProbe);
    int pixelSize = probeHeight > 0 ? int(std::lround(double(kProbe) * cellHeight / probeHeight)) : cellHeight;
    pixelSize = std::max(pixelSize, 1);
    while (pixelSize > 1 && heightAt(pixelSize) > cellHeight)
        --pixelSize;
    while (pixelSize < 4 * cellHeight && heightAt(pixelSize + 1) <= cellHeight)
        ++pixelSize;
    font.setPixelSize(pixelSize);
}

QFont MakeSubtitleFont(int32_t size, int32_t weight, uint8_t quality, const std::string &faceCp949)
{
    QFont f;
    if (!faceCp949.empty())
        f.setFamily(fromCp949(QByteArray::fromStdString(faceCp949)));
    f.setWeight(nearestWeight(weight));
    f.setStyleStrategy(quality == kAntialiasedQuality ? QFont::PreferAntialias : QFont::NoAntialias);
    // A positive height is the cell (the line); a negative one the em. A
    // hand-edited file may hold any 32-bit value: fonts are made within what
    // a screen can show, and the file keeps what it holds.
    constexpr int64_t kLargestPixels = 1000;
    if (size > 0)
        SetCellHeight(f, int(std::min<int64_t>(size, kLargestPixels)));
    else if (size < 0)
        f.setPixelSize(int(std::min<int64_t>(-int64_t(size), kLargestPixels)));
    return f;
}

SubtitleStyle::SubtitleStyle(std::string settingsFileName) : fileName_(std::move(settingsFileName))
{
    LoadSettings();
}

bool SubtitleStyle::LoadSettings()
{
    if (!settingsFile.Load(fileName_))
        return false;
    subtitleVisible = settingsFile.GetBool(kSection, "Attribute");
    Font = settingsFile.GetString(kSection, "Font");
    Size = settingsFile.GetInt(kSection, "Size");
    Outline_Use = settingsFile.GetBool(kSection, "Outline_Use");
    Outline_Deep = settingsFile.GetBool(kSection, "Outline_Deep");
    Shadow_Use = settingsFile.GetBool(kSection, "Shadow_Use");
    Shadow_Deep = settingsFile.GetBool(kSection, "Shadow_Deep");
    Quality = settingsFile.GetBool(kSection, "Quality");
    fontQuality = Quality ? kAntialiasedQuality : 0;
    Style = settingsFile.GetInt(kSection, "Style");
    Position = settingsFile.GetInt(kSection, "Position");
    Color = ReadColor("Color");
    Outline = ReadColor("Outline");
    Shadow = ReadColor("Shadow");
    RebuildFont();
    return true;
}

bool SubtitleStyle::SaveSettings()
{
    settingsFile.SetInt(kSection, "Size", Size);
    settingsFile.SetString(kSection, "Font", Font);
    settingsFile.SetBool(kSection, "Attribute", subtitleVisible);
    settingsFile.SetBool(kSection, "Outline_Deep", Outline_Deep);
    settingsFile.SetBool(kSection, "Outline_Use", Outline_Use);
    settingsFile.SetInt(kSection, "Position", Position);
    settingsFile.SetBool(kSection, "Quality", Quality);
    settingsFile.SetBool(kSection, "Shadow_Deep", Shadow_Deep);
    settingsFile.SetBool(kSection, "Shadow_Use", Shadow_Use);
    settingsFile.SetInt(kSection, "Style", Style);
    settingsFile.SetString(kSection, "Color", FormatColor(Color));
    settingsFile.SetString(kSection, "Outline", FormatColor(Outline));
    settingsFile.SetString(kSection, "Shadow", FormatColor(Shadow));
    return settingsFile.Save();
}

Colour SubtitleStyle::ReadColor(const std::string &key) const
{
    return velmo::ReadColor(fileName_, kSection, key);
}

void SubtitleStyle::RebuildFont()
{
    font.reset();
    font = MakeSubtitleFont(Size, Style, fontQuality, Font);
}

} // namespace velmo
