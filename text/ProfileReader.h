#pragma once

#include <cstdint>
#include <string>

namespace velmo {

/// A colour: red in the lowest byte, then green, then blue; top byte 0.
using Colour = uint32_t;

/// Reads one key straight from the file on disk, the way the classic profile
/// reader does: section and key matched without regard to ASCII letter case,
/// blanks around names and values trimmed, the first matching line taken, at
/// most `maxChars` bytes of its value. An absent file, section or key gives "".
std::string ReadProfileString(const std::string &fileName, const std::string &section,
                              const std::string &key, size_t maxChars = 11);

/// Turns "red,green,blue" into a colour: each part read like atoi and cut to
/// its low 8 bits; the blue part ends at the first space.
Colour ParseColorText(const std::string &text);

/// ReadProfileString (11 characters) followed by ParseColorText.
Colour ReadColor(const std::string &fileName, const std::string &section, const std::string &key);

/// "r,g,b" in decimal, as the settings file stores a colour.
std::string FormatColor(Colour colour);

} // namespace velmo
