// Command ids of the engine's menu and of the main window's strip buttons.
#pragma once

enum EngineCommand : unsigned {
    kCommandNew = 57600,
    kCommandOpen = 57601,
    kCommandSave = 57603,
    kCommandPrint = 57607,
    kCommandClose = 32774,
    kCommandExit = 57665,
    kCommandRefresh = 32778,
    kCommandHelpTopics = 57670,
    kCommandAbout = 57664,
    // The strip's Stop button; no menu item.
    kCommandStopPrint = 32790,
};
