// ddx.cpp -- dialog data exchange over the toolkit's controls.
#include "platform/wx/ddx.h"

#include "platform/wx/msgbox.h"
#include "platform/wx/text.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <climits>

const char* const kParseIntText = "Introduzca un número entero.";

namespace {

// Far beyond any int, far below the long long limit: digits stop growing the value here.
constexpr long long kReadBound = 1000000000000LL;

bool IsBlank(wxUniChar c)
{
    return c == ' ' || c == '\t';
}

} // namespace

bool ParseWholeNumber(const wxString& text, long long& value)
{
    size_t i = 0, n = text.length();
    while (i < n && IsBlank(text[i]))
        i++;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    size_t digits = i;
    long long number = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; i++) {
        if (number < kReadBound)
            number = number * 10 + (text[i].GetValue() - '0');
    }
    if (i == digits)
        return false;
    while (i < n && IsBlank(text[i]))
        i++;
    if (i != n)
        return false;
    value = negative ? -number : number;
    return true;
}

void DdxFail(wxTextCtrl* ctrl, const wxString& message)
{
    MessageBoxOk(wxGetTopLevelParent(ctrl), message, Txt(kAppCaption));
    ctrl->SetFocus();
    ctrl->SelectAll();
}

bool DdxInt(wxTextCtrl* ctrl, int& value, bool save)
{
    if (!save) {
        ctrl->ChangeValue(wxString::Format("%d", value));
        return true;
    }
    long long number;
    if (!ParseWholeNumber(ctrl->GetValue(), number) || number < INT_MIN || number > INT_MAX) {
        DdxFail(ctrl, Txt(kParseIntText));
        return false;
    }
    value = int(number);
    return true;
}

void DdxCheck(wxCheckBox* ctrl, BOOL& value, bool save)
{
    if (save)
        value = ctrl->GetValue() ? TRUE : FALSE;
    else
        ctrl->SetValue(value != FALSE);
}

void DdxRadio(wxRadioButton* first, wxRadioButton* second, int& value, bool save)
{
    if (save) {
        value = first->GetValue() ? 0 : second->GetValue() ? 1 : -1;
        return;
    }
    if (value == 0)
        first->SetValue(true);
    else if (value == 1)
        second->SetValue(true);
}

void DdxText(wxTextCtrl* ctrl, wxString& value, bool save)
{
    if (save)
        value = ctrl->GetValue();
    else
        ctrl->ChangeValue(value);
}

void DdxText(wxStaticText* ctrl, wxString& value, bool save)
{
    if (save)
        value = ctrl->GetLabel();
    else
        ctrl->SetLabel(value);
}
