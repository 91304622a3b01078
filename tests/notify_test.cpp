// notify_test.cpp -- the notice queue: order, windows that are gone, purges, the wake-up.
#include "platform/notify.h"

#include "tests/test_midi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

HWND Window(uintptr_t n)
{
    return reinterpret_cast<HWND>(n);
}

class NoticeQueue : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testmidi::DrainNotices();
        RegisterNoticeWindow(m_a);
        RegisterNoticeWindow(m_b);
    }
    void TearDown() override
    {
        SetNoticeWakeup(nullptr);
        UnregisterNoticeWindow(m_a);
        UnregisterNoticeWindow(m_b);
        testmidi::DrainNotices();
    }
    HWND m_a = Window(0x1000);
    HWND m_b = Window(0x2000);
};

} // namespace

TEST_F(NoticeQueue, NoticesComeOutInPostingOrder)
{
    PostNotice(m_a, MM_MCINOTIFY, 1, 7);
    PostNotice(m_b, WM_TIMER, 2, 8);
    Notice n;
    ASSERT_TRUE(TakeNotice(&n));
    EXPECT_EQ(n.hwnd, m_a);
    EXPECT_EQ(n.message, UINT(MM_MCINOTIFY));
    EXPECT_EQ(n.wParam, 1u);
    EXPECT_EQ(n.lParam, 7);
    ASSERT_TRUE(TakeNotice(&n));
    EXPECT_EQ(n.hwnd, m_b);
    EXPECT_EQ(n.message, UINT(WM_TIMER));
    EXPECT_FALSE(TakeNotice(&n));
}

TEST_F(NoticeQueue, NoticeForAWindowThatDoesNotExistIsDropped)
{
    PostNotice(Window(0x3000), MM_MCINOTIFY, 1, 1);
    PostNotice(nullptr, MM_MCINOTIFY, 1, 1);
    Notice n;
    EXPECT_FALSE(TakeNotice(&n));
}

TEST_F(NoticeQueue, DestroyedWindowLosesItsQueuedNoticesEvenIfItsHandleComesBack)
{
    PostNotice(m_a, MM_MCINOTIFY, 1, 1);
    PostNotice(m_b, MM_MCINOTIFY, 1, 2);
    PostNotice(m_a, MM_MCINOTIFY, 1, 3);
    UnregisterNoticeWindow(m_a);
    RegisterNoticeWindow(m_a);
    Notice n;
    ASSERT_TRUE(TakeNotice(&n));
    EXPECT_EQ(n.hwnd, m_b);
    EXPECT_FALSE(TakeNotice(&n));
}

TEST_F(NoticeQueue, PurgeDropsOnlyNoticesOfThatMessageAndDevice)
{
    PostNotice(m_a, MM_MCINOTIFY, 1, 5);
    PostNotice(m_a, MM_MCINOTIFY, 1, 6);
    PostNotice(m_b, WM_TIMER, 1, 5);
    PurgeNotices(MM_MCINOTIFY, 5);
    Notice n;
    ASSERT_TRUE(TakeNotice(&n));
    EXPECT_EQ(n.lParam, 6);
    ASSERT_TRUE(TakeNotice(&n));
    EXPECT_EQ(n.message, UINT(WM_TIMER));
    EXPECT_FALSE(TakeNotice(&n));
}

TEST_F(NoticeQueue, WakeupRunsForEachPostFromAnotherThread)
{
    std::atomic<int> wakeups{0};
    SetNoticeWakeup([&wakeups] { ++wakeups; });
    std::thread poster([this] {
        for (int i = 0; i < 100; ++i)
            PostNotice(m_a, MM_MCINOTIFY, 1, i);
        PostNotice(Window(0x3000), MM_MCINOTIFY, 1, 0);
    });
    poster.join();
    EXPECT_EQ(wakeups.load(), 100) << "a dropped notice wakes nobody";
    Notice n;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(TakeNotice(&n));
        EXPECT_EQ(n.lParam, i);
    }
    SetNoticeWakeup(nullptr);
    PostNotice(m_a, MM_MCINOTIFY, 1, 0);
    EXPECT_EQ(wakeups.load(), 100);
}
