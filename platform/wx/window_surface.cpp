// window_surface.cpp -- painting through a persistent surface and showing it on screen.
#include "platform/wx/window_surface.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/rawbmp.h>

#include <algorithm>
#include <cstring>

WindowSurface::WindowSurface(wxWindow* window, COLORREF background)
    : m_window(window), m_background(background)
{
    m_window->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_window->Bind(wxEVT_PAINT, &WindowSurface::OnPaint, this);
    m_window->Bind(wxEVT_SIZE, &WindowSurface::OnSize, this);
    Fit();
}

void WindowSurface::RedrawNow()
{
    m_window->Refresh(false);
    m_window->Update();
}

void WindowSurface::InvalidateErase()
{
    m_erasePending = true;
    m_window->Refresh(false);
}

// Keeps what lies in both the old and the new size; new parts start as background.
void WindowSurface::Fit()
{
    wxSize size = m_window->GetClientSize();
    int w = std::max(size.x, 0), h = std::max(size.y, 0);
    if (w == m_surface.Width() && h == m_surface.Height())
        return;
    Surface resized(w, h, m_background);
    int cw = std::min(w, m_surface.Width()), ch = std::min(h, m_surface.Height());
    for (int y = 0; y < ch; y++)
        std::memcpy(resized.Row(y), m_surface.Row(y), size_t(cw) * sizeof(DWORD));
    m_surface = std::move(resized);
}

void WindowSurface::OnSize(wxSizeEvent& event)
{
    Fit();
    event.Skip();
}

void WindowSurface::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(m_window);
    Fit();
    if (m_erasePending) {
        m_surface.Fill(m_background);
        m_erasePending = false;
    }
    wxRect area = m_window->GetUpdateRegion().GetBox();
    area.Intersect(wxRect(0, 0, m_surface.Width(), m_surface.Height()));
    if (area.IsEmpty())
        return;
    if (m_painter) {
        CDC cdc;
        cdc.AttachSurface(&m_surface, CRect(area.x, area.y, area.GetRight() + 1, area.GetBottom() + 1));
        cdc.SetViewportOrg(-m_origin.x, -m_origin.y);
        m_painter(&cdc);
    }
    Present(m_surface, area, dc, m_scratch);
}

void WindowSurface::Present(const Surface& surface, const wxRect& area, wxDC& dc, wxBitmap& scratch)
{
    if (!scratch.IsOk() || scratch.GetWidth() < area.width || scratch.GetHeight() < area.height)
        scratch.Create(std::max(area.width, scratch.IsOk() ? scratch.GetWidth() : 0),
                       std::max(area.height, scratch.IsOk() ? scratch.GetHeight() : 0), 24);
    {
        wxNativePixelData data(scratch);
        if (!data)
            return;
        wxNativePixelData::Iterator row(data);
        for (int y = 0; y < area.height; y++) {
            wxNativePixelData::Iterator p = row;
            const DWORD* src = surface.Row(area.y + y) + area.x;
            for (int x = 0; x < area.width; x++, ++p) {
                DWORD c = src[x]; // 0x00BBGGRR
                p.Red() = c & 0xFF;
                p.Green() = (c >> 8) & 0xFF;
                p.Blue() = (c >> 16) & 0xFF;
            }
            row.OffsetY(data, 1);
        }
    }
    wxMemoryDC mem(scratch);
    dc.Blit(area.x, area.y, area.width, area.height, &mem, 0, 0);
}
