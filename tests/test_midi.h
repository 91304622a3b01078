// test_midi.h -- what the music tests share: short Standard MIDI Files written on the spot,
// a scratch folder for them, and waiting for a notice with a deadline.
#pragma once

#include "platform/notify.h"
#include "tests/scratch_dir.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testmidi {

inline void PutVarLength(std::vector<uint8_t>& out, uint32_t value)
{
    uint8_t bytes[4];
    int n = 0;
    bytes[n++] = uint8_t(value & 0x7F);
    while ((value >>= 7) != 0)
        bytes[n++] = uint8_t(0x80 | (value & 0x7F));
    while (n > 0)
        out.push_back(bytes[--n]);
}

// One track at 1 ms per tick (480 ticks per quarter, 480000 us per quarter): a piano note
// held for lengthMs, or nothing but silence of that length when withNote is false.
inline std::vector<uint8_t> OneNoteMidi(uint32_t lengthMs, bool withNote = true)
{
    std::vector<uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0x53, 0x00, 0x00, 0xC0, 0x00};
    if (withNote)
        track.insert(track.end(), {0x00, 0x90, 60, 100});
    PutVarLength(track, lengthMs);
    if (withNote)
        track.insert(track.end(), {0x80, 60, 0, 0x00});
    else
        track.insert(track.end(), {0xB0, 0x40, 0x00, 0x00});
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    uint32_t size = uint32_t(track.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        file.push_back(uint8_t(size >> shift));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// Writes bytes as a file in dir; the path, or an empty string when the write failed.
inline std::string WriteIn(const ScratchDir& dir, const std::string& name,
                           const std::vector<uint8_t>& bytes)
{
    std::string path = dir.File(name);
    return WriteBytes(path, bytes) ? path : std::string();
}

inline bool WaitNotice(Notice* notice, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!TakeNotice(notice)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

inline void DrainNotices()
{
    Notice ignored;
    while (TakeNotice(&ignored)) {
    }
}

} // namespace testmidi
