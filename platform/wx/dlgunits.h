// dlgunits.h -- dialog templates are laid out in dialog units of their 8-point font, whose
// base units are 6 x 13 pixels: x pixels = x units * 6 / 4, y pixels = y units * 13 / 8.
// The toolkit's own conversion uses the Linux font, which would make every dialog (and the
// game's view) larger than its template.
#pragma once

#include <wx/gdicmn.h>

// Rounded to the nearest pixel, as the system's own conversion does (150 units high: 244 px).
inline int DluX(int x) { return (x * 6 + 2) / 4; }
inline int DluY(int y) { return (y * 13 + 4) / 8; }
inline wxPoint DluPoint(int x, int y) { return wxPoint(DluX(x), DluY(y)); }
inline wxSize DluSize(int w, int h) { return wxSize(DluX(w), DluY(h)); }
