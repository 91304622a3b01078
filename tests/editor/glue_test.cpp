// glue_test.cpp -- the window glue: surfaces that keep what is not redrawn, the two kinds of
// repaint, notices posted from another thread, and keys reaching the key state.
#include "stderr_capture.h"
#include "wx_test_support.h"

#include "platform/gdi.h"
#include "platform/keys.h"
#include "platform/notify.h"
#include "platform/wx/hwnd.h"
#include "platform/wx/assert_report.h"
#include "platform/wx/keyfeed.h"
#include "platform/wx/window_surface.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <new>
#include <thread>

namespace {

struct SurfaceWindow
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "glue");
    wxWindow* panel = new wxWindow(frame, wxID_ANY);
    WindowSurface surface{panel, RGB(1, 2, 3)};
    int paints = 0;
    CRect lastClip;

    SurfaceWindow()
    {
        frame->SetClientSize(200, 100);
        surface.SetPainter([this](CDC* pDC) {
            paints++;
            pDC->GetClipBox(&lastClip);
            pDC->FillSolidRect(10, 10, 5, 5, RGB(200, 0, 0));
        });
        frame->Show();
        Pump(50);
    }
    ~SurfaceWindow() { frame->Destroy(); }
};

} // namespace

TEST(GlueTest, RedrawAtOncePaintsBeforeReturningAndKeepsWhatIsNotDrawn)
{
    SurfaceWindow w;
    Surface& s = w.surface.GetSurface();
    ASSERT_EQ(s.Width(), w.panel->GetClientSize().x);
    s.SetPixel(50, 50, RGB(0, 255, 0)); // left there by an earlier paint
    const int before = w.paints;
    w.surface.RedrawNow();
    EXPECT_EQ(w.paints, before + 1);
    EXPECT_EQ(s.Pixel(12, 12), RGB(200, 0, 0));
    EXPECT_EQ(s.Pixel(50, 50), RGB(0, 255, 0));
    EXPECT_EQ(w.lastClip, CRect(0, 0, s.Width(), s.Height()));

    // Invalidating with erase clears to the background, and paints only later.
    w.surface.InvalidateErase();
    EXPECT_EQ(w.paints, before + 1);
    Pump(50);
    EXPECT_EQ(w.paints, before + 2);
    EXPECT_EQ(s.Pixel(50, 50), RGB(1, 2, 3));
    EXPECT_EQ(s.Pixel(12, 12), RGB(200, 0, 0));
}

// A paint that throws (no memory for the surface, a drawing that fails) goes to the surface's
// owner, never on into the toolkit; the next paint is a paint again.
TEST(GlueTest, AFailingPaintReachesTheSurfacesOwner)
{
    SurfaceWindow w;
    int failures = 0;
    bool fail = true;
    w.surface.SetFailureHandler([&] { failures++; });
    w.surface.SetPainter([&](CDC* pDC) {
        if (fail)
            throw std::bad_alloc();
        pDC->FillSolidRect(0, 0, 5, 5, RGB(0, 0, 200));
    });
    w.surface.RedrawNow();
    EXPECT_EQ(failures, 1);
    fail = false;
    w.surface.RedrawNow();
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(w.surface.GetSurface().Pixel(2, 2), RGB(0, 0, 200));
}

// In the program a toolkit assertion is one line on standard error: where, what, and why.
TEST(GlueTest, AToolkitAssertionIsOneLineOnStderr)
{
    const wxAssertHandler_t testHandler = wxTheAssertHandler;
    StderrCapture capture;
    ReportToolkitAssertionsOnStderr();
    const int line = __LINE__ + 1;
    wxFAIL_MSG("a fault of ours\nin two lines");
    wxSetAssertHandler(testHandler);
    const std::string text = capture.Take();
    EXPECT_EQ(text, std::string(__FILE__) + ":" + std::to_string(line) +
                        ": assertion failed: \"Assert failure\": a fault of ours in two lines\n");
}

TEST(GlueTest, NoticesPostedFromAnotherThreadArriveOnTheWindow)
{
    SurfaceWindow w;
    std::vector<UINT> got;
    w.panel->Bind(wxEVT_WINDOW_MESSAGE, [&](WindowMessageEvent& e) { got.push_back(e.GetMessage()); });
    HWND hwnd = GetHwnd(w.panel);
    EXPECT_EQ(WindowFromHwnd(hwnd), w.panel);
    std::thread([hwnd] { PostNotice(hwnd, MM_MCINOTIFY, 1, 7); }).join();
    for (int i = 0; i < 50 && got.empty(); i++)
        Pump(5);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], UINT(MM_MCINOTIFY));
    // A destroyed window's notices are dropped, never delivered to freed memory.
    wxWindow* gone = new wxWindow(w.frame, wxID_ANY);
    HWND goneHwnd = GetHwnd(gone);
    gone->Destroy();
    Pump();
    PostNotice(goneHwnd, MM_MCINOTIFY, 1, 7);
    Pump(10);
    EXPECT_EQ(WindowFromHwnd(goneHwnd), nullptr);
}

TEST(GlueTest, KeysFeedTheKeyStateAndFocusLossReleasesThem)
{
    SurfaceWindow w;
    FeedKeyState(w.panel);
    KeyStateReset();
    auto send = [&](wxEventType type, int code) {
        wxKeyEvent key(type);
        key.m_keyCode = code;
        w.panel->GetEventHandler()->ProcessEvent(key);
    };
    send(wxEVT_KEY_DOWN, WXK_LEFT);
    send(wxEVT_KEY_UP, WXK_LEFT);
    EXPECT_NE(GetAsyncKeyState(VK_LEFT), 0); // pressed since the last query
    EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0);
    send(wxEVT_KEY_DOWN, WXK_SHIFT);
    send(wxEVT_KEY_DOWN, WXK_CONTROL);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
    wxFocusEvent lost(wxEVT_KILL_FOCUS);
    w.panel->GetEventHandler()->ProcessEvent(lost);
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
    EXPECT_EQ(VirtualKeyOf('a'), 'A');
    EXPECT_EQ(VirtualKeyOf(WXK_F1), VK_F1);
}
