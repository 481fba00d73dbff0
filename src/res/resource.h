// Resource identifiers, shared by varnoke.rc and the C++ code.
// Plain #defines only: windres reads this file, and so does portable code that
// must not pull in <windows.h>. Code computes ids (month and weekday names, list
// entries, short-text rows) from the first id of a run, so keep runs contiguous.
#ifndef VARNOKE_RES_RESOURCE_H_
#define VARNOKE_RES_RESOURCE_H_

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ---------------------------------------------------------------------------
// Icons (group icons). 128 is the window-class icon; 129 doubles as the small
// caption icon of the history editor and the entry editor.
#define IDI_VARNOKE 128
#define IDI_NORMAL 129
#define IDI_PAUSED 130
#define IDI_CAPTURE 131

// Menu: popup 0 is the tray menu ("Right Click"), popup 1 the history
// editor's context menu.
#define IDR_MENU 132
#define IDR_MENU_POPUP_TRAY 0
#define IDR_MENU_POPUP_HISTORY_EDIT 1

// Application manifest (RT_MANIFEST 24, CREATEPROCESS_MANIFEST_RESOURCE_ID 1).
#define IDR_MANIFEST 1

// ---------------------------------------------------------------------------
// Commands of the tray menu.
#define ID_PAUSE 32771
#define ID_OPTIONS 32772
#define ID_HOTKEY_SETTINGS 32773
#define ID_CLEAR_CLIPBOARD 32775
#define ID_EDIT_HISTORY 32777
#define ID_SEARCH_HISTORY 32778
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_FINDER 57667
// The help button of the dialogs and the history editor's context menu.
#define ID_HELP 57670

// ---------------------------------------------------------------------------
// Version information dialog.
#define IDD_ABOUT 100
#define IDC_ABOUT_VERSION 1200
#define IDC_ABOUT_TEXT1 1201
#define IDC_ABOUT_TEXT2 1202

// Options dialog.
#define IDD_OPTIONS 133
#define IDC_HISTORY_NUM 1000
#define IDC_HISTORY_NUM_SPIN 1001
#define IDC_HISTORY_LEN 1002
#define IDC_HISTORY_MENU_LEN_SPIN 1003
#define IDC_HISTORY_MENU_LEN 1004
#define IDC_HISTORY_MENU_BREAK 1005
#define IDC_HISTORY_MENU_BREAK_SPIN 1006
#define IDC_HISTORY_ADD_NUM 1007
#define IDC_MENU_ORDER_NEWEST_LAST 1008
#define IDC_MENU_ORDER_NEWEST_FIRST 1009
#define IDC_HISTORY_ANIMATION 1010
#define IDC_HISTORY_WAVE 1011
#define IDC_HISTORY_WAVE_PATH 1012
#define IDC_HISTORY_WAVE_BROWSE 1013
#define IDC_HISTORY_WAVE_TEST 1014
#define IDC_PAUSE1_WAVE_BROWSE 1015
#define IDC_PAUSE1_WAVE_TEST 1016
#define IDC_PAUSE2_WAVE_BROWSE 1017
#define IDC_PAUSE2_WAVE_TEST 1018
#define IDC_HISTORY_DATA_SAVE 1036
#define IDC_HISTORY_DATA_PATH 1037
#define IDC_HISTORY_DATA_BROWSE 1038
#define IDC_PASTE_COMMAND 1059
#define IDC_HISTORY_SAVE_INTERVAL 1060
#define IDC_HISTORY_SAVE_INTERVAL_SPIN 1061
#define IDC_HISTORY_SAVE_INTERVAL_LABEL 1062
#define IDC_HISTORY_AUTO_SAVE 1064
#define IDC_HISTORY_STARTING 1066
#define IDC_HISTORY_COPE_WORD 1086
#define IDC_HISTORY_MOVE_UP 1087
#define IDC_HISTORY_ACCESS_KEY_LABEL 1100
#define IDC_HISTORY_ACCESS_KEY 1101
#define IDC_HISTORY_INSERT_POS 1102
#define IDC_HISTORY_STOP_OVERFLOW 1103
#define IDC_POPUP_POS 1107
#define IDC_PASTE_DELAY_TIME_SPIN 1118
#define IDC_PASTE_DELAY_TIME 1119
#define IDC_PAUSE_WAVE 1121
#define IDC_PAUSE1_WAVE_PATH 1122
#define IDC_PAUSE2_WAVE_PATH 1123
#define IDC_PAUSE1_LABEL 1124
#define IDC_PAUSE2_LABEL 1125
#define IDC_EXCLUDE_PROGRAMS_LABEL 1126
#define IDC_EXCLUDE_PROGRAMS 1127
#define IDC_HISTORY_DATA_PROTECT 1128

// Hot-key settings dialog. Rows of the short-text menus are FIRST + i, i = 0..4.
#define IDD_HOTKEY 134
#define IDC_PASTE_DIRECT 1017
#define IDC_PASTE_ONLY 1065
#define IDC_PASTE_RESTORE 1067
#define IDC_HOTKEY_ENABLE_HISTORY 2000
#define IDC_HOTKEY_ENABLE_EDITOR 2001
#define IDC_HOTKEY_ENABLE_TRAY_MENU 2002
#define IDC_HOTKEY_ENABLE_PAUSE 2003
#define IDC_HOTKEY_ENABLE_SEARCH 2004
#define IDC_HOTKEY_ENABLE_SHORTTEXT_FIRST 2010
#define IDC_HOTKEY_ENABLE_SHORTTEXT1 2010
#define IDC_HOTKEY_ENABLE_SHORTTEXT2 2011
#define IDC_HOTKEY_ENABLE_SHORTTEXT3 2012
#define IDC_HOTKEY_ENABLE_SHORTTEXT4 2013
#define IDC_HOTKEY_ENABLE_SHORTTEXT5 2014
#define IDC_HOTKEY_HISTORY 2100
#define IDC_HOTKEY_EDITOR 2101
#define IDC_HOTKEY_TRAY_MENU 2102
#define IDC_HOTKEY_PAUSE 2103
#define IDC_HOTKEY_SEARCH 2104
#define IDC_HOTKEY_SHORTTEXT_FIRST 2110
#define IDC_HOTKEY_SHORTTEXT1 2110
#define IDC_HOTKEY_SHORTTEXT2 2111
#define IDC_HOTKEY_SHORTTEXT3 2112
#define IDC_HOTKEY_SHORTTEXT4 2113
#define IDC_HOTKEY_SHORTTEXT5 2114
#define IDC_SHORTTEXT_PATH_FIRST 2210
#define IDC_SHORTTEXT_PATH1 2210
#define IDC_SHORTTEXT_PATH2 2211
#define IDC_SHORTTEXT_PATH3 2212
#define IDC_SHORTTEXT_PATH4 2213
#define IDC_SHORTTEXT_PATH5 2214
#define IDC_SHORTTEXT_BROWSE_FIRST 2310
#define IDC_SHORTTEXT_BROWSE1 2310
#define IDC_SHORTTEXT_BROWSE2 2311
#define IDC_SHORTTEXT_BROWSE3 2312
#define IDC_SHORTTEXT_BROWSE4 2313
#define IDC_SHORTTEXT_BROWSE5 2314
#define IDC_SHORTTEXT_EDIT_FIRST 2410
#define IDC_SHORTTEXT_EDIT1 2410
#define IDC_SHORTTEXT_EDIT2 2411
#define IDC_SHORTTEXT_EDIT3 2412
#define IDC_SHORTTEXT_EDIT4 2413
#define IDC_SHORTTEXT_EDIT5 2414

// History editor window; the buttons and its context menu share these ids.
#define IDD_HISTORY_EDIT 135
#define IDC_HISTEDIT_LIST 1039
#define IDC_HISTEDIT_DELETE 1044
#define IDC_HISTEDIT_UP 1045
#define IDC_HISTEDIT_DOWN 1046
#define IDC_HISTEDIT_EDIT 1073

// Entry text editor and its display settings dialog.
#define IDD_ENTRY_EDIT 138
#define IDC_ENTRY_TEXT 1068
#define IDC_ENTRY_SETTINGS 1089
#define IDD_EDITOR_SETTINGS 142
#define IDC_EDITOR_FONT 1090
#define IDC_EDITOR_FONT_SAMPLE 1091
#define IDC_EDITOR_WORD_WRAP 1092
#define IDC_EDITOR_TAB_STOPS 1093

// History search window.
#define IDD_HISTORY_SEARCH 156
#define IDC_SEARCH_LABEL 1130
#define IDC_SEARCH_TEXT 1131
#define IDC_SEARCH_LIST 1132

// History data file question.
#define IDD_LOAD_CONFLICT 155
#define IDC_CONFLICT_PATH 1110
#define IDC_CONFLICT_OVERWRITE 1111
#define IDC_CONFLICT_REPLACE 1112
#define IDC_CONFLICT_APPEND 1113

// ---------------------------------------------------------------------------
// Strings. Control tips are the strings whose ids equal the control ids above.

// Program title: registry application key and message-box caption.
#define IDS_APP_TITLE 57344

// Name and version; also the normal tray tooltip while the clipboard is empty.
#define IDS_APP_VERSION 210
#define IDS_TIP_PAUSED 211
#define IDS_TIP_CAPTURING 212

// Date and time names of the text macros. The month name is BASE + month
// (1..12), so 220 itself holds no string; weekdays are BASE + day of week
// (0 = Sunday).
#define IDS_MONTH_BASE 220
#define IDS_MONTH_JANUARY 221
#define IDS_MONTH_FEBRUARY 222
#define IDS_MONTH_MARCH 223
#define IDS_MONTH_APRIL 224
#define IDS_MONTH_MAY 225
#define IDS_MONTH_JUNE 226
#define IDS_MONTH_JULY 227
#define IDS_MONTH_AUGUST 228
#define IDS_MONTH_SEPTEMBER 229
#define IDS_MONTH_OCTOBER 230
#define IDS_MONTH_NOVEMBER 231
#define IDS_MONTH_DECEMBER 232
#define IDS_WEEKDAY_BASE 251
#define IDS_WEEKDAY_SUNDAY 251
#define IDS_WEEKDAY_MONDAY 252
#define IDS_WEEKDAY_TUESDAY 253
#define IDS_WEEKDAY_WEDNESDAY 254
#define IDS_WEEKDAY_THURSDAY 255
#define IDS_WEEKDAY_FRIDAY 256
#define IDS_WEEKDAY_SATURDAY 257
#define IDS_WEEKDAY_SHORT_BASE 258
#define IDS_WEEKDAY_SHORT_SUNDAY 258
#define IDS_WEEKDAY_SHORT_MONDAY 259
#define IDS_WEEKDAY_SHORT_TUESDAY 260
#define IDS_WEEKDAY_SHORT_WEDNESDAY 261
#define IDS_WEEKDAY_SHORT_THURSDAY 262
#define IDS_WEEKDAY_SHORT_FRIDAY 263
#define IDS_WEEKDAY_SHORT_SATURDAY 264
#define IDS_AM 275
#define IDS_PM 276
#define IDS_AM_JAPANESE 277
#define IDS_PM_JAPANESE 278

// Names of the hot-key slots in the registration failure message; 404 takes the
// short-text menu number (slot - 3) for its %d, and 405 names the search window's slot 9.
#define IDS_HOTKEY_NAME_HISTORY 400
#define IDS_HOTKEY_NAME_EDITOR 401
#define IDS_HOTKEY_NAME_TRAY_MENU 402
#define IDS_HOTKEY_NAME_PAUSE 403
#define IDS_HOTKEY_NAME_SHORTTEXT 404
#define IDS_HOTKEY_NAME_SEARCH 405

// Messages, printf-style placeholders.
#define IDS_MSG_HOTKEY_FAILED 500          // %s slot name, %s key name
#define IDS_MSG_TEXT_TOO_LONG 501          // %d HistoryLen, %d text length
#define IDS_MSG_SHORTTEXT_OPEN_FAILED 502  // %s path
#define IDS_MSG_HISTORY_NUM_EXCEEDED 503   // %d old HistoryNum
#define IDS_MSG_HISTORY_NUM_RAISED 504     // %d new HistoryNum
#define IDS_MSG_HISTORY_CUT 505            // %d maximum (300)
#define IDS_MSG_SAVE_OPEN_FAILED 510       // no placeholder
#define IDS_MSG_SAVE_READ_ONLY 511         // %s data file path
#define IDS_MSG_SAVE_RENAME_FAILED 512     // %s temporary file, %s data file path
#define IDS_MSG_HELP_OPEN_FAILED 513       // %s help file path
#define IDS_MSG_SAVE_PROTECT_FAILED 514    // no placeholder
#define IDS_MSG_HISTORY_LOAD_FAILED 520    // %s data file path
#define IDS_MSG_HISTORY_UNPROTECTABLE 521  // %s data file path

// Version information dialog texts.
#define IDS_ABOUT_TEXT1 600
#define IDS_ABOUT_TEXT2 601

// Entries of the options dialog's lists, in index order (first entry + index).
#define IDS_INSERT_POS_HEAD 700
#define IDS_INSERT_POS_TAIL 701
#define IDS_ACCESS_KEY_NONE 710
#define IDS_ACCESS_KEY_1_10 711
#define IDS_ACCESS_KEY_1_10_A_Z 712
#define IDS_ACCESS_KEY_ALL_ONES 713
#define IDS_ACCESS_KEY_ALL_TENS 714
#define IDS_POPUP_POS_CURSOR 720
#define IDS_POPUP_POS_TOP_LEFT 721
#define IDS_POPUP_POS_TOP_RIGHT 722
#define IDS_POPUP_POS_BOTTOM_LEFT 723
#define IDS_POPUP_POS_BOTTOM_RIGHT 724
#define IDS_POPUP_POS_CARET 725
#define IDS_PASTE_COMMAND_CTRL_V 730
#define IDS_PASTE_COMMAND_SHIFT_INS 731

// Face name of the history editor's list font.
#define IDS_HISTORY_LIST_FONT 740

// The dialogs' number validation messages (%1 lower bound, %2 upper bound).
#define IDS_PARSE_INT 61700
#define IDS_PARSE_INT_RANGE 61701

#endif  // VARNOKE_RES_RESOURCE_H_
