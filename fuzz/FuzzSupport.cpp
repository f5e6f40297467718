#include "fuzz/FuzzSupport.h"

#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

namespace velmo::fuzz {

namespace {

// Memory-backed when the machine has /dev/shm: the INI store syncs what it
// saves, which on a disk would cost milliseconds an execution.
std::string scratchRoot()
{
    if (::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    const char *tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

} // namespace

ScratchFolder::ScratchFolder()
{
    std::string pattern = scratchRoot() + "/velmo-fuzz-XXXXXX";
    VELMO_FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    path_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string &name, const uint8_t *data, size_t size)
{
    const std::string file = path_ + "/" + name;
    // Opened afresh each time: a save may have renamed another file over it.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    VELMO_FUZZ_CHECK(fd >= 0);
    size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        VELMO_FUZZ_CHECK(n > 0);
        written += size_t(n);
    }
    VELMO_FUZZ_CHECK(::close(fd) == 0);
    return file;
}

} // namespace velmo::fuzz
