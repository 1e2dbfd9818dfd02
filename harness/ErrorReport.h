// Every result code the harness receives becomes a message of its own.
#pragma once

#include <windows.h>

#include <string>

// The text for a result code: empty for 0, the table's text for 1 to 43 (the
// XML codes 38 to 43 with the position), "Undefined Error Code!" otherwise.
std::wstring EngineErrorText(int code, int position);
// The table's text alone, without a position; empty for 0.
std::wstring EngineTableText(int code);

// Shows the error box for a non-zero code; 0 shows nothing.
void ReportEngineError(int code, int position);

// The harness's message box: no owner window, so the main dialog stays
// usable while it is open; caption "-== KEL TEST APPLICATION ==-".
int HarnessMessageBox(const std::wstring &text, UINT type);
int HarnessMessageBox(UINT stringId, UINT type);
