// Text onto the clipboard, as the system's own Copy commands put it there.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's content with the text; false when the clipboard
// was busy or there was no memory, and the clipboard is then as it was or empty.
bool CopyTextToClipboard(HWND owner, const std::wstring &text);
