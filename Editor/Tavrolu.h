// Tavrolu.h -- the application object and the about box.
#pragma once

#include "platform/wx/recent_files.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/docview.h>

#include <string>
#include <vector>

class CTavroluDoc;

// The document manager of the one template: the framework's Spanish texts, and a recent-file
// list of four kept in the program's settings.
class CTavroluDocManager : public wxDocManager
{
public:
    wxString MakeNewDocumentName() override;
    wxFileHistory* OnCreateFileHistory() override { return nullptr; }
    void AddFileToHistory(const wxString& file) override;
};

class CTavroluApp : public wxApp
{
public:
    // The command line's bytes, as main received them before the toolkit converted them.
    static void KeepCommandLine(int argc, char** argv);

    bool OnInit() override;
    int OnExit() override;
    // Every event handler runs through here. An exception out of one (memory running out,
    // mostly) never ends the program and the map with it, whether the toolkit dispatched the
    // event or a queue did: that handler's work is dropped, one line goes to standard error, and
    // the program goes on. (A game run ends itself first: its failures show their message.)
    void CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor,
                          wxEvent& event) const override;

    // The start-up proper: settings, recent files, the template, the shell's file type, then
    // the command line (args without the program's name) and the main window. False ends the
    // program.
    bool InitInstance(const wxArrayString& args);
    // Closes the document and the main window and saves the settings.
    void ExitInstance();

    void OnAppAbout(wxCommandEvent& event);
    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);

    // Opens a file into the document, as File Open does after its dialog (and after asking
    // about unsaved edits).
    bool OpenDocumentFile(const wxString& path);
    void OpenRecentFile(size_t index);

    RecentFileList& GetRecentFiles() { return m_recentFiles; }
    CTavroluDoc* GetDocument() const;
    wxDocManager* GetDocManager() const { return m_pDocManager; }

    static const size_t kRecentFiles = 4;

private:
    // The file names on the command line, by their bytes.
    wxArrayString CommandLineFiles() const;
    void LoadSettings();
    void RegisterFileType();
    // The framework's initial update after New and Open.
    void InitialUpdate();

    wxDocManager* m_pDocManager = nullptr;
    RecentFileList m_recentFiles{kRecentFiles};
    static std::vector<std::string> s_commandLine;

    wxDECLARE_EVENT_TABLE();
};

// The running application object.
CTavroluApp& TheApp();

class CAboutDlg : public wxDialog
{
public:
    explicit CAboutDlg(wxWindow* pParent);
};
