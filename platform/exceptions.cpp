// exceptions.cpp -- throwing the framework's file and archive exceptions, and errno to cause.
#include "platform/exceptions.h"

#include <cerrno>

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError)
    {
    case ENOENT:
        return fileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ENXIO:  // a FIFO without a reader, a socket, or another file that is not a regular one
    case ENODEV:
        return accessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // the file-size limit (ulimit -f) or the file system's largest file
        return diskFull;
    case EMFILE:  // the process's limit
    case ENFILE:  // the system's
        return tooManyOpenFiles;
    case ENOTDIR:
    case ENAMETOOLONG:
        return badPath;
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

bool RunsWithoutThrowing(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return false;
}
