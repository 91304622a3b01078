// editor_session.cpp -- starting and stopping the whole editor for a test.
#include "editor_session.h"

#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "platform/wx/file_names.h"

#include <wx/app.h>
#include <wx/menu.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

wxString U(const std::string& s)
{
    return wxString::FromUTF8(s.c_str());
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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
    // The window on screen before any real input: a key sent earlier would be lost.
    return m_started && ViewSettled();
}

bool EditorTest::StartWith(const std::string& path, bool waitForPaint)
{
    wxArrayString args;
    args.Add(FileNameFromBytes(path)); // the bytes, as the program takes its command line
    m_started = TheApp().InitInstance(args);
    Pump(20);
    m_script.TakeDialogs();
    return m_started && (!waitForPaint || ViewSettled());
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

JTSprite* EditorTest::Place(int type, int x, int y)
{
    JTSprite* s = JTKernel::GetKernel()->CreateSprite(type);
    s->SetPos(x, y);
    JTManager::GetManager()->Add(s);
    return s;
}

std::string EditorTest::Sprites()
{
    char buffer[4096] = {0};
    JTManager::GetManager()->Describe(buffer, sizeof buffer);
    return buffer;
}

void EditorTest::MoveTo(int x, int y)
{
    m_input.MouseMove(Canvas()->ClientToScreen(wxPoint(x, y)));
    Pump(30);
}

void EditorTest::Click(int x, int y, int button)
{
    MoveTo(x, y);
    m_input.MouseClick(button);
    Pump(50);
}

void EditorTest::Key(int key, int modifiers)
{
    // A pointer already over the view stays where it is: a pending sprite follows it.
    if (!Canvas()->GetScreenRect().Contains(wxGetMousePosition())) {
        m_input.MouseMove(Canvas()->ClientToScreen(wxPoint(Canvas()->GetClientSize().x - 5, 5)));
        Pump(30);
    }
    if (wxWindow::FindFocus() != Canvas()) {
        Canvas()->SetFocus();
        Pump(30);
    }
    m_input.Char(key, modifiers);
    Pump(80);
}

std::vector<COLORREF> EditorTest::Shown(const wxRect& area)
{
    return ScreenPixels(Canvas(), area);
}

bool EditorTest::ViewSettled()
{
    const wxRect corner(0, 0, 48, 48);
    std::vector<COLORREF> last;
    return PumpUntil([&] {
        std::vector<COLORREF> now = Shown(corner);
        bool painted = now.size() == 48 * 48 && now[0] == ViewPixel(0, 0) && now[0] != RGB(255, 255, 255);
        bool same = now == last;
        last = now;
        if (!painted || !same)
            Pump(50);
        return painted && same;
    });
}

void EditorTest::ViewAtRest()
{
    Pump(100);
    Canvas()->Update();
    Pump();
}
