// Tavrolu.cpp -- the application object: start-up, New and Open, the about box.
#include "Tavrolu.h"

#include "MainFrm.h"
#include "ResourceTables.h"
#include "TavroluDoc.h"
#include "TavroluView.h"
#include "resource.h"
#include "platform/background_tools.h"
#include "platform/wx/argument_warnings.h"
#include "platform/exceptions.h"
#include "platform/wx/dlgunits.h"
#include "platform/wx/template_dialog.h"
#include "platform/wx/file_dialogs.h"
#include "platform/wx/hwnd.h"
#include "platform/wx/icons.h"
#include "platform/wx/settings_file.h"
#include "platform/wx/shell_registration.h"
#include "platform/wx/file_names.h"
#include "platform/wx/text.h"

#include <wx/button.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <unistd.h>

wxBEGIN_EVENT_TABLE(CTavroluApp, wxApp)
    EVT_MENU(ID_APP_ABOUT, CTavroluApp::OnAppAbout)
    EVT_MENU(ID_FILE_NEW, CTavroluApp::OnFileNew)
    EVT_MENU(ID_FILE_OPEN, CTavroluApp::OnFileOpen)
wxEND_EVENT_TABLE()

namespace {
const char* const kRegistryKey = "Local AppWizard-Generated Applications";
}

std::vector<std::string> CTavroluApp::s_commandLine;

wxString CTavroluDocManager::MakeNewDocumentName()
{
    return Txt(FrameworkText::kUntitled);
}

void CTavroluDocManager::AddFileToHistory(const wxString& file)
{
    CTavroluApp& app = TheApp();
    app.GetRecentFiles().Add(file);
    app.GetRecentFiles().Save(wxConfigBase::Get(false));
    if (CMainFrame* pFrame = CMainFrame::Get())
        pFrame->UpdateRecentFiles();
}

void CTavroluApp::KeepCommandLine(int argc, char** argv)
{
    s_commandLine.assign(argv, argv + argc);
    QuietArgumentConversionWarnings(argc, argv);
}

// The toolkit drops an argument the locale cannot convert (a name that is not UTF-8, or any
// non-ASCII name under LC_ALL=C) and garbles others: the names come from the bytes kept before
// it started. What it took for itself (GTK's --display and the like) is left out here too. A
// "--" it left (it does when what follows looks like an option) ends the options: every
// argument after it is a file, "-x.tvr" and "--" included.
wxArrayString CTavroluApp::CommandLineFiles() const
{
    wxArrayString left;
    for (int i = 1; i < argc; i++)
        left.Add(argv[i]);
    wxArrayString files;
    bool options = true;
    for (size_t i = 1; i < s_commandLine.size(); i++) {
        const std::string& bytes = s_commandLine[i];
        const wxWCharBuffer local = wxConvLocal.cMB2WX(bytes.c_str());
        if (options && local) {
            int kept = left.Index(wxString(local));
            if (kept == wxNOT_FOUND)
                continue;
            left.RemoveAt(size_t(kept));
            if (bytes == "--") {
                options = false;
                continue;
            }
        }
        files.Add(FileNameFromBytes(bytes));
    }
    return files;
}

bool CTavroluApp::OnInit()
{
    return InitInstance(CommandLineFiles());
}

int CTavroluApp::OnExit()
{
    ExitInstance();
    return wxApp::OnExit();
}

void CTavroluApp::CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor,
                                   wxEvent& event) const
{
    try {
        wxApp::CallEventHandler(handler, functor, event);
    } catch (CException* e) {
        e->Delete();
        std::fputs("tavrolu: an event handler failed: a file or archive exception\n", stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavrolu: an event handler failed: %s\n", e.what());
    } catch (...) {
        std::fputs("tavrolu: an event handler failed: an unknown exception\n", stderr);
    }
}

// Settings live in a file under the user's config folder whose path follows the key's:
// <config>/Local AppWizard-Generated Applications/Tavrolu.conf.
void CTavroluApp::LoadSettings()
{
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
    wxString dir = wxStandardPaths::Get().GetUserConfigDir() + "/" + kRegistryKey;
    wxFileName::Mkdir(dir, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    delete wxConfigBase::Set(OpenSettingsFile(GetAppName(), kRegistryKey,
                                              dir + "/" + GetAppName() + ".conf"));
    m_recentFiles.Load(wxConfigBase::Get(false));
}

void CTavroluApp::RegisterFileType()
{
    ShellFileType type{Txt(DocStringPart(DOC_REG_FILE_TYPE_ID)),
                       GetAppName(),
                       IDR_MAINFRAME,
                       IDI_DOCUMENT};
    RegisterShellFileTypes(type);
}

bool CTavroluApp::InitInstance(const wxArrayString& args)
{
    // A write beyond the file-size limit fails (EFBIG, reported as a full disk) instead of
    // ending the program with the map unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    // The user hears from the program in its own messages: the toolkit's English log (a settings
    // or data folder that cannot be written) stays quiet, and the program goes on.
    wxLog::SetLogLevel(wxLOG_FatalError);
    SetAppName(Txt(LoadStringById(AFX_IDS_APP_TITLE)));
    SetAppDisplayName(Txt(LoadStringById(AFX_IDS_APP_TITLE)));
    SetVendorName(kRegistryKey);
    LoadSettings();
    InstallNoticePump();
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
    SetDefaultWindowIcons(IDR_MAINFRAME);

    m_pDocManager = new CTavroluDocManager;
    m_pDocManager->SetMaxDocsOpen(1);
    wxDocTemplate* pTemplate = new wxDocTemplate(
        m_pDocManager, Txt(DocStringPart(DOC_FILTER_NAME)), "*.tvr", wxString(), "tvr",
        Txt(DocStringPart(DOC_FILE_NEW_NAME)), Txt(DocStringPart(DOC_FILE_NEW_NAME)),
        CLASSINFO(CTavroluDoc), CLASSINFO(CTavroluView));
    RegisterFileType();

    CMainFrame* pFrame = new CMainFrame(m_pDocManager, GetAppDisplayName());
    SetTopWindow(pFrame);
    const bool open = !args.empty();
    // The document keeps its full path, as the recent-file list does.
    wxString path;
    if (open) {
        // The working folder as the system names it: the toolkit's own would follow the locale.
        wxFileName name(args[0]);
        std::unique_ptr<char, decltype(&free)> cwd(::getcwd(nullptr, 0), &free);
        name.MakeAbsolute(cwd ? FileNameFromBytes(cwd.get()) : wxString());
        path = name.GetFullPath();
    }
    CTavroluDoc* pDoc = static_cast<CTavroluDoc*>(
        pTemplate->CreateDocument(path, open ? 0 : wxDOC_NEW));
    bool started = pDoc != nullptr;
    if (started && open) {
        started = pDoc->OpenFile(path, nullptr);
        if (started)
            m_pDocManager->AddFileToHistory(path);
    } else if (started) {
        started = pDoc->OnNewDocument();
    }
    if (!started) {
        if (pDoc != nullptr)
            pDoc->DeleteAllViews();
        pFrame->Destroy();
        return false;
    }
    InitialUpdate();
    pFrame->Show();
    pFrame->Update();
    pFrame->DragAcceptFiles(true);
    return true;
}

void CTavroluApp::ExitInstance()
{
    if (m_pDocManager != nullptr) {
        m_pDocManager->Clear(true);
        // The frame forwards its events to the manager: it goes first, at once.
        if (CMainFrame* pFrame = CMainFrame::Get()) {
            pFrame->Destroy();
            ProcessIdle();
        }
        delete m_pDocManager;
        m_pDocManager = nullptr;
    }
    m_recentFiles.Save(wxConfigBase::Get(false));
    delete wxConfigBase::Set(nullptr);
    // A desktop tool still refreshing the databases (or stuck on what it reads) is ended, not
    // waited for.
    StopBackgroundTools();
}

CTavroluDoc* CTavroluApp::GetDocument() const
{
    if (m_pDocManager == nullptr || m_pDocManager->GetDocumentsVector().empty())
        return nullptr;
    return wxDynamicCast(m_pDocManager->GetDocumentsVector()[0], CTavroluDoc);
}

void CTavroluApp::InitialUpdate()
{
    CMainFrame* pFrame = CMainFrame::Get();
    if (pFrame != nullptr && pFrame->GetView() != nullptr) {
        pFrame->GetView()->OnInitialUpdate();
        pFrame->GetView()->OnChangeFilename();
    }
}

void CTavroluApp::OnFileNew(wxCommandEvent&)
{
    CTavroluDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !pDoc->OnSaveModified())
        return;
    pDoc->OnNewDocument();
    InitialUpdate();
}

// The question about unsaved edits comes before the file dialog.
void CTavroluApp::OnFileOpen(wxCommandEvent&)
{
    CTavroluDoc* pDoc = GetDocument();
    if (pDoc != nullptr && !pDoc->OnSaveModified())
        return;
    wxString path = AskOpenPath(CMainFrame::Get(), Txt(FrameworkText::kOpenTitle), DocumentFilters(),
                                pDoc != nullptr ? pDoc->MapFile() : wxString());
    if (!path.empty())
        OpenDocumentFile(path);
}

bool CTavroluApp::OpenDocumentFile(const wxString& path)
{
    CTavroluDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return false;
    bool damaged = false;
    if (pDoc->OpenFile(path, &damaged)) {
        m_pDocManager->AddFileToHistory(path);
        InitialUpdate();
        return true;
    }
    if (damaged) {
        // Half a map was read: a fresh one replaces it.
        pDoc->OnNewDocument();
        InitialUpdate();
    }
    return false;
}

// A cancelled question leaves the map and the list as they were.
void CTavroluApp::OpenRecentFile(size_t index)
{
    if (index >= m_recentFiles.Count())
        return;
    if (CTavroluDoc* pDoc = GetDocument(); pDoc != nullptr && !pDoc->OnSaveModified())
        return;
    if (!OpenDocumentFile(m_recentFiles.Get(index))) {
        m_recentFiles.Remove(index);
        m_recentFiles.Save(wxConfigBase::Get(false));
        if (CMainFrame* pFrame = CMainFrame::Get())
            pFrame->UpdateRecentFiles();
    }
}

void CTavroluApp::OnAppAbout(wxCommandEvent&)
{
    CAboutDlg dlg(nullptr);
    dlg.ShowModal();
}

CAboutDlg::CAboutDlg(wxWindow* pParent)
    : wxDialog(DialogOwner(pParent), IDD_ABOUTBOX, Txt("A prop de Tavrolu"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    UseTemplateFont(this);
    SetClientSize(DluSize(166, 105));
    wxIconBundle icons = LoadIconGroup(IDR_MAINFRAME);
    wxIcon icon = icons.GetIcon(wxSize(32, 32));
    if (icon.IsOk())
        new wxStaticBitmap(this, wxID_ANY, icon, DluPoint(11, 17));
    new wxStaticText(this, wxID_ANY, Txt("Tavrolu versió 1.0"), DluPoint(40, 10), DluSize(119, 8));
    // The credits line takes two lines of the template's font.
    auto* pCredits =
        new wxStaticText(this, wxID_ANY, Txt("Un joc d'acció i el seu editor de mapes"),
                         DluPoint(40, 24), DluSize(119, 17));
    pCredits->Wrap(DluX(119));
    new wxStaticText(this, wxID_ANY, Txt("Autors: l'equip de Tavrolu"), DluPoint(40, 46),
                     DluSize(119, 26));
    wxButton* ok = new wxButton(this, wxID_OK, Txt("Acceptar"), DluPoint(58, 84), DluSize(50, 14),
                                wxBU_EXACTFIT);
    ok->SetDefault();
    SetEscapeId(wxID_OK);
    Centre();
}

CTavroluApp& TheApp()
{
    return *static_cast<CTavroluApp*>(wxApp::GetInstance());
}
