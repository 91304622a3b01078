// newmap_test.cpp -- the new-map dialog as the user meets it: presets, typed sizes, Esc, and the
// fields it refuses.
#include "NewMapDlg.h"

#include "platform/wx/dlgunits.h"
#include "resource.h"
#include "wx_test_support.h"

#include <gtest/gtest.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

class NewMapDialog : public ::testing::Test
{
protected:
    int Run(ModalScript::Action action)
    {
        m_script.Then([action](wxDialog* pDlg) {
            Pump(100);
            action(pDlg);
            // An action that leaves the dialog open fails instead of hanging.
            for (int i = 0; i < 25 && pDlg->IsModal(); i++)
                Pump(20);
            if (pDlg->IsModal())
                pDlg->EndModal(wxID_ABORT);
        });
        return m_dlg.ShowModal();
    }
    wxTextCtrl* Field(int id) { return static_cast<wxTextCtrl*>(m_dlg.FindWindow(id)); }
    // Keys from the X server, which without a window manager go where the pointer is.
    void Keys(std::initializer_list<int> keys)
    {
        m_keys.MouseMove(m_dlg.GetScreenRect().GetTopLeft() + wxPoint(5, 5));
        Pump(30);
        for (int key : keys) {
            m_keys.Char(key);
            Pump(20);
        }
    }
    void ExpectRefused(const char* width, const char* height, const char* message, int focusId)
    {
        Field(IDC_MAP_WIDTH)->ChangeValue(width);
        Field(IDC_MAP_HEIGHT)->ChangeValue(height);
        ClickButton(&m_dlg, wxID_OK);
        std::vector<ShownMessage> shown = m_script.TakeMessages();
        ASSERT_EQ(shown.size(), 1u) << width << " x " << height;
        EXPECT_EQ(shown[0].text.utf8_string(), message);
        EXPECT_EQ(shown[0].caption, "Tavrolu");
        EXPECT_TRUE(m_dlg.IsModal());
        wxTextCtrl* pField = Field(focusId);
        EXPECT_EQ(wxWindow::FindFocus(), pField) << width << " x " << height;
        EXPECT_EQ(pField->GetStringSelection(), pField->GetValue());
    }

    ModalScript m_script;
    CNewMapDlg m_dlg;
    wxUIActionSimulator m_keys;
};

} // namespace

TEST_F(NewMapDialog, OpensAsTheTemplateSaysAndEnterTakesThePresets)
{
    EXPECT_EQ(m_dlg.m_nWidth + m_dlg.m_nHeight, 0);
    int result = Run([this](wxDialog* pDlg) {
        EXPECT_EQ(pDlg->GetTitle(), "Nou Mapa");
        EXPECT_EQ(pDlg->GetClientSize(), DluSize(113, 73));
        std::vector<wxString> labels;
        for (wxWindow* child : pDlg->GetChildren())
            if (dynamic_cast<wxStaticText*>(child))
                labels.push_back(child->GetLabel());
        EXPECT_EQ(labels, (std::vector<wxString>{"X", "Dimensions del mapa"}));
        EXPECT_EQ(Field(IDC_MAP_HEIGHT)->GetValue(), "30");
        EXPECT_EQ(wxWindow::FindFocus(), pDlg->FindWindow(wxID_OK));
        Keys({WXK_RETURN});
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(wxSize(m_dlg.m_nWidth, m_dlg.m_nHeight), wxSize(30, 30));
}

TEST_F(NewMapDialog, TypedDigitsAreTheSizeAndOtherKeysTypeNothing)
{
    // Tab goes from OK to the width field and selects its text, which typing replaces.
    int result = Run([this](wxDialog*) { Keys({WXK_TAB, '1', 'a', '-', '2', WXK_TAB, '7', ' ', WXK_RETURN}); });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(wxSize(m_dlg.m_nWidth, m_dlg.m_nHeight), wxSize(12, 7));
}

TEST_F(NewMapDialog, EscKeepsThePresetsWhateverTheFieldsShow)
{
    int result = Run([this](wxDialog*) {
        Keys({WXK_TAB, '5', WXK_TAB, '9'});
        ExpectRefused("12", "", "Introduzca un número entero.", IDC_MAP_HEIGHT);
        Keys({WXK_ESCAPE});
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(wxSize(m_dlg.m_nWidth, m_dlg.m_nHeight), wxSize(30, 30));
}

TEST_F(NewMapDialog, SizesNoMapCanHoldAreRefusedAndTheLargestIsTaken)
{
    int result = Run([this](wxDialog*) {
        ExpectRefused("", "", "Introduzca un número entero.", IDC_MAP_WIDTH);
        ExpectRefused("-4", "5", "Introduzca un número entero.", IDC_MAP_WIDTH); // pasted
        ExpectRefused("99999999999", "7", "Mapa massa gran.", IDC_MAP_WIDTH);
        ExpectRefused("1", "134217728", "Mapa massa gran.", IDC_MAP_HEIGHT); // 16 pixels each: 2^31
        ExpectRefused("46341", "46341", "Mapa massa gran.", IDC_MAP_HEIGHT); // cells past 2^31 - 1
        Field(IDC_MAP_WIDTH)->ChangeValue("46340");
        Field(IDC_MAP_HEIGHT)->ChangeValue("46341"); // 2147441940 cells
        ClickButton(&m_dlg, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(wxSize(m_dlg.m_nWidth, m_dlg.m_nHeight), wxSize(46340, 46341));
}
