// Resource and control ids of the bar program. Each area keeps its ids in its own block.
#pragma once

// Icons and bitmaps
#define IDI_PROGRAM 117
#define IDI_CLOSE_GLYPH 119
#define IDB_CLOSE_STRIP 100
#define IDB_HIDE_STRIP 103
#define IDB_NEW_BROWSER_STRIP 106
// The same strips drawn at 150 % and 200 %.
#define IDB_CLOSE_STRIP_150 101
#define IDB_CLOSE_STRIP_200 102
#define IDB_HIDE_STRIP_150 104
#define IDB_HIDE_STRIP_200 105
#define IDB_NEW_BROWSER_STRIP_150 107
#define IDB_NEW_BROWSER_STRIP_200 108

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

// Preferences: the dialog, its five pages, their controls (each control's quick-help text is the string
// with the same id) and the dialog's strings.
#define IDD_PREFS_ADVANCED 110
#define IDD_PREFS_APPEARANCE 111
#define IDD_PREFS_BROWSERS 112
#define IDD_PREFS_GENERAL 113
#define IDD_PREFS_HOTKEYS 114
#define IDD_PREFERENCES 115
#define IDS_BAD_VALUE 136
#define IDS_PREFS_TIP 138
#define IDC_PREFS_ACTIVE_COLOUR 201
#define IDC_PREFS_ACTIVE_TEXT_COLOUR 202
#define IDC_PREFS_ALIGN 204
#define IDC_PREFS_MINIMIZE_ON_CLICK 205
#define IDC_PREFS_AUTOHIDE 206
#define IDC_PREFS_AUTORESTORE 207
#define IDC_PREFS_BAR_HEIGHT 208
#define IDC_PREFS_BACKGROUND_COLOUR 209
#define IDC_PREFS_CATCH_EXPLORER 216
#define IDC_PREFS_CLOSE_ON_EXIT 218
#define IDC_PREFS_FONT 226
#define IDC_PREFS_FORCE_OVER_FULLSCREEN 227
#define IDC_PREFS_ALIGN_HEIGHT 229
#define IDC_PREFS_HIDE_BROWSERS 233
#define IDC_PREFS_HOTKEY_HIDE 234
#define IDC_PREFS_HOTKEY_NEW 235
#define IDC_PREFS_HOTKEY_FOCUS 270
#define IDC_PREFS_BROWSE 236
#define IDC_PREFS_COMMAND 237
#define IDC_PREFS_ALIGN_LEFT 239
#define IDC_PREFS_MAXIMIZE 241
#define IDC_PREFS_DONT_CHANGE 246
#define IDC_PREFS_SHOW_AT_TOP 247
#define IDC_PREFS_OPEN_ON_START 248
#define IDC_PREFS_SHOW_CLOSE 250
#define IDC_PREFS_CLOSE_ACTIVE_ONLY 251
#define IDC_PREFS_START_IN_TRAY 252
#define IDC_PREFS_TEXT_COLOUR 253
#define IDC_PREFS_TIP 254
#define IDC_PREFS_ALIGN_TOP 255
#define IDC_PREFS_TREE 256
#define IDC_PREFS_ALIGN_WIDTH 258
#define IDC_PREFS_CATCH_OTHER_BROWSERS 259
#define IDC_PREFS_LANGUAGE 260
#define IDC_PREFS_BARS_ON 261
#define IDC_PREFS_BUTTONS_BY_MONITOR 262
#define IDC_PREFS_CURRENT_DESKTOP_ONLY 268
#define IDC_PREFS_ATTENTION_COLOUR 272
#define IDC_PREFS_MIDDLE_CLICK 271
#define IDC_PREFS_SHOW_ICONS 273

// Texts the code shows, in the string table of every language (resources/texts.rc for English,
// resources/lang/*.rc for the others). The bar menu's commands use their command ids.
#define IDS_MENU_WINDOW_LIST 120
#define IDS_MENU_ABOUT 121
#define IDS_MENU_CLOSE_ALL 123
#define IDS_MENU_EXIT 124
#define IDS_MENU_HIDE_RESTORE 125
#define IDS_MENU_NEW_BROWSER 126
#define IDS_MENU_MINIMIZE_ALL 127
#define IDS_MENU_PREFERENCES 131
// A launch error's text is this base plus the launch's result code (0, 2, 3 or 11).
#define IDS_LAUNCH_ERROR_BASE 400
#define IDS_BUTTON_MENU_RESTORE 420
#define IDS_BUTTON_MENU_MINIMIZE 421
#define IDS_BUTTON_MENU_CLOSE 422
// What a screen reader names a button's default action, beside the button menu's words.
#define IDS_ACTION_SWITCH_TO 425
#define IDS_ACTION_PRESS 426
#define IDS_TIP_NEW_BROWSER 430
#define IDS_TIP_CLOSE 431
#define IDS_TIP_HIDE 432
// A browser button's tool tip while its window calls for attention: "%s" stands for the title.
#define IDS_TIP_ATTENTION 436
#define IDS_TRAY_TIP 440
#define IDS_LOAD_FAILURE 441
#define IDS_PAGE_GENERAL 450
#define IDS_PAGE_APPEARANCE 451
#define IDS_PAGE_BROWSERS 452
#define IDS_PAGE_HOTKEYS 453
#define IDS_PAGE_ADVANCED 454
#define IDS_LANGUAGE_SYSTEM 455
#define IDS_BARS_ON_PRIMARY 456
#define IDS_BARS_ON_EVERY 457
#define IDS_BARS_ON_ONE 458
#define IDS_COLOUR_DEFAULT 460
#define IDS_COLOUR_OTHER 461
// The palette's 40 colour names, in palette order.
#define IDS_COLOUR_FIRST 500
