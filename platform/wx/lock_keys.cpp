// lock_keys.cpp -- the lock keys' states from GDK's keymap.
#include "platform/wx/lock_keys.h"

#include <gdk/gdk.h>

bool ReadLockKeys(LockKeys& keys)
{
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr)
        return false;
    GdkKeymap* keymap = gdk_keymap_get_for_display(display);
    keys.caps = gdk_keymap_get_caps_lock_state(keymap) != FALSE;
    keys.num = gdk_keymap_get_num_lock_state(keymap) != FALSE;
    keys.scroll = gdk_keymap_get_scroll_lock_state(keymap) != FALSE;
    return true;
}
