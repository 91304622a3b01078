// user_resizing.cpp -- the window manager's largest size for a top-level window, with GTK.
#include "platform/wx/user_resizing.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <climits>

namespace {

// Unbounded, and still far from overflowing where the toolkit scales sizes.
const int kUnbounded = INT_MAX / 16;
// The largest size last given to a window, so that an unchanged bound asks for no new layout.
const char kLargestWidth[] = "tavrolu-largest-width";
const char kLargestHeight[] = "tavrolu-largest-height";
const char kSmallestHeight[] = "tavrolu-smallest-height";

GtkWindow* WindowOf(wxTopLevelWindow* w)
{
    GtkWidget* widget = w != nullptr ? static_cast<GtkWidget*>(w->GetHandle()) : nullptr;
    return widget != nullptr && GTK_IS_WINDOW(widget) ? GTK_WINDOW(widget) : nullptr;
}

void SetBounds(GtkWindow* window, int smallestHeight, int width, int height)
{
    GObject* object = G_OBJECT(window);
    if (GPOINTER_TO_INT(g_object_get_data(object, kLargestWidth)) == width &&
        GPOINTER_TO_INT(g_object_get_data(object, kLargestHeight)) == height &&
        GPOINTER_TO_INT(g_object_get_data(object, kSmallestHeight)) == smallestHeight)
        return;
    g_object_set_data(object, kLargestWidth, GINT_TO_POINTER(width));
    g_object_set_data(object, kLargestHeight, GINT_TO_POINTER(height));
    g_object_set_data(object, kSmallestHeight, GINT_TO_POINTER(smallestHeight));
    GdkGeometry hints = {};
    // The toolkit raises the smallest size to what the window's contents need.
    hints.min_width = 1;
    hints.min_height = std::max(1, smallestHeight);
    hints.max_width = width;
    hints.max_height = height;
    gtk_window_set_geometry_hints(window, nullptr, &hints,
                                  GdkWindowHints(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
}

// The height the bars stacked over and under the client area take: laid out, or as much as they
// ask for while the window is squeezed shorter than that (the toolkit then lays them out shorter
// and the client area at nothing).
// The height the bars stacked over and under the client area ask for; 0 if unknown.
int BarsAskFor(wxTopLevelWindow* w)
{
    if (w->m_wxwindow == nullptr)
        return 0;
    int least = 0, whole = 0, client = 0;
    gtk_widget_get_preferred_height(static_cast<GtkWidget*>(w->GetHandle()), &least, &whole);
    gtk_widget_get_preferred_height(w->m_wxwindow, &least, &client);
    return std::max(0, whole - client);
}

int BarsHeight(wxTopLevelWindow* w, int laidOut)
{
    return std::max(laidOut, BarsAskFor(w));
}

} // namespace

void BoundUserResizing(wxTopLevelWindow* w, const wxSize& largestClient)
{
    GtkWindow* window = WindowOf(w);
    if (window == nullptr)
        return;
    GtkAllocation whole;
    gtk_widget_get_allocation(GTK_WIDGET(window), &whole);
    const wxSize client = w->GetClientSize();
    // The menu, tool and status bars around the client area.
    const int aroundX = whole.width - client.x, aroundY = BarsHeight(w, whole.height - client.y);
    if (whole.width <= 1 || aroundX < 0 || aroundY < 0)
        return;
    GtkRequisition smallest;
    gtk_widget_get_preferred_size(GTK_WIDGET(window), &smallest, nullptr);
    // A window manager offers no corner drag on an axis whose largest size is its smallest. The
    // bars keep their own heights: a status bar squeezed under its borders has the toolkit
    // refresh a rectangle of negative height at every prompt (pixman's "Invalid rectangle").
    SetBounds(window, BarsAskFor(w),
              std::max({aroundX + largestClient.x, whole.width, smallest.width + 1}),
              std::max({aroundY + largestClient.y, whole.height, smallest.height + 1}));
}

void FreeUserResizing(wxTopLevelWindow* w)
{
    if (GtkWindow* window = WindowOf(w))
        SetBounds(window, 1, kUnbounded, kUnbounded);
}
