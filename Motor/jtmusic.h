// jtmusic.h -- the music module: one MIDI tune opened, played from its start and closed
// through the multimedia command strings, with its end-of-play notice sent to a window.
#pragma once

#include "Motor/jtmodul.h"
#include "platform/windefs.h"

class JTMusic : public JTModul
{
public:
    // Registers the module in slot MODUL_MUSIC; hwndNotify receives the end-of-play notices.
    explicit JTMusic(HWND hwndNotify);
    ~JTMusic() override;

    // The module in its slot, NULL when there is none.
    static JTMusic* GetMusic();

    // Sends the open command for file under the alias "JTMusic". The module counts as open
    // afterwards whatever the command's result; a file name longer than kMaxFileName is
    // refused without sending anything, just as if the open had failed.
    void Open(const char* file);
    // When open: plays the tune from its beginning with a notice to the notify window.
    void Play();
    // When open: closes the tune; afterwards play and close do nothing until the next open.
    void Close();
    void SetNotifyWindow(HWND hwnd);

    // The open command must fit its 80-character buffer; its fixed text takes 29.
    static const int kMaxFileName = 50;

private:
    bool m_open;
    HWND m_hwndNotify;
};
