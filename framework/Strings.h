#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// A string-table entry of the program, whatever its length; empty when the
// table lacks the id.
std::wstring LoadResString(UINT id, HINSTANCE instance = nullptr);

// The pattern with %1 to %9 replaced by the arguments, as the framework's
// AfxFormatString does; a placeholder without an argument stays as it is.
std::wstring FormatString(const std::wstring &pattern, std::initializer_list<std::wstring> arguments);

// The system's wording for an error code, without its line end; %1 in it
// (as in "%1 is not a valid Win32 application.") stands for subject.
std::wstring SystemErrorText(DWORD error, const std::wstring &subject = L"%1");
