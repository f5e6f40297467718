#include "player/PlaylistStore.h"

#include "text/AtomicFile.h"

#include <filesystem>
#include <fstream>

namespace velmo {

namespace fs = std::filesystem;

namespace {

std::string FolderOfFile(const std::string &path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(path), ec);
    return (ec ? fs::path(path) : absolute).lexically_normal().parent_path().string();
}

} // namespace

std::string PlaylistFileBeside(const std::string &settingsFile)
{
    const fs::path parent = fs::path(settingsFile).parent_path();
    return ((parent.empty() ? fs::path(".") : parent) / "playlist.m3u8").string();
}

std::optional<std::vector<PlaylistItem>> LoadPlaylistFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes(kMaxPlaylistFileBytes + 1, '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(size_t(in.gcount()));
    if (bytes.size() > kMaxPlaylistFileBytes)
        return std::nullopt;
    std::vector<PlaylistItem> items =
        ReadPlaylist(bytes, FolderOfFile(path), PlaylistFormatOf(path) == PlaylistFormat::M3u8);
    for (PlaylistItem &item : items) {
        std::error_code ec;
        if (!item.pathAsWritten.empty() && !fs::exists(item.path, ec) && fs::exists(item.pathAsWritten, ec))
            item.path = item.pathAsWritten;
        item.pathAsWritten.clear();
    }
    return items;
}

bool SavePlaylistFile(const std::string &path, const std::vector<PlaylistItem> &items)
{
    return ReplaceFile(path, WritePlaylist(items, PlaylistFormatOf(path), FolderOfFile(path)));
}

} // namespace velmo
