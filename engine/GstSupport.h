#pragma once

#include "engine/GstHandles.h"
#include "engine/MediaResult.h"

namespace velmo {

/// What an error or warning message carries.
struct GstMessageText {
    GErrorPtr error;
    GCharPtr debug;
    /// The error's text, or "".
    const char *Message() const { return error ? error->message : ""; }
    /// The debug text, or "".
    const char *Debug() const { return debug ? debug.get() : ""; }
};

/// Parses an error or a warning message.
GstMessageText ParseErrorOrWarning(GstMessage *message);

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
