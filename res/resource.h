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

// The editor's own commands.
#define ID_EDIT_TILES 32771
#define ID_VIEW_COLLISIONS 32772
#define ID_EDIT_SPRITES 32773
#define ID_DELETE_SPRITE 32778
#define ID_RUN_GAME 32780

// The framework's standard commands, under their standard numbers.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT 57607
#define ID_FILE_MRU_FILE1 57616
#define ID_FILE_MRU_FILE4 57619
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// String table entries that are not command prompts.
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139
