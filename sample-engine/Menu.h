// The menu the engine hands to its host.
#pragma once

#include "UniqueHandle.h"

unique_hmenu BuildMainMenu();
