// exceptions.h -- stands in for the framework's CException, CFileException and CArchiveException.
#pragma once

#include "platform/cstring.h"
#include "platform/windefs.h"

#include <functional>

// Thrown by pointer, as the framework throws them: `catch (CFileException* e) { ...; e->Delete(); }`.
class CException
{
public:
    virtual ~CException() = default;
    // Releases an exception that was caught; the catcher owns it.
    void Delete() { delete this; }
};

class CFileException : public CException
{
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
    {
    }

    // The cause for an errno value.
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;  // the errno behind the cause, -1 when there is none
    CString m_strFileName;
};

class CArchiveException : public CException
{
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr)
        : m_cause(cause), m_strFileName(lpszArchiveName)
    {
    }

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);

// Runs step; false when it threw, whatever it threw (a thrown CException is deleted). For the
// callers that go on after a failure of their own steps: a game run, an event handler's work.
bool RunsWithoutThrowing(const std::function<void()>& step);
