// The last word of a program that hit a fault nothing handled: a box with
// the given text and the error icon, then the process ends. Without it such
// a program would vanish silently or hang in a dead window.
#pragma once

#include <string>

// Reports access violations at addresses that lie in no loaded module (code
// of a library freed under its own windows) as soon as they happen, and every
// other exception that reaches the top unhandled. Installing again replaces
// the texts.
void InstallFaultReport(const std::wstring &text, const std::wstring &caption);
