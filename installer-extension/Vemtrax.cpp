// Vemtrax.dll: tells an installer where the installed software keeps its data.
#include "UserDirectory.h"

#include <new>

const Platform<char> &SystemPlatformAnsi()
{
    static const Platform<char> platform = {GetUserNameA,      GetSystemDirectoryA, LoadLibraryA,
                                            GetProcAddress,    GetFileAttributesA,  FreeLibrary};
    return platform;
}

const Platform<wchar_t> &SystemPlatformWide()
{
    static const Platform<wchar_t> platform = {GetUserNameW,      GetSystemDirectoryW, LoadLibraryW,
                                               GetProcAddress,    GetFileAttributesW,  FreeLibrary};
    return platform;
}

namespace {
template <class Char>
int Export(const Platform<Char> &platform, Char *outDirectory, const Char *subfolder1, const Char *subfolder2,
           const Char *userSubfolder) noexcept
{
    try {
        return ChooseUserDirectory(platform, outDirectory, subfolder1, subfolder2, userSubfolder);
    } catch (const std::bad_alloc &) {
        // Out of memory inside someone else's installer: an empty answer, not a crash.
        outDirectory[0] = 0;
        return 0;
    }
}
} // namespace

extern "C" int WINAPI GetUserDirectory16(char *outDirectory, const char *subfolder1, const char *subfolder2,
                                         const char *userSubfolder) noexcept
{
    return Export(SystemPlatformAnsi(), outDirectory, subfolder1, subfolder2, userSubfolder);
}

extern "C" int WINAPI GetUserDirectory32(wchar_t *outDirectory, const wchar_t *subfolder1,
                                         const wchar_t *subfolder2, const wchar_t *userSubfolder) noexcept
{
    return Export(SystemPlatformWide(), outDirectory, subfolder1, subfolder2, userSubfolder);
}

// Nothing to set up or tear down, for any notification.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) noexcept
{
    return TRUE;
}
