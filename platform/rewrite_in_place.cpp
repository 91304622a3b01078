// rewrite_in_place.cpp -- writes a file over itself so that a failed write still leaves the old
// bytes: space reserved first, the old bytes kept in memory and put back on a failure.
#include "platform/rewrite_in_place.h"

#include "platform/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// The most one write hands the system at a time.
const size_t kPiece = size_t(1) << 16;

// A write past the file-size limit (ulimit -f) stops midway whatever was reserved, so a length
// above it is refused before the file is touched.
void CheckSizeLimit(size_t length, const char* path)
{
    rlimit limit;
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        length > limit.rlim_cur)
        CFileException::ThrowOsError(EFBIG, path);
}

// Opens the file for the rewrite. In the shared and sticky folders this path exists for, the
// file's owner may have swapped in a FIFO (an open would wait for a reader), a link or another
// file since it was checked: anything but that same regular file is refused.
int OpenChecked(int dir, const char* name, const struct stat& old, const char* path)
{
    int fd = ::openat(dir, name, O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        CFileException::ThrowOsError(errno == ELOOP ? EACCES : errno, path);
    struct stat st;
    const bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == old.st_dev &&
                      st.st_ino == old.st_ino;
    const int flags = ::fcntl(fd, F_GETFL);
    if (!same || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        CFileException::ThrowOsError(EACCES, path);
    }
    return fd;
}

// The file's bytes as they are; 0, or the error of the read that failed.
int ReadAll(int fd, std::string& bytes)
{
    std::vector<char> buffer(kPiece);
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), off_t(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : 0;
        bytes.append(buffer.data(), size_t(n));
    }
}

// Writes length bytes at the file's start; 0, or the error that stopped it. changed grows to
// the end of each piece before it is written: how far the file may differ from before.
int WriteFromStart(int fd, const char* data, size_t length, size_t& changed)
{
    for (size_t done = 0; done < length;) {
        const size_t n = std::min(length - done, kPiece);
        changed = std::max(changed, done + n);
        const ssize_t written = ::pwrite(fd, data + done, n, off_t(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        done += size_t(written);
    }
    return 0;
}

// Reserves the new length, writes it, cuts the file to it and syncs; 0, or the first error.
int Replace(int fd, const char* data, size_t length, size_t oldLength, size_t& changed)
{
    if (length > 0) {
        const int reserved = ::posix_fallocate(fd, 0, off_t(length));
        if (reserved != 0)
            return reserved;
    }
    int err = WriteFromStart(fd, data, length, changed);
    if (err != 0)
        return err;
    changed = std::max(changed, oldLength); // the cut drops the old bytes past the new end
    return ::ftruncate(fd, off_t(length)) == 0 && ::fsync(fd) == 0 ? 0 : errno;
}

// Puts back the old bytes as far as the file may have changed, and the old length.
bool Restore(int fd, const std::string& old, size_t changed)
{
    size_t ignored = 0;
    return WriteFromStart(fd, old.data(), std::min(changed, old.size()), ignored) == 0 &&
           ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0;
}

} // namespace

void RewriteInPlace(int dir, const char* name, const struct stat& old, const char* data,
                    size_t length, const char* path)
{
    CheckSizeLimit(length, path);
    const int fd = OpenChecked(dir, name, old, path);
    std::string before;
    int err = ReadAll(fd, before);
    if (err != 0) {
        ::close(fd);
        CFileException::ThrowOsError(err, path);
    }
    size_t changed = 0;
    err = Replace(fd, data, length, before.size(), changed);
    const bool whole = err == 0 || Restore(fd, before, changed);
    // Synced: a failing close can no longer lose what was written.
    ::close(fd);
    if (err == 0)
        return;
    if (!whole)
        throw new CFileDamagedException(CFileException::OsErrorToException(err), err, path);
    CFileException::ThrowOsError(err, path);
}
