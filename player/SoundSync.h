#pragma once

#include <QString>

#include <cstdint>

namespace velmo {

/// The furthest the sound is moved either way.
inline constexpr int64_t kMaxSoundDelayMs = 10000;

/// The sound's delay after command `id` (ID_SOUND_EARLIER, _LATER: 10 ms;
/// ID_SOUND_EARLIER_MORE, _LATER_MORE: 100 ms) from `delayMs`, within
/// ±kMaxSoundDelayMs; other ids leave it.
int64_t SoundDelayAfter(int id, int64_t delayMs);

/// The message that tells the delay: "음성 싱크 +0.12초", "음성 싱크 -1.50초",
/// and "음성 싱크 0.00초" when the sound is back with the picture.
QString SoundSyncMessage(int64_t delayMs);

} // namespace velmo
