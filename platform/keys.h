// keys.h -- stands in for the keyboard-state poll: what GetAsyncKeyState answers, fed by the window layer.
#pragma once

#include "platform/windefs.h"

// Non-zero when the key is down now (bit 15) or was pressed since the last query of it (bit 0).
short GetAsyncKeyState(int vk);

// The window layer and the tests report key changes here.
void KeyStatePress(int vk);
void KeyStateRelease(int vk);
// Forgets every key: all up, no presses pending.
void KeyStateReset();
