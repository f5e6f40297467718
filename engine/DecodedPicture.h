#pragma once

// Pictures from decoded samples: an image over a sample's pixels, a frame's
// time in its medium, and the frame converted at its own display size.

#include "engine/GstHandles.h"

#include <QImage>

#include <cstdint>

namespace velmo {

/// An image over a BGRx sample's pixels, no copy; the image keeps the sample.
QImage ImageFromSample(GstSamplePtr sample);

/// The time in the medium of `sample`'s frame and its duration (by the
/// stream's frame rate, else the buffer's; 0 when neither says), in
/// nanoseconds; false when the sample holds no timed frame.
bool SampleFrameTime(GstSample *sample, int64_t *streamNs, int64_t *durationNs);

/// `sample`'s frame converted at the video's display size with square
/// pixels, as an image of its own; null when the conversion fails. Slow (a
/// conversion of the whole frame): on request only.
QImage SampleAtDisplaySize(GstSample *sample);

} // namespace velmo
