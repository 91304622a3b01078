// scrollbars.cpp -- always-drawn scroll bars that fit, and no key scrolling, with GTK.
#include "platform/wx/scrollbars.h"

#include <gtk/gtk.h>

namespace {

// The window's own scrolled window: its handle itself (a scrolled canvas, a list box), or the
// first one inside it.
GtkScrolledWindow* FindScrolledWindow(GtkWidget* widget)
{
    if (GTK_IS_SCROLLED_WINDOW(widget))
        return GTK_SCROLLED_WINDOW(widget);
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkScrolledWindow* found = nullptr;
    for (GList* child = children; child != nullptr && found == nullptr; child = child->next)
        found = FindScrolledWindow(static_cast<GtkWidget*>(child->data));
    g_list_free(children);
    return found;
}

GtkScrolledWindow* FindScrolledWindow(wxWindow* w)
{
    GtkWidget* handle = w != nullptr ? static_cast<GtkWidget*>(w->GetHandle()) : nullptr;
    return handle != nullptr ? FindScrolledWindow(handle) : nullptr;
}

gboolean StopScrollChild(GtkWidget* widget, GtkScrollType, gboolean, gpointer)
{
    g_signal_stop_emission_by_name(widget, "scroll-child");
    return TRUE;
}

// A bar's smallest length along it and its thickness across it.
struct BarSize
{
    int length = 0;
    int thickness = 0;
};

BarSize SmallestBar(GtkWidget* bar, bool vertical)
{
    BarSize size;
    int width = 0, height = 0;
    gtk_widget_get_preferred_width(bar, &width, nullptr);
    gtk_widget_get_preferred_height(bar, &height, nullptr);
    size.length = vertical ? height : width;
    size.thickness = vertical ? width : height;
    return size;
}

// Each bar keeps its room only if it fits beside the other one, whichever of the two the content
// then needs: this never depends on what the toolkit decides after the layout.
void FitScrollBars(GtkScrolledWindow* scrolled, const wxSize& size)
{
    GtkWidget* vbar = gtk_scrolled_window_get_vscrollbar(scrolled);
    GtkWidget* hbar = gtk_scrolled_window_get_hscrollbar(scrolled);
    if (vbar == nullptr || hbar == nullptr)
        return;
    GtkStyleContext* style = gtk_widget_get_style_context(GTK_WIDGET(scrolled));
    GtkBorder border;
    gtk_style_context_get_border(style, gtk_style_context_get_state(style), &border);
    const int width = size.x - border.left - border.right;
    const int height = size.y - border.top - border.bottom;
    const BarSize v = SmallestBar(vbar, true), h = SmallestBar(hbar, false);
    const bool vFits = height >= v.length + h.thickness && width >= v.thickness;
    const bool hFits = width >= h.length + v.thickness && height >= h.thickness;
    gtk_scrolled_window_set_policy(scrolled, hFits ? GTK_POLICY_AUTOMATIC : GTK_POLICY_EXTERNAL,
                                   vFits ? GTK_POLICY_AUTOMATIC : GTK_POLICY_EXTERNAL);
}

} // namespace

void ShowScrollBarsAlways(wxWindow* w)
{
    if (GtkScrolledWindow* scrolled = FindScrolledWindow(w))
        gtk_scrolled_window_set_overlay_scrolling(scrolled, FALSE);
}

void RefuseKeyboardScrolling(wxWindow* w)
{
    if (GtkScrolledWindow* scrolled = FindScrolledWindow(w))
        g_signal_connect(scrolled, "scroll-child", G_CALLBACK(StopScrollChild), nullptr);
}

void FitScrollBars(wxWindow* w, const wxSize& size)
{
    if (GtkScrolledWindow* scrolled = FindScrolledWindow(w))
        FitScrollBars(scrolled, size);
}
