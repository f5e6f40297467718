// WebVTT by the W3C file-parsing rules ("collect a WebVTT block"), on lines.

#include "subtitles/CueReaders.h"

namespace velmo {

namespace {

struct Timing {
    int64_t startMs = 0;
    int64_t endMs = 0;
};

bool IsVttSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\f';
}

void SkipSpaces(QStringView line, qsizetype &pos)
{
    while (pos < line.size() && IsVttSpace(line[pos]))
        ++pos;
}

// "start --> end [settings]": the settings are not read, since the captions
// are placed by the player's own style. A cue that would end before it
// begins never shows, so it is none.
std::optional<Timing> ParseTiming(QStringView line)
{
    qsizetype pos = 0;
    SkipSpaces(line, pos);
    const auto start = ReadCueTimeAt(line, pos);
    if (!start)
        return std::nullopt;
    SkipSpaces(line, pos);
    if (!line.mid(pos).startsWith(QLatin1StringView("-->")))
        return std::nullopt;
    pos += 3;
    SkipSpaces(line, pos);
    const auto end = ReadCueTimeAt(line, pos);
    if (!end || *end <= *start)
        return std::nullopt;
    return Timing{*start, *end};
}

bool HoldsArrow(QStringView line)
{
    return line.contains(QLatin1StringView("-->"));
}

// The signature: "WEBVTT" alone or followed by a blank and anything.
bool IsSignature(QStringView line)
{
    if (line.startsWith(u'\uFEFF'))
        line = line.mid(1);
    return line.startsWith(QLatin1StringView("WEBVTT")) && (line.size() == 6 || IsVttSpace(line[6]));
}

class BlockReader {
public:
    explicit BlockReader(std::vector<QStringView> lines) : lines_(std::move(lines)) {}

    std::optional<std::vector<Cue>> Run()
    {
        if (lines_.empty() || !IsSignature(lines_[0]))
            return std::nullopt;
        // The header runs to a blank line, or stops before a timing line.
        size_t i = 1;
        while (i < lines_.size() && !lines_[i].isEmpty() && !HoldsArrow(lines_[i]))
            ++i;
        while (i < lines_.size()) {
            if (lines_[i].isEmpty())
                ++i;
            else
                i = ReadBlock(i);
        }
        return std::move(cues_);
    }

private:
    // One block from line i; where the next begins.
    size_t ReadBlock(size_t i)
    {
        std::optional<Timing> timing;
        bool seenArrow = false;
        std::vector<QStringView> buffer;
        for (size_t count = 1; i < lines_.size(); ++count) {
            const QStringView line = lines_[i];
            if (HoldsArrow(line)) {
                // A timing line as the first line, or the second after an
                // identifier; any other line holding "-->" ends the block.
                if (!(count == 1 || (count == 2 && !seenArrow)))
                    break;
                seenArrow = true;
                ++i;
                timing = ParseTiming(line);
                if (timing)
                    buffer.clear(); // the identifier
                continue;
            }
            ++i;
            if (line.isEmpty())
                break;
            buffer.push_back(line);
        }
        if (timing && !buffer.empty())
            cues_.push_back({timing->startMs, timing->endMs, std::move(buffer)});
        return i;
    }

    std::vector<QStringView> lines_;
    std::vector<Cue> cues_;
};

} // namespace

std::optional<std::vector<Cue>> ReadWebVttCues(QStringView text)
{
    return BlockReader(SplitLines(text)).Run();
}

} // namespace velmo
