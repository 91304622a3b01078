// TavroluView.cpp -- the map view and its scrolled canvas.
#include "TavroluView.h"

#include "MainFrm.h"
#include "TavroluDoc.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "platform/debug.h"
#include "platform/gdi.h"
#include "platform/wx/file_names.h"
#include "platform/wx/scrollbars.h"

#include <algorithm>
#include <climits>

wxBEGIN_EVENT_TABLE(CMapCanvas, wxScrolledCanvas)
    EVT_LEFT_DOWN(CMapCanvas::OnLeftDown)
    EVT_LEFT_DCLICK(CMapCanvas::OnLeftDown)
    EVT_MOTION(CMapCanvas::OnMotion)
    EVT_LEFT_UP(CMapCanvas::OnLeftUp)
    EVT_RIGHT_DOWN(CMapCanvas::OnRightDown)
    EVT_RIGHT_DCLICK(CMapCanvas::OnRightDown)
    EVT_SCROLLWIN(CMapCanvas::OnScroll)
    EVT_MOUSEWHEEL(CMapCanvas::OnWheel)
wxEND_EVENT_TABLE()

wxIMPLEMENT_DYNAMIC_CLASS(CTavroluView, wxView);

// The window's background where nothing is drawn, as the system's window colour.
static const COLORREF kViewBackground = RGB(255, 255, 255);

CMapCanvas::CMapCanvas(wxWindow* parent, CTavroluView* pView)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxHSCROLL | wxVSCROLL | wxBORDER_SUNKEN | wxWANTS_CHARS),
      m_pView(pView), m_surface(this, kViewBackground)
{
    SetScrollRate(1, 1);
    // The keys belong to the frame's accelerators; the view scrolls by its bars and the wheel.
    DisableKeyboardScrolling();
    RefuseKeyboardScrolling(this);
    // Bars that show only while the mouse moves would hide that the map scrolls at all.
    ShowScrollBarsAlways(this);
    // A scroll repaints the whole area from the map, so the surface always matches the screen.
    EnableScrolling(false, false);
    m_surface.SetPainter([this](CDC* pDC) {
        if (m_pView == nullptr)
            return;
        wxPoint origin = CalcUnscrolledPosition(wxPoint(0, 0));
        pDC->SetViewportOrg(-origin.x, -origin.y);
        m_pView->OnDraw(pDC);
    });
}

CPoint CMapCanvas::ToLogical(const wxPoint& client) const
{
    wxPoint p = CalcUnscrolledPosition(client);
    return CPoint(p.x, p.y);
}

// No mouse capture: a release outside the view is never seen, as the editor expects.
void CMapCanvas::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    if (m_pView != nullptr)
        m_pView->OnLButtonDown(ToLogical(event.GetPosition()));
    event.Skip();
}

void CMapCanvas::OnMotion(wxMouseEvent& event)
{
    if (m_pView != nullptr)
        m_pView->OnMouseMove(ToLogical(event.GetPosition()));
    event.Skip();
}

void CMapCanvas::OnLeftUp(wxMouseEvent& event)
{
    if (m_pView != nullptr)
        m_pView->OnLButtonUp(ToLogical(event.GetPosition()));
    event.Skip();
}

void CMapCanvas::OnRightDown(wxMouseEvent& event)
{
    if (m_pView != nullptr)
        m_pView->OnRButtonDown();
    event.Skip();
}

// A view squeezed smaller than its bars shows none rather than bars that cannot be drawn. The
// bars are chosen before the size is set: the toolkit lays the view out inside SetSize.
void CMapCanvas::DoSetSize(int x, int y, int width, int height, int sizeFlags)
{
    const wxSize now = GetSize();
    FitScrollBars(this, wxSize(width >= 0 ? width : now.x, height >= 0 ? height : now.y));
    wxScrolledCanvas::DoSetSize(x, y, width, height, sizeFlags);
}

int CMapCanvas::LineStep(bool horizontal) const
{
    const wxSize total = GetVirtualSize();
    return std::max((horizontal ? total.x : total.y) / 100, 1);
}

// Line and page steps are a hundredth and a tenth of the scroll range, not single pixels.
void CMapCanvas::OnScroll(wxScrollWinEvent& event)
{
    const wxEventType type = event.GetEventType();
    const bool line = type == wxEVT_SCROLLWIN_LINEUP || type == wxEVT_SCROLLWIN_LINEDOWN;
    const bool page = type == wxEVT_SCROLLWIN_PAGEUP || type == wxEVT_SCROLLWIN_PAGEDOWN;
    if (!line && !page) {
        event.Skip();
        return;
    }
    const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
    const wxSize total = GetVirtualSize();
    int step = page ? std::max((horizontal ? total.x : total.y) / 10, 1) : LineStep(horizontal);
    if (type == wxEVT_SCROLLWIN_LINEUP || type == wxEVT_SCROLLWIN_PAGEUP)
        step = -step;
    int x, y;
    GetViewStart(&x, &y);
    Scroll(horizontal ? x + step : -1, horizontal ? -1 : y + step);
}

// A notch scrolls three line steps, across with Shift or a sideways wheel. Each axis keeps its
// own part of a notch, in the direction it scrolls.
void CMapCanvas::OnWheel(wxMouseEvent& event)
{
    const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
    const bool sideways = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL;
    const bool horizontal = sideways || event.ShiftDown();
    // Wheel up (positive) goes back towards the top; a sideways wheel's positive is right.
    const int sign = sideways ? 1 : -1;
    int& rest = m_wheelRest[horizontal ? 1 : 0];
    rest += sign * event.GetWheelRotation();
    const int notches = rest / delta;
    rest -= notches * delta;
    if (notches == 0)
        return;
    const long long move = (long long)notches * 3 * LineStep(horizontal);
    int x, y;
    GetViewStart(&x, &y);
    const long long from = horizontal ? x : y;
    const int to = int(std::clamp(from + move, 0LL, (long long)INT_MAX));
    Scroll(horizontal ? to : -1, horizontal ? -1 : to);
}

CTavroluView::CTavroluView() : m_bDragging(false)
{
    // The drag fields start at the origin, so a stroke that never had a press under the brush
    // has a defined rectangle.
}

CTavroluView::~CTavroluView()
{
    if (m_pCanvas != nullptr)
        m_pCanvas->Detach();
}

CTavroluDoc* CTavroluView::GetDocument() const
{
    CTavroluDoc* pDoc = wxDynamicCast(wxView::GetDocument(), CTavroluDoc);
    ASSERT(pDoc != nullptr);
    return pDoc;
}

bool CTavroluView::OnCreate(wxDocument* doc, long flags)
{
    if (!wxView::OnCreate(doc, flags))
        return false;
    CMainFrame* pFrame = CMainFrame::Get();
    ASSERT(pFrame != nullptr);
    m_pCanvas = new CMapCanvas(pFrame, this);
    pFrame->SetView(this);
    SetFrame(pFrame);
    Activate(true);
    return true;
}

bool CTavroluView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow))
        return false;
    Activate(false);
    if (m_pCanvas != nullptr) {
        m_pCanvas->Detach();
        if (CMainFrame* pFrame = CMainFrame::Get())
            pFrame->SetView(nullptr);
        m_pCanvas->Destroy();
        m_pCanvas = nullptr;
    }
    return true;
}

void CTavroluView::OnChangeFilename()
{
    // A name that is not UTF-8 shows as the desktop shows it; the document keeps its bytes.
    if (wxWindow* pFrame = GetFrame())
        pFrame->SetLabel(FileDisplayName(GetDocumentManager()->MakeFrameTitle(GetDocument())));
}

void CTavroluView::OnUpdate(wxView*, wxObject*)
{
    InvalidateErase();
}

void CTavroluView::OnInitialUpdate()
{
    SetScrollSizes(100, 100);
    // The frame's limit follows the new map at once: a view squeezed to nothing is never painted.
    if (CMainFrame* pFrame = CMainFrame::Get())
        pFrame->UpdateSizeLimit();
    InvalidateErase();
}

bool CTavroluView::SetScrollSizes(int cx, int cy)
{
    if (m_pCanvas == nullptr || m_scrollSize == wxSize(cx, cy))
        return false;
    m_scrollSize = wxSize(cx, cy);
    m_pCanvas->SetVirtualSize(cx, cy);
    return true;
}

void CTavroluView::UpdateScrollSizes()
{
    CTavroluDoc* pDoc = GetDocument();
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat != nullptr);
    const int s = pDecorat->GetTileShift();
    // The tile map refuses maps whose pixel size leaves the int range, so these never overflow.
    int cx = pDoc->GetPixelWidth(s), cy = pDoc->GetPixelHeight(s);
    // This runs at every paint: the frame's limit follows only a new size.
    if (SetScrollSizes(cx < 0 ? 0 : cx, cy < 0 ? 0 : cy))
        if (CMainFrame* pFrame = CMainFrame::Get())
            pFrame->UpdateSizeLimit();
}

void CTavroluView::OnDraw(CDC* pDC)
{
    CTavroluDoc* pDoc = GetDocument();
    JTRender* pRender = JTRender::GetRender();
    JTManager* pManager = JTManager::GetManager();
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pRender != nullptr && pManager != nullptr && pDecorat != nullptr);
    if (pDoc->m_bSizeChanged)
        UpdateScrollSizes();
    pRender->UpdateView(pDC);
    pDecorat->Draw(pDC);
    pManager->BuildRenderList();
    pRender->DrawSprites(pDC);
    if (pDoc->m_bShowCollisions)
        pDecorat->DrawCollisions(pDC);
    if (pDoc->m_pSprite != nullptr && pDoc->m_nTile != -1) {
        pDoc->m_pSprite->Draw(pDC);
    } else if (pDoc->m_pSprite != nullptr) {
        JTSprite* s = pDoc->m_pSprite;
        CPen pen;
        pen.CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
        CPen* pOldPen = pDC->SelectObject(&pen);
        pDC->SelectStockObject(NULL_BRUSH);
        pDC->Rectangle(s->GetX(), s->GetY(), s->GetX() + s->GetWidth(), s->GetY() + s->GetHeight());
        pDC->SelectObject(pOldPen);
        pen.DeleteObject();
    } else if (pDoc->m_nTile != -1 && m_bDragging) {
        PaintTiles(m_ptDragStart.x, m_ptDragStart.y, m_szDrag.cx, m_szDrag.cy, pDC);
    }
}

void CTavroluView::PaintTiles(int x, int y, int cx, int cy, CDC* pDC)
{
    CTavroluDoc* pDoc = GetDocument();
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat != nullptr);
    const int s = pDecorat->GetTileShift();
    const int c0 = x >> s, r0 = y >> s, nc = cx >> s, nr = cy >> s;
    bool painted = false;
    // 64-bit bounds, so a rectangle reaching the int limits cannot wrap around.
    for (long long c = c0; c <= (long long)c0 + nc; c++) {
        for (long long r = r0; r <= (long long)r0 + nr; r++) {
            if (pDC == nullptr)
                painted |= pDecorat->SetTile(int(c), int(r), BYTE(pDoc->m_nTile));
            else
                pDecorat->DrawTile(pDC, int(c) << s, int(r) << s, pDoc->m_nTile);
        }
    }
    // Cells outside the map are left out: a stroke that painted none changed nothing.
    if (painted)
        pDoc->Modify(true);
}

void CTavroluView::OnLButtonDown(const CPoint& point)
{
    CTavroluDoc* pDoc = GetDocument();
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pManager != nullptr);
    m_bDragging = true;
    if (pDoc->m_nTile == -1) {
        pDoc->m_pSprite = pManager->FindAt(point.x, point.y);
        RedrawNow();
    } else if (pDoc->m_pSprite == nullptr) {
        m_ptDragStart = point;
        m_szDrag = CSize(0, 0);
    } else {
        pManager->Add(pDoc->m_pSprite);
        pDoc->m_pSprite = nullptr;
        pDoc->m_nTile = -1;
        pDoc->Modify(true);
    }
}

void CTavroluView::OnMouseMove(const CPoint& point)
{
    CTavroluDoc* pDoc = GetDocument();
    ASSERT(JTManager::GetManager() != nullptr);
    if (pDoc->m_pSprite == nullptr) {
        if (pDoc->m_nTile != -1 && m_bDragging) {
            m_szDrag = CSize(int((long long)point.x - m_ptDragStart.x),
                             int((long long)point.y - m_ptDragStart.y));
            RedrawNow();
        }
    } else if (pDoc->m_nTile != -1 || m_bDragging) {
        JTSprite* s = pDoc->m_pSprite;
        const CPoint from(s->GetX(), s->GetY());
        s->SetPos(point.x - (s->GetWidth() >> 1), point.y - (s->GetHeight() >> 1));
        // A pending sprite is not yet part of the map; a placed one that moved is an edit.
        if (pDoc->m_nTile == -1 && from != CPoint(s->GetX(), s->GetY()))
            pDoc->Modify(true);
        RedrawNow();
    }
}

void CTavroluView::OnLButtonUp(const CPoint&)
{
    if (!m_bDragging)
        return;
    CTavroluDoc* pDoc = GetDocument();
    m_bDragging = false;
    if (pDoc->m_pSprite == nullptr && pDoc->m_nTile != -1)
        PaintTiles(m_ptDragStart.x, m_ptDragStart.y, m_szDrag.cx, m_szDrag.cy, nullptr);
    RedrawNow();
}

void CTavroluView::OnRButtonDown()
{
    GetDocument()->ResetTool();
    InvalidateErase();
}

void CTavroluView::RedrawNow()
{
    if (m_pCanvas != nullptr)
        m_pCanvas->Surface().RedrawNow();
}

void CTavroluView::InvalidateErase()
{
    if (m_pCanvas != nullptr)
        m_pCanvas->Surface().InvalidateErase();
}
