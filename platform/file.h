// file.h -- stands in for the framework's CFile: an unbuffered file over POSIX descriptors.
#pragma once

#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/windefs.h"

#include <cstdint>
#include <string>

typedef uint64_t ULONGLONG;
typedef int64_t LONGLONG;

// Failures throw CFileException* (except Open, which reports them), as the framework does.
class CFile
{
public:
    enum OpenFlags
    {
        modeRead = 0,
        modeWrite = 1,
        modeReadWrite = 2,
        shareCompat = 0,
        shareExclusive = 0x10,
        shareDenyWrite = 0x20,
        shareDenyRead = 0x30,
        shareDenyNone = 0x40,
        modeNoInherit = 0x80,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2
    };
    static const int hFileNull = -1;

    CFile() = default;
    // Takes an open descriptor; as in the framework it is closed by Close, not by the destructor.
    explicit CFile(int hFile);
    // Opens or throws CFileException*.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    // Closes silently if still open.
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Share flags are accepted and ignored; on failure fills *pError if given and returns FALSE.
    // Directories are refused (accessDenied), and so is anything but a regular file opened for
    // reading only: a FIFO, a device, a socket or a pseudo file whose length is not its content.
    // A file whose first byte cannot be read fails with the read's own error.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Returns the bytes read; fewer than nCount only at the end of the file. A read the system
    // fails throws: a read error is never taken for the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes everything or throws.
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    // Nothing is buffered here, so there is nothing to push to the system.
    virtual void Flush();
    // Throws when closing a file that was written fails (the data may be lost).
    virtual void Close();
    // Closes ignoring every error.
    virtual void Abort();

    const CString& GetFilePath() const { return m_strFileName; }
    void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

protected:
    [[noreturn]] void ThrowErrno(int err) const;

    int m_hFile = hFileNull;
    CString m_strFileName;

private:
    bool m_bCloseOnDelete = false;
    bool m_bWritable = false;
};

// Appends a regular file's content to bytes, at most most bytes of it, without waiting: a FIFO or
// a device in its place is refused unread. False when the file cannot be opened or read.
bool ReadRegularFile(const char* path, std::string* bytes, size_t most = SIZE_MAX);
