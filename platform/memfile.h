// memfile.h -- stands in for the framework's CMemFile: a CFile over bytes in memory.
#pragma once

#include "platform/file.h"

#include <vector>

class CMemFile : public CFile
{
public:
    // An empty file that grows as it is written.
    CMemFile() = default;
    // A read-only view of a block the caller keeps alive; nothing is copied.
    CMemFile(const BYTE* data, UINT size);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    void Flush() override {}
    // The bytes stay readable after Close.
    void Close() override {}
    void Abort() override {}

    const BYTE* data() const { return m_bReadOnly ? m_pView : m_buffer.data(); }
    // Hands the written bytes over and leaves the file empty.
    std::vector<BYTE> Detach();

private:
    const BYTE* m_pView = nullptr;
    size_t m_nViewSize = 0;
    bool m_bReadOnly = false;
    std::vector<BYTE> m_buffer;
    size_t m_nPosition = 0;
};
