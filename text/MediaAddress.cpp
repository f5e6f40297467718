#include "text/MediaAddress.h"

#include <cctype>

namespace velmo {

bool IsAddress(std::string_view text)
{
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    size_t i = 1;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '+' ||
                               text[i] == '-' || text[i] == '.'))
        ++i;
    return text.substr(i, 3) == "://";
}

} // namespace velmo
