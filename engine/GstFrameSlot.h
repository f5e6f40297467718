#pragma once

// What the video output's streaming thread and the UI thread share: the
// newest picture, the newest frame as decoded, and how frames are shown.

#include "engine/FrameScaler.h"
#include "engine/GstHandles.h"
#include "engine/GstVideoOutput.h"
#include "engine/MediaResult.h"
#include "engine/Orientation.h"

#include <QRect>

#include <mutex>

namespace velmo {

/// The hand-over point between the appsink's thread and the UI thread: the
/// newest picture waits here; older ones are dropped.
struct GstFrameSlot {
    std::mutex mutex;
    ConvertedPicture newest;
    bool posted = false;
    GstSamplePtr decoded;        ///< the newest frame as decoded, with its segment, for a picture at its own size
    GstVideoOutput *receiver = nullptr; ///< cleared under the mutex before the output goes
    QRect area;                  ///< the owner's rectangle the video covers (empty: not known yet)
    qreal ratio = 1;             ///< the owner's device pixels per unit of `area`
    int32_t aspectMode = AM_ARMODE_LETTER_BOX;
    Orientation tagged;          ///< the stream's image-orientation tag
    Orientation user;            ///< the user's own turn and flip, after the tag's

    /// How the frames are turned to be shown: the one place the two meet.
    /// Under `mutex`.
    Orientation Shown() const { return tagged.Then(user); }

    std::mutex scaleMutex; ///< the streaming thread's own; held while converting
    FrameScaler scaler;
};

// GStreamer thread! (Or the UI thread, for a frame decoded apart.)
/// The sample's picture, turned, as an image of the size it is shown at: the
/// decoder's own format is scaled, converted and turned here; an upright BGRx
/// frame already of that size (the pipeline's fallback converter made it) is
/// only mapped.
ConvertedPicture ImageToShow(GstFrameSlot *slot, GstSamplePtr sample);

} // namespace velmo
