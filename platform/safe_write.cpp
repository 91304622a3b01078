// safe_write.cpp -- writes a temporary beside the target, syncs it and renames it into place.
#include "platform/safe_write.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a fresh file named after path, "<dir>/.<name>.<pid>.<n>.tmp"; O_EXCL guarantees
// it is ours. Throws CFileException* naming path when the directory refuses it.
int CreateTemporary(const std::string& path, std::string& tempPath)
{
    static std::atomic<unsigned> counter{0};
    std::string dir = DirectoryOf(path);
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    for (;;)
    {
        tempPath = dir + "/." + name + "." + std::to_string(::getpid()) + "." +
                   std::to_string(counter++) + ".tmp";
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST && errno != EINTR)
            CFileException::ThrowOsError(errno, path.c_str());
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

void WriteAndReplace(const std::string& path, const std::string& tempPath, CFile& file,
                     int fd, const std::function<void(CFile&)>& write)
{
    write(file);
    if (::fsync(fd) != 0)
        CFileException::ThrowOsError(errno, path.c_str());
    file.Close();
    if (::rename(tempPath.c_str(), path.c_str()) != 0)
        CFileException::ThrowOsError(errno, path.c_str());
}

}  // namespace

void WriteFileSafely(const char* path, const std::function<void(CFile&)>& write)
{
    std::string target(path);
    std::string tempPath;
    int fd = CreateTemporary(target, tempPath);
    CopyMode(target, fd);
    CFile file(fd);
    file.SetFilePath(path);
    try
    {
        WriteAndReplace(target, tempPath, file, fd, write);
    }
    catch (...)
    {
        file.Abort();
        ::unlink(tempPath.c_str());
        throw;
    }
    SyncDirectory(DirectoryOf(target));
}
