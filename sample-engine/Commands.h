// Command ids of the engine's menu and of the main window's strip buttons.
#pragma once

#include "EngineContract.h"

enum EngineCommand : unsigned {
    kCommandNew = ID_FILE_NEW,
    kCommandOpen = ID_FILE_OPEN,
    kCommandSave = ID_FILE_SAVE,
    kCommandPrint = ID_FILE_PRINT,
    kCommandClose = ID_CLOSE_DOCUMENT,
    kCommandExit = ID_APP_EXIT,
    kCommandRefresh = ID_REFRESH,
    kCommandHelpTopics = ID_ENGINE_HELP_TOPICS,
    kCommandAbout = ID_APP_ABOUT,
    // The strip's Stop button; no menu item, so it never reaches a program.
    kCommandStopPrint = 32790,
};
