// The playlist readers on any bytes: M3U (a legacy ".m3u", which may be
// CP949), M3U8 (UTF-8 whatever its bytes) and PLS (with its header put in
// front). Every entry names something, its title is UTF-8, and the list
// written again reads back as the same list: a second write gives the text of
// the first.

#include "fuzz/FuzzSupport.h"

#include "text/PlaylistFile.h"

#include <QByteArrayView>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string bytes(reinterpret_cast<const char *>(data), size);
#if defined(VELMO_FUZZ_PLS)
    bytes.insert(0, "[playlist]\n");
    constexpr bool kUtf8Name = false;
    constexpr velmo::PlaylistFormat kFormat = velmo::PlaylistFormat::Pls;
#elif defined(VELMO_FUZZ_M3U8)
    constexpr bool kUtf8Name = true;
    constexpr velmo::PlaylistFormat kFormat = velmo::PlaylistFormat::M3u8;
#else
    constexpr bool kUtf8Name = false;
    constexpr velmo::PlaylistFormat kFormat = velmo::PlaylistFormat::M3u;
#endif
    const std::string folder = "/lists";
    const std::vector<velmo::PlaylistItem> items = velmo::ReadPlaylist(bytes, folder, kUtf8Name);
    for (const velmo::PlaylistItem &item : items) {
        VELMO_FUZZ_CHECK(!item.path.empty());
        VELMO_FUZZ_CHECK(QByteArrayView(item.title.data(), qsizetype(item.title.size())).isValidUtf8());
        VELMO_FUZZ_CHECK(item.durationMs >= -1);
    }
    const std::string written = velmo::WritePlaylist(items, kFormat, folder);
    const std::vector<velmo::PlaylistItem> again = velmo::ReadPlaylist(written, folder, true);
    VELMO_FUZZ_CHECK(again.size() <= items.size());
    VELMO_FUZZ_CHECK(velmo::WritePlaylist(again, kFormat, folder) == written);
    return 0;
}
