// window_surface.h -- a window's screen memory: a persistent 32-bit surface the size of its client
// area. A paint draws onto it through a CDC whose clip box is the area being painted, then shows
// that area on screen; whatever the drawing leaves alone stays as it was.
#pragma once

#include "platform/gdi.h"

#include <wx/window.h>

#include <functional>

// A toolkit colour as the drawing code's colour, e.g. a window's background for its surface.
inline COLORREF ToColorref(const wxColour& colour)
{
    return RGB(colour.Red(), colour.Green(), colour.Blue());
}

class WindowSurface
{
public:
    // Takes over the window's paint: the toolkit no longer erases its background. The handler
    // given to SetPainter runs for every paint. Newly exposed areas and erases are cleared to
    // background first.
    WindowSurface(wxWindow* window, COLORREF background);
    ~WindowSurface();
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    using Painter = std::function<void(CDC* pDC)>;
    void SetPainter(Painter painter) { m_painter = std::move(painter); }
    // Called instead when a paint or a size change throws (no memory for the surface, a drawing
    // that fails): no exception leaves the toolkit's dispatch through the surface's handlers.
    // Without one, the exception goes on to the application's handler.
    void SetFailureHandler(std::function<void()> onFailure) { m_onFailure = std::move(onFailure); }
    // Redraw at once: the whole client area is painted before the call returns, without erase.
    void RedrawNow();
    // Invalidate with erase: the surface is cleared to the background and the whole client
    // area is painted at the next paint.
    void InvalidateErase();

    Surface& GetSurface() { return m_surface; }
    wxWindow* GetWindow() const { return m_window; }

    // Copies a rectangle of a surface onto a DC of the toolkit; public for the benchmarks.
    static void Present(const Surface& surface, const wxRect& area, wxDC& dc);

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void Paint(wxDC& dc);
    void Fit();
    void Failed();

    wxWindow* m_window;
    COLORREF m_background;
    Surface m_surface;
    Painter m_painter;
    std::function<void()> m_onFailure;
    bool m_erasePending = false;
};
