#include "desktop/PlayableMimeTypes.h"

#include <sstream>

namespace velmo {

namespace {

// What a file of each type needs from the registry. A requirement of several
// names separated by "|" is met by any one of them. The types are the
// shared-mime-info names file managers give these files.
struct MimeRow {
    const char *type;
    std::vector<const char *> needs;
};

const std::vector<MimeRow> &Table()
{
    static const std::vector<MimeRow> table = {
        {"video/x-msvideo", {"avidemux"}},
        {"video/x-matroska", {"matroskademux"}},
        {"video/webm", {"matroskademux"}},
        {"video/mp4", {"qtdemux"}},
        {"video/quicktime", {"qtdemux"}},
        {"video/3gpp", {"qtdemux"}},
        {"video/3gpp2", {"qtdemux"}},
        {"video/mpeg", {"mpegpsdemux"}},
        {"video/mp2t", {"tsdemux"}},
        {"video/x-ms-wmv", {"asfdemux", "avdec_wmv2|avdec_wmv3|avdec_wmv1"}},
        {"video/x-ms-asf", {"asfdemux"}},
        {"application/vnd.ms-asf", {"asfdemux"}},
        {"video/x-flv", {"flvdemux"}},
        {"video/ogg", {"oggdemux"}},
        {"video/x-theora+ogg", {"oggdemux", "theoradec"}},
        {"video/x-ogm+ogg", {"oggdemux", "ogmvideoparse"}},
        {"video/dv", {"dvdemux", "dvdec|avdec_dvvideo"}},
        {"application/vnd.rn-realmedia", {"rmdemux"}},
        {"audio/mpeg", {"mpegaudioparse", "mpg123audiodec|avdec_mp3"}},
        {"audio/x-wav", {"wavparse"}},
        {"audio/x-aiff", {"aiffparse"}},
        {"audio/basic", {"auparse"}},
        {"audio/flac", {"flacparse", "flacdec|avdec_flac"}},
        {"audio/ogg", {"oggdemux"}},
        {"audio/x-vorbis+ogg", {"oggdemux", "vorbisdec|avdec_vorbis"}},
        {"audio/x-opus+ogg", {"oggdemux", "opusdec|avdec_opus"}},
        {"audio/mp4", {"qtdemux"}},
        {"audio/x-m4a", {"qtdemux"}},
        {"audio/aac", {"aacparse", "avdec_aac|faad|fdkaacdec"}},
        {"audio/ac3", {"ac3parse", "a52dec|avdec_ac3"}},
        {"audio/x-ms-wma", {"asfdemux", "avdec_wmav2|avdec_wmav1"}},
        {"audio/x-matroska", {"matroskademux"}},
        {"audio/webm", {"matroskademux"}},
    };
    return table;
}

bool AnyOf(const std::string &alternatives, const ElementLookup &hasElement)
{
    std::istringstream names(alternatives);
    std::string name;
    while (std::getline(names, name, '|')) {
        if (hasElement(name))
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> PlayableMimeTypes(const ElementLookup &hasElement)
{
    std::vector<std::string> types;
    for (const MimeRow &row : Table()) {
        bool playable = true;
        for (const char *need : row.needs)
            playable = playable && AnyOf(need, hasElement);
        if (playable)
            types.emplace_back(row.type);
    }
    types.emplace_back("application/x-sami");
    return types;
}

} // namespace velmo
