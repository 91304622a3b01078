// lock_keys.h -- whether Caps Lock, Num Lock and Scroll Lock are on, as the display says.
#pragma once

struct LockKeys
{
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// False, leaving keys as they are, when there is no display to ask.
bool ReadLockKeys(LockKeys& keys);
