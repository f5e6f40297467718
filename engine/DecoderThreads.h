#pragma once

#include <gst/gst.h>

#include <string_view>

namespace velmo {

/// Whether a video decoder should decode several pictures at once (frame
/// threads) for a stream of this type, size and rate. Frame threads are what
/// keeps a large or heavy stream in real time, but every thread holds a
/// picture of its own (about 20 MiB more at 1080p on two cores) and the first
/// picture comes later; below 1920x1088 at 30 pictures a second an H.264 or
/// MPEG-4 stream decodes on one core several times faster than it plays, so
/// there slice threads do (they still share out pictures made of many slices).
/// An unknown rate counts as 30.
bool WantsFrameThreads(std::string_view mediaType, int width, int height, int rateNum, int rateDen);

/// Makes a libav video decoder choose its threads by WantsFrameThreads on
/// every stream format it is given. Anything else is left alone.
void TuneDecoderThreads(GstElement *element);

} // namespace velmo
