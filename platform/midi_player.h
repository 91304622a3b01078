// midi_player.h -- stands in for the MIDI sequencer device: one Standard MIDI File played
// by FluidSynth with a General MIDI SoundFont, on its own synthesis thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// FluidSynth's handle types, so that users of this header need not include the library's.
struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;
struct _fluid_audio_driver_t;

class MidiPlayer
{
public:
    // Called on the synthesis thread with the player's lock held when a play ends: true when
    // the tune reached its last event, false when the file could not be played through.
    // It must not call back into this player.
    using EndHandler = std::function<void(bool reachedEnd)>;
    // Receives each rendered block: interleaved stereo, frames * 2 samples.
    using Sink = std::function<void(const int16_t* samples, int frames)>;

    struct Options
    {
        // Real time: played through the sound card when there is one, otherwise rendered
        // silently at the pace of the clock. Not real time: rendered as fast as possible.
        bool realTime = true;
        // Rendered blocks go here instead of to a sound card; for checking the audio.
        Sink sink;
    };

    static constexpr int kSampleRate = 44100;

    // smf holds the whole file; it must start with an "MThd" header. NULL when FluidSynth
    // cannot be set up.
    static std::unique_ptr<MidiPlayer> Create(std::vector<uint8_t> smf, Options options);
    ~MidiPlayer();
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;

    // Starts the tune at its first tick. A play still under way is cut short and its end
    // handler is never called.
    void Play(EndHandler onEnd);
    // Stops the tune and silences it; true when a play was under way. Its end handler is
    // never called after this returns.
    bool Stop();

private:
    struct SettingsDeleter
    {
        void operator()(_fluid_hashtable_t* s) const;
    };
    struct SynthDeleter
    {
        void operator()(_fluid_synth_t* s) const;
    };
    struct PlayerDeleter
    {
        void operator()(_fluid_player_t* p) const;
    };
    struct DriverDeleter
    {
        void operator()(_fluid_audio_driver_t* d) const;
    };

    MidiPlayer(std::vector<uint8_t> smf, Options options);
    bool Init();
    bool StartAudioDevice();
    void StopLocked();
    void FinishLocked(bool reachedEnd);
    void CheckEndLocked();
    void RenderLoop();
    static int OnTick(void* data, int tick);
    static int OnAudio(void* data, int len, int nfx, float* fx[], int nout, float* out[]);

    std::vector<uint8_t> m_smf;
    Options m_options;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_quit = false;
    bool m_endReached = false;
    EndHandler m_onEnd;
    // FluidSynth's objects in the library's order of creation; released in reverse.
    std::unique_ptr<_fluid_hashtable_t, SettingsDeleter> m_settings;
    std::unique_ptr<_fluid_synth_t, SynthDeleter> m_synth;
    std::unique_ptr<_fluid_player_t, PlayerDeleter> m_player;
    std::unique_ptr<_fluid_audio_driver_t, DriverDeleter> m_driver;
    std::thread m_thread;
};
