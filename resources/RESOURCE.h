// Resource and command ids shared by the resource script and the code.
#pragma once

#define IDI_GLIM 1
#define IDM_MAIN 501
#define IDM_VIEW_CONTEXT 502
#define IDA_MAIN 511
#define IDD_FIND 611

// Commands (WM_COMMAND low word).
#define IDC_NAVIGATE 1
#define IDM_EXIT 1001
#define IDM_COPY 1101
#define IDM_SELECTALL 1102
#define IDM_FIND 1103
#define IDM_FIND_NEXT 1104
#define IDM_FIND_PREV 1105
#define IDM_TOOLBAR 1201
#define IDM_STATUSBAR 1202
#define IDM_FOLDERTREE 1203
#define IDM_ENC_AUTO 1204
#define IDM_ENC_SJIS 1205
#define IDM_ENC_JIS 1206
#define IDM_ENC_EUC 1207
#define IDM_ENC_UTF16LE 1208
#define IDM_ENC_UTF16BE 1209
#define IDM_ENC_UTF8 1210
#define IDM_ENC_UTF7 1211
#define IDM_VIEW_AUTO 1212
#define IDM_VIEW_TEXT 1213
#define IDM_VIEW_HEX 1214
#define IDM_ZOOM_25 1215
#define IDM_ZOOM_50 1216
#define IDM_ZOOM_100 1217
#define IDM_ZOOM_200 1218
#define IDM_ZOOM_400 1219
#define IDM_ZOOM_FIT 1220
#define IDM_ICONVIEW 1221
#define IDM_STYLE_LARGE 1222
#define IDM_STYLE_SMALL 1223
#define IDM_STYLE_LIST 1224
#define IDM_STYLE_DETAILS 1225
#define IDM_ARRANGE 1226
#define IDM_SORT_NAME 1227
#define IDM_SORT_SIZE 1228
#define IDM_SORT_TYPE 1229
#define IDM_SORT_DATE 1230
#define IDM_UPFOLDER 1231
#define IDM_REFRESH 1232
#define IDM_SETTINGS 1233
// Zoom by steps and the neighbouring files of the list, from the preview.
#define IDM_ZOOM_IN 1240
#define IDM_ZOOM_OUT 1241
#define IDM_ZOOM_RESET 1242
#define IDM_NEXT_FILE 1243
#define IDM_PREV_FILE 1244
#define IDM_FOLLOW 1250
#define IDM_HELP_CONTENTS 1301
#define IDM_ABOUT 1302

// Toolbar, status bar, settings dialog and About box.
#define IDB_TOOLBAR 521
#define IDC_LINKHAND 529
#define IDD_SET_GENERAL 601
#define IDD_SET_TEXT 602
#define IDD_SET_BINARY 603
#define IDD_SET_IMAGE 604
#define IDD_SET_MEDIA 605
#define IDD_ABOUT 606

// The find box's controls.
#define IDC_FIND_TEXT 1601
#define IDC_FIND_CASE 1602
#define IDC_FIND_UP 1603
#define IDC_FIND_DOWN 1604

// Strings of the search.
#define IDS_FIND_NOT_FOUND 2101
#define IDS_FIND_WRAP_END 2102
#define IDS_FIND_WRAP_START 2103
#define IDS_FIND_PROGRESS 2104
#define IDS_FIND_FAILED 2105
#define IDS_FIND_NO_TEXT 2106
#define IDS_FOLDER_UNREADABLE 2301
#define IDS_FIND_NOT_IN_ENCODING 2107
#define IDS_NO_NEXT_FILE 2190
#define IDS_NO_PREV_FILE 2191
#define IDS_FILE_EJECTED 2210

// The pane's line for a file whose read did not end ("%s": its name).
#define IDS_READ_STALLED 2120

// The status bar while a file is followed, and while following is paused.
#define IDS_FOLLOWING 2200
#define IDS_FOLLOW_PAUSED 2201

// The folder choosers' prompts in the settings.
#define IDS_BROWSE_START_FOLDER 2111
#define IDS_BROWSE_SPI_FOLDER 2112

// Help asked for while the help file is not beside the program.
#define IDS_HELP_MISSING 2113
