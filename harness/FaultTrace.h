// The call trace kept when the engine faults: the whole trace as Save...
// writes it, with a last line naming the fault, written before the program
// ends. The harness keeps it in a fixed file when the tester asks; the
// replay program in its report.
#pragma once

#include <windows.h>

#include <string>

// The trace's text as Save... writes it: the header naming the harness's
// window, then the lines.
std::wstring SavedTraceText(HWND harnessWindow, const std::wstring &lines);

// The harness's file: in the user's temporary folder, under the program's name.
std::wstring FaultTracePath();
// Arms the fault report with the harness's file, or disarms it; its box and
// the end come after either way.
void KeepTraceOnFault(bool keep, HWND harnessWindow);

// The current trace with the fault's line after it, written whole to path.
// For a fault witness: nothing escapes, and a failure costs only the file.
bool WriteTraceWithFault(const std::wstring &path, HWND harnessWindow, DWORD code, const void *address) noexcept;
