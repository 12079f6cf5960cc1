// Resource and command IDs. IDOK and IDCANCEL come with the platform.
#pragma once

#include "platform/window/messages.h"

#define IDC_STOP 3
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_GAME_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_BOARD 1000
#define IDC_TITLE 1001
#define IDM_ABOUTBOX 0x0010
#define IDM_SOUND 0x0020
#define IDM_AUDIOCUES 0x0030
