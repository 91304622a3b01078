// SpritesDlg.h -- the sprite dialog: picks the kind of sprite to place, previews it, and sets an
// enemy's patrol axis or a talking character's speech. At most one hero per map.
#pragma once

#include <wx/dialog.h>

#include <memory>

class CDC;
class JTSprite;
class WindowSurface;
class wxListBox;
class wxRadioButton;
class wxStaticText;
class wxTextCtrl;

class CSpritesDlg : public wxDialog
{
public:
    explicit CSpritesDlg(wxWindow* pParent = nullptr);
    ~CSpritesDlg() override;

    // Any end but wxID_OK takes the preview sprite with it.
    void EndModal(int retCode) override;

    // The preview's screen memory.
    WindowSurface& GetPreview() { return *m_pPreview; }

    // Built for the current selection; the dialog's own until ShowModal answers wxID_OK, then
    // the caller's. NULL after any other answer.
    JTSprite* m_pSprite;
    // 0 "Dalt <--> Baix", 1 "Dreta <--> Esquerra", -1 none.
    int m_nOrientRadio;
    wxString m_strSpeech;

private:
    void CreateControls();
    void DoDataExchange(bool bSave);
    void UpdateData(bool bSave) { DoDataExchange(bSave); }
    void RefreshSelection();
    void PaintPreview(CDC* pDC);
    void TurnEnemy(int dir);
    void DropSprite();

    void OnInitDialog(wxInitDialogEvent& event);
    void OnSelchangeList(wxCommandEvent& event);
    void OnRadioHorizontal(wxCommandEvent& event);
    void OnRadioVertical(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxListBox* m_pList = nullptr;
    wxRadioButton* m_pVertical = nullptr;
    wxRadioButton* m_pHorizontal = nullptr;
    wxTextCtrl* m_pSpeech = nullptr;
    wxStaticText* m_pSpeechLabel = nullptr;
    std::unique_ptr<WindowSurface> m_pPreview;

    wxDECLARE_EVENT_TABLE();
};
