// icons.h -- the program's icons and bitmaps from its embedded resources, for the toolkit.
#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>
#include <wx/image.h>

class CBitmap;

// The icon group of a resource id: the 32 x 32 picture under the id, the 16 x 16 one under
// the name APP_ICON_<id>_16. Empty when neither exists.
wxIconBundle LoadIconGroup(unsigned id);
// Gives every window that sets no icon of its own (dialogs, message boxes, file dialogs) the
// icon group of the resource id, from now on. The PNG image handler must be installed.
void SetDefaultWindowIcons(unsigned id);
// The PNG bytes of an icon picture (size 32 or 16), empty when there is none.
wxMemoryBuffer IconPng(unsigned id, int size);
// A bitmap resource, decoded as the engine decodes it, as a toolkit image.
wxImage LoadBitmapImage(unsigned id);
// A toolbar's picture strip: the bitmap resource with its button-face grey (192, 192, 192)
// transparent, so that the toolbar's own face shows there.
wxImage LoadToolbarStrip(unsigned id);
// The pixels of a bitmap as a toolkit image; an invalid image for an empty bitmap.
wxImage ImageOfBitmap(const CBitmap& bitmap);
