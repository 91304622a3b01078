// Tavrolu.h -- the application object and the about box.
#pragma once

#include <wx/app.h>
#include <wx/dialog.h>

class wxDocManager;

class CTavroluApp : public wxApp
{
public:
    bool OnInit() override;
    int OnExit() override;

    void OnAppAbout(wxCommandEvent& event);

private:
    wxDECLARE_EVENT_TABLE();
};

class CAboutDlg : public wxDialog
{
public:
    explicit CAboutDlg(wxWindow* parent);
};
