#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace velmo {

/// Memory a converted picture is written to: an anonymous memory file mapped
/// here, so that the X server can map the same pages and read a picture
/// without it passing through the socket or a second buffer.
class PixelBlock {
public:
    /// `bytes` of memory; null when the system has none to give.
    static std::unique_ptr<PixelBlock> Allocate(size_t bytes);
    ~PixelBlock();
    PixelBlock(const PixelBlock &) = delete;
    PixelBlock &operator=(const PixelBlock &) = delete;

    uchar *Data() const { return data_; }
    size_t Bytes() const { return bytes_; }
    /// The memory file (owned by the block; duplicate it to hand it on).
    int Fd() const { return fd_; }

    // UI thread only, until the last reference goes.
    /// The display server's id for this block once it has mapped it (0: not yet).
    uint32_t segment = 0;
    /// Called with `segment` when the block goes, from whichever thread drops it last.
    std::function<void(uint32_t)> forget;

private:
    PixelBlock() = default;
    uchar *data_ = nullptr;
    size_t bytes_ = 0;
    int fd_ = -1;
};

} // namespace velmo
