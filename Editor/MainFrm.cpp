// MainFrm.cpp -- the main window and the editor's commands.
#include "MainFrm.h"

#include "PlayDialog.h"
#include "ResourceTables.h"
#include "SpritesDlg.h"
#include "Tavrolu.h"
#include "TavroluDoc.h"
#include "TavroluView.h"
#include "TilesDlg.h"
#include "resource.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "platform/debug.h"
#include "platform/exceptions.h"
#include "platform/wx/first_show.h"
#include "platform/wx/icons.h"
#include "platform/wx/lock_keys.h"
#include "platform/wx/menu_keys.h"
#include "platform/wx/msgbox.h"
#include "platform/wx/text.h"
#include "platform/wx/user_resizing.h"

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <functional>
#include <memory>
#include <new>

wxBEGIN_EVENT_TABLE(CMainFrame, wxDocParentFrame)
    EVT_MENU(ID_EDIT_TILES, CMainFrame::OnEditTiles)
    EVT_MENU(ID_VIEW_COLLISIONS, CMainFrame::OnToggleCollisions)
    EVT_UPDATE_UI(ID_VIEW_COLLISIONS, CMainFrame::OnUpdateToggleCollisions)
    EVT_MENU(ID_EDIT_SPRITES, CMainFrame::OnEditSprites)
    EVT_UPDATE_UI(ID_DELETE_SPRITE, CMainFrame::OnUpdateDeleteSprite)
    EVT_MENU(ID_DELETE_SPRITE, CMainFrame::OnDeleteSprite)
    EVT_MENU(ID_RUN_GAME, CMainFrame::OnRunGame)
    // The framework's own commands.
    EVT_MENU(ID_FILE_SAVE, CMainFrame::OnFileSave)
    EVT_MENU(ID_FILE_SAVE_AS, CMainFrame::OnFileSaveAs)
    EVT_MENU_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, CMainFrame::OnRecentFile)
    EVT_UPDATE_UI_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, CMainFrame::OnUpdateRecentPlaceholder)
    EVT_MENU(ID_APP_EXIT, CMainFrame::OnAppExit)
    EVT_MENU(ID_VIEW_TOOLBAR, CMainFrame::OnViewBar)
    EVT_MENU(ID_VIEW_STATUS_BAR, CMainFrame::OnViewBar)
    EVT_UPDATE_UI(ID_VIEW_TOOLBAR, CMainFrame::OnUpdateViewBar)
    EVT_UPDATE_UI(ID_VIEW_STATUS_BAR, CMainFrame::OnUpdateViewBar)
    // Commands nothing handles are disabled, keys included.
    EVT_UPDATE_UI(ID_EDIT_UNDO, CMainFrame::OnUpdateDisabled)
    EVT_UPDATE_UI(ID_EDIT_CUT, CMainFrame::OnUpdateDisabled)
    EVT_UPDATE_UI(ID_EDIT_COPY, CMainFrame::OnUpdateDisabled)
    EVT_UPDATE_UI(ID_EDIT_PASTE, CMainFrame::OnUpdateDisabled)
    EVT_UPDATE_UI(ID_FILE_PRINT, CMainFrame::OnUpdateDisabled)
    EVT_UPDATE_UI(ID_NEXT_PANE, CMainFrame::OnUpdateDisabled)
    EVT_UPDATE_UI(ID_PREV_PANE, CMainFrame::OnUpdateDisabled)
    EVT_DROP_FILES(CMainFrame::OnDropFiles)
    EVT_IDLE(CMainFrame::OnIdle)
    EVT_ACTIVATE(CMainFrame::OnActivate)
    EVT_SIZE(CMainFrame::OnSize)
    EVT_MAXIMIZE(CMainFrame::OnMaximize)
wxEND_EVENT_TABLE()

CMainFrame* CMainFrame::s_pMainFrame = nullptr;

namespace {

const int kStatusPanes[] = {0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// A prompt's status-bar text, before the line break.
wxString PromptStatus(int id)
{
    const char* prompt = LoadStringById(id);
    return prompt ? Txt(prompt).BeforeFirst('\n') : wxString();
}

// A prompt's tool tip, after the line break; empty when it has none.
wxString PromptTip(int id)
{
    const char* prompt = LoadStringById(id);
    return prompt ? Txt(prompt).AfterFirst('\n') : wxString();
}

} // namespace

CMainFrame::CMainFrame(wxDocManager* manager, const wxString& title)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, title)
{
    s_pMainFrame = this;
    // The system's default size for a new main window: most of the screen.
    wxSize screen = wxGetDisplaySize();
    SetSize(screen.x * 3 / 4, screen.y * 3 / 4);
    SetIcons(LoadIconGroup(IDR_MAINFRAME));
    CreateMenus();
    CreateToolBarFromTable();
    CreateStatusPanes();
    CreateAccelerators();
    UpdateRecentFiles();
    PrepareFirstShow(this);
}

CMainFrame::~CMainFrame()
{
    s_pMainFrame = nullptr;
}

void CMainFrame::CreateMenus()
{
    wxMenuBar* bar = new wxMenuBar;
    wxMenu* menu = nullptr;
    wxString title;
    std::vector<std::pair<wxMenuItem*, wxString>> keyTexts;
    for (const MenuEntry* e = kMenu;; e++) {
        if (e->kind == MenuEntry::POPUP || e->kind == MenuEntry::END) {
            if (menu != nullptr)
                bar->Append(menu, title);
            if (e->kind == MenuEntry::END)
                break;
            menu = new wxMenu;
            title = Txt(e->text);
            if (m_pFileMenu == nullptr)
                m_pFileMenu = menu;
        } else if (e->kind == MenuEntry::SEPARATOR) {
            menu->AppendSeparator();
        } else {
            wxString text = Txt(e->text);
            wxMenuItem* item = menu->Append(e->id, text.BeforeFirst('\t'), PromptStatus(e->id),
                                            e->checkable ? wxITEM_CHECK : wxITEM_NORMAL);
            if (e->grayed)
                item->Enable(false);
            if (text.Contains('\t'))
                keyTexts.emplace_back(item, text.AfterFirst('\t'));
        }
    }
    SetMenuBar(bar);
    for (auto& [item, key] : keyTexts)
        ShowMenuKeyText(item, key);
}

void CMainFrame::CreateToolBarFromTable()
{
    wxToolBar* bar = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxTB_DOCKABLE);
    if (bar == nullptr) {
        TRACE("Failed to create toolbar\n");
        return;
    }
    bar->SetToolBitmapSize(wxSize(16, 16));
    wxImage strip = LoadToolbarStrip(IDB_TOOLBAR);
    int button = 0;
    for (size_t i = 0; i < kToolbarCount; i++) {
        const int id = kToolbar[i];
        if (id == 0) {
            bar->AddSeparator();
            continue;
        }
        wxBitmap image = strip.IsOk() && strip.GetWidth() >= (button + 1) * 16
                             ? wxBitmap(strip.GetSubImage(wxRect(button * 16, 0, 16, 16)))
                             : wxBitmap(16, 16);
        button++;
        bar->AddTool(id, wxString(), image, wxNullBitmap,
                     id == ID_VIEW_COLLISIONS ? wxITEM_CHECK : wxITEM_NORMAL, PromptTip(id),
                     PromptStatus(id));
    }
    bar->Realize();
}

void CMainFrame::CreateStatusPanes()
{
    wxStatusBar* bar = CreateStatusBar(int(std::size(kStatusPanes)));
    if (bar == nullptr) {
        TRACE("Failed to create status bar\n");
        return;
    }
    int widths[std::size(kStatusPanes)];
    widths[0] = -1;
    for (size_t i = 1; i < std::size(kStatusPanes); i++)
        widths[i] = bar->GetTextExtent(Txt(LoadStringById(kStatusPanes[i]))).x + 12;
    bar->SetStatusWidths(int(std::size(kStatusPanes)), widths);
    SetStatusText(Txt(FrameworkText::kIdle), 0);
}

void CMainFrame::CreateAccelerators()
{
    std::vector<wxAcceleratorEntry> entries;
    for (size_t i = 0; i < kAcceleratorCount; i++)
        entries.emplace_back(kAccelerators[i].flags, kAccelerators[i].key, kAccelerators[i].command);
    SetAcceleratorTable(wxAcceleratorTable(int(entries.size()), entries.data()));
}

void CMainFrame::UpdateRecentFiles()
{
    if (m_pFileMenu == nullptr)
        return;
    // The list takes the place of the first entry, between the two separators.
    size_t pos = 0;
    bool found = false;
    const wxMenuItemList& items = m_pFileMenu->GetMenuItems();
    for (size_t i = 0; i < items.GetCount(); i++) {
        int id = items[i]->GetId();
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4) {
            if (!found)
                pos = i;
            found = true;
        }
    }
    if (!found)
        return;
    for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; id++) {
        while (wxMenuItem* item = m_pFileMenu->FindItem(id))
            m_pFileMenu->Destroy(item);
    }
    const RecentFileList& recent = TheApp().GetRecentFiles();
    if (recent.Count() == 0) {
        m_pFileMenu->Insert(pos, ID_FILE_MRU_FILE1, Txt("Ultims arxius "), PromptStatus(ID_FILE_MRU_FILE1))
            ->Enable(false);
        return;
    }
    for (size_t i = 0; i < recent.Count(); i++)
        m_pFileMenu->Insert(pos + i, ID_FILE_MRU_FILE1 + int(i), recent.MenuLabel(i),
                            PromptStatus(ID_FILE_MRU_FILE1 + int(i)));
}

void CMainFrame::SetView(CTavroluView* pView)
{
    m_pView = pView;
    if (pView != nullptr && pView->GetCanvas() != nullptr) {
        SendSizeEvent();
        pView->GetCanvas()->SetFocus();
    }
}

CTavroluDoc* CMainFrame::GetActiveDocument() const
{
    return m_pView != nullptr ? m_pView->GetDocument() : nullptr;
}

bool CMainFrame::IsCommandEnabled(int id)
{
    wxUpdateUIEvent update(id);
    update.SetEventObject(this);
    ProcessWindowEvent(update);
    return !update.GetSetEnabled() || update.GetEnabled();
}

bool CMainFrame::TryBefore(wxEvent& event)
{
    if (event.GetEventType() == wxEVT_MENU && !IsCommandEnabled(event.GetId()))
        return true;
    return wxDocParentFrame::TryBefore(event);
}

void CMainFrame::InvalidateClient()
{
    if (m_pView != nullptr)
        m_pView->InvalidateErase();
    Refresh(true);
}

void CMainFrame::UpdateSizeLimit()
{
    CTavroluDoc* pDoc = GetActiveDocument();
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    if (pDoc == nullptr || pDecorat == nullptr)
        return;
    const int s = pDecorat->GetTileShift();
    // The bars lie inside the limit, as the view's borders do: at their own heights, which a
    // frame squeezed shorter than them does not show.
    int bars = 0;
    if (GetToolBar() != nullptr && GetToolBar()->IsShown())
        bars += GetToolBar()->GetBestSize().y;
    if (GetStatusBar() != nullptr && GetStatusBar()->IsShown())
        bars += GetStatusBar()->GetBestSize().y;
    // A window must keep room for its menu and bars: tiny maps bound it at a small minimum.
    m_sizeLimit = wxSize(std::max(pDoc->GetPixelWidth(s), 160),
                         std::max(pDoc->GetPixelHeight(s) - bars, 40));
    BoundResizing();
}

// The window manager holds the user's drag at the frame's largest size; the program itself never
// resizes the frame for the limit (under a window manager a size it asks for while the user drags
// is ignored, and a size event is not always the user's). The largest size is never below the
// current one: a frame larger than the limit keeps its size, and setting it changes nothing.
void CMainFrame::BoundResizing()
{
    if (m_sizeLimit == wxDefaultSize || IsMaximized() || IsFullScreen())
        return;
    BoundUserResizing(this, m_sizeLimit);
}

void CMainFrame::OnSize(wxSizeEvent& event)
{
    event.Skip();
    BoundResizing();
}

// Maximizing fills the screen: a window manager maximizes only up to the largest size. Restoring
// comes back to the size before, whose size event bounds the drag again.
void CMainFrame::OnMaximize(wxMaximizeEvent& event)
{
    event.Skip();
    FreeUserResizing(this);
}

void CMainFrame::OnEditTiles(wxCommandEvent&)
{
    CTilesDlg dlg(nullptr);
    CTavroluDoc* pDoc = GetActiveDocument();
    ASSERT(pDoc != nullptr);
    dlg.m_nTile = pDoc->m_nTile >= 0 && pDoc->m_nTile <= 255 ? pDoc->m_nTile : 0;
    const int result = dlg.ShowModal();
    // Whether the tool's sprite is pending or only selected is told by the brush as it was.
    pDoc->DropToolSprite();
    pDoc->m_nTile = result == wxID_OK ? dlg.m_nTile : -1;
}

void CMainFrame::OnToggleCollisions(wxCommandEvent&)
{
    CTavroluDoc* pDoc = GetActiveDocument();
    ASSERT(pDoc != nullptr);
    pDoc->m_bShowCollisions = !pDoc->m_bShowCollisions;
    InvalidateClient();
}

void CMainFrame::OnUpdateToggleCollisions(wxUpdateUIEvent& event)
{
    CTavroluDoc* pDoc = GetActiveDocument();
    event.Check(pDoc != nullptr && pDoc->m_bShowCollisions);
}

void CMainFrame::OnEditSprites(wxCommandEvent&)
{
    JTManager* pManager = JTManager::GetManager();
    CTavroluDoc* pDoc = GetActiveDocument();
    ASSERT(pDoc != nullptr);
    ASSERT(pManager != nullptr);
    CSpritesDlg dlg(nullptr);
    const int result = dlg.ShowModal();
    pDoc->ResetTool();
    if (result == wxID_OK) {
        pDoc->m_pSprite = dlg.m_pSprite;
        pDoc->m_nTile = 0;
    }
}

void CMainFrame::OnUpdateDeleteSprite(wxUpdateUIEvent& event)
{
    CTavroluDoc* pDoc = GetActiveDocument();
    event.Enable(pDoc != nullptr && pDoc->m_pSprite != nullptr && pDoc->m_nTile == -1);
}

void CMainFrame::OnDeleteSprite(wxCommandEvent&)
{
    CTavroluDoc* pDoc = GetActiveDocument();
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pDoc != nullptr && pManager != nullptr);
    pDoc->m_pSprite->SetAlive(false);
    pManager->BuildRenderList();
    pDoc->m_pSprite = nullptr;
    pDoc->Modify(true);
    InvalidateClient();
}

void CMainFrame::OnRunGame(wxCommandEvent&)
{
    JTManager* pManager = JTManager::GetManager();
    JTRender* pRender = JTRender::GetRender();
    CTavroluDoc* pDoc = GetActiveDocument();
    ASSERT(pDoc != nullptr);
    ASSERT(pManager != nullptr && pRender != nullptr);
    pDoc->ResetTool();
    pManager->SaveBackup();
    Hide();
    // Whatever the run does, the map comes back and the editor shows again. The run fails by
    // throwing here, or inside the game window's handlers, which end it with wxID_ABORT.
    int result = wxID_ABORT;
    RunsWithoutThrowing([&result] {
        std::unique_ptr<CPlayDialog> pDlg(new CPlayDialog(nullptr));
        result = pDlg->ShowModal();
    });
    bool failed = result == wxID_ABORT;
    if (JTKernel* pKernel = JTKernel::GetKernel())
        pKernel->SetTalker(nullptr);
    failed |= !RunsWithoutThrowing([pManager] { pManager->LoadBackup(); });
    pRender->SetCamera(0, 0);
    Show();
    InvalidateClient();
    if (failed)
        MessageBoxOk(this, Txt("El joc s'ha aturat per un error."), Txt(kAppCaption));
}

void CMainFrame::OnFileSave(wxCommandEvent&)
{
    if (CTavroluDoc* pDoc = GetActiveDocument())
        pDoc->Save();
}

void CMainFrame::OnFileSaveAs(wxCommandEvent&)
{
    if (CTavroluDoc* pDoc = GetActiveDocument())
        pDoc->SaveAs();
}

void CMainFrame::OnRecentFile(wxCommandEvent& event)
{
    TheApp().OpenRecentFile(size_t(event.GetId() - ID_FILE_MRU_FILE1));
}

void CMainFrame::OnUpdateRecentPlaceholder(wxUpdateUIEvent& event)
{
    event.Enable(TheApp().GetRecentFiles().Count() > 0);
}

void CMainFrame::OnAppExit(wxCommandEvent&)
{
    Close();
}

wxWindow* CMainFrame::BarOf(int command) const
{
    if (command == ID_VIEW_TOOLBAR)
        return GetToolBar();
    return GetStatusBar();
}

void CMainFrame::OnViewBar(wxCommandEvent& event)
{
    wxWindow* bar = BarOf(event.GetId());
    if (bar == nullptr)
        return;
    bar->Show(!bar->IsShown());
    SendSizeEvent();
    UpdateSizeLimit();
}

void CMainFrame::OnUpdateViewBar(wxUpdateUIEvent& event)
{
    wxWindow* bar = BarOf(event.GetId());
    event.Check(bar != nullptr && bar->IsShown());
}

void CMainFrame::OnUpdateDisabled(wxUpdateUIEvent& event)
{
    event.Enable(false);
}

void CMainFrame::OnDropFiles(wxDropFilesEvent& event)
{
    if (event.GetNumberOfFiles() == 0)
        return;
    Raise();
    CTavroluDoc* pDoc = GetActiveDocument();
    if (pDoc == nullptr || pDoc->OnSaveModified())
        TheApp().OpenDocumentFile(event.GetFiles()[0]);
}

// The lock panes show their text while the lock is on.
void CMainFrame::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    wxStatusBar* bar = GetStatusBar();
    LockKeys keys;
    if (bar == nullptr || !ReadLockKeys(keys))
        return;
    const bool on[] = {false, keys.caps, keys.num, keys.scroll};
    const int state = (on[1] ? 1 : 0) | (on[2] ? 2 : 0) | (on[3] ? 4 : 0);
    if (state == m_lockState)
        return;
    m_lockState = state;
    for (size_t i = 1; i < std::size(kStatusPanes); i++)
        bar->SetStatusText(on[i] ? Txt(LoadStringById(kStatusPanes[i])) : wxString(), int(i));
}

// Keys reach the accelerators only through a focused child.
void CMainFrame::OnActivate(wxActivateEvent& event)
{
    event.Skip();
    if (event.GetActive() && m_pView != nullptr && m_pView->GetCanvas() != nullptr)
        m_pView->GetCanvas()->SetFocus();
}
