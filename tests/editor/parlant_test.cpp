// parlant_test.cpp -- the talk dialog as the player sees it: portrait found by name, name line,
// the text wrapped and cut inside its box, and the three ways to end it.
#include "ParlantDlg.h"

#include "platform/gdi.h"
#include "platform/wx/dlgunits.h"
#include "platform/wx/text.h"
#include "resource.h"
#include "wx_test_support.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

namespace {

// The client area as the X server shows it.
struct ScreenShot
{
    explicit ScreenShot(wxWindow* w)
        : pixbuf(gdk_pixbuf_get_from_window(w->GTKGetDrawingWindow(), 0, 0, w->GetClientSize().x,
                                            w->GetClientSize().y)) {}
    ~ScreenShot() { g_object_unref(pixbuf); }
    COLORREF At(int x, int y) const
    {
        const guchar* p = gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf)
                          + x * gdk_pixbuf_get_n_channels(pixbuf);
        return RGB(p[0], p[1], p[2]);
    }
    // The rows of r that hold a dark (text or border) pixel.
    std::vector<int> DarkRows(const wxRect& r) const
    {
        std::vector<int> rows;
        for (int y = r.GetTop(); y <= r.GetBottom(); y++)
            for (int x = r.GetLeft(); x <= r.GetRight(); x++)
                if (GetRValue(At(x, y)) + GetGValue(At(x, y)) + GetBValue(At(x, y)) < 300) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
    GdkPixbuf* pixbuf;
};

// Runs a dialog for name and text with steps inside its modal loop; ended if they leave it open.
int RunTalk(const wxString& name, const wxString& text, std::function<void(CParlantDlg&)> steps)
{
    CParlantDlg dlg;
    dlg.m_strName = name;
    dlg.m_strText = text;
    ModalScript script;
    script.Then([&](wxDialog*) {
        Pump(50);
        steps(dlg);
        if (dlg.IsModal())
            dlg.EndModal(wxID_ABORT);
    });
    return dlg.ShowModal();
}

wxString Label(CParlantDlg& d, int id)
{
    return static_cast<wxStaticText*>(d.FindWindow(id))->GetLabel();
}

// A real key from the X server; without a window manager the focus follows the pointer.
void PressKey(wxWindow* pWindow, int key)
{
    wxUIActionSimulator sim;
    sim.MouseMove(pWindow->GetScreenRect().GetPosition() + wxPoint(20, 20));
    Pump(30);
    pWindow->SetFocus();
    Pump(30);
    sim.Char(key);
    Pump(60);
}

TEST(ParlantDlg, PortraitFoundByNameWhateverTheCaseOrNoneAtAll)
{
    for (const char* name : {"Tarok", "Trisha", "Dama", "", "Ningu", "TrishaTrisha"}) {
        SCOPED_TRACE(name);
        CBitmap expected;
        expected.LoadBitmap(("ID_CARA_" + wxString(name).Upper()).ToStdString().c_str());
        RunTalk(name, Txt("Què hi fas aquí?"), [&](CParlantDlg& d) {
            EXPECT_EQ(Label(d, IDC_TALK_NAME), name);
            EXPECT_EQ(Label(d, IDC_TALK_TEXT), Txt("Què hi fas aquí?"));
            auto* pPortrait = static_cast<wxStaticBitmap*>(d.FindWindow(IDC_PORTRAIT));
            ASSERT_EQ(pPortrait->GetBitmap().IsOk(), expected.GetSurface() != nullptr);
            if (expected.GetSurface() == nullptr)
                return;
            ScreenShot shot(&d);
            wxPoint at = pPortrait->GetPosition();
            for (int y = 0; y < 48; y += 7)
                for (int x = 0; x < 48; x += 5)
                    ASSERT_EQ(shot.At(at.x + x, at.y + y), expected.GetSurface()->Pixel(x, y));
        });
    }
}

// 254 characters, the longest speech a character holds: more than the box can show.
TEST(ParlantDlg, LongTextWrapsAndStaysInsideItsBox)
{
    wxString text;
    while (text.length() < 254)
        text += Txt("Vés-te'n, foraster! ");
    RunTalk("Dama", text.Left(254), [](CParlantDlg& d) {
        ScreenShot shot(&d);
        wxRect box(DluPoint(7, 40), DluSize(122, 39)), inside = box;
        std::vector<int> rows = shot.DarkRows(inside.Deflate(1));
        ASSERT_FALSE(rows.empty());
        int lines = 1;
        for (size_t i = 1; i < rows.size(); i++)
            lines += rows[i] > rows[i - 1] + 1;
        EXPECT_GE(lines, 3) << "the text wraps into several lines";
        EXPECT_EQ(rows.back(), inside.GetBottom()) << "the last line is cut at the border";
        int gap = d.FindWindow(wxID_OK)->GetPosition().y - box.GetBottom() - 2;
        EXPECT_TRUE(shot.DarkRows(wxRect(box.x, box.GetBottom() + 1, box.width, gap)).empty());
        EXPECT_TRUE(shot.DarkRows(wxRect(2, box.y, box.x - 2, box.height)).empty());
    });
}

TEST(ParlantDlg, OkEnterAndEscEndIt)
{
    EXPECT_EQ(RunTalk("Tarok", "Hola", [](CParlantDlg& d) { ClickButton(&d, wxID_OK); }), wxID_OK);
    EXPECT_EQ(RunTalk("Tarok", "Hola", [](CParlantDlg& d) { PressKey(&d, WXK_RETURN); }), wxID_OK);
    EXPECT_EQ(RunTalk("Tarok", "Hola", [](CParlantDlg& d) { PressKey(&d, WXK_ESCAPE); }),
              wxID_CANCEL);
}

} // namespace
