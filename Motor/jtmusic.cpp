// jtmusic.cpp -- the music module over the sequencer's command strings.
#include "Motor/jtmusic.h"

#include "platform/mci.h"
#include "platform/wsprintf.h"

#include <cstring>

JTMusic::JTMusic(HWND hwndNotify) : JTModul(MODUL_MUSIC), m_open(false), m_hwndNotify(hwndNotify) {}

JTMusic::~JTMusic()
{
    Close();
}

JTMusic* JTMusic::GetMusic()
{
    return static_cast<JTMusic*>(JTModul::GetSlot(MODUL_MUSIC));
}

// A longer name would be cut off in the buffer and open some other file, or none.
void JTMusic::Open(const char* file)
{
    m_open = true;
    if (file == nullptr || std::strlen(file) > std::size_t(kMaxFileName))
        return;
    char command[80];
    wsprintfA(command, "open sequencer!%s alias JTMusic", file);
    mciSendStringA(command, nullptr, 0, nullptr);
}

void JTMusic::Play()
{
    if (m_open)
        mciSendStringA("play JTMusic from 0 notify", nullptr, 0, m_hwndNotify);
}

void JTMusic::Close()
{
    if (!m_open)
        return;
    mciSendStringA("close JTMusic", nullptr, 0, nullptr);
    m_open = false;
}

void JTMusic::SetNotifyWindow(HWND hwnd)
{
    m_hwndNotify = hwnd;
}
