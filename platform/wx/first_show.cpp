// first_show.cpp -- a window realized at its own size before it is first shown, with GTK.
#include "platform/wx/first_show.h"

#include <gtk/gtk.h>

void PrepareFirstShow(wxTopLevelWindow* w)
{
    GtkWidget* widget = w != nullptr ? static_cast<GtkWidget*>(w->GetHandle()) : nullptr;
    if (widget != nullptr && !gtk_widget_get_realized(widget))
        gtk_widget_realize(widget);
}
