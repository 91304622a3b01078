// editor_session.h -- the whole editor started as the program starts it, in a scratch folder with
// its own HOME and XDG folders, the "Nou Mapa" dialog answered by a script.
#pragma once

#include "../scratch_dir.h"
#include "wx_test_support.h"

#include "MainFrm.h"
#include "Tavrolu.h"
#include "TavroluDoc.h"
#include "TavroluView.h"
#include "Motor/jtsprite.h"

#include <gtest/gtest.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <string>

// A text of the program's, written in UTF-8.
wxString U(const std::string& s);
// A whole file's bytes; empty when it cannot be read.
std::string ReadAll(const std::string& path);

class EditorTest : public ::testing::Test
{
protected:
    EditorTest();
    ~EditorTest() override;

    // Starts the editor: with no file, answers "Nou Mapa" with width x height and OK.
    bool Start(int width = 30, int height = 30);
    // With a map named on the command line; a map without cells paints nothing to wait for.
    bool StartWith(const std::string& path, bool waitForPaint = true);
    void Stop();

    // Queues the answer to the next "Nou Mapa": the size typed, then OK.
    void AnswerNewMap(int width, int height);

    CMainFrame* Frame() const { return CMainFrame::Get(); }
    CTavroluDoc* Doc() const { return TheApp().GetDocument(); }
    CTavroluView* View() const { return Frame()->GetView(); }
    CMapCanvas* Canvas() const { return View()->GetCanvas(); }
    // Runs a command as the menu does.
    void Command(int id);
    bool IsEnabled(int id);
    // Runs the update handlers of the menus and the toolbar.
    void UpdateUI();
    // The colour of a pixel of the view's surface, in client coordinates.
    unsigned long ViewPixel(int x, int y);
    // The sprites of the map as " - <type>" each, front first.
    static std::string Sprites();
    // A new sprite of the type at (x, y), at the front of the map's list.
    static JTSprite* Place(int type, int x, int y);

    // Real input from the X server. Without a window manager the focus follows the pointer:
    // the pointer goes over the view first, at a point in the view's client coordinates.
    void MoveTo(int x, int y);
    void Click(int x, int y, int button = wxMOUSE_BTN_LEFT);
    // A key pressed while the view has the focus, the pointer resting over it.
    void Key(int key, int modifiers = wxMOD_NONE);
    // A rectangle of the view as the screen shows it.
    std::vector<COLORREF> Shown(const wxRect& area);
    // Waits until the view's first picture is on screen and at rest.
    bool ViewSettled();
    // Paints already asked for (a focus change, a click's own redraw) are done: whatever paints
    // the view after this, the next step asked for.
    void ViewAtRest();

    std::string Dir() const { return m_work.Path(); }
    std::string File(const std::string& name) const { return m_work.Path() + "/" + name; }

    ModalScript m_script;
    wxUIActionSimulator m_input;

private:
    ScratchWorkingDir m_work;
    bool m_started = false;
};
