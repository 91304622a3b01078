// ParlantDlg.cpp -- the talk dialog: portrait by the speaker's name, name line, wrapped text.
#include "ParlantDlg.h"

#include "platform/gdi.h"
#include "platform/wsprintf.h"
#include "platform/wx/ddx.h"
#include "platform/wx/dlgunits.h"
#include "platform/wx/template_dialog.h"
#include "platform/wx/icons.h"
#include "platform/wx/text.h"
#include "resource.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

wxBEGIN_EVENT_TABLE(CParlantDlg, wxDialog)
    EVT_INIT_DIALOG(CParlantDlg::OnInitDialog)
    EVT_CHAR_HOOK(CParlantDlg::OnCharHook)
    EVT_PAINT(CParlantDlg::OnPaint)
wxEND_EVENT_TABLE()

namespace {

// One line of a 3-D edge along the inside of rect: topLeft above and left, bottomRight below
// and right.
void DrawEdgeLine(wxDC& dc, const wxRect& rect, wxSystemColour topLeft, wxSystemColour bottomRight)
{
    dc.SetPen(wxPen(wxSystemSettings::GetColour(topLeft)));
    dc.DrawLine(rect.GetLeft(), rect.GetBottom(), rect.GetLeft(), rect.GetTop());
    dc.DrawLine(rect.GetLeft(), rect.GetTop(), rect.GetRight(), rect.GetTop());
    dc.SetPen(wxPen(wxSystemSettings::GetColour(bottomRight)));
    dc.DrawLine(rect.GetRight(), rect.GetTop(), rect.GetRight(), rect.GetBottom());
    dc.DrawLine(rect.GetRight(), rect.GetBottom(), rect.GetLeft() - 1, rect.GetBottom());
}

} // namespace

// No caption and no system menu. The toolkit gives such a window no frame at all, so the
// dialog draws the raised frame of a modal box itself.
CParlantDlg::CParlantDlg(wxWindow* pParent)
    : wxDialog(DialogOwner(pParent), wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBORDER_NONE)
{
    UseTemplateFont(this);
    CreateControls();
    SetClientSize(DluSize(136, 111));
    Centre();
}

// In template order. The picture and the text sit one pixel inside their rectangles, whose
// edge and border the dialog paints.
void CParlantDlg::CreateControls()
{
    auto* pOk = new wxButton(this, wxID_OK, Txt("OK"), DluPoint(42, 90), DluSize(50, 14),
                             wxBU_EXACTFIT);
    pOk->SetDefault();
    m_pPortrait = new wxStaticBitmap(this, IDC_PORTRAIT, wxNullBitmap,
                                     DluPoint(7, 7) + wxPoint(1, 1), wxSize(0, 0));
    m_pName = new wxStaticText(this, IDC_TALK_NAME, Txt("Static"), DluPoint(40, 15),
                               DluSize(89, 9), wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    // Fixed size: the text wraps at the box's width and what does not fit stays hidden.
    wxRect text = TextBox().Deflate(1);
    m_pText = new wxStaticText(this, IDC_TALK_TEXT, Txt("Static"), text.GetPosition(),
                               text.GetSize(), wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
}

wxRect CParlantDlg::TextBox() const
{
    return wxRect(DluPoint(7, 40), DluSize(122, 39));
}

void CParlantDlg::DoDataExchange(bool bSave)
{
    DdxText(m_pName, m_strName, bSave);
    DdxText(m_pText, m_strText, bSave);
}

void CParlantDlg::OnInitDialog(wxInitDialogEvent&)
{
    DoDataExchange(false);
    ShowPortrait();
}

// The resource is "ID_CARA_" and the name, found without regard to case; the name part holds
// at most 11 characters. A name without a portrait leaves the picture empty.
void CParlantDlg::ShowPortrait()
{
    char szResource[20];
    wsprintfA(szResource, "ID_CARA_%s", ToCp1252(m_strName).c_str());
    CBitmap portrait;
    portrait.LoadBitmap(szResource);
    wxImage image = ImageOfBitmap(portrait);
    wxBitmap picture = image.IsOk() ? wxBitmap(image) : wxNullBitmap;
    m_pPortrait->SetBitmap(picture);
    m_pPortrait->SetSize(picture.IsOk() ? picture.GetSize() : wxSize(0, 0));
    m_pPortrait->Show(picture.IsOk());
    Refresh();
}

void CParlantDlg::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    wxRect frame(GetClientSize());
    DrawEdgeLine(dc, frame, wxSYS_COLOUR_3DLIGHT, wxSYS_COLOUR_3DDKSHADOW);
    DrawEdgeLine(dc, frame.Deflate(1), wxSYS_COLOUR_3DHIGHLIGHT, wxSYS_COLOUR_3DSHADOW);
    if (m_pPortrait->IsShown())
        DrawEdgeLine(dc, m_pPortrait->GetRect().Inflate(1), wxSYS_COLOUR_3DSHADOW,
                     wxSYS_COLOUR_3DHIGHLIGHT);
    dc.SetPen(*wxBLACK_PEN); // the toolkit's window-frame colour is a pale grey here
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(TextBox());
}

// Only an OK button: the toolkit would have Esc press it; Esc cancels instead, as in every dialog.
void CParlantDlg::OnCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE) {
        EndDialog(wxID_CANCEL);
        return;
    }
    event.Skip();
}
