#pragma once

// Which chapter plays, and where the chapter keys go.

#include "engine/MediaFacets.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace velmo {

/// How far into a chapter the previous-chapter key goes back to its own start.
inline constexpr int64_t kChapterRestartMs = 3000;

/// The chapter playing at `positionMs` (chapters by start time): the last
/// that starts at or before it; -1 before the first or without chapters.
int CurrentChapter(std::span<const ChapterMark> chapters, int64_t positionMs);
/// The chapter the next-chapter key goes to; -1 at the last.
int NextChapter(std::span<const ChapterMark> chapters, int64_t positionMs);
/// The chapter the previous-chapter key goes to: the one playing when more
/// than kChapterRestartMs into it, else the one before; -1 when none.
int PreviousChapter(std::span<const ChapterMark> chapters, int64_t positionMs);

/// The chapters a menu of at most `limit` entries lists out of `count`: the
/// range [first, last) around `current` (the first ones when none plays).
std::pair<size_t, size_t> ChapterWindow(size_t count, int current, size_t limit);

} // namespace velmo
