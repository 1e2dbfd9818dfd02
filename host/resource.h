#pragma once

#define IDC_STATIC (-1)

#define IDD_HOST 2619
#define IDR_MAINFRAME 2 // menu and icon

#define IDC_NOT_LOADED 1002

// Our own: why a library that is there did not load.
#define IDS_NOT_LOADABLE 62101

// The menu commands and the messages the engine may word.
#include "EngineContract.h"
