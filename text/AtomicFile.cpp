// The atomic replacement of a file that the settings file and the resume
// records share.

#include "text/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmo {

namespace {

// Writes all of `data` to `fd`, retrying short writes.
bool writeAll(int fd, const std::string &data)
{
    const char *p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Opens the one temporary file of a target, taking over what a killed save
// left there, and locks it against another process saving the same target.
// A file that process renamed into place while this one waited for the lock
// is no longer the temporary file: open again.
int openTemporary(const std::string &temp, mode_t mode)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd < 0)
            return -1;
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 && ::lstat(temp.c_str(), &named) == 0
            && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    return -1;
}

// Makes a rename in the folder of `file` survive a power cut.
void syncFolderOf(const std::string &file)
{
    const std::string folder = std::filesystem::path(file).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // the new file is in place already; a failure here cannot undo that
    ::close(fd);
}

// Mode for a new file: the old file's, or 0666 less the umask.
mode_t modeFor(const std::string &fileName)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes beside the target and renames over it only when every byte is on
// disk, then syncs the folder: a failed save, a crash or a power cut leaves
// the old file or the new one, whole. A save killed midway leaves its
// temporary file, which the next save of the target takes over.
} // namespace

bool ReplaceFile(const std::string &target, const std::string &data)
{
    const std::string temp = target + ".saving";
    const mode_t mode = modeFor(target);
    const int fd = openTemporary(temp, mode);
    if (fd < 0)
        return false;
    bool ok = ::ftruncate(fd, 0) == 0 && ::fchmod(fd, mode) == 0;
    ok = ok && writeAll(fd, data);
    ok = ok && ::fsync(fd) == 0;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    ::close(fd); // after the rename, so the lock covers it; the data is synced already
    if (ok)
        syncFolderOf(target);
    return ok;
}

} // namespace velmo
