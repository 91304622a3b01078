// keys.cpp -- the key state behind GetAsyncKeyState.
#include "platform/keys.h"

#include <atomic>

namespace {

struct KeyState
{
    std::atomic<bool> down{false};
    std::atomic<bool> pressed{false};
};

KeyState g_keys[256];

KeyState* Key(int vk)
{
    return vk >= 0 && vk < 256 ? &g_keys[vk] : nullptr;
}

} // namespace

short GetAsyncKeyState(int vk)
{
    KeyState* key = Key(vk);
    if (key == nullptr)
        return 0;
    bool pressed = key->pressed.exchange(false);
    short state = key->down ? short(0x8000) : 0;
    return short(state | (pressed ? 1 : 0));
}

void KeyStatePress(int vk)
{
    if (KeyState* key = Key(vk)) {
        if (!key->down.exchange(true))
            key->pressed = true;
    }
}

void KeyStateRelease(int vk)
{
    if (KeyState* key = Key(vk))
        key->down = false;
}

void KeyStateReset()
{
    for (KeyState& key : g_keys) {
        key.down = false;
        key.pressed = false;
    }
}
