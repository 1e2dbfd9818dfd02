// The platform calls the directory choice makes, as a table of function
// pointers: the exports pass the system's, tests pass their own.
#pragma once

#include <windows.h>

template <class Char> struct Platform {
    using FolderPathFunction = HRESULT(WINAPI *)(HWND owner, int folder, HANDLE token, DWORD flags, Char *path);

    BOOL(WINAPI *getUserName)(Char *buffer, LPDWORD size);
    UINT(WINAPI *getSystemDirectory)(Char *buffer, UINT size);
    HMODULE(WINAPI *loadLibrary)(const Char *path);
    FARPROC(WINAPI *getProcAddress)(HMODULE module, LPCSTR name);
    DWORD(WINAPI *getFileAttributes)(const Char *path);
    BOOL(WINAPI *freeLibrary)(HMODULE module);
};

// The system's own functions of each width: the A functions for
// GetUserDirectory16, the W functions for GetUserDirectory32. The exports'
// 16 and 32 name the installers of those days, not the width of a character.
const Platform<char> &SystemPlatformAnsi();
const Platform<wchar_t> &SystemPlatformWide();
