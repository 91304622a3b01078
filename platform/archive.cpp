// archive.cpp -- CArchive: a buffer in front of a CFile, integers little-endian byte by byte.
#include "platform/archive.h"

#include "platform/debug.h"

#include <algorithm>
#include <cstring>

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_bStoring((nMode & load) == 0), m_buffer(size_t(std::max(nBufSize, 16)))
{
    ASSERT(pFile != nullptr);
}

CArchive::~CArchive()
{
    if (m_pFile == nullptr || !m_bStoring)
        return;
    try
    {
        FlushBuffer();
    }
    catch (CException* e)
    {
        e->Delete();
    }
}

void CArchive::Close()
{
    if (m_pFile == nullptr)
        return;
    if (m_bStoring)
        FlushBuffer();
    m_pFile = nullptr;
}

void CArchive::Flush()
{
    ASSERT(m_pFile != nullptr);
    if (m_bStoring)
        FlushBuffer();
}

void CArchive::FlushBuffer()
{
    // Emptied first: should the write throw, a later flush must not write the bytes again.
    size_t n = m_nCur;
    m_nCur = 0;
    if (n > 0)
        m_pFile->Write(m_buffer.data(), UINT(n));
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    ASSERT(m_pFile != nullptr);
    ASSERT(m_bStoring);
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    if (nMax <= m_buffer.size() - m_nCur)
    {
        std::memcpy(m_buffer.data() + m_nCur, p, nMax);
        m_nCur += nMax;
        return;
    }
    FlushBuffer();
    // A block at least as big as the buffer goes straight to the file.
    if (nMax >= m_buffer.size())
    {
        m_pFile->Write(p, nMax);
        return;
    }
    std::memcpy(m_buffer.data(), p, nMax);
    m_nCur = nMax;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    ASSERT(m_pFile != nullptr);
    ASSERT(!m_bStoring);
    BYTE* p = static_cast<BYTE*>(lpBuf);
    size_t fromBuffer = std::min(size_t(nMax), m_nMax - m_nCur);
    std::memcpy(p, m_buffer.data() + m_nCur, fromBuffer);
    m_nCur += fromBuffer;
    size_t left = nMax - fromBuffer;
    if (left == 0)
        return nMax;
    // The buffer is empty now: a big block comes straight from the file, a small one through it.
    if (left >= m_buffer.size())
        return UINT(fromBuffer + m_pFile->Read(p + fromBuffer, UINT(left)));
    FillBuffer(left);
    size_t got = std::min(left, m_nMax - m_nCur);
    std::memcpy(p + fromBuffer, m_buffer.data() + m_nCur, got);
    m_nCur += got;
    return UINT(fromBuffer + got);
}

// Tops the buffer up until it holds needed bytes or the file has no more.
void CArchive::FillBuffer(size_t needed)
{
    if (m_nMax - m_nCur >= needed)
        return;
    size_t unread = m_nMax - m_nCur;
    std::memmove(m_buffer.data(), m_buffer.data() + m_nCur, unread);
    m_nCur = 0;
    m_nMax = unread;
    // CFile::Read returns short only at the end, so one call fills what the file has.
    m_nMax += m_pFile->Read(m_buffer.data() + m_nMax, UINT(m_buffer.size() - m_nMax));
}

CArchive& CArchive::StoreBytes(uint32_t value, int count)
{
    ASSERT(m_pFile != nullptr);
    ASSERT(m_bStoring);
    if (m_buffer.size() - m_nCur < size_t(count))
        FlushBuffer();
    for (int i = 0; i < count; i++)
        m_buffer[m_nCur++] = BYTE(value >> (8 * i));
    return *this;
}

uint32_t CArchive::LoadBytes(int count)
{
    ASSERT(m_pFile != nullptr);
    ASSERT(!m_bStoring);
    FillBuffer(size_t(count));
    if (m_nMax - m_nCur < size_t(count))
        AfxThrowArchiveException(CArchiveException::endOfFile, m_pFile->GetFilePath());
    uint32_t value = 0;
    for (int i = 0; i < count; i++)
        value |= uint32_t(m_buffer[m_nCur++]) << (8 * i);
    return value;
}

CArchive& CArchive::operator>>(int32_t& i)
{
    i = int32_t(LoadBytes(4));
    return *this;
}

CArchive& CArchive::operator>>(uint32_t& u)
{
    u = LoadBytes(4);
    return *this;
}

CArchive& CArchive::operator>>(WORD& w)
{
    w = WORD(LoadBytes(2));
    return *this;
}

CArchive& CArchive::operator>>(BYTE& by)
{
    by = BYTE(LoadBytes(1));
    return *this;
}
