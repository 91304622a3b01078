// safe_write.cpp -- writes a new file beside the target, syncs it and renames it into place; or,
// where the folder allows no such file, rewrites the target in place.
#include "platform/safe_write.h"

#include "platform/memfile.h"
#include "platform/rewrite_in_place.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{

// As many links as the system itself follows in one path.
const int kMaxLinks = 40;

// A name in a folder held open: every step works relative to the folder, so no path is ever
// longer than the one the caller gave, however deep the folder lies.
class Place
{
public:
    // The folder of path (relative to at) and the last name in it.
    Place(int at, const std::string& path, const char* shown)
    {
        const size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/"
                                                                    : path.substr(0, slash);
        m_name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (m_name.empty())
            m_name = ".";
        m_dir = ::openat(at, folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_dir < 0)
            CFileException::ThrowOsError(errno, shown);
    }
    Place(Place&& other) noexcept : m_dir(std::exchange(other.m_dir, -1)), m_name(other.m_name) {}
    Place& operator=(Place&& other) noexcept
    {
        std::swap(m_dir, other.m_dir);
        m_name = other.m_name;
        return *this;
    }
    ~Place()
    {
        if (m_dir >= 0)
            ::close(m_dir);
    }

    int Dir() const { return m_dir; }
    const char* Name() const { return m_name.c_str(); }
    // lstat of the name; false with errno set when it fails.
    bool Stat(struct stat& st) const
    {
        return ::fstatat(m_dir, Name(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    }

private:
    int m_dir = -1;
    std::string m_name;
};

std::string ReadLink(const Place& link, const char* shown)
{
    std::vector<char> buffer(PATH_MAX);
    ssize_t n = ::readlinkat(link.Dir(), link.Name(), buffer.data(), buffer.size());
    if (n < 0)
        CFileException::ThrowOsError(errno, shown);
    if (size_t(n) == buffer.size())
        CFileException::ThrowOsError(ENAMETOOLONG, shown);
    return std::string(buffer.data(), size_t(n));
}

// The system's protected_symlinks rule, kept whatever the system's setting: in a sticky,
// world-writable folder (/tmp) a link is followed only by its owner or when it belongs to the
// folder's owner, so no other user can point a save there at a file of the user's.
void CheckFollowable(const Place& link, const struct stat& st, const char* shown)
{
    struct stat folder;
    if (::fstat(link.Dir(), &folder) != 0)
        CFileException::ThrowOsError(errno, shown);
    const bool open = (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    if (open && st.st_uid != ::geteuid() && st.st_uid != folder.st_uid)
        CFileException::ThrowOsError(EACCES, shown);
}

// The file a chain of symbolic links at path ends at; path itself when it is no link. A link
// that names nothing yet ends at the file it names, which the save creates.
Place FinalTarget(const char* path, const char* shown)
{
    Place place(AT_FDCWD, path, shown);
    for (int i = 0; i < kMaxLinks; i++)
    {
        struct stat st;
        if (!place.Stat(st) || !S_ISLNK(st.st_mode))
            return place;
        CheckFollowable(place, st, shown);
        const std::string next = ReadLink(place, shown);
        place = Place(next[0] == '/' ? AT_FDCWD : place.Dir(), next, shown);
    }
    CFileException::ThrowOsError(ELOOP, shown);
}

// A save may replace a regular file the real user may write, a link it does not follow, or
// nothing; a FIFO or a device would be swapped for a regular file, and a read-only file would
// lose the protection its owner gave it. Returns whether there is a file, its status in old.
bool CheckReplaceable(const Place& target, struct stat& old, const char* shown)
{
    if (!target.Stat(old))
    {
        if (errno == ENOENT)
            return false;
        CFileException::ThrowOsError(errno, shown);
    }
    if (S_ISLNK(old.st_mode))
        return false;
    if (!S_ISREG(old.st_mode))
        CFileException::ThrowOsError(S_ISDIR(old.st_mode) ? EISDIR : ENXIO, shown);
    if (::faccessat(target.Dir(), target.Name(), W_OK, 0) != 0)
        CFileException::ThrowOsError(errno, shown);
    return true;
}

// A fresh name whose length never depends on the target's: ".tv<pid><n>.tmp".
std::string TemporaryName()
{
    static std::atomic<unsigned> counter{0};
    char name[32];
    std::snprintf(name, sizeof name, ".tv%08x%08x.tmp", unsigned(::getpid()), counter++);
    return name;
}

// Where the file system has no unnamed files: a named temporary, ours by O_EXCL. Returns -1
// with errno set when the folder refuses it.
int CreateNamed(const Place& target, std::string& tempName)
{
    for (;;)
    {
        tempName = TemporaryName();
        int fd = ::openat(target.Dir(), tempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                          0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST && errno != EINTR)
        {
            const int err = errno;
            tempName.clear();
            errno = err;
            return -1;
        }
    }
}

// Gives the complete unnamed file a fresh name beside the target (a link cannot replace a name,
// the rename that follows can). Through /proc as any user may; directly where /proc is missing.
// False with errno set when the file system will not link it.
bool NameUnnamed(int fd, const Place& target, std::string& tempName)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (;;)
    {
        tempName = TemporaryName();
        int result =
            ::linkat(AT_FDCWD, self.c_str(), target.Dir(), tempName.c_str(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno == ENOENT)
            result = ::linkat(fd, "", target.Dir(), tempName.c_str(), AT_EMPTY_PATH);
        if (result == 0)
            return true;
        if (errno != EEXIST)
        {
            tempName.clear();  // the name is not ours to remove
            return false;
        }
    }
}

// The new file takes the old one's owner, group and permissions, except setuid and setgid: the
// system drops those when another user writes the file, and a saved map is no program. False
// when it cannot take them, which only the old file itself still has.
bool KeepOwnerAndMode(int fd, const struct stat& old)
{
    struct stat st;
    return ::fstat(fd, &st) == 0
           && ((st.st_uid == old.st_uid && st.st_gid == old.st_gid)
               || ::fchown(fd, old.st_uid, old.st_gid) == 0)
           && ::fchmod(fd, old.st_mode & 07777 & ~(S_ISUID | S_ISGID)) == 0;
}

// Copies what the unnamed file holds into the named one, from the start.
void CopyContent(int from, CFile& to)
{
    std::vector<char> buffer(1 << 16);
    off_t offset = 0;
    for (;;)
    {
        ssize_t n = ::pread(from, buffer.data(), buffer.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            CFileException::ThrowOsError(errno, to.GetFilePath());
        if (n == 0)
            return;
        to.Write(buffer.data(), UINT(n));
        offset += n;
    }
}

// The file system made the unnamed file but will not link it: its bytes go to a named one.
void NameByCopy(int unnamed, const Place& target, const struct stat* old, bool sync,
                std::string& tempName, const char* path)
{
    int fd = CreateNamed(target, tempName);
    if (fd < 0)
        CFileException::ThrowOsError(errno, path);
    CFile copy(fd);
    copy.SetFilePath(path);
    try
    {
        if (old != nullptr && !KeepOwnerAndMode(fd, *old))
            CFileException::ThrowOsError(EPERM, path);
        CopyContent(unnamed, copy);
        if (sync && ::fsync(fd) != 0)
            CFileException::ThrowOsError(errno, path);
        copy.Close();
    }
    catch (...)
    {
        copy.Abort();
        throw;
    }
}

// So the rename itself survives a crash; a directory that cannot be synced is no failure.
void SyncDirectory(const Place& target)
{
    int fd = ::openat(target.Dir(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        ::fsync(fd);
        ::close(fd);
    }
}

// Where no new file can stand in for the old one, the old one is written over once the bytes
// are complete in memory.
void WriteInPlace(const Place& target, const struct stat& old, const char* path,
                  const std::function<void(CFile&)>& write)
{
    CMemFile bytes;
    bytes.SetFilePath(path);
    write(bytes);
    RewriteInPlace(target.Dir(), target.Name(), old, reinterpret_cast<const char*>(bytes.data()),
                   size_t(bytes.GetLength()), path);
}

// The failure of a folder that allows no new file, where writing the old one in place helps.
bool FolderRefused(int err)
{
    return err == EACCES || err == EPERM;
}

}  // namespace

void WriteFileSafely(const char* path, const std::function<void(CFile&)>& write,
                     SafeWriteKind kind)
{
    const bool document = kind == SafeWriteKind::document;
    const Place target = document ? FinalTarget(path, path) : Place(AT_FDCWD, path, path);
    struct stat old;
    const bool exists = CheckReplaceable(target, old, path);
    std::string tempName;
    int fd = ::openat(target.Dir(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    if (!unnamed)
        fd = CreateNamed(target, tempName);
    if (fd < 0)
    {
        if (document && exists && FolderRefused(errno))
            return WriteInPlace(target, old, path, write);
        CFileException::ThrowOsError(errno, path);
    }
    if (exists && !KeepOwnerAndMode(fd, old) && document)
    {
        ::close(fd);
        if (!tempName.empty())
            ::unlinkat(target.Dir(), tempName.c_str(), 0);
        return WriteInPlace(target, old, path, write);
    }
    CFile file(fd);
    file.SetFilePath(path);
    try
    {
        write(file);
        if (document && ::fsync(fd) != 0)
            CFileException::ThrowOsError(errno, path);
        if (unnamed && !NameUnnamed(fd, target, tempName))
            NameByCopy(fd, target, exists ? &old : nullptr, document, tempName, path);
        file.Close();
        if (::renameat(target.Dir(), tempName.c_str(), target.Dir(), target.Name()) != 0)
            CFileException::ThrowOsError(errno, path);
    }
    catch (...)
    {
        file.Abort();
        if (!tempName.empty())
            ::unlinkat(target.Dir(), tempName.c_str(), 0);
        throw;
    }
    if (document)
        SyncDirectory(target);
}

bool WriteBytesSafely(const char* path, const void* data, size_t size, SafeWriteKind kind)
{
    try {
        WriteFileSafely(path, [&](CFile& file) { file.Write(data, UINT(size)); }, kind);
        return true;
    } catch (CFileException* e) {
        e->Delete();
    } catch (const std::exception&) {
    }
    return false;
}
