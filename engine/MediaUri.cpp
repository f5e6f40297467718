#include "engine/MediaUri.h"

#include "engine/GstHandles.h"

#include <cctype>

namespace velmo {

bool HasUriScheme(const std::string &text)
{
    // scheme = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ), then "://"; a bare
    // "name:rest" stays a file name.
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    size_t i = 1;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '+' ||
                               text[i] == '-' || text[i] == '.'))
        ++i;
    return text.compare(i, 3, "://") == 0;
}

std::string MediaUri(const std::string &pathOrAddress)
{
    if (HasUriScheme(pathOrAddress))
        return pathOrAddress;
    if (pathOrAddress.empty())
        return {};
    GError *error = nullptr;
    GCharPtr uri(gst_filename_to_uri(pathOrAddress.c_str(), &error));
    GErrorPtr owned(error);
    return uri ? std::string(uri.get()) : std::string();
}

} // namespace velmo
