#pragma once

// Result codes and event codes of the media engine. Every engine operation
// returns a 32-bit result: 0 or positive for success, negative for failure.

#include <cstdint>

namespace velmo {

using HResult = int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOTIMPL = static_cast<HResult>(0x80004001u);
inline constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);
inline constexpr HResult E_POINTER = static_cast<HResult>(0x80004003u);
inline constexpr HResult E_ABORT = static_cast<HResult>(0x80004004u);
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult E_UNEXPECTED = static_cast<HResult>(0x8000FFFFu);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
/// The media could not be found (missing file, refused address).
inline constexpr HResult VFW_E_NOT_FOUND = static_cast<HResult>(0x80040216u);
/// No decoder or demuxer could handle the media.
inline constexpr HResult VFW_E_UNSUPPORTED_STREAM = static_cast<HResult>(0x80040265u);
/// The medium did not become ready in time.
inline constexpr HResult VFW_E_TIMEOUT = static_cast<HResult>(0x8004022Eu);
/// The graph has no video stream.
inline constexpr HResult VFW_E_NOT_CONNECTED = static_cast<HResult>(0x80040209u);
/// The graph cannot seek.
inline constexpr HResult VFW_E_CANNOT_SEEK = static_cast<HResult>(0x80040220u);
/// Another operation holds the graph (an open is waiting for its medium).
inline constexpr HResult VFW_E_WRONG_STATE = static_cast<HResult>(0x80040227u);

/// True for a success code.
constexpr bool Succeeded(HResult hr) { return hr >= 0; }
/// True for a failure code.
constexpr bool Failed(HResult hr) { return hr < 0; }

/// Event codes of the event queue.
inline constexpr int32_t EC_COMPLETE = 0x01;   ///< the media played to its end
inline constexpr int32_t EC_ERRORABORT = 0x03; ///< playback stopped on an error (param1: result code)
/// The picture's size changed (param1: width in the low 16 bits, height in the next 16).
inline constexpr int32_t EC_VIDEO_SIZE_CHANGED = 0x0A;
inline constexpr int32_t EC_OLE_EVENT = 0x18;  ///< a caption: param2 holds its text
/// The medium's title or chapters became known after the open (ours, in the user range).
inline constexpr int32_t EC_MEDIUM_INFO = 0x8001;

/// Media control states as GetState reports them.
inline constexpr int32_t State_Stopped = 0;
inline constexpr int32_t State_Paused = 1;
inline constexpr int32_t State_Running = 2;

/// Positioning flags of MediaSeeking::SetPositions.
inline constexpr uint32_t AM_SEEKING_NoPositioning = 0;
inline constexpr uint32_t AM_SEEKING_AbsolutePositioning = 1;
inline constexpr uint32_t AM_SEEKING_RelativePositioning = 2;
/// Land on a keyframe at once, and exactly once the seeks stop; without it a
/// seek lands exactly at once.
inline constexpr uint32_t AM_SEEKING_SeekToKeyFrame = 4;

/// Capability bits of MediaSeeking::CheckCapabilities.
inline constexpr uint32_t AM_SEEKING_CanSeekAbsolute = 0x1;
inline constexpr uint32_t AM_SEEKING_CanSeekForwards = 0x2;
inline constexpr uint32_t AM_SEEKING_CanSeekBackwards = 0x4;
inline constexpr uint32_t AM_SEEKING_CanGetCurrentPos = 0x8;

/// Aspect-ratio modes of MixerPinConfig.
inline constexpr int32_t AM_ARMODE_STRETCHED = 0;
inline constexpr int32_t AM_ARMODE_LETTER_BOX = 1;

/// Volume bounds of BasicAudio, in hundredths of a decibel.
inline constexpr int32_t kVolumeSilent = -10000;
inline constexpr int32_t kVolumeFull = 0;

/// One second in the 100-ns units of MediaSeeking.
inline constexpr int64_t kUnitsPerSecond = 10'000'000;

} // namespace velmo
