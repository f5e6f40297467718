#include "subtitles/TimedTextReader.h"

#include "subtitles/SamiEncoding.h"


#include <algorithm>
#include <vector>

namespace velmo {

namespace {

// Bounds that no real caption file comes near, so that a hostile one stays
// cheap: cues shown at once, characters of one cue.
constexpr size_t kMaxShownCues = 16;
constexpr qsizetype kMaxCueChars = 2000;

struct Cue {
    int64_t startMs = 0;
    int64_t endMs = 0;
    QString text; // lines joined by "<br>"
};

bool IsBlank(QStringView line)
{
    return line.trimmed().isEmpty();
}

bool IsDigits(QStringView line)
{
    const QStringView t = line.trimmed();
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
}

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

struct Timing {
    int64_t startMs = 0;
    int64_t endMs = 0;
};

// "start --> end [cue settings]"; empty unless both are times and end follows start.
std::optional<Timing> ParseTimingLine(QStringView line)
{
    const qsizetype arrow = line.indexOf(QLatin1String("-->"));
    if (arrow < 0)
        return std::nullopt;
    QStringView rest = line.mid(arrow + 3).trimmed();
    const qsizetype space = std::find_if(rest.begin(), rest.end(), [](QChar c) { return c.isSpace(); }) - rest.begin();
    const auto start = ParseCueTime(line.left(arrow).trimmed());
    const auto end = ParseCueTime(rest.left(space));
    if (!start || !end || *end <= *start)
        return std::nullopt;
    return Timing{*start, *end};
}

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

// A WebVTT header, comment, style or region block: nothing in it is shown.
bool StartsSkippedBlock(QStringView line)
{
    for (const char *word : {"WEBVTT", "NOTE", "STYLE", "REGION"}) {
        const QLatin1String w(word);
        if (line.startsWith(w) && (line.size() == w.size() || line[w.size()].isSpace()))
            return true;
    }
    return false;
}

class CueReader {
public:
    explicit CueReader(QStringView text) : lines_(SplitLines(text)) {}

    std::vector<Cue> Run()
    {
        size_t i = 0;
        while (i < lines_.size()) {
            const QStringView line = lines_[i];
            if (line.contains(QLatin1String("-->")))
                i = ReadCue(i);
            else if (StartsSkippedBlock(line))
                i = SkipBlock(i);
            else
                ++i; // cue number or id, or stray text
        }
        std::stable_sort(cues_.begin(), cues_.end(), [](const Cue &a, const Cue &b) { return a.startMs < b.startMs; });
        return std::move(cues_);
    }

private:
    size_t SkipBlock(size_t i)
    {
        while (i < lines_.size() && !IsBlank(lines_[i]))
            ++i;
        return i;
    }

    // The timing line at `i` and its text, up to a blank line or, where a
    // file forgot the blank line, up to the next timing line.
    size_t ReadCue(size_t i)
    {
        const auto timing = ParseTimingLine(lines_[i]);
        std::vector<QStringView> text;
        bool nextCueFollows = false;
        for (++i; i < lines_.size() && !IsBlank(lines_[i]); ++i) {
            if (lines_[i].contains(QLatin1String("-->")) && ParseTimingLine(lines_[i])) {
                nextCueFollows = true;
                break;
            }
            text.push_back(lines_[i]);
        }
        if (nextCueFollows && !text.empty() && IsDigits(text.back()))
            text.pop_back(); // the next cue's number
        if (timing && !text.empty())
            cues_.push_back({timing->startMs, timing->endMs, JoinLines(text)});
        return i;
    }

    static QString JoinLines(const std::vector<QStringView> &text)
    {
        QString joined;
        for (QStringView line : text) {
            if (!joined.isEmpty())
                joined += QLatin1String("<br>");
            joined += line.trimmed();
            if (joined.size() > kMaxCueChars) {
                joined.truncate(kMaxCueChars);
                break;
            }
        }
        return joined;
    }

    std::vector<QStringView> lines_;
    std::vector<Cue> cues_;
};

// Turns cues that may overlap into events that replace one another: at each
// start or end, what shows from then on.
std::vector<SamiCaption> EventsOf(const std::vector<Cue> &cues)
{
    std::vector<int64_t> points;
    points.reserve(cues.size() * 2);
    for (const Cue &c : cues) {
        points.push_back(c.startMs);
        points.push_back(c.endMs);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());

    std::vector<SamiCaption> events;
    std::vector<size_t> shown; // indexes of the cues showing, in start order
    size_t next = 0;
    qsizetype budget = kMaxCaptionEventChars;
    for (int64_t t : points) {
        shown.erase(std::remove_if(shown.begin(), shown.end(), [&](size_t k) { return cues[k].endMs <= t; }),
                    shown.end());
        for (; next < cues.size() && cues[next].startMs <= t; ++next) {
            if (shown.size() < kMaxShownCues)
                shown.push_back(next);
        }
        QString text = QStringLiteral("<P>");
        for (size_t k = 0; k < shown.size(); ++k)
            text += (k ? QLatin1String("<br>") : QLatin1String("")) + cues[shown[k]].text;
        if (shown.empty())
            text += QLatin1String("&nbsp;");
        if (!AppendCaptionEvent(events, t, std::move(text), budget))
            break;
    }
    return events;
}

SamiResult Refused(const QString &why)
{
    SamiResult result;
    result.error = why;
    return result;
}

CaptionFormat FormatOfText(QStringView text)
{
    const qsizetype sync = text.indexOf(QLatin1String("<sync"), 0, Qt::CaseInsensitive);
    const qsizetype arrow = text.indexOf(QLatin1String("-->"));
    if (sync >= 0 && (arrow < 0 || sync < arrow))
        return CaptionFormat::Sami;
    if (text.trimmed().startsWith(QLatin1String("WEBVTT")))
        return CaptionFormat::WebVtt;
    for (QStringView line : SplitLines(text)) {
        if (ParseTimingLine(line))
            return CaptionFormat::SubRip;
    }
    return sync >= 0 ? CaptionFormat::Sami : CaptionFormat::Unknown;
}

SamiResult ParseCues(QStringView text)
{
    std::vector<SamiCaption> events = EventsOf(CueReader(text).Run());
    if (events.empty())
        return Refused(QStringLiteral("no caption cue could be read"));
    SamiResult result;
    result.ok = true;
    result.document.captions = std::move(events);
    return result;
}

} // namespace

std::optional<int64_t> ParseCueTime(QStringView text)
{
    // Up to three fields separated by ":", then "," or "." and the fraction.
    int64_t fields[3] = {0, 0, 0};
    int count = 0;
    qsizetype pos = 0;
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
    int64_t fraction = ReadNumber(text, pos, 3, &digits);
    if (digits == 0 || pos != text.size())
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

CaptionFormat DetectCaptionFormat(const QByteArray &bytes)
{
    return FormatOfText(DecodeSamiBytes(bytes));
}

SamiResult ParseTimedText(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return Refused(QStringLiteral("the file is empty"));
    return ParseCues(DecodeSamiBytes(bytes));
}

SamiResult ReadCaptionFile(const std::string &path, const QString &choice)
{
    QByteArray bytes;
    QString why;
    if (!ReadCaptionBytes(path, &bytes, &why))
        return Refused(why);
    if (bytes.isEmpty())
        return Refused(QStringLiteral("the file is empty"));
    const QString text = DecodeSamiBytes(bytes);
    switch (FormatOfText(text)) {
    case CaptionFormat::SubRip:
    case CaptionFormat::WebVtt:
        return ParseCues(text);
    case CaptionFormat::Sami:
    case CaptionFormat::Unknown:
        break;
    }
    return ParseSami(bytes, choice);
}

} // namespace velmo
