// TilesDlg.h -- the tile palette: chooses the tile brush and edits the tiles' walkable flags.
#pragma once

#include "platform/windefs.h"
#include "platform/wx/window_surface.h"

#include <wx/dialog.h>

class CDC;
class wxCheckBox;
class wxStaticText;

// Shows the whole tile set with the selected tile framed in white. A click selects, a double
// click or "Tancar" accepts (wxID_OK); Esc and the close box give wxID_CANCEL. The "Walkable"
// box changes the selected tile's flag in the tile map at once, however the dialog ends.
class CTilesDlg : public wxDialog
{
public:
    explicit CTilesDlg(wxWindow* pParent = nullptr);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    int m_nTile = 0; // set by the caller before ShowModal; read back after wxID_OK
    BOOL m_bWalkable;

private:
    void CreateControls();
    void DoDataExchange(bool save);
    void OnPaint(CDC* pDC);
    void DrawPaletteFrame(CDC* pDC);
    void OnLButtonDown(wxMouseEvent& event);
    void OnLButtonDblClk(wxMouseEvent& event);
    void OnPaletteMouse(wxMouseEvent& event);
    void OnWalkable(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxStaticText* m_wndPalette = nullptr;
    wxCheckBox* m_pWalkable = nullptr;
    WindowSurface m_surface;

    wxDECLARE_EVENT_TABLE();
};
