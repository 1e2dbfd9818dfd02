// Text onto the clipboard, as the system's own Copy commands put it there.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's content with the text. Clipboard managers and
// remote desktop hold the clipboard open for a moment, so opening it is tried
// for about a quarter of a second. False with the system's error code when it
// stayed busy or there was no memory; the clipboard is then as it was or empty.
bool CopyTextToClipboard(HWND owner, const std::wstring &text, DWORD &error);
