#include "engine/GstFrameSlot.h"

#include "engine/DecodedPicture.h"
#include "engine/PictureLayout.h"

namespace velmo {

// GStreamer thread! (Or the UI thread, for a frame decoded apart.)
ConvertedPicture ImageToShow(GstFrameSlot *slot, GstSamplePtr sample)
{
    GstVideoInfo info;
    GstCaps *caps = gst_sample_get_caps(sample.get());
    GstBuffer *buffer = gst_sample_get_buffer(sample.get());
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps))
        return {};
    QSize display = DisplaySize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                                GST_VIDEO_INFO_PAR_N(&info), GST_VIDEO_INFO_PAR_D(&info));
    Orientation turn;
    QSize shown;
    {
        std::lock_guard<std::mutex> lock(slot->mutex);
        turn = slot->Shown();
        display = turn.Turned(display);
        shown = slot->area.isEmpty() ? display : FitPicture(slot->area, display, slot->aspectMode).size() * slot->ratio;
    }
    const QSize stored(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
    // Typeset captions are drawn for each picture's own time.
    int64_t timeNs = 0;
    int64_t durationNs = 0;
    const int64_t timeMs = SampleFrameTime(sample.get(), &timeNs, &durationNs) ? timeNs / 1000000 : -1;
    if (GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_BGRx && turn.Upright() && stored == shown)
        return {ImageFromSample(std::move(sample)), nullptr, timeMs};
    ConvertedPicture picture;
    picture.timeMs = timeMs;
    std::lock_guard<std::mutex> lock(slot->scaleMutex);
    picture.image = slot->scaler.Convert(info, buffer, shown, &picture.pixels, turn);
    return picture;
}

} // namespace velmo
