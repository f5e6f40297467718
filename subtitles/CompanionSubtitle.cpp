#include "subtitles/CompanionSubtitle.h"

namespace velmo {

std::string FindCompanionSubtitle(const std::string &)
{
    return {};
}

} // namespace velmo
