// archive.h -- stands in for the framework's CArchive: buffered little-endian binary I/O on a CFile.
#pragma once

#include "platform/file.h"
#include "platform/windefs.h"

#include <cstdint>
#include <vector>

// Integers are stored little-endian, assembled byte by byte. Extracting an integer from fewer
// bytes than it needs throws CArchiveException* (endOfFile) and consumes nothing.
// File errors surface as CFileException*.
class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    // A storing archive not yet closed is flushed, errors ignored; call Close to see them.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsStoring() const { return m_bStoring; }
    // Loading: the bytes not read yet, buffered ones included, so that a reader can check a
    // size against the rest of the file before it allocates.
    ULONGLONG GetBytesLeft() const
    {
        return (m_nMax - m_nCur) + (m_pFile->GetLength() - m_pFile->GetPosition());
    }

    // Returns the count it got: fewer than nMax only at the end of the file, never throws there.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: pushes the buffer into the file. Loading: nothing.
    void Flush();
    // Flushes when storing, then detaches from the file (which stays open).
    void Close();

    CArchive& operator<<(int32_t i) { return StoreBytes(uint32_t(i), 4); }
    CArchive& operator<<(uint32_t u) { return StoreBytes(u, 4); }
    CArchive& operator<<(WORD w) { return StoreBytes(w, 2); }
    CArchive& operator<<(BYTE by) { return StoreBytes(by, 1); }

    CArchive& operator>>(int32_t& i);
    CArchive& operator>>(uint32_t& u);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(BYTE& by);

private:
    CArchive& StoreBytes(uint32_t value, int count);
    uint32_t LoadBytes(int count);
    void FillBuffer(size_t needed);
    void FlushBuffer();

    CFile* m_pFile;
    bool m_bStoring;
    std::vector<BYTE> m_buffer;
    size_t m_nCur = 0;  // loading: next byte to hand out; storing: bytes waiting
    size_t m_nMax = 0;  // loading: bytes in the buffer
};
