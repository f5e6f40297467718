// SubRip as common players read it: the numbers are optional, and text runs
// on over blank lines until the next cue begins.

#include "subtitles/CueReaders.h"

#include "subtitles/CaptionTags.h"

#include <algorithm>

namespace velmo {

namespace {

bool IsDigits(QStringView line)
{
    const QStringView t = line.trimmed();
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool HoldsArrow(QStringView line)
{
    return line.contains(QLatin1StringView("-->"));
}

struct Timing {
    int64_t startMs = 0;
    int64_t endMs = 0;
};

// "start --> end [X1:… Y2:…]"; empty unless both are times and end follows start.
std::optional<Timing> ParseTimingLine(QStringView line)
{
    const qsizetype arrow = line.indexOf(QLatin1StringView("-->"));
    if (arrow < 0)
        return std::nullopt;
    const QStringView before = line.left(arrow).trimmed();
    const QStringView after = line.mid(arrow + 3).trimmed();
    qsizetype pos = 0;
    const auto start = ReadCueTimeAt(before, pos);
    if (!start || pos != before.size())
        return std::nullopt;
    pos = 0;
    const auto end = ReadCueTimeAt(after, pos);
    if (!end || (pos < after.size() && !after[pos].isSpace()) || *end <= *start)
        return std::nullopt;
    return Timing{*start, *end};
}

} // namespace

std::vector<Cue> ReadSubRipCues(QStringView text)
{
    const std::vector<QStringView> lines = SplitLines(text);
    // Where the next cue begins after line i: at a line holding "-->", or at
    // its number just before it.
    const auto beginsCue = [&lines](size_t i) {
        return HoldsArrow(lines[i]) || (IsDigits(lines[i]) && i + 1 < lines.size() && HoldsArrow(lines[i + 1]));
    };
    std::vector<Cue> cues;
    size_t i = 0;
    while (i < lines.size() && !HoldsArrow(lines[i]))
        ++i;
    while (i < lines.size()) {
        const std::optional<Timing> timing = ParseTimingLine(lines[i]);
        Cue cue;
        for (++i; i < lines.size() && !beginsCue(i); ++i) {
            if (!RemoveOverrides(lines[i]).trimmed().isEmpty())
                cue.lines.push_back(lines[i]);
        }
        if (i < lines.size() && !HoldsArrow(lines[i]))
            ++i; // the next cue's number
        if (timing && !cue.lines.empty()) {
            cue.startMs = timing->startMs;
            cue.endMs = timing->endMs;
            cues.push_back(std::move(cue));
        }
    }
    return cues;
}

} // namespace velmo
