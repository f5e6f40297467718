#include "text/MediaAddress.h"

namespace velmo {

namespace {

// ASCII only: a byte of a CP949 or UTF-8 name is never part of a scheme.
bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSchemeChar(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

} // namespace

bool IsAddress(std::string_view text)
{
    if (text.empty() || !isLetter(text[0]))
        return false;
    size_t i = 1;
    while (i < text.size() && isSchemeChar(text[i]))
        ++i;
    return text.substr(i).starts_with("://");
}

} // namespace velmo
