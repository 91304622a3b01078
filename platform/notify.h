// notify.h -- stands in for posting a message to a window: a queue of notices that the
// user-interface thread drains, and the set of windows still alive to receive them.
#pragma once

#include "platform/windefs.h"

#include <cstdint>
#include <functional>

struct Notice
{
    HWND hwnd;
    UINT message;
    uintptr_t wParam;
    intptr_t lParam;
};

// Queues a notice for hwnd; any thread. A notice for a window that is not registered
// (NULL included) is dropped at once, as a post to a destroyed window would be.
void PostNotice(HWND hwnd, UINT message, uintptr_t wParam, intptr_t lParam);

// Takes the oldest notice whose window is still registered; false when none is left.
// Called by the user-interface thread, which delivers the notice to its window.
bool TakeNotice(Notice* notice);

// The window layer registers a window when it is created and unregisters it when it is
// destroyed; unregistering drops every notice still queued for it.
void RegisterNoticeWindow(HWND hwnd);
void UnregisterNoticeWindow(HWND hwnd);

// Drops every queued notice with this message and lParam (a closed device's notices).
void PurgeNotices(UINT message, intptr_t lParam);

// Called after each post, on the posting thread, so the window layer can wake its event
// loop. It must be thread-safe and must not block on the user-interface thread.
// An empty function removes it.
void SetNoticeWakeup(std::function<void()> wakeup);
