#include "player/TrackRules.h"

#include <algorithm>
#include <cctype>

namespace velmo {

namespace {

struct Language {
    const char *codes; ///< ISO 639-1, then 639-2 B and T, blank-separated
    const char *name;
};

constexpr Language kLanguages[] = {
    {"ko kor", "한국어"},          {"en eng", "영어"},          {"ja jpn", "일본어"},
    {"zh chi zho", "중국어"},      {"fr fre fra", "프랑스어"},  {"de ger deu", "독일어"},
    {"es spa", "스페인어"},        {"it ita", "이탈리아어"},    {"ru rus", "러시아어"},
    {"pt por", "포르투갈어"},      {"ar ara", "아랍어"},        {"hi hin", "힌디어"},
    {"th tha", "태국어"},          {"vi vie", "베트남어"},      {"id ind", "인도네시아어"},
    {"ms may msa", "말레이어"},    {"tr tur", "터키어"},        {"nl dut nld", "네덜란드어"},
    {"sv swe", "스웨덴어"},        {"no nor", "노르웨이어"},    {"da dan", "덴마크어"},
    {"fi fin", "핀란드어"},        {"pl pol", "폴란드어"},      {"cs cze ces", "체코어"},
    {"el gre ell", "그리스어"},    {"he heb", "히브리어"},      {"hu hun", "헝가리어"},
    {"uk ukr", "우크라이나어"},    {"ro rum ron", "루마니아어"}, {"fa per fas", "페르시아어"},
    {"tl tgl fil", "타갈로그어"},  {"la lat", "라틴어"},        {"mn mon", "몽골어"},
    {"bn ben", "벵골어"},          {"ta tam", "타밀어"},        {"ur urd", "우르두어"},
    {"ca cat", "카탈루냐어"},      {"hr hrv", "크로아티아어"},  {"sr srp", "세르비아어"},
    {"bg bul", "불가리아어"},      {"sk slo slk", "슬로바키아어"}, {"sl slv", "슬로베니아어"},
    {"et est", "에스토니아어"},    {"lv lav", "라트비아어"},    {"lt lit", "리투아니아어"},
    {"is ice isl", "아이슬란드어"}, {"ga gle", "아일랜드어"},   {"yue", "광둥어"},
    {"mul", "여러 언어"},
};

// Longer names and titles are cut: a menu entry stays readable.
constexpr qsizetype kMaxTagChars = 24;
constexpr qsizetype kMaxTitleChars = 40;

// The primary subtag in lower case ("en-US" -> "en"); empty when the tag is
// not two or three ASCII letters before any region.
std::string PrimaryCode(std::string_view tag)
{
    const size_t end = std::min(tag.find_first_of("-_"), tag.size());
    const std::string_view code = tag.substr(0, end);
    if (code.size() < 2 || code.size() > 3)
        return {};
    std::string out;
    for (const char c : code) {
        if (!std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) > 0x7f)
            return {};
        out += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

const Language *Find(const std::string &code)
{
    if (code.empty())
        return nullptr;
    for (const Language &language : kLanguages) {
        const std::string_view codes(language.codes);
        for (size_t at = codes.find(code); at != std::string_view::npos; at = codes.find(code, at + 1)) {
            const bool starts = at == 0 || codes[at - 1] == ' ';
            const bool ends = at + code.size() == codes.size() || codes[at + code.size()] == ' ';
            if (starts && ends)
                return &language;
        }
    }
    return nullptr;
}

// One spelling for every form of a code, so that "kor" matches "ko".
std::string CanonicalCode(std::string_view tag)
{
    const std::string code = PrimaryCode(tag);
    const Language *language = Find(code);
    if (!language)
        return code;
    const std::string_view codes(language->codes);
    return std::string(codes.substr(0, codes.find(' ')));
}

// Text from a tag, as a menu can show it: control characters gone, cut short.
QString Shown(std::string_view bytes, qsizetype maxChars)
{
    QString text = QString::fromUtf8(bytes.data(), qsizetype(std::min<size_t>(bytes.size(), size_t(maxChars) * 4 + 4)));
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    text = text.simplified();
    if (text.size() > maxChars) {
        text.truncate(maxChars);
        if (text.back().isHighSurrogate())
            text.chop(1);
        text += u'…';
    }
    return text;
}

QString ChannelsText(int32_t channels)
{
    switch (channels) {
    case 0:
    case 1:
    case 2: return {}; // the usual: not worth a word
    case 3: return QStringLiteral("2.1");
    case 6: return QStringLiteral("5.1");
    case 8: return QStringLiteral("7.1");
    default: return QStringLiteral("%1채널").arg(channels);
    }
}

} // namespace

QString LanguageName(std::string_view tag)
{
    const std::string code = PrimaryCode(tag);
    if (tag.empty() || code == "und" || code == "zxx")
        return QStringLiteral("언어 없음");
    if (const Language *language = Find(code))
        return QString::fromUtf8(language->name);
    const QString shown = Shown(tag, kMaxTagChars);
    return shown.isEmpty() ? QStringLiteral("언어 없음") : shown;
}

QString TrackLabel(const StreamInfo &stream)
{
    QString label = LanguageName(stream.language);
    const QString title = Shown(stream.title, kMaxTitleChars);
    if (!title.isEmpty())
        label += QStringLiteral(" \"") + title + u'"';
    QString format = Shown(stream.format, kMaxTagChars);
    const QString channels = ChannelsText(stream.channels);
    if (!channels.isEmpty())
        format += (format.isEmpty() ? QString() : QStringLiteral(" ")) + channels;
    if (!format.isEmpty())
        label += QStringLiteral(" — ") + format;
    return label;
}

std::vector<std::string> LanguageList(std::string_view setting)
{
    std::vector<std::string> codes;
    size_t start = 0;
    while (start <= setting.size()) {
        const size_t comma = std::min(setting.find(',', start), setting.size());
        std::string code;
        for (const char c : setting.substr(start, comma - start))
            if (!std::isspace(static_cast<unsigned char>(c)))
                code += char(std::tolower(static_cast<unsigned char>(c)));
        if (!code.empty())
            codes.push_back(std::move(code));
        start = comma + 1;
    }
    return codes;
}

std::optional<int32_t> PreferredStream(const std::vector<StreamInfo> &streams,
                                       const std::vector<std::string> &preferred)
{
    for (const std::string &wanted : preferred) {
        const std::string code = CanonicalCode(wanted);
        if (code.empty())
            continue;
        for (size_t i = 0; i < streams.size(); ++i)
            if (CanonicalCode(streams[i].language) == code)
                return int32_t(i);
    }
    for (size_t i = 0; i < streams.size(); ++i)
        if (streams[i].isDefault)
            return int32_t(i);
    return std::nullopt;
}

int32_t SubtitleAtOpen(const std::vector<StreamInfo> &texts, const std::vector<std::string> &preferred,
                       bool hasCaptionFile, std::optional<int32_t> remembered)
{
    if (remembered) {
        const int32_t r = *remembered;
        if (r == kSubtitleNone || (r == kSubtitleFiles && hasCaptionFile) || (r >= 0 && r < int32_t(texts.size())))
            return r;
    }
    if (hasCaptionFile)
        return kSubtitleFiles;
    return PreferredStream(texts, preferred).value_or(kSubtitleNone);
}

int32_t NextSubtitle(int32_t current, int32_t textCount, bool hasCaptionFile)
{
    if (current >= 0 && current + 1 < textCount)
        return current + 1;
    if (current >= 0 && hasCaptionFile)
        return kSubtitleFiles;
    if (current >= 0 || current == kSubtitleFiles)
        return kSubtitleNone;
    // From nothing, round to the first stream, or to the files when there is none.
    if (textCount > 0)
        return 0;
    return hasCaptionFile ? kSubtitleFiles : kSubtitleNone;
}

} // namespace velmo
