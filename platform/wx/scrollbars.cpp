// scrollbars.cpp -- always-drawn scroll bars and no key scrolling, with GTK.
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
