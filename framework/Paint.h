// Painting a dialog program's icon in place of its minimised window.
#pragma once

#include <windows.h>

// When the window is minimised, paints it: icon background, then the icon
// centred in the client area. False when it is not minimised and was left
// for the default painting.
bool PaintMinimisedIcon(HWND window, HICON icon);
