// NewMapDlg.cpp -- the new-map dialog: two digit fields and OK.
#include "NewMapDlg.h"

#include "platform/wx/ddx.h"
#include "platform/wx/dlgunits.h"
#include "platform/wx/template_dialog.h"
#include "platform/wx/text.h"
#include "resource.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <climits>

wxBEGIN_EVENT_TABLE(CNewMapDlg, wxDialog)
    EVT_INIT_DIALOG(CNewMapDlg::OnInitDialog)
    EVT_CHAR_HOOK(CNewMapDlg::OnCharHook)
wxEND_EVENT_TABLE()

namespace {

// The document makes every new map with 16-pixel tiles.
constexpr long long kTileSize = 16;

// A side too long for the tile map: its size in pixels would not fit an int.
bool SideTooLarge(long long side)
{
    return side * kTileSize > INT_MAX;
}

// The fields take digits only; editing keys and shortcuts pass.
void DigitsOnly(wxKeyEvent& event)
{
    wxChar c = event.GetUnicodeKey();
    bool typed = c >= WXK_SPACE && c != WXK_DELETE;
    if (!typed || (c >= '0' && c <= '9') || event.ControlDown() || event.AltDown())
        event.Skip();
}

} // namespace

CNewMapDlg::CNewMapDlg(wxWindow* pParent)
    : wxDialog(DialogOwner(pParent), IDD_NEWMAP, Txt("Nou Mapa"), wxDefaultPosition, wxDefaultSize, wxCAPTION),
      m_nWidth(0), m_nHeight(0)
{
    UseTemplateFont(this);
    CreateControls();
    SetClientSize(DluSize(113, 73));
    // The Esc key is handled below; the caption's close (if a desktop offers one) cancels.
    SetEscapeId(wxID_NONE);
    Centre();
}

// In template order, which is also the tab order.
void CNewMapDlg::CreateControls()
{
    m_pOk = new wxButton(this, wxID_OK, Txt("OK"), DluPoint(28, 52), DluSize(50, 14),
                         wxBU_EXACTFIT);
    m_pOk->SetDefault();
    m_pWidth = new wxTextCtrl(this, IDC_MAP_WIDTH, wxEmptyString, DluPoint(24, 28), DluSize(23, 14),
                              wxTE_RIGHT);
    m_pHeight = new wxTextCtrl(this, IDC_MAP_HEIGHT, wxEmptyString, DluPoint(63, 29),
                               DluSize(25, 14), wxTE_LEFT);
    new wxStaticText(this, wxID_ANY, Txt("X"), DluPoint(52, 33), DluSize(10, 8),
                     wxALIGN_LEFT | wxST_NO_AUTORESIZE);
    new wxStaticText(this, wxID_ANY, Txt("Dimensions del mapa"), DluPoint(7, 7), DluSize(96, 10),
                     wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    m_pWidth->Bind(wxEVT_CHAR, DigitsOnly);
    m_pHeight->Bind(wxEVT_CHAR, DigitsOnly);
}

void CNewMapDlg::OnInitDialog(wxInitDialogEvent&)
{
    m_nWidth = 30;
    m_nHeight = 30;
    TransferDataToWindow();
    m_pOk->SetFocus();
}

// Esc ends the dialog without reading the fields.
void CNewMapDlg::OnCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE)
        EndDialog(wxID_CANCEL);
    else
        event.Skip();
}

bool CNewMapDlg::TransferDataToWindow()
{
    DdxInt(m_pWidth, m_nWidth, false);
    DdxInt(m_pHeight, m_nHeight, false);
    return true;
}

bool CNewMapDlg::TransferDataFromWindow()
{
    int width, height;
    if (!ReadSide(m_pWidth, width) || !ReadSide(m_pHeight, height))
        return false;
    // The tile array is indexed with int arithmetic; the height completes the product.
    if (static_cast<long long>(width) * height > INT_MAX) {
        DdxFail(m_pHeight, Txt("Mapa massa gran."));
        return false;
    }
    m_nWidth = width;
    m_nHeight = height;
    return true;
}

// A number too large for any map gets the map's message rather than the framework's. The
// fields take digits only, so a pasted sign is no whole number of tiles either.
bool CNewMapDlg::ReadSide(wxTextCtrl* field, int& side)
{
    long long number;
    bool read = ParseWholeNumber(field->GetValue(), number);
    if (read && SideTooLarge(number)) {
        DdxFail(field, Txt("Mapa massa gran."));
        return false;
    }
    if (read && number < 0) {
        DdxFail(field, Txt(kParseIntText));
        return false;
    }
    return DdxInt(field, side, true);
}
