// memfile.cpp -- CMemFile: reads from a caller's block without copying it, or writes a growing one.
#include "platform/memfile.h"

#include "platform/debug.h"

#include <algorithm>
#include <cstring>

CMemFile::CMemFile(const BYTE* data, UINT size) : m_pView(data), m_nViewSize(size), m_bReadOnly(true)
{
    ASSERT(data != nullptr || size == 0);
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    size_t length = size_t(GetLength());
    if (m_nPosition >= length)
        return 0;
    size_t n = std::min(size_t(nCount), length - m_nPosition);
    std::memcpy(lpBuf, data() + m_nPosition, n);
    m_nPosition += n;
    return UINT(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    ASSERT(!m_bReadOnly);
    if (nCount == 0)
        return;
    if (m_buffer.size() < m_nPosition + nCount)
        m_buffer.resize(m_nPosition + nCount);
    std::memcpy(m_buffer.data() + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base = nFrom == begin ? 0 : nFrom == current ? LONGLONG(m_nPosition)
                                                           : LONGLONG(GetLength());
    ASSERT(nFrom <= end);
    if (lOff < -base)
        AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    m_nPosition = size_t(base + lOff);
    return m_nPosition;
}

ULONGLONG CMemFile::GetLength() const
{
    return m_bReadOnly ? m_nViewSize : m_buffer.size();
}

std::vector<BYTE> CMemFile::Detach()
{
    std::vector<BYTE> bytes;
    bytes.swap(m_buffer);
    m_nPosition = 0;
    return bytes;
}
