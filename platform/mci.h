// mci.h -- stands in for the multimedia command-string interface (mciSendStringA) with the
// MIDI sequencer device: open a file under an alias, play it from the start, close it.
#pragma once

#include "platform/windefs.h"

#include <functional>

// Error codes, numbered as the Windows API numbers them; 0 is success.
enum : DWORD
{
    MCIERR_BASE = 256,
    MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3,
    MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5,
    MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7,
    MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10,
    MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11,
    MCIERR_BAD_INTEGER = MCIERR_BASE + 14,
    MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17,
    MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18,
    MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19,
    MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33,
    MCIERR_MISSING_DEVICE_NAME = MCIERR_BASE + 36,
    MCIERR_NO_CLOSING_QUOTE = MCIERR_BASE + 38,
    MCIERR_INVALID_FILE = MCIERR_BASE + 40,
    MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48,
};

// The wParam of MM_MCINOTIFY; its lParam is the device id.
enum : UINT
{
    MCI_NOTIFY_SUCCESSFUL = 1,
    MCI_NOTIFY_SUPERSEDED = 2,
    MCI_NOTIFY_ABORTED = 4,
    MCI_NOTIFY_FAILURE = 8,
};

// Runs one command. Keywords and aliases are matched without regard to case.
//   open sequencer!<file> [alias <name>]   the alias defaults to the file name; the return
//                                          string gets the device id
//   play <alias> from 0 [notify]           starts at the beginning; with notify, MM_MCINOTIFY
//                                          goes to callback when the tune reaches its end
//   close <alias>
// A new play cuts short the one under way, whose notice arrives as MCI_NOTIFY_ABORTED.
// After close no notice of that device arrives, not even one already queued.
// Positions other than 0, and play without "from", answer MCIERR_UNSUPPORTED_FUNCTION.
DWORD mciSendStringA(LPCSTR command, LPSTR returnString, UINT returnLength, HWND callback);

// Real time (the default): tunes play in their own time, heard when there is a sound card.
// Otherwise devices opened afterwards render silently as fast as they can, so that tests
// get their notices at once.
void MciSetPacing(bool realTime);

// Sees every command string with its callback window before it runs; for tests. An empty
// function removes it.
void MciSetCommandHook(std::function<void(LPCSTR command, HWND callback)> hook);
