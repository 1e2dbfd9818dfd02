#pragma once

#include <windows.h>

#include <string>

// A string-table entry of the program, whatever its length; empty when the
// table lacks the id.
std::wstring LoadResString(UINT id, HINSTANCE instance = nullptr);
