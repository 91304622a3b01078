// work_area.cpp -- the screen's work area, as the toolkit reports it.
#include "platform/wx/work_area.h"

bool ScreenWorkArea(GdkRectangle* area)
{
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr)
        return false;
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr)
        monitor = gdk_display_get_monitor(display, 0);
    if (monitor == nullptr)
        return false;
    gdk_monitor_get_workarea(monitor, area);
    return true;
}
