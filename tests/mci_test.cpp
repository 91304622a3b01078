// mci_test.cpp -- the sequencer behind mciSendStringA: its commands, errors, notices and timing,
// and the sound FluidSynth makes of a note.
#include "platform/mci.h"
#include "platform/midi_player.h"
#include "platform/notify.h"

#include "tests/test_midi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <unistd.h>

using namespace std::chrono_literals;
using testmidi::WaitNotice;

namespace {

class Mci : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MciSetPacing(false);
        testmidi::DrainNotices();
        RegisterNoticeWindow(m_window);
        m_short = testmidi::WriteIn(m_dir, "short.mid", testmidi::OneNoteMidi(300));
        m_long = testmidi::WriteIn(m_dir, "long.mid", testmidi::OneNoteMidi(5000));
        ASSERT_FALSE(m_short.empty());
    }
    void TearDown() override
    {
        for (const char* alias : {"t", "u"})
            Send(std::string("close ") + alias);
        UnregisterNoticeWindow(m_window);
        MciSetPacing(true);
    }
    DWORD Send(const std::string& command, HWND callback = nullptr)
    {
        return mciSendStringA(command.c_str(), nullptr, 0, callback);
    }
    DWORD Open(const std::string& path, const char* alias = "t")
    {
        return Send("open sequencer!" + path + " alias " + alias);
    }
    DWORD PlayNotify(const char* alias = "t")
    {
        return Send(std::string("play ") + alias + " from 0 notify", m_window);
    }
    bool NoNoticeWithin(std::chrono::milliseconds wait)
    {
        Notice n;
        return !WaitNotice(&n, wait);
    }

    ScratchDir m_dir;
    HWND m_window = reinterpret_cast<HWND>(0x4000);
    std::string m_short;
    std::string m_long;
};

} // namespace

TEST_F(Mci, UnknownOrEmptyCommandFailsAndLaterCommandsStillWork)
{
    EXPECT_EQ(Send("dance t"), DWORD(MCIERR_UNRECOGNIZED_COMMAND));
    EXPECT_EQ(Send("   "), DWORD(MCIERR_MISSING_COMMAND_STRING));
    EXPECT_EQ(mciSendStringA(nullptr, nullptr, 0, nullptr), DWORD(MCIERR_MISSING_COMMAND_STRING));
    EXPECT_EQ(Open(m_short), 0u);
    EXPECT_EQ(PlayNotify(), 0u);
    Notice n;
    EXPECT_TRUE(WaitNotice(&n, 2s));
    EXPECT_EQ(Send("close t"), 0u);
}

TEST_F(Mci, MissingFileIsRefusedAndTheAliasStaysFree)
{
    EXPECT_EQ(Open(m_short + ".gone"), DWORD(MCIERR_FILE_NOT_FOUND));
    EXPECT_EQ(PlayNotify(), DWORD(MCIERR_INVALID_DEVICE_NAME));
    EXPECT_EQ(Send("close t"), DWORD(MCIERR_INVALID_DEVICE_NAME));
    EXPECT_TRUE(NoNoticeWithin(100ms));
    EXPECT_EQ(Open(m_short), 0u);
    EXPECT_EQ(Send("close t"), 0u);
}

TEST_F(Mci, FileThatIsNotMidiIsRefused)
{
    std::string text = testmidi::WriteIn(m_dir, "notes.mid", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(Open(text), DWORD(MCIERR_INVALID_FILE));
    std::string fake = testmidi::WriteIn(m_dir, "fake.mid", std::vector<uint8_t>(64, 'M'));
    EXPECT_EQ(Open(fake), DWORD(MCIERR_INVALID_FILE));
}

TEST_F(Mci, MalformedCommandsAnswerTheirErrors)
{
    ASSERT_EQ(Open(m_short), 0u);
    struct Case
    {
        std::string command;
        DWORD error;
    } cases[] = {
        {"open waveaudio!" + m_short + " alias u", MCIERR_INVALID_DEVICE_NAME},
        {"open sequencer alias u", MCIERR_FILENAME_REQUIRED},
        {"open sequencer!" + m_short + " alias", MCIERR_MISSING_PARAMETER},
        {"open sequencer!" + m_short + " alias u shareable", MCIERR_UNRECOGNIZED_KEYWORD},
        {"open \"sequencer!" + m_short + " alias u", MCIERR_NO_CLOSING_QUOTE},
        {"play", MCIERR_MISSING_DEVICE_NAME},
        {"play t from 150 notify", MCIERR_UNSUPPORTED_FUNCTION},
        {"play t notify", MCIERR_UNSUPPORTED_FUNCTION},
        {"play t from zero", MCIERR_BAD_INTEGER},
        {"play t from", MCIERR_MISSING_PARAMETER},
        {"play t from 0 loudly", MCIERR_UNRECOGNIZED_KEYWORD},
        {"close", MCIERR_MISSING_DEVICE_NAME},
        {"close t now", MCIERR_UNRECOGNIZED_KEYWORD},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Send(c.command, m_window), c.error) << c.command;
    EXPECT_TRUE(NoNoticeWithin(100ms));
    EXPECT_EQ(Send("close u"), DWORD(MCIERR_INVALID_DEVICE_NAME)) << "no failed open left a device";
    EXPECT_EQ(Send("close t"), 0u);
}

TEST_F(Mci, KeywordsAndAliasesIgnoreCaseAndQuotesKeepBlanks)
{
    std::string spaced = testmidi::WriteIn(m_dir, "my tune.mid", testmidi::OneNoteMidi(100));
    EXPECT_EQ(Send("OPEN \"Sequencer!" + spaced + "\" ALIAS Tune"), 0u);
    EXPECT_EQ(Send("Play TUNE From 0 Notify", m_window), 0u);
    Notice n;
    ASSERT_TRUE(WaitNotice(&n, 2s));
    EXPECT_EQ(n.wParam, uintptr_t(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_EQ(Send("CLOSE tune"), 0u);
}

TEST_F(Mci, OpenAnswersTheDeviceIdAndRefusesAnAliasInUse)
{
    char id[16] = "x";
    ASSERT_EQ(mciSendStringA(("open sequencer!" + m_short + " alias t").c_str(), id, 16, nullptr),
              0u);
    EXPECT_GT(std::atoi(id), 0);
    EXPECT_EQ(Open(m_long, "T"), DWORD(MCIERR_DUPLICATE_ALIAS));
    EXPECT_EQ(PlayNotify(), 0u);
    Notice n;
    ASSERT_TRUE(WaitNotice(&n, 2s));
    EXPECT_EQ(n.lParam, std::atoi(id)) << "the notice names the device";
}

TEST_F(Mci, PlayWithNotifyPostsExactlyOneSuccessfulNotice)
{
    ASSERT_EQ(Open(m_short), 0u);
    ASSERT_EQ(PlayNotify(), 0u);
    Notice n;
    ASSERT_TRUE(WaitNotice(&n, 2s));
    EXPECT_EQ(n.hwnd, m_window);
    EXPECT_EQ(n.message, UINT(MM_MCINOTIFY));
    EXPECT_EQ(n.wParam, uintptr_t(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_TRUE(NoNoticeWithin(200ms));
}

TEST_F(Mci, NewPlayAbortsTheRunningOne)
{
    MciSetPacing(true);
    ASSERT_EQ(Open(m_long), 0u);
    ASSERT_EQ(PlayNotify(), 0u);
    ASSERT_EQ(PlayNotify(), 0u);
    Notice n;
    ASSERT_TRUE(WaitNotice(&n, 1s));
    EXPECT_EQ(n.wParam, uintptr_t(MCI_NOTIFY_ABORTED));
    EXPECT_TRUE(NoNoticeWithin(200ms)) << "the new play is still running";
}

TEST_F(Mci, ClosedDeviceNeverNotifies)
{
    MciSetPacing(true);
    ASSERT_EQ(Open(m_short), 0u);
    ASSERT_EQ(PlayNotify(), 0u);
    ASSERT_EQ(Send("close t"), 0u);
    EXPECT_TRUE(NoNoticeWithin(600ms)) << "stopped while playing";

    MciSetPacing(false);
    ASSERT_EQ(Open(m_short), 0u);
    ASSERT_EQ(PlayNotify(), 0u);
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(Send("close t"), 0u);
    EXPECT_TRUE(NoNoticeWithin(100ms)) << "its notice was already queued";
}

TEST_F(Mci, NoticeForAWindowThatIsGoneIsDropped)
{
    ASSERT_EQ(Open(m_short), 0u);
    ASSERT_EQ(PlayNotify(), 0u);
    UnregisterNoticeWindow(m_window);
    EXPECT_TRUE(NoNoticeWithin(300ms));
}

TEST_F(Mci, RealTimePlayEndsAfterItsLengthAndLoopsFromTheNotice)
{
    MciSetPacing(true);
    ASSERT_EQ(Open(m_short), 0u);
    for (int round = 0; round < 2; ++round) {
        auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(PlayNotify(), 0u);
        Notice n;
        ASSERT_TRUE(WaitNotice(&n, 3s)) << "round " << round;
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(n.wParam, uintptr_t(MCI_NOTIFY_SUCCESSFUL));
        EXPECT_GE(took, 280ms) << "round " << round;
        EXPECT_LE(took, 1500ms) << "round " << round;
    }
    EXPECT_TRUE(NoNoticeWithin(100ms));
}

namespace {

struct Capture
{
    std::mutex lock;
    std::condition_variable done;
    bool ended = false;
    bool reachedEnd = false;
    double energy = 0;
    long frames = 0;
};

// Mean square of the samples, in units of full scale squared.
double RenderedPower(const std::vector<uint8_t>& smf)
{
    Capture capture;
    MidiPlayer::Options options;
    options.realTime = false;
    options.sink = [&capture](const int16_t* samples, int frames) {
        std::lock_guard<std::mutex> guard(capture.lock);
        for (int i = 0; i < frames * 2; ++i)
            capture.energy += double(samples[i]) * samples[i];
        capture.frames += frames;
    };
    auto player = MidiPlayer::Create(smf, options);
    EXPECT_NE(player, nullptr);
    if (!player)
        return 0;
    player->Play([&capture](bool reachedEnd) {
        std::lock_guard<std::mutex> guard(capture.lock);
        capture.ended = true;
        capture.reachedEnd = reachedEnd;
        capture.done.notify_all();
    });
    {
        std::unique_lock<std::mutex> lock(capture.lock);
        EXPECT_TRUE(capture.done.wait_for(lock, 5s, [&capture] { return capture.ended; }));
        EXPECT_TRUE(capture.reachedEnd);
    }
    player.reset();
    EXPECT_NEAR(capture.frames, MidiPlayer::kSampleRate * 3 / 10, 1024);
    return capture.frames ? capture.energy / (capture.frames * 2.0 * 32768.0 * 32768.0) : 0;
}

} // namespace

TEST(MidiPlayer, NoteSoundsAndARestIsSilent)
{
    if (access("/usr/share/sounds/sf2/TimGM6mb.sf2", R_OK) != 0 &&
        access("/usr/share/sounds/sf2/default-GM.sf2", R_OK) != 0)
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    double note = RenderedPower(testmidi::OneNoteMidi(300));
    double rest = RenderedPower(testmidi::OneNoteMidi(300, false));
    EXPECT_GT(note, 1e-4) << "a piano note at velocity 100 is clearly audible";
    EXPECT_LT(rest, 1e-8) << "nothing but the dither of the 16-bit output";
}
