// notify.cpp -- the notice queue and the registry of live windows, shared between threads.
#include "platform/notify.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <mutex>
#include <set>

namespace {

struct NoticeQueue
{
    std::mutex lock;
    std::deque<Notice> notices;
    std::set<HWND> windows;
    // Shared so that a wake-up under way survives the hook being replaced meanwhile.
    std::shared_ptr<const std::function<void()>> wakeup;
};

NoticeQueue& Queue()
{
    static NoticeQueue queue;
    return queue;
}

template <typename Pred> void DropIf(std::deque<Notice>& notices, Pred pred)
{
    notices.erase(std::remove_if(notices.begin(), notices.end(), pred), notices.end());
}

} // namespace

void PostNotice(HWND hwnd, UINT message, uintptr_t wParam, intptr_t lParam)
{
    NoticeQueue& q = Queue();
    std::shared_ptr<const std::function<void()>> wakeup;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        if (q.windows.count(hwnd) == 0)
            return;
        q.notices.push_back(Notice{hwnd, message, wParam, lParam});
        wakeup = q.wakeup;
    }
    if (wakeup)
        (*wakeup)();
}

bool TakeNotice(Notice* notice)
{
    NoticeQueue& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    while (!q.notices.empty()) {
        Notice next = q.notices.front();
        q.notices.pop_front();
        if (q.windows.count(next.hwnd) != 0) {
            *notice = next;
            return true;
        }
    }
    return false;
}

void RegisterNoticeWindow(HWND hwnd)
{
    if (hwnd == nullptr)
        return;
    NoticeQueue& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    q.windows.insert(hwnd);
}

void UnregisterNoticeWindow(HWND hwnd)
{
    NoticeQueue& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    q.windows.erase(hwnd);
    DropIf(q.notices, [hwnd](const Notice& n) { return n.hwnd == hwnd; });
}

void PurgeNotices(UINT message, intptr_t lParam)
{
    NoticeQueue& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    DropIf(q.notices, [message, lParam](const Notice& n) {
        return n.message == message && n.lParam == lParam;
    });
}

void SetNoticeWakeup(std::function<void()> wakeup)
{
    NoticeQueue& q = Queue();
    auto shared =
        wakeup ? std::make_shared<const std::function<void()>>(std::move(wakeup)) : nullptr;
    std::lock_guard<std::mutex> guard(q.lock);
    q.wakeup = std::move(shared);
}
