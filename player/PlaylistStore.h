#pragma once

// Playlist files on disk: those a user opens and saves, and the list the
// player keeps between runs beside its settings.

#include "text/PlaylistFile.h"

#include <optional>
#include <string>
#include <vector>

namespace velmo {

/// The file the list is kept in between runs: "playlist.m3u8" beside `settingsFile`.
std::string PlaylistFileBeside(const std::string &settingsFile);

/// The largest playlist file read (a list of some 100,000 entries).
inline constexpr size_t kMaxPlaylistFileBytes = 16 * 1024 * 1024;

/// The entries of the playlist file at `path` (the file system's bytes),
/// relative names taken from its folder. A legacy name that only its own
/// bytes find on disk is taken as written. None when the file cannot be read
/// or is larger than kMaxPlaylistFileBytes.
std::optional<std::vector<PlaylistItem>> LoadPlaylistFile(const std::string &path);

/// Writes `items` as the playlist file `path` in the format its name says,
/// replacing it whole (a kill leaves the old list or the new one).
bool SavePlaylistFile(const std::string &path, const std::vector<PlaylistItem> &items);

} // namespace velmo
