#include "engine/MediaUri.h"

#include "engine/GstHandles.h"
#include "text/MediaAddress.h"

namespace velmo {

std::string MediaUri(const std::string &pathOrAddress)
{
    if (IsAddress(pathOrAddress))
        return pathOrAddress;
    if (pathOrAddress.empty())
        return {};
    GError *error = nullptr;
    GCharPtr uri(gst_filename_to_uri(pathOrAddress.c_str(), &error));
    GErrorPtr owned(error);
    return uri ? std::string(uri.get()) : std::string();
}

} // namespace velmo
