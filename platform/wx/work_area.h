// work_area.h -- the part of the screen a box may take: the monitor's work area, without the
// desktop's panels.
#pragma once

#include <gdk/gdk.h>

// The primary monitor's work area (the first monitor's when none is primary); false when the
// display has no monitor at all.
bool ScreenWorkArea(GdkRectangle* area);
