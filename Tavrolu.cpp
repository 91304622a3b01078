// Tavrolu.cpp -- the application object and the about box.
#include "Tavrolu.h"

wxBEGIN_EVENT_TABLE(CTavroluApp, wxApp)
wxEND_EVENT_TABLE()

bool CTavroluApp::OnInit()
{
    return false;
}

int CTavroluApp::OnExit()
{
    return wxApp::OnExit();
}

void CTavroluApp::OnAppAbout(wxCommandEvent&) {}
