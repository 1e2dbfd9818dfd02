#pragma once

#include <windows.h>

#include <string>

// The framework's message box: the program's name as caption, owned by the
// main window while that is visible and enabled.
int AfxMessageBox(const std::wstring &text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);
