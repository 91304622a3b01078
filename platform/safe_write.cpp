// safe_write.cpp -- writes a new file beside the target, syncs it and renames it into place.
#include "platform/safe_write.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

// As many links as the system itself follows in one path.
const int kMaxLinks = 40;

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ReadLink(const std::string& link, const char* shown)
{
    std::vector<char> buffer(PATH_MAX);
    ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (n < 0)
        CFileException::ThrowOsError(errno, shown);
    if (size_t(n) == buffer.size())
        CFileException::ThrowOsError(ENAMETOOLONG, shown);
    return std::string(buffer.data(), size_t(n));
}

// The file a chain of symbolic links at path ends at; path itself when it is no link. A link
// that names nothing yet ends at the file it names, which the save creates.
std::string FinalTarget(const std::string& path, const char* shown)
{
    std::string target = path;
    for (int i = 0; i < kMaxLinks; i++)
    {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        std::string next = ReadLink(target, shown);
        target = next[0] == '/' ? next : DirectoryOf(target) + "/" + next;
    }
    CFileException::ThrowOsError(ELOOP, shown);
}

// A save may replace a regular file the real user may write, a link it does not follow, or
// nothing; a FIFO or a device would be swapped for a regular file, and a read-only file would
// lose the protection its owner gave it.
void CheckReplaceable(const std::string& target, const char* shown)
{
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0)
    {
        if (errno == ENOENT)
            return;
        CFileException::ThrowOsError(errno, shown);
    }
    if (S_ISLNK(st.st_mode))
        return;
    if (!S_ISREG(st.st_mode))
        CFileException::ThrowOsError(S_ISDIR(st.st_mode) ? EISDIR : ENXIO, shown);
    if (::access(target.c_str(), W_OK) != 0)
        CFileException::ThrowOsError(errno, shown);
}

// A fresh name in dir whose length never depends on the target's: ".tv<pid><n>.tmp".
std::string TemporaryName(const std::string& dir)
{
    static std::atomic<unsigned> counter{0};
    char name[32];
    std::snprintf(name, sizeof name, "/.tv%08x%08x.tmp", unsigned(::getpid()), counter++);
    return dir + name;
}

// Where the file system has no unnamed files: a named temporary, ours by O_EXCL.
int CreateNamed(const std::string& dir, std::string& tempPath, const char* shown)
{
    for (;;)
    {
        tempPath = TemporaryName(dir);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST && errno != EINTR)
            CFileException::ThrowOsError(errno, shown);
    }
}

// Gives the complete unnamed file a fresh name beside the target (a link cannot replace a name,
// the rename that follows can). Through /proc as any user may; directly where /proc is missing.
void NameUnnamed(int fd, const std::string& dir, std::string& tempPath, const char* shown)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (;;)
    {
        tempPath = TemporaryName(dir);
        int result = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath.c_str(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno == ENOENT)
            result = ::linkat(fd, "", AT_FDCWD, tempPath.c_str(), AT_EMPTY_PATH);
        if (result == 0)
            return;
        if (errno != EEXIST)
        {
            int err = errno;
            tempPath.clear();  // the name is not ours to remove
            CFileException::ThrowOsError(err, shown);
        }
    }
}

// The replacement keeps the permissions of the file it replaces.
void CopyMode(const std::string& path, int fd)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, st.st_mode & 07777);
}

// So the rename itself survives a crash; a directory that cannot be synced is no failure.
void SyncDirectory(const std::string& dir)
{
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void WriteFileSafely(const char* path, const std::function<void(CFile&)>& write,
                     SafeWriteKind kind)
{
    const bool document = kind == SafeWriteKind::document;
    const std::string target = document ? FinalTarget(path, path) : path;
    CheckReplaceable(target, path);
    const std::string dir = DirectoryOf(target);
    std::string tempPath;
    int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    if (!unnamed)
        fd = CreateNamed(dir, tempPath, path);
    CopyMode(target, fd);
    CFile file(fd);
    file.SetFilePath(path);
    try
    {
        write(file);
        if (document && ::fsync(fd) != 0)
            CFileException::ThrowOsError(errno, path);
        if (unnamed)
            NameUnnamed(fd, dir, tempPath, path);
        file.Close();
        if (::rename(tempPath.c_str(), target.c_str()) != 0)
            CFileException::ThrowOsError(errno, path);
    }
    catch (...)
    {
        file.Abort();
        if (!tempPath.empty())
            ::unlink(tempPath.c_str());
        throw;
    }
    if (document)
        SyncDirectory(dir);
}
