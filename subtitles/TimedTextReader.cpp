#include "subtitles/TimedTextReader.h"

#include "subtitles/CaptionTags.h"
#include "subtitles/CueReaders.h"
#include "subtitles/SamiEncoding.h"

#include <algorithm>
#include <vector>

namespace velmo {

namespace {

// Bounds that no real caption file comes near, so that a hostile one stays
// cheap: cues shown at once, characters of one cue.
constexpr size_t kMaxShownCues = 16;
constexpr qsizetype kMaxCueChars = 2000;

// Reads up to `maxDigits` digits at `pos`; their count in *count.
int64_t ReadNumber(QStringView text, qsizetype &pos, int maxDigits, int *count)
{
    int64_t value = 0;
    *count = 0;
    while (pos < text.size() && text[pos].isDigit() && *count < maxDigits) {
        value = value * 10 + text[pos].digitValue();
        ++pos;
        ++*count;
    }
    return value;
}

QString JoinLines(const std::vector<QStringView> &lines)
{
    QString joined;
    for (QStringView line : lines) {
        const QStringView shown = line.trimmed();
        if (shown.isEmpty())
            continue;
        if (!joined.isEmpty())
            joined += QLatin1StringView("<br>");
        joined += shown;
        if (joined.size() > kMaxCueChars) {
            joined.truncate(kMaxCueChars);
            break;
        }
    }
    return joined;
}

// Turns cues that may overlap into events that replace one another: at each
// start or end, what shows from then on.
std::vector<SamiCaption> EventsOf(std::vector<Cue> cues, CaptionFormat format)
{
    std::stable_sort(cues.begin(), cues.end(), [](const Cue &a, const Cue &b) { return a.startMs < b.startMs; });
    std::vector<QString> texts;
    texts.reserve(cues.size());
    std::vector<int64_t> points;
    points.reserve(cues.size() * 2);
    for (const Cue &c : cues) {
        texts.push_back(JoinLines(c.lines));
        points.push_back(c.startMs);
        points.push_back(c.endMs);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());

    const QString head = CaptionHead(format);
    const QString nothing = head + u' '; // as SAMI's "&nbsp;" cleans
    std::vector<SamiCaption> events;
    std::vector<size_t> shown; // indexes of the cues showing, in start order
    size_t next = 0;
    qsizetype budget = kMaxCaptionEventChars;
    for (int64_t t : points) {
        shown.erase(std::remove_if(shown.begin(), shown.end(), [&](size_t k) { return cues[k].endMs <= t; }),
                    shown.end());
        for (; next < cues.size() && cues[next].startMs <= t; ++next) {
            if (shown.size() < kMaxShownCues && !texts[next].isEmpty())
                shown.push_back(next);
        }
        QString text = shown.empty() ? nothing : head;
        for (size_t k = 0; k < shown.size(); ++k)
            text += (k ? QLatin1StringView("<br>") : QLatin1StringView("")) + texts[shown[k]];
        if (!AppendCaptionEvent(events, t, std::move(text), budget))
            break;
    }
    // Nothing shows before the first cue, so an event of nothing that
    // leads is none.
    if (!events.empty() && events.front().text == nothing)
        events.erase(events.begin());
    return events;
}

SamiResult Refused(const QString &why)
{
    SamiResult result;
    result.error = why;
    return result;
}

QString CannotRead(CaptionFormat format)
{
    const std::string_view name = CaptionFormatName(format);
    return QString::fromLatin1(name.data(), qsizetype(name.size())) + QStringLiteral(" 자막으로 읽을 수 없습니다");
}

bool StartsWebVtt(QStringView text)
{
    return text.trimmed().startsWith(QLatin1StringView("WEBVTT"));
}

// "a --> b" where a and b are numbers with ":" (their fraction maybe
// missing): a SubRip timing, read or not.
bool LooksLikeTiming(QStringView line)
{
    const qsizetype arrow = line.indexOf(QLatin1StringView("-->"));
    if (arrow < 0)
        return false;
    const auto timeLike = [](QStringView part) {
        return part.contains(u':') && part.front().isDigit()
            && std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit() || c == u':' || c == u',' || c == u'.'; });
    };
    const QStringView before = line.left(arrow).trimmed();
    const QStringView after = line.mid(arrow + 3).trimmed();
    const qsizetype space = std::find_if(after.begin(), after.end(), [](QChar c) { return c.isSpace(); }) - after.begin();
    return !before.isEmpty() && space > 0 && timeLike(before) && timeLike(after.left(space));
}

CaptionFormat FormatOfText(QStringView text)
{
    if (LooksLikeAss(text))
        return IsSsa(text) ? CaptionFormat::Ssa : CaptionFormat::Ass;
    const qsizetype sync = text.indexOf(QLatin1StringView("<sync"), 0, Qt::CaseInsensitive);
    const qsizetype arrow = text.indexOf(QLatin1StringView("-->"));
    if (sync >= 0 && (arrow < 0 || sync < arrow))
        return CaptionFormat::Sami;
    if (StartsWebVtt(text))
        return CaptionFormat::WebVtt;
    if (arrow >= 0) {
        for (QStringView line : SplitLines(text))
            if (LooksLikeTiming(line))
                return CaptionFormat::SubRip;
    }
    return sync >= 0 ? CaptionFormat::Sami : CaptionFormat::Unknown;
}

SamiResult ParseCues(const DecodedCaption &decoded, CaptionFormat format)
{
    std::vector<Cue> cues;
    std::vector<QString> plainTexts; // what the ASS cues' lines point into
    if (format == CaptionFormat::Ass || format == CaptionFormat::Ssa) {
        cues = ReadAssCues(decoded.text, plainTexts);
    } else if (format == CaptionFormat::WebVtt) {
        std::optional<std::vector<Cue>> read = ReadWebVttCues(decoded.text);
        if (read)
            cues = std::move(*read);
    } else {
        cues = ReadSubRipCues(decoded.text);
    }
    // ASS text read plainly is cleaned as SubRip's is.
    const bool ass = format == CaptionFormat::Ass || format == CaptionFormat::Ssa;
    std::vector<SamiCaption> events = EventsOf(std::move(cues), ass ? CaptionFormat::SubRip : format);
    if (events.empty())
        return Refused(CannotRead(format));
    SamiResult result;
    result.ok = true;
    result.format = format;
    result.encoding = decoded.encoding;
    result.document.captions = std::move(events);
    return result;
}

} // namespace

std::vector<QStringView> SplitLines(QStringView text)
{
    std::vector<QStringView> lines;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n' && text[i] != u'\r')
            continue;
        lines.push_back(text.mid(from, i - from));
        if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    return lines;
}

std::optional<int64_t> ReadCueTimeAt(QStringView text, qsizetype &pos)
{
    // Up to three fields separated by ":", then "," or "." and the fraction.
    int64_t fields[3] = {0, 0, 0};
    int count = 0;
    for (;;) {
        int digits = 0;
        const int64_t value = ReadNumber(text, pos, count == 0 ? 9 : 2, &digits);
        if (digits == 0 || count == 3)
            return std::nullopt;
        fields[count++] = value;
        if (pos < text.size() && text[pos] == u':') {
            ++pos;
            continue;
        }
        break;
    }
    if (count < 2 || pos >= text.size() || (text[pos] != u',' && text[pos] != u'.'))
        return std::nullopt;
    ++pos;
    int digits = 0;
    int64_t fraction = ReadNumber(text, pos, 4, &digits);
    if (digits == 0 || digits == 4)
        return std::nullopt;
    for (; digits < 3; ++digits)
        fraction *= 10;
    const int64_t hours = count == 3 ? fields[0] : 0;
    const int64_t minutes = fields[count - 2];
    const int64_t seconds = fields[count - 1];
    if (minutes >= 60 || seconds >= 60)
        return std::nullopt;
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
}

std::optional<int64_t> ParseCueTime(QStringView text)
{
    qsizetype pos = 0;
    const auto ms = ReadCueTimeAt(text, pos);
    return ms && pos == text.size() ? ms : std::nullopt;
}

CaptionFormat DetectCaptionFormat(const QByteArray &bytes)
{
    return FormatOfText(DecodeSamiBytes(bytes));
}

SamiResult ParseTimedText(const QByteArray &bytes, CaptionEncoding encoding)
{
    if (bytes.isEmpty())
        return Refused(QStringLiteral("빈 파일입니다"));
    const DecodedCaption decoded = DecodeCaptionBytes(bytes, encoding, true);
    if (LooksLikeAss(decoded.text))
        return ParseCues(decoded, IsSsa(decoded.text) ? CaptionFormat::Ssa : CaptionFormat::Ass);
    return ParseCues(decoded, StartsWebVtt(decoded.text) ? CaptionFormat::WebVtt : CaptionFormat::SubRip);
}

SamiResult ReadCaptionFile(const std::string &path, const QString &choice, CaptionEncoding encoding)
{
    QByteArray bytes;
    QString why;
    if (!ReadCaptionBytes(path, &bytes, &why))
        return Refused(why);
    if (bytes.isEmpty())
        return Refused(QStringLiteral("빈 파일입니다"));
    DecodedCaption decoded = DecodeCaptionBytes(bytes, encoding, true);
    const CaptionFormat format = FormatOfText(decoded.text);
    if (format != CaptionFormat::Sami && format != CaptionFormat::Unknown)
        return ParseCues(decoded, format);
    if (encoding == CaptionEncoding::Auto && decoded.encoding == CaptionEncoding::Windows1252)
        decoded = DecodeCaptionBytes(bytes, encoding, false); // SAMI keeps CP949
    return ParseSamiText(decoded, choice);
}

} // namespace velmo
