#pragma once

// Playlist files as other players write and read them: M3U (".m3u", and
// ".m3u8" always in UTF-8) with its "#EXTINF" lines, and PLS (".pls",
// "[playlist]" with FileN, TitleN and LengthN). Paths are the file system's
// own bytes; addresses with a scheme stay as written.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

/// One entry of a playlist file.
struct PlaylistItem {
    std::string path;          ///< an absolute local path or an address
    std::string title;         ///< UTF-8; empty when the list names none
    int64_t durationMs = -1;   ///< -1: the list does not say
    /// A legacy list's name in its own bytes (CP949), resolved as `path` is,
    /// for a file whose name was never converted; empty when it is `path`.
    std::string pathAsWritten;

    bool operator==(const PlaylistItem &) const = default;
};

enum class PlaylistFormat { M3u, M3u8, Pls };

/// Whether `name` ends in ".m3u", ".m3u8" or ".pls", in any case.
bool IsPlaylistFileName(std::string_view name);
/// The format `name`'s extension says (M3u8 for ".m3u8", Pls for ".pls",
/// M3u for anything else).
PlaylistFormat PlaylistFormatOf(std::string_view name);

/// The entries of a playlist file's `bytes`, reading past damage (lines that
/// name nothing are skipped). A file that starts with "[playlist]" is PLS
/// whatever its name; anything else is M3U. The text is UTF-8 when it has a
/// byte-order mark (UTF-16 ones too), when it is valid UTF-8 or when
/// `utf8Name` (a ".m3u8"); otherwise CP949. Relative names are resolved from
/// `listFolder`, Windows' backslashes read as slashes, file:// URIs become
/// paths.
std::vector<PlaylistItem> ReadPlaylist(std::string_view bytes, const std::string &listFolder, bool utf8Name);

/// The text of a playlist file of `items` in `format`, to be saved in
/// `listFolder`: UTF-8, "\n" line ends, local paths under the folder
/// relative to it and others absolute, addresses as they are, each with its
/// title (the file's name when it has none) and its duration in whole
/// seconds (-1 when unknown). An entry whose path a line cannot hold is left out.
std::string WritePlaylist(const std::vector<PlaylistItem> &items, PlaylistFormat format,
                          const std::string &listFolder);

/// The name a list shows for `path`: a file's name, an address as it stands.
std::string ListedFileName(const std::string &path);

} // namespace velmo
