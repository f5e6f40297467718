#pragma once

#include <QString>

#include <cstdint>

namespace velmo {

/// How far one press of the caption sync keys moves the captions.
inline constexpr int64_t kCaptionSyncStepMs = 500;

/// The caption offset after command `id` (ID_CAPTION_EARLIER, _LATER or
/// _SYNC_RESET) from `offsetMs`; other ids leave it.
int64_t CaptionOffsetAfter(int id, int64_t offsetMs);

/// The message that tells the offset: "자막 싱크 -0.5초", "자막 싱크 0초",
/// "자막 싱크 +1초".
QString CaptionSyncMessage(int64_t offsetMs);

} // namespace velmo
