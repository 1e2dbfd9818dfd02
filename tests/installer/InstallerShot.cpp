// Not a test: walks WinKelSetup.exe through an install for the current user
// into its default folder and saves its components page and its finish page
// as BMP files, for the README; then uninstalls silently. From the top of the tree:
//   KEL_BUILD_DIR='Z:<path of build>' tools/with-display build
//       tools/wine-run build/tests/installer/installer_shot.exe <folder>
// writes <folder>\installer-components.bmp and <folder>\installer-finish.bmp.
#include "UiDriver.h"

#include "ProductVersion.h"

#include <shlobj.h>

#include <cstdio>
#include <stdexcept>

using namespace uidriver;

namespace {
// The buttons NSIS puts under every page.
const int kNext = 1;

// The visible page dialog inside the installer's window.
HWND Page(HWND window)
{
    for (HWND child : Children(window)) {
        if (ClassName(child) == L"#32770" && IsVisible(child))
            return child;
    }
    return nullptr;
}

void Shoot(HWND window, const std::wstring &path)
{
    Sync(window);
    ::Sleep(700);
    if (!Screenshot(path, window))
        throw std::runtime_error("no screenshot " + Utf8(path));
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: installer_shot <folder>\n");
        return 2;
    }
    const std::wstring folder = Wide(argv[1]);
    try {
        Sandbox sandbox(L"installer-shot");
        sandbox.AddProgram(L"WinKelSetup.exe");
        Process process = Process::Start(sandbox, L"WinKelSetup.exe");
        HWND window = process.WaitWindow(L"#32770", nullptr, 20000);
        if (!window)
            throw std::runtime_error("the installer did not appear");

        // Install mode, then components.
        WaitFor([&] { return Page(window) != nullptr; }, 10000);
        HWND mode = Page(window);
        ClickId(window, kNext);
        WaitFor([&] { return Page(window) != mode && Page(window) != nullptr; }, 10000);
        Shoot(window, folder + L"\\installer-components.bmp");

        // Components, folder, then the files; the finish page follows.
        ClickId(window, kNext);
        HWND components = Page(window);
        WaitFor([&] { return Page(window) != components; }, 10000);
        ClickId(window, kNext);
        if (!WaitText(Child(window, kNext), L"&Finish", 60000))
            throw std::runtime_error("no finish page");
        Shoot(window, folder + L"\\installer-finish.bmp");
        ClickId(window, kNext);
        DWORD code = 99;
        process.WaitExit(20000, &code);

        wchar_t programs[MAX_PATH] = {};
        DWORD size = sizeof programs;
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" KEL_PRODUCT_NAME,
                       L"InstallLocation", RRF_RT_REG_SZ, nullptr, programs, &size);
        std::wstring command = L"\"" + std::wstring(programs) + L"\\Uninstall.exe\" /S _?=" + programs;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
            throw std::runtime_error("the uninstaller did not start");
        ::WaitForSingleObject(started.hProcess, 60000);
        ::GetExitCodeProcess(started.hProcess, &code);
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
        ::DeleteFileW((std::wstring(programs) + L"\\Uninstall.exe").c_str());
        ::RemoveDirectoryW(programs);
        // The data directory it made, the user's own since it installed for the user alone.
        for (int folder : {CSIDL_APPDATA, CSIDL_COMMON_APPDATA}) {
            wchar_t data[MAX_PATH] = {};
            ::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, data);
            const std::wstring product = std::wstring(data) + L"\\" KEL_PRODUCT_NAME;
            ::RemoveDirectoryW((product + L"\\WinKel").c_str());
            ::RemoveDirectoryW(product.c_str());
        }
        return code == 0 ? 0 : 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "installer_shot: %s\n", error.what());
        return 1;
    }
}
