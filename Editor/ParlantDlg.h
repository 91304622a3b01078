// ParlantDlg.h -- the talk dialog: a character's portrait, name and words, shown during a game
// run until the user presses OK, Enter or Esc.
#pragma once

#include <wx/dialog.h>

class wxStaticBitmap;
class wxStaticText;

class CParlantDlg : public wxDialog
{
public:
    explicit CParlantDlg(wxWindow* pParent = nullptr);

    // Set by the caller before ShowModal.
    wxString m_strName;
    wxString m_strText;

private:
    void CreateControls();
    void DoDataExchange(bool bSave);
    void ShowPortrait();
    wxRect TextBox() const;

    void OnInitDialog(wxInitDialogEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnPaint(wxPaintEvent& event);

    wxStaticBitmap* m_pPortrait = nullptr;
    wxStaticText* m_pName = nullptr;
    wxStaticText* m_pText = nullptr;

    wxDECLARE_EVENT_TABLE();
};
