#include "player/ChapterRules.h"

#include <algorithm>

namespace velmo {

namespace {

// A position read back just after a seek to a chapter's start may lie a
// hair before it.
constexpr int64_t kStartToleranceMs = 10;

} // namespace

int CurrentChapter(std::span<const ChapterMark> chapters, int64_t positionMs)
{
    const auto after = std::upper_bound(chapters.begin(), chapters.end(), positionMs + kStartToleranceMs,
                                        [](int64_t at, const ChapterMark &c) { return at < c.startMs; });
    return int(after - chapters.begin()) - 1;
}

int NextChapter(std::span<const ChapterMark> chapters, int64_t positionMs)
{
    const int next = CurrentChapter(chapters, positionMs) + 1;
    return next < int(chapters.size()) ? next : -1;
}

int PreviousChapter(std::span<const ChapterMark> chapters, int64_t positionMs)
{
    const int current = CurrentChapter(chapters, positionMs);
    if (current < 0)
        return -1;
    if (positionMs - chapters[size_t(current)].startMs > kChapterRestartMs)
        return current;
    return current - 1;
}

std::pair<size_t, size_t> ChapterWindow(size_t count, int current, size_t limit)
{
    if (count <= limit)
        return {0, count};
    const size_t centre = current < 0 ? 0 : size_t(current);
    const size_t first = std::min(centre > limit / 2 ? centre - limit / 2 : 0, count - limit);
    return {first, first + limit};
}

} // namespace velmo
