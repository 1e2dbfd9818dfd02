// A "shfolder.dll" planted beside a program: it notes that it ran and answers
// every folder with a folder of its own.
#include <windows.h>

#include <cwchar>

namespace {
HMODULE g_self = nullptr;

void NoteThatItRan()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(g_self, path, MAX_PATH);
    wchar_t *slash = std::wcsrchr(path, L'\\');
    if (!slash)
        return;
    lstrcpyW(slash + 1, L"planted-ran.txt");
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
}
} // namespace

extern "C" HRESULT WINAPI SHGetFolderPathA(HWND, int, HANDLE, DWORD, char *path)
{
    lstrcpyA(path, "C:\\Planted");
    return S_OK;
}

extern "C" HRESULT WINAPI SHGetFolderPathW(HWND, int, HANDLE, DWORD, wchar_t *path)
{
    lstrcpyW(path, L"C:\\Planted");
    return S_OK;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        NoteThatItRan();
    }
    return TRUE;
}
