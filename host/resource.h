#pragma once

#define IDC_STATIC (-1)

#define IDD_HOST 2619
#define IDR_MAINFRAME 2 // menu and icon

#define IDC_NOT_LOADED 1002

// Commands of the placeholder menu; the engine's menu uses the same numbers.
#define ID_FILE_PRINT 57607
#define ID_APP_EXIT 57665
#define ID_EDIT_UNDO 57643
#define ID_EDIT_CUT 57635
#define ID_EDIT_COPY 57634
#define ID_EDIT_PASTE 57637
#define ID_EDIT_CLEAR 57632
#define ID_REFRESH 32778
#define ID_OPEN_CATALOG 32772
#define ID_CHANGE_PASSWORD 32773
#define ID_HELP_TOPICS 32776
#define ID_APP_ABOUT 57664
#define ID_CLOSE_DOCUMENT 32774

#define IDS_CLOSE_DOCUMENT 378
#define IDS_CANNOT_CONTINUE 387
#define IDS_INTERNAL_ERROR 439
#define IDS_FILE_MISSING 448
#define IDS_WRONG_VERSION 459
#define IDS_CONFIRM_EXIT 17276
#define IDS_CANNOT_OPEN_SETTINGS 61215
