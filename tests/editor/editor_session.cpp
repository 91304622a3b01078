// editor_session.cpp -- starting and stopping the whole editor for a test.
#include "editor_session.h"

#include "Motor/jtmanager.h"

#include <wx/app.h>
#include <wx/menu.h>

#include <cstdlib>

EditorTest::EditorTest()
{
    // The user's own settings and desktop files are never touched.
    setenv("HOME", m_work.Path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_work.Path() + "/config").c_str(), 1);
}

EditorTest::~EditorTest()
{
    Stop();
}

void EditorTest::AnswerNewMap(int width, int height)
{
    m_script.Then([width, height](wxDialog* dlg) {
        auto* w = dynamic_cast<wxTextCtrl*>(dlg->FindWindow(1000));
        auto* h = dynamic_cast<wxTextCtrl*>(dlg->FindWindow(1001));
        if (w != nullptr && h != nullptr) {
            w->ChangeValue(wxString::Format("%d", width));
            h->ChangeValue(wxString::Format("%d", height));
        }
        ClickButton(dlg, wxID_OK);
    });
}

bool EditorTest::Start(int width, int height)
{
    AnswerNewMap(width, height);
    m_started = TheApp().InitInstance(wxArrayString());
    Pump(20);
    m_script.TakeDialogs(); // counts start after the start
    return m_started;
}

bool EditorTest::StartWith(const std::string& path)
{
    wxArrayString args;
    args.Add(wxString::FromUTF8(path.c_str()));
    m_started = TheApp().InitInstance(args);
    Pump(20);
    m_script.TakeDialogs();
    return m_started;
}

void EditorTest::Stop()
{
    TheApp().ExitInstance();
    Pump();
    m_started = false;
}

void EditorTest::Command(int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(Frame());
    Frame()->ProcessWindowEvent(event);
    Pump();
}

void EditorTest::UpdateUI()
{
    IdleCycle();
    Frame()->GetMenuBar()->UpdateMenus(); // menus update when opened, toolbars at idle
}

bool EditorTest::IsEnabled(int id)
{
    UpdateUI();
    wxMenuItem* item = Frame()->GetMenuBar()->FindItem(id);
    return item != nullptr && item->IsEnabled();
}

unsigned long EditorTest::ViewPixel(int x, int y)
{
    Surface& s = Canvas()->Surface().GetSurface();
    if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") outside the view's " << s.Width() << " x "
                      << s.Height();
        return 0xFFFFFFFF;
    }
    return s.Pixel(x, y);
}

std::string EditorTest::Sprites()
{
    char buffer[4096] = {0};
    JTManager::GetManager()->Describe(buffer, sizeof buffer);
    return buffer;
}
