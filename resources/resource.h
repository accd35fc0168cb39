// Resource and control ids of the bar program. Each area keeps its ids in its own block.
#pragma once

// Icons and bitmaps
#define IDI_PROGRAM 117
#define IDI_CLOSE_GLYPH 119
#define IDB_CLOSE_STRIP 100
#define IDB_HIDE_STRIP 103
#define IDB_NEW_BROWSER_STRIP 106

// Dialog templates
#define IDD_ABOUT 107

// Server message dialog
#define IDD_MESSAGE 108
#define IDC_MESSAGE_BUTTON1 212
#define IDC_MESSAGE_BUTTON2 213
#define IDC_MESSAGE_BUTTON3 214
#define IDC_MESSAGE_BUTTON4 215
#define IDC_MESSAGE_TEXT 222
#define IDC_MESSAGE_FRAME 228
