// surface.cpp -- the pixel store behind bitmaps and window surfaces.
#include "platform/surface.h"

#include <algorithm>

void Surface::Resize(int width, int height, COLORREF fill)
{
    if (width <= 0 || height <= 0)
        width = height = 0;
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * std::size_t(height), fill & 0x00FFFFFF);
    ++m_changes;
}

void Surface::Fill(COLORREF colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), colour & 0x00FFFFFF);
    ++m_changes;
}

const BYTE* Surface::MaskBytes() const
{
    if (m_maskMadeAt != m_changes) {
        m_maskBytes.resize(m_pixels.size());
        for (std::size_t i = 0; i < m_pixels.size(); ++i)
            m_maskBytes[i] = m_pixels[i] != 0 ? 0xFF : 0;
        m_maskMadeAt = m_changes;
    }
    return m_maskBytes.data();
}
