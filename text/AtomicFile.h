#pragma once

#include <string>

namespace velmo {

/// Replaces `target` with `data` so that a failed write, a kill or a power cut
/// leaves the old file or the new one, whole: writes `target`.saving beside
/// it (locked against another process saving the same target), syncs it,
/// renames it over the target and syncs the folder. A new file gets the old
/// one's mode, or 0666 less the umask. False when any step failed.
bool ReplaceFile(const std::string &target, const std::string &data);

} // namespace velmo
