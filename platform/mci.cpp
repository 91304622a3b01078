// mci.cpp -- the sequencer devices behind mciSendStringA: open devices found by alias, each
// with its own MIDI player, and the end-of-play notices they post to the callback window.
#include "platform/mci.h"

#include "platform/file.h"
#include "platform/mci_words.h"
#include "platform/midi_player.h"
#include "platform/notify.h"
#include "platform/wsprintf.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

// A Standard MIDI File of a game tune is a few kilobytes; anything near this is not one.
const std::size_t kMaxMidiFileSize = 16u << 20;

struct Device
{
    UINT id = 0;
    std::unique_ptr<MidiPlayer> player;
    // The window named by the latest play with notify; it learns when that play is cut short.
    HWND notifyWindow = nullptr;
};

struct DeviceTable
{
    std::mutex lock;
    std::map<std::string, std::unique_ptr<Device>> byAlias;
    UINT nextId = 1;
};

DeviceTable& Devices()
{
    static DeviceTable table;
    return table;
}

std::atomic<bool> g_realTime{true};
std::mutex g_hookLock;
std::function<void(LPCSTR, HWND)> g_hook;

using Words = std::vector<std::string>;

// A tune that is not a regular file (a FIFO, a device) is refused as a missing one, unread.
DWORD ReadMidiFile(const std::string& path, std::vector<uint8_t>* bytes)
{
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead))
        return MCIERR_FILE_NOT_FOUND;
    try {
        uint8_t chunk[4096];
        UINT got;
        while ((got = file.Read(chunk, sizeof chunk)) > 0) {
            if (bytes->size() + got > kMaxMidiFileSize)
                return MCIERR_INVALID_FILE;
            bytes->insert(bytes->end(), chunk, chunk + got);
        }
    } catch (CFileException* e) {
        e->Delete();
        return MCIERR_INVALID_FILE;
    }
    if (bytes->size() < 14 || std::memcmp(bytes->data(), "MThd", 4) != 0)
        return MCIERR_INVALID_FILE;
    return 0;
}

void WriteReturn(LPSTR returnString, UINT returnLength, UINT deviceId)
{
    int size = returnLength > INT_MAX ? INT_MAX : int(returnLength);
    if (returnString != nullptr && size > 0)
        wnsprintfA(returnString, size, "%u", deviceId);
}

// "sequencer!<file>" names the device type and the file it plays.
DWORD SplitDeviceName(const std::string& word, std::string* file)
{
    std::size_t bang = word.find('!');
    if (LowerMciWord(word.substr(0, bang)) != "sequencer")
        return MCIERR_INVALID_DEVICE_NAME;
    if (bang == std::string::npos || bang + 1 == word.size())
        return MCIERR_FILENAME_REQUIRED;
    *file = word.substr(bang + 1);
    return 0;
}

DWORD OpenDevice(DeviceTable& table, const Words& words, LPSTR ret, UINT retLength)
{
    if (words.size() < 2)
        return MCIERR_MISSING_DEVICE_NAME;
    std::string file;
    if (DWORD error = SplitDeviceName(words[1], &file))
        return error;
    std::string alias = file;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (LowerMciWord(words[i]) != "alias")
            return MCIERR_UNRECOGNIZED_KEYWORD;
        if (++i == words.size())
            return MCIERR_MISSING_PARAMETER;
        alias = words[i];
    }
    std::string key = LowerMciWord(alias);
    if (table.byAlias.count(key) != 0)
        return MCIERR_DUPLICATE_ALIAS;
    std::vector<uint8_t> bytes;
    if (DWORD error = ReadMidiFile(file, &bytes))
        return error;
    MidiPlayer::Options options;
    options.realTime = g_realTime;
    auto device = std::make_unique<Device>();
    device->player = MidiPlayer::Create(std::move(bytes), options);
    if (!device->player)
        return MCIERR_CANNOT_LOAD_DRIVER;
    device->id = table.nextId++;
    WriteReturn(ret, retLength, device->id);
    table.byAlias[key] = std::move(device);
    return 0;
}

Device* FindDevice(DeviceTable& table, const std::string& alias)
{
    auto it = table.byAlias.find(LowerMciWord(alias));
    return it == table.byAlias.end() ? nullptr : it->second.get();
}

// The only position this sequencer starts from is 0, the beginning.
DWORD ParseFrom(const Words& words, std::size_t* i)
{
    if (++*i == words.size())
        return MCIERR_MISSING_PARAMETER;
    const std::string& value = words[*i];
    char* end = nullptr;
    long position = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0')
        return MCIERR_BAD_INTEGER;
    return position == 0 ? DWORD(0) : DWORD(MCIERR_UNSUPPORTED_FUNCTION);
}

void StartPlay(Device& device, HWND target)
{
    if (device.player->Stop() && device.notifyWindow != nullptr)
        PostNotice(device.notifyWindow, MM_MCINOTIFY, MCI_NOTIFY_ABORTED, device.id);
    device.notifyWindow = target;
    UINT id = device.id;
    device.player->Play([target, id](bool reachedEnd) {
        if (target != nullptr)
            PostNotice(target, MM_MCINOTIFY,
                       reachedEnd ? MCI_NOTIFY_SUCCESSFUL : MCI_NOTIFY_FAILURE, id);
    });
}

DWORD PlayDevice(DeviceTable& table, const Words& words, HWND callback)
{
    if (words.size() < 2)
        return MCIERR_MISSING_DEVICE_NAME;
    Device* device = FindDevice(table, words[1]);
    if (device == nullptr)
        return MCIERR_INVALID_DEVICE_NAME;
    bool notify = false;
    bool fromStart = false;
    for (std::size_t i = 2; i < words.size(); ++i) {
        std::string keyword = LowerMciWord(words[i]);
        if (keyword == "notify") {
            notify = true;
        } else if (keyword == "from") {
            if (DWORD error = ParseFrom(words, &i))
                return error;
            fromStart = true;
        } else {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
    }
    if (!fromStart)
        return MCIERR_UNSUPPORTED_FUNCTION;
    StartPlay(*device, notify ? callback : nullptr);
    return 0;
}

// The player is stopped before the queue is purged, so no notice of the device can follow.
DWORD CloseDevice(DeviceTable& table, const Words& words)
{
    if (words.size() < 2)
        return MCIERR_MISSING_DEVICE_NAME;
    if (words.size() > 2)
        return MCIERR_UNRECOGNIZED_KEYWORD;
    auto it = table.byAlias.find(LowerMciWord(words[1]));
    if (it == table.byAlias.end())
        return MCIERR_INVALID_DEVICE_NAME;
    std::unique_ptr<Device> device = std::move(it->second);
    table.byAlias.erase(it);
    device->player->Stop();
    PurgeNotices(MM_MCINOTIFY, intptr_t(device->id));
    return 0;
}

void ShowHook(LPCSTR command, HWND callback)
{
    std::function<void(LPCSTR, HWND)> hook;
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        hook = g_hook;
    }
    if (hook)
        hook(command, callback);
}

} // namespace

DWORD mciSendStringA(LPCSTR command, LPSTR returnString, UINT returnLength, HWND callback)
{
    ShowHook(command, callback);
    if (returnString != nullptr && returnLength > 0)
        returnString[0] = '\0';
    Words words;
    if (command == nullptr)
        return MCIERR_MISSING_COMMAND_STRING;
    if (!SplitMciWords(command, &words))
        return MCIERR_NO_CLOSING_QUOTE;
    if (words.empty())
        return MCIERR_MISSING_COMMAND_STRING;
    DeviceTable& table = Devices();
    std::lock_guard<std::mutex> guard(table.lock);
    std::string verb = LowerMciWord(words[0]);
    if (verb == "open")
        return OpenDevice(table, words, returnString, returnLength);
    if (verb == "play")
        return PlayDevice(table, words, callback);
    if (verb == "close")
        return CloseDevice(table, words);
    return MCIERR_UNRECOGNIZED_COMMAND;
}

void MciSetPacing(bool realTime)
{
    g_realTime = realTime;
}

void MciSetCommandHook(std::function<void(LPCSTR command, HWND callback)> hook)
{
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_hook = std::move(hook);
}
