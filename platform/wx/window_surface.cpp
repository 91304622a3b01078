// window_surface.cpp -- painting through a persistent surface and showing it on screen.
#include "platform/wx/window_surface.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <cairo.h>

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

WindowSurface::~WindowSurface()
{
    m_window->Unbind(wxEVT_PAINT, &WindowSurface::OnPaint, this);
    m_window->Unbind(wxEVT_SIZE, &WindowSurface::OnSize, this);
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

// Called from a catch block: the exception is still the current one.
void WindowSurface::Failed()
{
    if (!m_onFailure)
        throw;
    m_onFailure();
}

void WindowSurface::OnSize(wxSizeEvent& event)
{
    event.Skip();
    try {
        Fit();
    } catch (...) {
        Failed();
    }
}

void WindowSurface::OnPaint(wxPaintEvent&)
{
    // A paint handler makes its paint DC whatever happens, or the area stays invalid.
    wxPaintDC dc(m_window);
    try {
        Paint(dc);
    } catch (...) {
        Failed();
    }
}

void WindowSurface::Paint(wxDC& dc)
{
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
        m_painter(&cdc);
    }
    Present(m_surface, area, dc);
}

// The pixels go to the window through a cairo image surface in the layout cairo keeps for
// windows (0x00RRGGBB words), which the server takes without further conversion.
void WindowSurface::Present(const Surface& surface, const wxRect& area, wxDC& dc)
{
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    cairo_t* cr = gc != nullptr ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (cr == nullptr || area.IsEmpty())
        return;
    // One image kept between presents of the same size (the user-interface thread only).
    static cairo_surface_t* image = nullptr;
    if (image == nullptr || cairo_image_surface_get_width(image) != area.width
        || cairo_image_surface_get_height(image) != area.height) {
        if (image != nullptr)
            cairo_surface_destroy(image);
        image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, area.width, area.height);
    }
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
        return;
    cairo_surface_flush(image);
    unsigned char* row = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < area.height; y++, row += stride) {
        const DWORD* src = surface.Row(area.y + y) + area.x;
        uint32_t* dst = reinterpret_cast<uint32_t*>(row);
        for (int x = 0; x < area.width; x++) {
            const DWORD c = src[x]; // 0x00BBGGRR
            dst[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    cairo_surface_mark_dirty(image);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image, area.x, area.y);
    cairo_rectangle(cr, area.x, area.y, area.width, area.height);
    cairo_fill(cr);
    cairo_restore(cr);
}
