// midi_player.cpp -- FluidSynth set up, fed and paced: a sound card when there is one,
// otherwise a render thread that keeps time with the clock and discards the samples.
#include "platform/midi_player.h"

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

#include <chrono>
#include <cstring>
#include <system_error>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const int kBlockFrames = 256;
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};
const char* const kAudioDrivers[] = {"pulseaudio", "alsa"};

void SilentAlsa(const char*, int, const char*, int, const char*, ...) {}

// Neither library may print to the console: the program has no console to speak to.
void QuietLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = 0; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, nullptr, nullptr);
        snd_lib_error_set_handler(SilentAlsa);
    });
}

// Without any SoundFont the tune still runs, silently, so its end still comes in time.
void LoadSoundFont(fluid_synth_t* synth, fluid_settings_t* settings)
{
    for (const char* path : kSoundFonts) {
        if (access(path, R_OK) == 0 && fluid_synth_sfload(synth, path, 1) != FLUID_FAILED)
            return;
    }
    char* fallback = nullptr;
    if (fluid_settings_dupstr(settings, "synth.default-soundfont", &fallback) == FLUID_OK &&
        fallback != nullptr) {
        if (access(fallback, R_OK) == 0)
            fluid_synth_sfload(synth, fallback, 1);
        fluid_free(fallback);
    }
}

// FluidSynth does not survive every allocation that fails while it reads a SoundFont (under an
// address-space limit it can crash there), so it starts only with room to spare; without it
// there is no tune.
bool RoomForTheSynthesizer()
{
    const size_t kRoom = size_t(32) << 20;
    void* probe =
        mmap(nullptr, kRoom, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (probe == MAP_FAILED)
        return false;
    munmap(probe, kRoom);
    return true;
}

} // namespace

void MidiPlayer::SettingsDeleter::operator()(_fluid_hashtable_t* s) const
{
    delete_fluid_settings(s);
}

void MidiPlayer::SynthDeleter::operator()(_fluid_synth_t* s) const
{
    delete_fluid_synth(s);
}

void MidiPlayer::PlayerDeleter::operator()(_fluid_player_t* p) const
{
    delete_fluid_player(p);
}

void MidiPlayer::DriverDeleter::operator()(_fluid_audio_driver_t* d) const
{
    delete_fluid_audio_driver(d);
}

std::unique_ptr<MidiPlayer> MidiPlayer::Create(std::vector<uint8_t> smf, Options options)
{
    std::unique_ptr<MidiPlayer> player(new MidiPlayer(std::move(smf), std::move(options)));
    if (!player->Init())
        return nullptr;
    return player;
}

MidiPlayer::MidiPlayer(std::vector<uint8_t> smf, Options options)
    : m_smf(std::move(smf)), m_options(std::move(options))
{
}

bool MidiPlayer::Init()
{
    QuietLibraries();
    if (!RoomForTheSynthesizer())
        return false;
    m_settings.reset(new_fluid_settings());
    if (!m_settings)
        return false;
    fluid_settings_setnum(m_settings.get(), "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(m_settings.get(), "synth.gain", 0.6);
    // Loading every sample up front runs FluidSynth's OpenMP region, whose runtime ends the
    // whole process when it cannot make its threads (an address-space or thread limit).
    // Samples loaded as the tune's programs ask for them never enter it.
    fluid_settings_setint(m_settings.get(), "synth.dynamic-sample-loading", 1);
    m_synth.reset(new_fluid_synth(m_settings.get()));
    if (!m_synth)
        return false;
    LoadSoundFont(m_synth.get(), m_settings.get());
    bool wantDevice = m_options.realTime && !m_options.sink;
    if (wantDevice && StartAudioDevice())
        return true;
    // Under a thread or memory limit there may be no thread to render on: no tune then.
    try {
        m_thread = std::thread(&MidiPlayer::RenderLoop, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

// Each driver fails within milliseconds when there is no sound card, so trying is cheap.
bool MidiPlayer::StartAudioDevice()
{
    for (const char* name : kAudioDrivers) {
        fluid_settings_setstr(m_settings.get(), "audio.driver", name);
        m_driver.reset(new_fluid_audio_driver2(m_settings.get(), &MidiPlayer::OnAudio, this));
        if (m_driver)
            return true;
    }
    return false;
}

MidiPlayer::~MidiPlayer()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_quit = true;
        m_onEnd = nullptr;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    m_driver.reset();
}

void MidiPlayer::Play(EndHandler onEnd)
{
    std::lock_guard<std::mutex> guard(m_lock);
    StopLocked();
    m_player.reset(new_fluid_player(m_synth.get()));
    if (m_player) {
        fluid_player_set_tick_callback(m_player.get(), &MidiPlayer::OnTick, this);
        if (fluid_player_add_mem(m_player.get(), m_smf.data(), m_smf.size()) != FLUID_OK ||
            fluid_player_play(m_player.get()) != FLUID_OK)
            m_player.reset();
    }
    m_onEnd = std::move(onEnd);
    if (!m_player)
        FinishLocked(false);
    m_wake.notify_all();
}

bool MidiPlayer::Stop()
{
    std::lock_guard<std::mutex> guard(m_lock);
    bool wasPlaying = m_player != nullptr;
    StopLocked();
    return wasPlaying;
}

void MidiPlayer::StopLocked()
{
    m_onEnd = nullptr;
    m_endReached = false;
    if (m_player) {
        m_player.reset();
        fluid_synth_all_sounds_off(m_synth.get(), -1);
    }
}

// The player stays registered with the synth until it is deleted; deleting it here, outside
// its own callback, also stops it from reporting "done" seconds later.
void MidiPlayer::FinishLocked(bool reachedEnd)
{
    m_player.reset();
    m_endReached = false;
    EndHandler onEnd = std::move(m_onEnd);
    m_onEnd = nullptr;
    if (onEnd)
        onEnd(reachedEnd);
}

// FluidSynth's own "done" comes seconds after the last note dies; the musical end is the
// tick of the last event, which the tick callback sees within one block.
int MidiPlayer::OnTick(void* data, int tick)
{
    MidiPlayer* self = static_cast<MidiPlayer*>(data);
    if (self->m_player && tick >= fluid_player_get_total_ticks(self->m_player.get()))
        self->m_endReached = true;
    return FLUID_OK;
}

void MidiPlayer::CheckEndLocked()
{
    if (!m_player)
        return;
    if (m_endReached)
        FinishLocked(true);
    else if (fluid_player_get_status(m_player.get()) == FLUID_PLAYER_DONE)
        FinishLocked(false);
}

int MidiPlayer::OnAudio(void* data, int len, int nfx, float* fx[], int nout, float* out[])
{
    MidiPlayer* self = static_cast<MidiPlayer*>(data);
    for (int i = 0; i < nfx; ++i)
        std::memset(fx[i], 0, sizeof(float) * std::size_t(len));
    for (int i = 0; i < nout; ++i)
        std::memset(out[i], 0, sizeof(float) * std::size_t(len));
    std::lock_guard<std::mutex> guard(self->m_lock);
    int result = fluid_synth_process(self->m_synth.get(), len, nfx, fx, nout, out);
    self->CheckEndLocked();
    return result;
}

// Renders only while a play is under way. Paced, the n-th block is due n blocks after the
// play started, so the tune takes its own length whatever each block costs.
void MidiPlayer::RenderLoop()
{
    using Clock = std::chrono::steady_clock;
    int16_t block[kBlockFrames * 2];
    Clock::time_point start = Clock::now();
    long long frames = 0;
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (!m_player) {
            m_wake.wait(lock, [this] { return m_quit || m_player != nullptr; });
            start = Clock::now();
            frames = 0;
        }
        if (m_quit)
            return;
        fluid_synth_write_s16(m_synth.get(), kBlockFrames, block, 0, 2, block, 1, 2);
        CheckEndLocked();
        frames += kBlockFrames;
        lock.unlock();
        if (m_options.sink)
            m_options.sink(block, kBlockFrames);
        if (m_options.realTime)
            std::this_thread::sleep_until(
                start + std::chrono::microseconds(frames * 1000000 / kSampleRate));
        lock.lock();
    }
}
