#include "player/ResumeRecord.h"

#include "text/ClockText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace velmo {

namespace {

constexpr std::string_view kFirstLine = "velmo-resume 1";
constexpr size_t kMaxLanguageBytes = 1024;
/// A hundred years: beyond it a number is damage, not a film.
constexpr int64_t kMaxMs = int64_t(100) * 365 * 24 * 3600 * 1000;

template <class Int>
bool ReadInt(std::string_view text, Int min, Int max, Int *out)
{
    Int value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return false;
    *out = value;
    return true;
}

// A caption class is a name: no line breaks or other control characters.
bool ReadLanguage(std::string_view text, QString *out)
{
    if (text.size() > kMaxLanguageBytes)
        return false;
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    const QString language = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (language.toUtf8() != QByteArray(text.data(), qsizetype(text.size())))
        return false; // not UTF-8
    *out = language;
    return true;
}

bool ReadField(std::string_view key, std::string_view value, ResumeRecord *record, bool *hasPosition)
{
    if (key == "position") {
        *hasPosition = true;
        return ReadInt<int64_t>(value, 0, kMaxMs, &record->positionMs);
    }
    if (key == "duration")
        return ReadInt<int64_t>(value, 0, kMaxMs, &record->durationMs);
    if (key == "caption-offset")
        return ReadInt<int64_t>(value, -kMaxMs, kMaxMs, &record->captionOffsetMs);
    if (key == "caption-language")
        return ReadLanguage(value, &record->captionLanguage);
    if (key == "audio-stream")
        return ReadInt<int32_t>(value, -1, 0xFFFF, &record->audioStream);
    if (key == "subtitle") {
        int32_t choice = -1;
        if (!ReadInt<int32_t>(value, -2, 0xFFFF, &choice))
            return false;
        record->subtitle = choice;
        return true;
    }
    if (key == "sound-delay")
        return ReadInt<int64_t>(value, -kMaxMs, kMaxMs, &record->soundDelayMs);
    if (key == "caption-encoding") {
        // One this version does not know (a later one's) reads as Auto.
        record->captionEncoding = CaptionEncodingNamed(value).value_or(CaptionEncoding::Auto);
        return true;
    }
    return true; // a later version's field
}

} // namespace

std::string SerialiseResumeRecord(const ResumeRecord &record)
{
    std::string out(kFirstLine);
    out += "\nposition=" + std::to_string(record.positionMs);
    out += "\nduration=" + std::to_string(record.durationMs);
    out += "\ncaption-offset=" + std::to_string(record.captionOffsetMs);
    // A class the reader would refuse is not kept: the rest of the record is worth more.
    const std::string language = record.captionLanguage.toStdString();
    QString readable;
    if (ReadLanguage(language, &readable))
        out += "\ncaption-language=" + language;
    else
        out += "\ncaption-language=";
    out += "\naudio-stream=" + std::to_string(record.audioStream);
    out += "\ncaption-encoding=" + std::string(CaptionEncodingName(record.captionEncoding));
    if (record.subtitle)
        out += "\nsubtitle=" + std::to_string(*record.subtitle);
    out += "\nsound-delay=" + std::to_string(record.soundDelayMs);
    out += "\n";
    return out;
}

std::optional<ResumeRecord> ParseResumeRecord(std::string_view text)
{
    if (text.size() > kMaxResumeRecordBytes || !text.ends_with('\n'))
        return std::nullopt; // the last line is cut: not a whole record
    size_t lineEnd = text.find('\n');
    if (text.substr(0, lineEnd) != kFirstLine)
        return std::nullopt;
    ResumeRecord record;
    bool hasPosition = false;
    for (size_t start = lineEnd + 1; start < text.size(); start = lineEnd + 1) {
        lineEnd = text.find('\n', start);
        const std::string_view line = text.substr(start, lineEnd - start);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos
            || !ReadField(line.substr(0, equals), line.substr(equals + 1), &record, &hasPosition))
            return std::nullopt;
    }
    if (!hasPosition)
        return std::nullopt;
    return record;
}

ResumeAction ActionOnLeave(double positionS, double durationS, const ResumeRules &rules)
{
    if (!std::isfinite(durationS) || !std::isfinite(positionS) || durationS < rules.minDurationS || durationS <= 0)
        return ResumeAction::Keep;
    if (positionS >= durationS * (1.0 - rules.finishedShare))
        return ResumeAction::Forget;
    return ResumeAction::Remember;
}

QString ResumeOfferText(int64_t positionMs)
{
    return ClockText(positionMs) + QStringLiteral("부터 이어보기 (Enter)");
}

} // namespace velmo
