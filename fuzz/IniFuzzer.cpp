// The INI store's Load on any bytes, written to a file since it reads only
// from a path. Whatever it reads, a save and a second load give the same
// table: saving that again writes the very same bytes.

#include "fuzz/FuzzSupport.h"

#include "text/IniFile.h"

#include <fstream>
#include <iterator>
#include <memory>

namespace {

std::string contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const auto folder = std::make_unique<velmo::fuzz::ScratchFolder>();
    const std::string path = folder->Write("a.ini", data, size);

    velmo::IniFile ini;
    VELMO_FUZZ_CHECK(ini.Load(path));
    VELMO_FUZZ_CHECK(ini.lastError().empty());
    const size_t entries = ini.entryCount();
    VELMO_FUZZ_CHECK(entries <= size / 2); // each entry takes at least "k=" of the file

    VELMO_FUZZ_CHECK(ini.Save());
    const std::string saved = contents(path);
    velmo::IniFile again;
    VELMO_FUZZ_CHECK(again.Load(path));
    VELMO_FUZZ_CHECK(again.entryCount() == entries);
    VELMO_FUZZ_CHECK(again.Save());
    VELMO_FUZZ_CHECK(contents(path) == saved);
    return 0;
}
