#include "skin/SkinSet.h"

namespace velmo {

bool SkinSet::LoadSkin(const std::string &skinFilePath)
{
    return skinFile.Load(skinFilePath);
}

} // namespace velmo
