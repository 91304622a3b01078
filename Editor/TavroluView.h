// TavroluView.h -- the map view: draws the map with the tool's feedback and turns mouse actions
// into edits.
#pragma once

#include "platform/geometry.h"
#include "platform/wx/window_surface.h"

#include <wx/docview.h>
#include <wx/scrolwin.h>

#include <memory>

class CDC;
class CTavroluDoc;
class CTavroluView;

// The view's window: a scrolled canvas whose logical pixels are map pixels.
class CMapCanvas : public wxScrolledCanvas
{
public:
    CMapCanvas(wxWindow* parent, CTavroluView* pView);

    WindowSurface& Surface() { return m_surface; }
    // Client point to map pixel, through the scroll position.
    CPoint ToLogical(const wxPoint& client) const;
    void Detach() { m_pView = nullptr; }

protected:
    void DoSetSize(int x, int y, int width, int height, int sizeFlags) override;

private:
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnWheel(wxMouseEvent& event);
    // One line step on an axis: a hundredth of the scroll range, at least a pixel.
    int LineStep(bool horizontal) const;

    CTavroluView* m_pView;
    WindowSurface m_surface;
    // Wheel rotation not yet worth a notch (fine-grained wheels send parts of one), down and
    // across, signed as the view scrolls.
    int m_wheelRest[2] = {0, 0};

    wxDECLARE_EVENT_TABLE();
};

class CTavroluView : public wxView
{
public:
    CTavroluView();
    ~CTavroluView() override;

    CTavroluDoc* GetDocument() const;
    CMapCanvas* GetCanvas() const { return m_pCanvas; }

    bool OnCreate(wxDocument* doc, long flags) override;
    bool OnClose(bool deleteWindow) override;
    void OnChangeFilename() override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    // The framework's initial update: the scroll range is 100 x 100 until the next paint.
    void OnInitialUpdate();
    void OnDraw(wxDC*) override {}
    void OnDraw(CDC* pDC);

    void PaintTiles(int x, int y, int cx, int cy, CDC* pDC);
    void UpdateScrollSizes();

    void OnLButtonDown(const CPoint& point);
    void OnMouseMove(const CPoint& point);
    void OnLButtonUp(const CPoint& point);
    void OnRButtonDown();

    // Redraw at once, and invalidate with erase.
    void RedrawNow();
    void InvalidateErase();

    bool m_bDragging;
    CPoint m_ptDragStart;
    CSize m_szDrag;

private:
    // True when the range changed.
    bool SetScrollSizes(int cx, int cy);

    CMapCanvas* m_pCanvas = nullptr;
    wxSize m_scrollSize;

    wxDECLARE_DYNAMIC_CLASS(CTavroluView);
};
