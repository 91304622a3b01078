// MainFrm.h -- the editor's main window: menu, accelerators, toolbar, status bar, the map view
// as its client, and the editor's own commands.
#pragma once

#include <wx/docview.h>

class CTavroluDoc;
class CTavroluView;
class wxToolBar;
class wxStatusBar;

class CMainFrame : public wxDocParentFrame
{
public:
    CMainFrame(wxDocManager* manager, const wxString& title);
    ~CMainFrame() override;

    // The one main window, or NULL before it is made and after it is gone.
    static CMainFrame* Get() { return s_pMainFrame; }

    void SetView(CTavroluView* pView);
    CTavroluView* GetView() const { return m_pView; }
    CTavroluDoc* GetActiveDocument() const;

    // The map's pixel size, from the client origin, bounds the user's resizing (not maximizing).
    void UpdateSizeLimit();
    // Shows the recent-file list in the Arxiu menu.
    void UpdateRecentFiles();

    void OnEditTiles(wxCommandEvent& event);
    void OnToggleCollisions(wxCommandEvent& event);
    void OnUpdateToggleCollisions(wxUpdateUIEvent& event);
    void OnEditSprites(wxCommandEvent& event);
    void OnUpdateDeleteSprite(wxUpdateUIEvent& event);
    void OnDeleteSprite(wxCommandEvent& event);
    void OnRunGame(wxCommandEvent& event);

protected:
    // A command whose update handler disables it never runs, whichever way it comes.
    bool TryBefore(wxEvent& event) override;

private:
    void CreateMenus();
    void CreateToolBarFromTable();
    void CreateStatusPanes();
    void CreateAccelerators();
    bool IsCommandEnabled(int id);
    void InvalidateClient();
    // The toolbar or the status bar, by the command that shows and hides it.
    wxWindow* BarOf(int command) const;

    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);
    void OnRecentFile(wxCommandEvent& event);
    void OnAppExit(wxCommandEvent& event);
    void OnViewBar(wxCommandEvent& event);
    void OnUpdateViewBar(wxUpdateUIEvent& event);
    void OnUpdateDisabled(wxUpdateUIEvent& event);
    void OnUpdateRecentPlaceholder(wxUpdateUIEvent& event);
    void OnDropFiles(wxDropFilesEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnMaximize(wxMaximizeEvent& event);
    // The largest size the user may drag the frame to, from the limit and the current size.
    void BoundResizing();

    CTavroluView* m_pView = nullptr;
    wxMenu* m_pFileMenu = nullptr;
    int m_lockState = -1;
    // The client area the user may resize the frame to; none until a map has a size.
    wxSize m_sizeLimit = wxDefaultSize;

    static CMainFrame* s_pMainFrame;

    wxDECLARE_EVENT_TABLE();
};
