#include "engine/GstMediumInfo.h"

#include "engine/EventQueue.h"

#include <algorithm>

namespace velmo {

namespace {

QString TitleOf(const GstTagList *tags)
{
    gchar *title = nullptr;
    if (!tags || !gst_tag_list_get_string(tags, GST_TAG_TITLE, &title))
        return {};
    GCharPtr owned(title);
    // Tags should be UTF-8 but come from the file: what is not reads as
    // replacement characters.
    return QString::fromUtf8(title).left(kMaxChapterTitle);
}

void AddChapters(GList *entries, std::vector<ChapterMark> *chapters)
{
    for (GList *l = entries; l; l = l->next) {
        auto *entry = static_cast<GstTocEntry *>(l->data);
        gint64 start = -1;
        gint64 stop = -1;
        if (!gst_toc_entry_get_start_stop_times(entry, &start, &stop) || start < 0)
            continue;
        chapters->push_back({start / int64_t(GST_MSECOND), TitleOf(gst_toc_entry_get_tags(entry))});
    }
}

} // namespace

std::vector<ChapterMark> ChaptersOfToc(const GstToc *toc)
{
    std::vector<ChapterMark> chapters;
    GList *entries = toc ? gst_toc_get_entries(toc) : nullptr;
    if (entries && gst_toc_entry_get_entry_type(static_cast<GstTocEntry *>(entries->data)) == GST_TOC_ENTRY_TYPE_EDITION)
        entries = gst_toc_entry_get_sub_entries(static_cast<GstTocEntry *>(entries->data));
    AddChapters(entries, &chapters);
    std::stable_sort(chapters.begin(), chapters.end(),
                     [](const ChapterMark &a, const ChapterMark &b) { return a.startMs < b.startMs; });
    return chapters;
}

void GstMediumInfo::Take(GstMessage *message, bool loaded)
{
    bool changed = false;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_TOC) {
        GstToc *toc = nullptr;
        gst_message_parse_toc(message, &toc, nullptr);
        if (toc && gst_toc_get_scope(toc) == GST_TOC_SCOPE_GLOBAL) {
            std::vector<ChapterMark> chapters = ChaptersOfToc(toc);
            changed = chapters != chapters_;
            chapters_ = std::move(chapters);
        }
        if (toc)
            gst_toc_unref(toc);
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_TAG) {
        GstTagList *tags = nullptr;
        gst_message_parse_tag(message, &tags);
        if (tags && gst_tag_list_get_scope(tags) == GST_TAG_SCOPE_GLOBAL) {
            const QString title = TitleOf(tags);
            changed = !title.isEmpty() && title != title_;
            if (changed)
                title_ = title;
        }
        if (tags)
            gst_tag_list_unref(tags);
    }
    if (changed && loaded)
        events_.Queue(EC_MEDIUM_INFO, 0);
}

} // namespace velmo
