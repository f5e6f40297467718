#pragma once

#include "engine/GstHandles.h"
#include "engine/MediaResult.h"

namespace velmo {

/// The result code for a GStreamer error: missing media, unreadable media, or a failure.
HResult ResultOfGstError(const GError *error);

/// Whether the machine has anywhere to play sound: an ALSA playback device or
/// a sound server's socket. Looked at once per process.
bool HasSoundOutput();

/// The audio sink: the automatic choice, or straight away a clock-synced fake
/// sink when there is no sound output. Null when the element is missing.
GstElementPtr MakeAudioSink();

/// Whether the caller runs on the UI thread (the application's; true before
/// the application object exists).
bool OnUiThread();

} // namespace velmo
