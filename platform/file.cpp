// file.cpp -- CFile over POSIX open/read/write/close, failures as CFileException*.
#include "platform/file.h"

#include "platform/debug.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

int OpenFlagsToPosix(UINT nOpenFlags)
{
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3)
    {
    case CFile::modeRead:
        flags |= O_RDONLY;
        break;
    case CFile::modeWrite:
        flags |= O_WRONLY;
        break;
    default:
        flags |= O_RDWR;
        break;
    }
    if (nOpenFlags & CFile::modeCreate)
        flags |= (nOpenFlags & CFile::modeNoTruncate) ? O_CREAT : O_CREAT | O_TRUNC;
    return flags;
}

// Whether a regular file's length is its content: 0 when it is, ENXIO when it is not, or the
// error of a read that failed. Pseudo files (/proc, /sys) report no length or a made-up one and
// produce their text when read; one that cannot even be read (/proc/self/mem) is a read error,
// not an empty file.
int CheckLengthIsContent(int fd, const struct stat& st)
{
    if (st.st_size != 0)
        return 0;
    char byte;
    ssize_t n;
    do
        n = ::pread(fd, &byte, 1, 0);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return errno;
    return n == 0 ? 0 : ENXIO;
}

// Opens the file, refusing directories (the system opens them for reading). A file opened only
// for reading must be a regular one: a FIFO or a device would block the caller or never end,
// so it is opened without waiting and refused once its type is known. Returns the descriptor,
// or -1 with errno set (EISDIR, ENXIO for anything else that is not a regular file, or the
// error of a first read that failed).
int OpenRegular(LPCSTR name, int flags)
{
    const bool readOnly = (flags & O_ACCMODE) == O_RDONLY;
    if (readOnly)
        flags |= O_NONBLOCK | O_NOCTTY;
    int fd;
    do
        fd = ::open(name, flags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;
    struct stat st;
    int refused = 0;
    if (::fstat(fd, &st) != 0)
        refused = errno;
    else if (S_ISDIR(st.st_mode))
        refused = EISDIR;
    else if (readOnly && !S_ISREG(st.st_mode))
        refused = ENXIO;
    else if (readOnly)
        refused = CheckLengthIsContent(fd, st);
    if (refused == 0 && readOnly)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (refused != 0)
    {
        ::close(fd);
        errno = refused;
        return -1;
    }
    return fd;
}

}  // namespace

CFile::CFile(int hFile) : m_hFile(hFile)
{
    int flags = ::fcntl(hFile, F_GETFL);
    m_bWritable = flags >= 0 && (flags & O_ACCMODE) != O_RDONLY;
}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        throw new CFileException(error);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    ASSERT(m_hFile == hFileNull);
    ASSERT(lpszFileName != nullptr);
    m_strFileName = lpszFileName;
    int fd = OpenRegular(lpszFileName, OpenFlagsToPosix(nOpenFlags));
    if (fd < 0)
    {
        if (pError)
            *pError = CFileException(CFileException::OsErrorToException(errno), errno, lpszFileName);
        return FALSE;
    }
    m_hFile = fd;
    m_bCloseOnDelete = true;
    m_bWritable = (nOpenFlags & 3) != modeRead;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    ASSERT(m_hFile != hFileNull);
    char* p = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount)
    {
        ssize_t n = ::read(m_hFile, p + done, nCount - done);
        if (n == 0)
            break;
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno);
        }
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    ASSERT(m_hFile != hFileNull);
    const char* p = static_cast<const char*>(lpBuf);
    while (nCount > 0)
    {
        ssize_t n = ::write(m_hFile, p, nCount);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno);
        }
        p += n;
        nCount -= UINT(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    ASSERT(m_hFile != hFileNull);
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    ASSERT(nFrom <= end);
    off_t pos = ::lseek(m_hFile, off_t(lOff), whence[nFrom]);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return ULONGLONG(pos);
}

ULONGLONG CFile::GetLength() const
{
    ASSERT(m_hFile != hFileNull);
    struct stat st;
    if (::fstat(m_hFile, &st) != 0)
        ThrowErrno(errno);
    return ULONGLONG(st.st_size);
}

ULONGLONG CFile::GetPosition() const
{
    ASSERT(m_hFile != hFileNull);
    off_t pos = ::lseek(m_hFile, 0, SEEK_CUR);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return ULONGLONG(pos);
}

void CFile::Flush()
{
    ASSERT(m_hFile != hFileNull);
}

void CFile::Close()
{
    if (m_hFile == hFileNull)
        return;
    // The descriptor is gone whatever close answers; retrying could close someone else's.
    int result = ::close(m_hFile);
    int err = errno;
    m_hFile = hFileNull;
    m_bCloseOnDelete = false;
    if (result != 0 && m_bWritable && err != EINTR)
        ThrowErrno(err);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        ::close(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = false;
}

void CFile::ThrowErrno(int err) const
{
    CFileException::ThrowOsError(err, m_strFileName);
}

bool ReadRegularFile(const char* path, std::string* bytes, size_t most)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return false;
    try {
        char chunk[4096];
        UINT got;
        for (size_t left = most; left > 0; left -= got) {
            got = file.Read(chunk, UINT(std::min(sizeof chunk, left)));
            if (got == 0)
                break;
            bytes->append(chunk, got);
        }
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
    return true;
}
