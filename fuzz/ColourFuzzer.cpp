// The colour reader on any value text. A colour keeps its top byte clear,
// writing it and reading it back gives it again, and each part is read as
// the C library reads a number.

#include "fuzz/FuzzSupport.h"

#include "text/IniFile.h"
#include "text/ProfileReader.h"

#include <cerrno>
#include <cstdlib>

namespace {

// IniFile::ParseInt against strtoll, wherever strtoll does not saturate:
// both keep the low 32 bits of the number.
void checkNumber(const std::string &text)
{
    errno = 0;
    const long long expected = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return;
    VELMO_FUZZ_CHECK(velmo::IniFile::ParseInt(text) == int32_t(uint32_t(uint64_t(expected))));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const velmo::Colour colour = velmo::ParseColorText(text);
    VELMO_FUZZ_CHECK(colour <= 0xFFFFFFu);
    VELMO_FUZZ_CHECK(velmo::ParseColorText(velmo::FormatColor(colour)) == colour);

    const size_t comma = text.find(',');
    checkNumber(text.substr(0, comma));
    if (comma != std::string::npos)
        checkNumber(text.substr(comma + 1));
    return 0;
}
