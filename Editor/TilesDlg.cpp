// TilesDlg.cpp -- the tile palette dialog: the tile set drawn at the client's corner, a white
// frame on the selected tile, and the selected tile's walkable flag.
#include "TilesDlg.h"

#include "Motor/jtdecorat.h"
#include "platform/debug.h"
#include "platform/gdi.h"
#include "platform/wx/ddx.h"
#include "platform/wx/dlgunits.h"
#include "platform/wx/template_dialog.h"
#include "platform/wx/text.h"
#include "resource.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/docview.h>
#include <wx/frame.h>
#include <wx/stattext.h>

#include <algorithm>

wxBEGIN_EVENT_TABLE(CTilesDlg, wxDialog)
    EVT_LEFT_DOWN(CTilesDlg::OnLButtonDown)
    EVT_CHECKBOX(IDC_WALKABLE, CTilesDlg::OnWalkable)
    EVT_LEFT_DCLICK(CTilesDlg::OnLButtonDblClk)
    EVT_CHAR_HOOK(CTilesDlg::OnCharHook)
wxEND_EVENT_TABLE()

namespace {

// The toolkit's font and check mark are larger than the template's: a control too small for
// them grows right and evenly up and down, so that its text shows whole.
void FitToText(wxWindow* pCtrl)
{
    wxRect r = pCtrl->GetRect();
    wxSize best = pCtrl->GetBestSize();
    int h = std::max(r.height, best.y);
    pCtrl->SetSize(r.x, r.y - (h - r.height) / 2, std::max(r.width, best.x), h);
}

} // namespace

CTilesDlg::CTilesDlg(wxWindow* pParent)
    : wxDialog(DialogOwner(pParent), IDD_TILES, Txt("Seleccio de tiles"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW),
      m_bWalkable(FALSE), m_surface(this, ToColorref(GetBackgroundColour()))
{
    UseTemplateFont(this);
    CreateControls();
    SetClientSize(DluSize(129, 176));
    m_surface.SetPainter([this](CDC* pDC) { OnPaint(pDC); });
    // Only "Tancar" accepts: the close box must cancel, and Esc is handled below.
    SetEscapeId(wxID_NONE);
    Centre();
}

// In template order, which is also the tab order.
void CTilesDlg::CreateControls()
{
    auto* pClose = new wxButton(this, wxID_OK, Txt("Tancar"), DluPoint(40, 155), DluSize(50, 14),
                                wxBU_EXACTFIT);
    pClose->SetDefault();
    // An empty label paints nothing over the tile set; its frame is drawn with the tiles.
    m_wndPalette = new wxStaticText(this, IDC_PALETTE, wxEmptyString, DluPoint(0, 0),
                                    DluSize(129, 129), wxST_NO_AUTORESIZE);
    m_wndPalette->Bind(wxEVT_LEFT_DOWN, &CTilesDlg::OnPaletteMouse, this);
    m_wndPalette->Bind(wxEVT_LEFT_DCLICK, &CTilesDlg::OnPaletteMouse, this);
    m_pWalkable = new wxCheckBox(this, IDC_WALKABLE, Txt("Walkable"), DluPoint(44, 138),
                                 DluSize(46, 10));
    FitToText(m_pWalkable);
}

void CTilesDlg::DoDataExchange(bool save)
{
    DdxCheck(m_pWalkable, m_bWalkable, save);
}

bool CTilesDlg::TransferDataToWindow()
{
    DoDataExchange(false);
    return true;
}

bool CTilesDlg::TransferDataFromWindow()
{
    DoDataExchange(true);
    return true;
}

void CTilesDlg::OnPaint(CDC* pDC)
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    DrawPaletteFrame(pDC);
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    CPen pen(PS_SOLID, 2, RGB(255, 255, 255));
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDecorat->DrawTileset(pDC, 0, 0);
    CRect frame = pDecorat->PaletteRect(m_nTile);
    pDC->Rectangle(&frame);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
    if (m_nTile >= 0 && m_nTile <= 255)
        m_bWalkable = pDecorat->IsWalkable(m_nTile);
    DoDataExchange(false);
}

// The palette static's black frame. Its right and bottom sides lie just outside the tile set;
// the tile set, drawn next, covers the other two, which run along the client's own edges.
void CTilesDlg::DrawPaletteFrame(CDC* pDC)
{
    wxRect r = m_wndPalette->GetRect();
    CGdiObject* pOldPen = pDC->SelectStockObject(BLACK_PEN);
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(r.x, r.y, r.x + r.width, r.y + r.height);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

// An index beyond 255 has no tile: the brush is a byte, and such an index would paint some
// other tile than the one framed. Those clicks keep the current tile.
void CTilesDlg::OnLButtonDown(wxMouseEvent& event)
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    int x = event.GetX(), y = event.GetY();
    int index = pDecorat->PaletteIndexAt(&x, &y);
    if (index >= 0 && index <= 255)
        m_nTile = index;
    m_surface.InvalidateErase();
    event.Skip();
}

// The first click of the pair has already selected the tile under the mouse.
void CTilesDlg::OnLButtonDblClk(wxMouseEvent& event)
{
    AcceptAndClose();
    event.Skip();
}

// The palette static takes no mouse input of its own: its clicks are the dialog's.
void CTilesDlg::OnPaletteMouse(wxMouseEvent& event)
{
    wxMouseEvent forwarded(event);
    forwarded.SetPosition(event.GetPosition() + m_wndPalette->GetPosition());
    forwarded.SetEventObject(this);
    forwarded.SetId(GetId());
    ProcessWindowEvent(forwarded);
}

// The box has already changed its own state; every click flips the flag of the selected tile.
// The flags are saved with the map: the open map now has an unsaved edit.
void CTilesDlg::OnWalkable(wxCommandEvent&)
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    m_bWalkable = m_bWalkable ? FALSE : TRUE;
    pDecorat->SetWalkable(m_nTile, BYTE(m_bWalkable));
    DoDataExchange(false);
    wxDocManager* pManager = wxDocManager::GetDocumentManager();
    wxDocument* pDoc = pManager != nullptr ? pManager->GetCurrentDocument() : nullptr;
    if (pDoc != nullptr && m_nTile >= 0 && m_nTile <= 255)
        pDoc->Modify(true);
}

// Esc ends the dialog without reading the box.
void CTilesDlg::OnCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE)
        EndDialog(wxID_CANCEL);
    else
        event.Skip();
}
