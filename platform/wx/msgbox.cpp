// msgbox.cpp -- the program's message boxes, whose texts stay within the screen however long.
#include "platform/wx/msgbox.h"

#include "platform/wx/text.h"
#include "platform/wx/work_area.h"

#include <gtk/gtk.h>

#include <algorithm>

const char* const kAppCaption = "Tavrolu";

namespace {

// A hyphen where a name breaks would read as part of the name.
void NoHyphens(GtkLabel* label)
{
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
    gtk_label_set_attributes(label, attributes);
    pango_attr_list_unref(attributes);
}

// The label font's average character width and line height, in pixels.
void Metrics(GtkLabel* label, int* charWidth, int* lineHeight)
{
    PangoFontMetrics* metrics = pango_context_get_metrics(
        gtk_widget_get_pango_context(GTK_WIDGET(label)), nullptr, nullptr);
    *charWidth = std::max(1, PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics)));
    *lineHeight = std::max(1, PANGO_PIXELS(pango_font_metrics_get_ascent(metrics)
                                           + pango_font_metrics_get_descent(metrics)));
    pango_font_metrics_unref(metrics);
}

// A path breaks only at its slashes, and one folder name of 255 bytes is wider than a screen:
// the text may also break inside a word that fits no line. A text too long for the box's usual
// measure to fit half the screen's height gets lines as wide as three quarters of the screen.
// Whatever its glyphs' real widths, it shows at most as many lines as fill half the screen's
// height: the middle of the last one gives way to an ellipsis, so that the text's end (a file's
// name, a question) stays in sight. A short text is left as it is.
void FitLabel(GtkLabel* label)
{
    gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
    NoHyphens(label);
    const int measure = gtk_label_get_max_width_chars(label);
    GdkRectangle screen;
    if (measure <= 0 || !ScreenWorkArea(&screen))
        return;
    int charWidth = 1, lineHeight = 1;
    Metrics(label, &charWidth, &lineHeight);
    gtk_label_set_lines(label, std::max(1, screen.height / 2 / lineHeight));
    gtk_label_set_ellipsize(label, PANGO_ELLIPSIZE_MIDDLE);
    const long lines = g_utf8_strlen(gtk_label_get_text(label), -1) / measure + 1;
    if (lines * lineHeight > screen.height / 2)
        gtk_label_set_max_width_chars(label, std::max(measure, screen.width * 3 / 4 / charWidth));
}

// Runs whenever a widget gets a parent while a box is being made: the box's button comes after
// its text, before anything is sized or shown.
gboolean FitMessageTexts(GSignalInvocationHint*, guint, const GValue* params, gpointer)
{
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(g_value_get_object(&params[0])));
    if (!GTK_IS_MESSAGE_DIALOG(top))
        return TRUE;
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(top));
    if (area == nullptr)
        return TRUE;
    GList* children = gtk_container_get_children(GTK_CONTAINER(area));
    for (GList* child = children; child != nullptr; child = child->next)
        if (GTK_IS_LABEL(child->data))
            FitLabel(GTK_LABEL(child->data));
    g_list_free(children);
    return TRUE;
}

} // namespace

int ShowFitted(wxMessageDialog& box)
{
    const guint parentSet = g_signal_lookup("parent-set", GTK_TYPE_WIDGET);
    const gulong hook = g_signal_add_emission_hook(parentSet, 0, FitMessageTexts, nullptr, nullptr);
    const int answer = box.ShowModal();
    g_signal_remove_emission_hook(parentSet, hook);
    return answer;
}

void MessageBoxOk(wxWindow* owner, const wxString& text, const wxString& caption)
{
    wxMessageDialog box(owner, text, caption, wxOK);
    box.SetOKLabel(Txt("Aceptar"));
    ShowFitted(box);
}
