// scrollbars.cpp -- always-drawn scroll bars, with GTK.
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

GtkWidget* FindScrolledWindow(GtkWidget* widget)
{
    for (GtkWidget* up = widget; up != nullptr; up = gtk_widget_get_parent(up)) {
        if (GTK_IS_SCROLLED_WINDOW(up))
            return up;
    }
    return FindScrolledInside(widget);
}

} // namespace

void ShowScrollBarsAlways(wxWindow* w)
{
    GtkWidget* handle = w != nullptr ? static_cast<GtkWidget*>(w->GetHandle()) : nullptr;
    if (handle == nullptr)
        return;
    if (GtkWidget* scrolled = FindScrolledWindow(handle))
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scrolled), FALSE);
}
