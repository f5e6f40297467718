#pragma once

// What every fuzz target shares: a check that stops the run like a crash, so
// the fuzzer keeps the input that broke a promise, and a scratch folder for
// the readers that take a path rather than bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

/// Aborts with the broken condition named; libFuzzer then saves the input.
#define VELMO_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);       \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)

namespace velmo::fuzz {

/// A folder of its own under /dev/shm (else $TMPDIR or /tmp), removed with
/// everything in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    /// The folder's path, without a trailing '/'.
    const std::string &path() const { return path_; }
    /// Makes `name` in the folder hold the `size` bytes at `data`; returns the
    /// file's path. Aborts when the file cannot be written.
    std::string Write(const std::string &name, const uint8_t *data, size_t size);

private:
    std::string path_;
};

} // namespace velmo::fuzz
