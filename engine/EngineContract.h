// The numbers both sides of the engine boundary agree on: result codes, the
// commands of the engine's menu, page codes, the main window's strip elements
// and the host messages the engine may word. The programs' resource scripts
// read the command and string ids, so those stay plain definitions.
#pragma once

// Commands of the engine's menu; the programs' placeholder menus use the same
// numbers, so a command from either reaches the same handler.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT 57607
#define ID_CLOSE_DOCUMENT 32774
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
// The engine's own Help Topics item: the framework's help command (F1).
#define ID_ENGINE_HELP_TOPICS 57670
#define ID_APP_ABOUT 57664

// Host messages the engine may word in its own string table (Kel_GetString).
#define IDS_CLOSE_DOCUMENT 378
#define IDS_CANNOT_CONTINUE 387
#define IDS_INTERNAL_ERROR 439
#define IDS_FILE_MISSING 448
#define IDS_WRONG_VERSION 459
#define IDS_HOST_CONFIRM_EXIT 17276
#define IDS_CANNOT_OPEN_SETTINGS 61215

#ifndef RC_INVOKED

// Every result code an entry point returns; 3 has no meaning.
enum KelResult : int {
    KEL_OK = 0,
    KEL_GENERAL_ERROR = 1,
    KEL_EXCEPTION_THROWN = 2,
    KEL_INVALID_PARAMETER = 4,
    KEL_INIT_NOT_CALLED = 5,
    KEL_INIT_CALLED_TWICE = 6,
    KEL_INIT_MAIN_FIRST = 7,
    KEL_STATUS_INIT_NOT_CALLED = 8,
    KEL_CREATE_CALLED_TWICE = 9,
    KEL_CREATE_FAILED = 10,
    KEL_DIALOG_INIT_FAILED = 11,
    KEL_MEMORY_ERROR = 12,
    KEL_INI_FILE_NOT_FOUND = 13,
    KEL_DOCUMENT_INIT_FAILED = 14,
    KEL_DUPLICATE_PAPER_NAMES = 15,
    KEL_CANNOT_WRITE_FILE = 16,
    KEL_CANNOT_OPEN_FILE = 17,
    KEL_WINDOW_NOT_CREATED = 18,
    KEL_INVALID_PRINTER = 19,
    KEL_INVALID_TAB_OR_DATA = 20,
    KEL_PRINT_WHILE_EDITING = 21,
    KEL_UNABLE_TO_EXIT_WHILE_PRINTING = 22,
    KEL_USER_CANCELED = 23,
    KEL_NOT_SETTINGS_FILE = 24,
    KEL_UNSUPPORTED_VERSION = 25,
    KEL_DLL_NOT_LOADED = 26,
    KEL_DLL_FUNCTION_MISSING = 27,
    KEL_NO_FILE_SELECTED = 28,
    KEL_CANNOT_OPEN_PRINTER = 29,
    KEL_VZT_CREATE_FAILED = 30,
    KEL_SEND_TO_PRINTER_FAILED = 31,
    KEL_CANNOT_READ_TIFF = 32,
    KEL_TIFF_CONVERSION_FAILED = 33,
    KEL_TIFF_NOT_BILEVEL = 34,
    KEL_PDF_RESOLUTION = 35,
    KEL_PDF_TILED_TIFF = 36,
    KEL_NO_DISK_SPACE = 37,
    KEL_XML_READ_ERROR = 38,
    KEL_XML_SYNTAX_ERROR = 39,
    KEL_XML_UNKNOWN_TAG = 40,
    KEL_XML_ILLEGAL_VALUE = 41,
    KEL_XML_ILLEGAL_ORDER = 42,
    KEL_XML_OTHER_ERROR = 43,
};

// The engine's pages by the codes Kel_ShowTab and Kel_ShowGuiElement take, in
// page order; Job Setup 2 came later, hence its number.
enum KelPage : int {
    KEL_PAGE_PRINTERS = 433,
    KEL_PAGE_FILES = 434,
    KEL_PAGE_JOB_SETUP_1 = 435,
    KEL_PAGE_JOB_SETUP_2 = 519,
    KEL_PAGE_CUSTOM_OPTIONS = 436,
    KEL_PAGE_PAPER_SUBSTITUTIONS = 437,
    KEL_PAGE_COLOR_MAPPING = 438,
};

// The main window's strip, by the ids Kel_ShowUIElement takes, left to right.
enum KelElement : int {
    KEL_ELEMENT_DOCUMENT_PANEL = 39,
    KEL_ELEMENT_NEW = 1,
    KEL_ELEMENT_SAVE = 36,
    KEL_ELEMENT_PRINT = 37,
    KEL_ELEMENT_REFRESH = 38,
    KEL_ELEMENT_STOP = 2,
    KEL_ELEMENT_PRINTER_PANEL = 43,
    KEL_ELEMENT_MESSAGE_PANEL = 80,
};

#endif
