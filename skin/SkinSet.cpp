#include "skin/SkinSet.h"

namespace velmo {

SkinSet::SkinSet(const std::string &skinFilePath)
{
    LoadSkin(skinFilePath);
}

SkinSet::~SkinSet() = default;

} // namespace velmo
