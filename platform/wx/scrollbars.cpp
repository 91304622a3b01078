// scrollbars.cpp -- always-drawn scroll bars and no key scrolling, with GTK.
#include "platform/wx/scrollbars.h"

#include <gtk/gtk.h>

namespace {

GtkWidget* FindScrolledInside(GtkWidget* widget)
{
    if (GTK_IS_SCROLLED_WINDOW(widget))
        return widget;
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* child = children; child != nullptr && found == nullptr; child = child->next)
        found = FindScrolledInside(static_cast<GtkWidget*>(child->data));
    g_list_free(children);
    return found;
}

GtkScrolledWindow* FindScrolledWindow(wxWindow* w)
{
    GtkWidget* handle = w != nullptr ? static_cast<GtkWidget*>(w->GetHandle()) : nullptr;
    if (handle == nullptr)
        return nullptr;
    for (GtkWidget* up = handle; up != nullptr; up = gtk_widget_get_parent(up)) {
        if (GTK_IS_SCROLLED_WINDOW(up))
            return GTK_SCROLLED_WINDOW(up);
    }
    GtkWidget* inside = FindScrolledInside(handle);
    return inside != nullptr ? GTK_SCROLLED_WINDOW(inside) : nullptr;
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
