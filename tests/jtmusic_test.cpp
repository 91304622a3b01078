// jtmusic_test.cpp -- the music module: the commands it sends, when it sends none, and the
// tune looping from its own end-of-play notice.
#include "Motor/jtmusic.h"

#include "platform/mci.h"
#include "platform/notify.h"
#include "tests/test_midi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using testmidi::WaitNotice;

namespace {

struct Sent
{
    std::string command;
    HWND callback;
};

class Music : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MciSetPacing(false);
        testmidi::DrainNotices();
        RegisterNoticeWindow(m_window);
        MciSetCommandHook([this](LPCSTR command, HWND callback) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_sent.push_back(Sent{command, callback});
        });
        m_tune = testmidi::WriteIn(m_dir, "cor.mid", testmidi::OneNoteMidi(300));
        m_music = std::make_unique<JTMusic>(m_window);
    }
    void TearDown() override
    {
        JTModul::ClearSlot(MODUL_MUSIC);
        m_music.reset();
        MciSetCommandHook(nullptr);
        UnregisterNoticeWindow(m_window);
        MciSetPacing(true);
    }
    std::vector<Sent> Commands()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_sent;
    }
    // What the game window does with every notice it receives.
    void AnswerNotices(int count)
    {
        Notice n;
        for (int i = 0; i < count && WaitNotice(&n, 2s); ++i) {
            EXPECT_EQ(n.message, UINT(MM_MCINOTIFY));
            JTMusic::GetMusic()->Play();
        }
    }

    HWND m_window = reinterpret_cast<HWND>(0x5000);
    ScratchDir m_dir;
    std::string m_tune;
    std::unique_ptr<JTMusic> m_music;
    std::mutex m_lock;
    std::vector<Sent> m_sent;
};

} // namespace

TEST_F(Music, RegistersInItsSlot)
{
    EXPECT_EQ(JTMusic::GetMusic(), m_music.get());
    EXPECT_EQ(JTModul::GetSlot(MODUL_MUSIC), m_music.get());
}

TEST_F(Music, PlayAndCloseBeforeOpenSendNothing)
{
    m_music->Play();
    m_music->Close();
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Music, SendsTheThreeCommandsWithTheirWindows)
{
    m_music->Open(m_tune.c_str());
    m_music->Play();
    m_music->Close();
    std::vector<Sent> sent = Commands();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].command, "open sequencer!" + m_tune + " alias JTMusic");
    EXPECT_EQ(sent[0].callback, nullptr);
    EXPECT_EQ(sent[1].command, "play JTMusic from 0 notify");
    EXPECT_EQ(sent[1].callback, m_window);
    EXPECT_EQ(sent[2].command, "close JTMusic");
    EXPECT_EQ(sent[2].callback, nullptr);
}

TEST_F(Music, CloseTwiceSendsOneCloseAndANoticeAfterItStartsNothing)
{
    m_music->Open(m_tune.c_str());
    m_music->Play();
    m_music->Close();
    m_music->Close();
    m_music->Play();
    std::vector<Sent> sent = Commands();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].command, "close JTMusic");
    Notice n;
    EXPECT_FALSE(WaitNotice(&n, 200ms));
}

TEST_F(Music, PlayGoesToTheLatestNotifyWindow)
{
    HWND other = reinterpret_cast<HWND>(0x6000);
    RegisterNoticeWindow(other);
    m_music->SetNotifyWindow(other);
    m_music->Open(m_tune.c_str());
    m_music->Play();
    Notice n;
    ASSERT_TRUE(WaitNotice(&n, 2s));
    EXPECT_EQ(n.hwnd, other);
    EXPECT_EQ(Commands().back().callback, other);
    UnregisterNoticeWindow(other);
}

TEST_F(Music, NoticeLoopsTheTuneFromItsStart)
{
    m_music->Open(m_tune.c_str());
    m_music->Play();
    AnswerNotices(3);
    std::vector<Sent> sent = Commands();
    ASSERT_EQ(sent.size(), 5u) << "open, the first play and one play per notice";
    for (std::size_t i = 1; i < sent.size(); ++i)
        EXPECT_EQ(sent[i].command, "play JTMusic from 0 notify");
}

TEST_F(Music, RealTimeTuneEndsAfterItsLengthAndStartsAgainInFull)
{
    MciSetPacing(true);
    m_music->Open(m_tune.c_str());
    for (int round = 0; round < 2; ++round) {
        auto start = std::chrono::steady_clock::now();
        m_music->Play();
        Notice n;
        ASSERT_TRUE(WaitNotice(&n, 3s)) << "round " << round;
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, 280ms) << "round " << round;
        EXPECT_LE(took, 1500ms) << "round " << round;
    }
    Notice n;
    EXPECT_FALSE(WaitNotice(&n, 100ms)) << "exactly one notice per play";
}

TEST_F(Music, FileNameTooLongForTheCommandIsRefusedWhole)
{
    std::string longest(JTMusic::kMaxFileName, 'a');
    m_music->Open(longest.c_str());
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].command, "open sequencer!" + longest + " alias JTMusic");
    m_music->Close();

    std::string tooLong(JTMusic::kMaxFileName + 1, 'a');
    m_music->Open(tooLong.c_str());
    EXPECT_EQ(Commands().size(), 2u) << "no open command for it";
    m_music->Play();
    m_music->Close();
    std::vector<Sent> sent = Commands();
    ASSERT_EQ(sent.size(), 4u) << "it still counts as open, like any failed open";
    EXPECT_EQ(sent[2].command, "play JTMusic from 0 notify");
    EXPECT_EQ(sent[3].command, "close JTMusic");
}

TEST_F(Music, MissingFileLeavesNoTraceAndTheNextRunStillPlays)
{
    m_music->Open("no-such-tune.mid");
    m_music->Play();
    Notice n;
    EXPECT_FALSE(WaitNotice(&n, 200ms));
    m_music->Close();
    m_music->Open(m_tune.c_str());
    m_music->Play();
    EXPECT_TRUE(WaitNotice(&n, 2s));
}

TEST_F(Music, DestructorClosesAnOpenTune)
{
    m_music->Open(m_tune.c_str());
    JTModul::ClearSlot(MODUL_MUSIC);
    m_music.reset();
    ASSERT_EQ(Commands().size(), 2u);
    EXPECT_EQ(Commands().back().command, "close JTMusic");
}
