#include "engine/PixelBlock.h"

#include <sys/mman.h>
#include <unistd.h>

namespace velmo {

std::unique_ptr<PixelBlock> PixelBlock::Allocate(size_t bytes)
{
    if (bytes == 0)
        return nullptr;
    const int fd = memfd_create("velmo-picture", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (ftruncate(fd, off_t(bytes)) != 0) {
        close(fd);
        return nullptr;
    }
    void *data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    std::unique_ptr<PixelBlock> block(new PixelBlock());
    block->data_ = static_cast<uchar *>(data);
    block->bytes_ = bytes;
    block->fd_ = fd;
    return block;
}

PixelBlock::~PixelBlock()
{
    if (segment != 0 && forget)
        forget(segment);
    munmap(data_, bytes_);
    close(fd_);
}

} // namespace velmo
