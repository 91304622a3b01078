// resource.h -- the ids of the program's resources, commands and dialog controls.
#pragma once

// Shared by the document string, the menu, the accelerators, the toolbar, its button strip and
// the application icon.
#define IDR_MAINFRAME 128
#define IDI_DOCUMENT 129

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_NEWMAP 143
#define IDD_TILES 144
#define IDD_SPRITES 145
#define IDD_PARLANT 160
#define IDD_PLAY 170

// Bitmaps the editor itself shows.
#define IDB_TOOLBAR 128
#define IDB_PORTRAIT_DEFAULT 156

// Dialog controls.
#define IDC_MAP_WIDTH 1000
#define IDC_MAP_HEIGHT 1001
#define IDC_PALETTE 1002
#define IDC_WALKABLE 1003
#define IDC_SPRITE_LIST 1004
#define IDC_DIR_VERTICAL 1005
#define IDC_DIR_HORIZONTAL 1006
#define IDC_SPEECH 1007
#define IDC_SPEECH_LABEL 1008
#define IDC_TALK_NAME 1010
#define IDC_TALK_TEXT 1011
#define IDC_PORTRAIT 1012

// Command ids are written as the Windows API numbers commands (0x8000-0xFFFF) and kept to their
// low 15 bits: the toolkit takes menu and accelerator ids only below 0x7FFF.
#define COMMAND_ID(number) ((number) - 0x8000)

// The editor's own commands.
#define ID_EDIT_TILES COMMAND_ID(32771)
#define ID_VIEW_COLLISIONS COMMAND_ID(32772)
#define ID_EDIT_SPRITES COMMAND_ID(32773)
#define ID_DELETE_SPRITE COMMAND_ID(32778)
#define ID_RUN_GAME COMMAND_ID(32780)

// The framework's standard commands, under their standard numbers.
#define ID_FILE_NEW COMMAND_ID(57600)
#define ID_FILE_OPEN COMMAND_ID(57601)
#define ID_FILE_SAVE COMMAND_ID(57603)
#define ID_FILE_SAVE_AS COMMAND_ID(57604)
#define ID_FILE_PRINT COMMAND_ID(57607)
#define ID_FILE_MRU_FILE1 COMMAND_ID(57616)
#define ID_FILE_MRU_FILE4 COMMAND_ID(57619)
#define ID_EDIT_COPY COMMAND_ID(57634)
#define ID_EDIT_CUT COMMAND_ID(57635)
#define ID_EDIT_PASTE COMMAND_ID(57637)
#define ID_EDIT_UNDO COMMAND_ID(57643)
#define ID_APP_ABOUT COMMAND_ID(57664)
#define ID_APP_EXIT COMMAND_ID(57665)
#define ID_NEXT_PANE COMMAND_ID(57680)
#define ID_PREV_PANE COMMAND_ID(57681)
#define ID_VIEW_TOOLBAR COMMAND_ID(59392)
#define ID_VIEW_STATUS_BAR COMMAND_ID(59393)

// String table entries that are not command prompts.
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139
