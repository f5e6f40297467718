#pragma once

#include "engine/GstHandles.h"
#include "engine/MediaFacets.h"

#include <vector>

namespace velmo {

class EventQueue;

/// The chapters of `toc`: those of its first edition, or its own entries
/// where it has no editions, with titles cut to kMaxChapterTitle characters,
/// by start time. A chapter without a start is left out.
std::vector<ChapterMark> ChaptersOfToc(const GstToc *toc);

/// The longest title kept, in characters: a menu line, not a book.
inline constexpr int kMaxChapterTitle = 200;

/// The medium's title tag and chapters, from the bus's TAG and TOC messages.
/// UI thread only.
class GstMediumInfo : public MediumInfo {
public:
    explicit GstMediumInfo(EventQueue &events) : events_(events) {}
    /// Takes what a TAG or TOC message tells of the whole medium (a stream's
    /// own tags are not the medium's); queues EC_MEDIUM_INFO when that
    /// changes what was known once the medium is `loaded`.
    void Take(GstMessage *message, bool loaded);

    QString Title() const override { return title_; }
    std::vector<ChapterMark> Chapters() const override { return chapters_; }

private:
    EventQueue &events_;
    QString title_;
    std::vector<ChapterMark> chapters_;
};

} // namespace velmo
