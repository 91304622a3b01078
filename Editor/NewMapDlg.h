// NewMapDlg.h -- the size of a new map, in tiles.
#pragma once

#include <wx/dialog.h>

class wxButton;
class wxTextCtrl;

// Width and height of a new map, both preset to 30. Esc ends it without reading the fields,
// so the caller may always take the two numbers, whichever way it ended.
class CNewMapDlg : public wxDialog
{
public:
    explicit CNewMapDlg(wxWindow* pParent = nullptr);

    bool TransferDataToWindow() override;
    // Width first, then height; a field that cannot be read, or a size that no map can have,
    // keeps the dialog open and leaves both members as they were.
    bool TransferDataFromWindow() override;

    int m_nWidth;  // columns
    int m_nHeight; // rows

private:
    void CreateControls();
    void OnInitDialog(wxInitDialogEvent& event);
    void OnCharHook(wxKeyEvent& event);
    bool ReadSide(wxTextCtrl* field, int& side);

    wxButton* m_pOk = nullptr;
    wxTextCtrl* m_pWidth = nullptr;
    wxTextCtrl* m_pHeight = nullptr;

    wxDECLARE_EVENT_TABLE();
};
