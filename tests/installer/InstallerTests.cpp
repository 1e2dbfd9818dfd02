// WinKelSetup.exe as IT runs it: silently, from a fresh folder that also holds
// a planted shfolder.dll. What it writes where, what the installed host does,
// what the uninstaller leaves. Everything it leaves in the Wine prefix is
// removed before and after each case.
#include "UiDriver.h"

#include "../../host/resource.h"
#include "ProductVersion.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const int kSkipped = 77; // ctest's SKIP_RETURN_CODE
const wchar_t kSetup[] = L"WinKelSetup.exe";
const wchar_t kProduct[] = L"" KEL_PRODUCT_NAME;
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" KEL_PRODUCT_NAME;
// The data directory's levels below the folder Vemtrax.dll starts from.
const std::wstring kDataLevels = std::wstring(L"\\") + kProduct + L"\\WinKel";

// The shipped installer, as ctest names it.
std::wstring SetupPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"KEL_SETUP", path, MAX_PATH);
    return path;
}

// A file of the build the installer comes from: "dist\\..." or "variants\\...".
std::wstring Shipped(const std::wstring &relative)
{
    std::wstring dist = SetupPath();
    dist.resize(dist.rfind(L'\\'));
    return dist.substr(0, dist.rfind(L'\\') + 1) + relative;
}

std::wstring FolderPath(int folder)
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

bool Exists(const std::wstring &path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadBytes(const std::wstring &path)
{
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

// The product's uninstall entry as the installer, a 32-bit program, sees the
// registry; null when there is none. The caller closes it.
HKEY OpenEntry(HKEY hive, REGSAM access = KEY_READ)
{
    HKEY key = nullptr;
    return ::RegOpenKeyExW(hive, kUninstallKey, 0, access | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS ? key : nullptr;
}
bool HasEntry(HKEY hive)
{
    HKEY key = OpenEntry(hive);
    if (key)
        ::RegCloseKey(key);
    return key != nullptr;
}
// A value of the entry; "(none)" or all bits set when it is missing.
std::wstring EntryText(HKEY hive, const wchar_t *name)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    HKEY key = OpenEntry(hive);
    LSTATUS status = key ? ::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) : ERROR_NOT_FOUND;
    if (key)
        ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? value : L"(none)";
}
DWORD EntryNumber(HKEY hive, const wchar_t *name)
{
    DWORD value = 0, size = sizeof value;
    HKEY key = OpenEntry(hive);
    LSTATUS status =
        key ? ::RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) : ERROR_NOT_FOUND;
    if (key)
        ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? value : 0xFFFFFFFF;
}
void DeleteEntry(HKEY hive)
{
    HKEY key = OpenEntry(hive, KEY_ALL_ACCESS);
    if (!key)
        return;
    ::RegDeleteTreeW(key, nullptr);
    ::RegCloseKey(key);
    HKEY parent = nullptr;
    const std::wstring path = kUninstallKey;
    if (::RegOpenKeyExW(hive, path.substr(0, path.rfind(L'\\')).c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                        &parent) == ERROR_SUCCESS) {
        ::RegDeleteKeyExW(parent, kProduct, KEY_WOW64_32KEY, 0);
        ::RegCloseKey(parent);
    }
}

// Where a shortcut leads; "" when it cannot be read.
std::wstring ShortcutTarget(const std::wstring &link)
{
    std::wstring target;
    IShellLinkW *shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void **>(&shellLink))))
        return target;
    IPersistFile *file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

// The sum of the files' sizes below a folder, in bytes.
unsigned long long FolderBytes(const std::wstring &folder)
{
    unsigned long long total = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            total += FolderBytes(folder + L"\\" + name);
        else
            total += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return total;
}

// One text of a file's version resource, in its first translation; "(none)"
// when it has none.
std::wstring VersionText(const std::wstring &file, const wchar_t *name)
{
    DWORD ignored = 0;
    std::vector<char> block(::GetFileVersionInfoSizeW(file.c_str(), &ignored) + 1);
    WORD *translation = nullptr;
    wchar_t *text = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation),
                          &length) ||
        length < 4)
        return L"(none)";
    wchar_t path[64];
    wsprintfW(path, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    if (!::VerQueryValueW(block.data(), (path + std::wstring(name)).c_str(), reinterpret_cast<void **>(&text), &length))
        return L"(none)";
    return text;
}

// Wine's load order of "shfolder.dll" for one program while this lives:
// the native one (a planted copy) before its own.
class NativeShfolderFirst {
public:
    explicit NativeShfolderFirst(const std::wstring &program)
        : m_key(L"Software\\Wine\\AppDefaults\\" + program)
    {
        const wchar_t order[] = L"native,builtin";
        EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeyValueW(HKEY_CURRENT_USER, (m_key + L"\\DllOverrides").c_str(),
                                                   L"shfolder", REG_SZ, order, sizeof order));
    }
    ~NativeShfolderFirst() { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str()); }
    NativeShfolderFirst(const NativeShfolderFirst &) = delete;
    NativeShfolderFirst &operator=(const NativeShfolderFirst &) = delete;

private:
    std::wstring m_key;
};

class Installer : public testing::Test {
protected:
    Installer()
    {
        CleanPrefix();
        m_sandbox.AddFile(SetupPath());
        m_sandbox.AddProgram(L"shfolder.dll");
        ::CoInitialize(nullptr);
    }
    ~Installer() override
    {
        m_host.reset();
        CleanPrefix();
        ::CoUninitialize();
    }

    // What an install leaves outside its folder: entries, shortcuts, data
    // directories (made empty by the installer or by a case).
    void CleanPrefix()
    {
        for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            DeleteEntry(hive);
        for (int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
            const std::wstring menu = FolderPath(folder) + L"\\" + kProduct;
            for (const wchar_t *link : {L"\\WinKelExe.lnk", L"\\WinKelTestExe.lnk"})
                ::DeleteFileW((menu + link).c_str());
            ::RemoveDirectoryW(menu.c_str());
        }
        for (int folder : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA}) {
            ::RemoveDirectoryW((FolderPath(folder) + kDataLevels).c_str());
            ::RemoveDirectoryW((FolderPath(folder) + L"\\" + kProduct).c_str());
        }
    }

    // Runs a program of the sandbox to its end; its exit code, or 99 when it
    // does not end in time.
    DWORD Run(const std::wstring &program, const std::wstring &args)
    {
        Process process = Process::Start(m_sandbox, program, args);
        DWORD code = 99;
        EXPECT_TRUE(process.WaitExit(120000, &code)) << Utf8(program) << " " << Utf8(args) << " ends";
        return code;
    }
    DWORD Install(const std::wstring &args) { return Run(kSetup, args); }

    std::wstring Programs() const { return m_sandbox.Path(L"Programs"); }

    // The entry of an install into Programs(), in one hive and not the other.
    void ExpectEntry(HKEY hive, HKEY otherHive)
    {
        EXPECT_EQ(kProduct, EntryText(hive, L"DisplayName"));
        EXPECT_EQ(L"" KEL_VERSION_TEXT, EntryText(hive, L"DisplayVersion"));
        EXPECT_EQ(kProduct, EntryText(hive, L"Publisher"));
        EXPECT_EQ(Programs(), EntryText(hive, L"InstallLocation"));
        EXPECT_EQ(L"\"" + Programs() + L"\\Uninstall.exe\"", EntryText(hive, L"UninstallString"));
        EXPECT_EQ(L"\"" + Programs() + L"\\Uninstall.exe\" /S", EntryText(hive, L"QuietUninstallString"));
        const unsigned long long kilobytes = FolderBytes(Programs()) / 1024;
        const DWORD estimated = EntryNumber(hive, L"EstimatedSize");
        EXPECT_TRUE(estimated + 1 >= kilobytes && estimated <= kilobytes + 1)
            << "estimated size " << estimated << " KB, the folder holds " << kilobytes << " KB";
        EXPECT_FALSE(HasEntry(otherHive)) << "an entry in the other hive";
    }

    // Both programs' shortcuts in one Start menu and none in the other.
    void ExpectShortcuts(int menuFolder, int otherMenuFolder)
    {
        for (const wchar_t *program : {L"WinKelExe", L"WinKelTestExe"}) {
            const std::wstring link = std::wstring(L"\\") + kProduct + L"\\" + program + L".lnk";
            EXPECT_EQ(Programs() + L"\\" + program + L".exe", ShortcutTarget(FolderPath(menuFolder) + link))
                << Utf8(link);
            EXPECT_FALSE(Exists(FolderPath(otherMenuFolder) + link)) << Utf8(link) << " in the other menu";
        }
    }

    // After an uninstall: the entry, the shortcuts and the programs are gone.
    void ExpectRemoved(HKEY hive, int menuFolder)
    {
        EXPECT_FALSE(HasEntry(hive)) << "the entry stays";
        EXPECT_FALSE(Exists(FolderPath(menuFolder) + L"\\" + kProduct)) << "the shortcuts' folder stays";
        for (const wchar_t *file : {L"WinKelExe.exe", L"WinKelTestExe.exe", L"Solvetric.dll", L"docs"})
            EXPECT_FALSE(Exists(Programs() + L"\\" + file)) << Utf8(file) << " stays";
    }

    Sandbox m_sandbox{L"installer"};
    std::unique_ptr<Process> m_host;
};
} // namespace

TEST_F(Installer, SilentInstallUpgradeAndUninstall)
{
    const std::wstring planted = m_sandbox.Path(L"shfolder.dll");
    const std::wstring plantRan = m_sandbox.Path(L"planted-ran.txt");
    NativeShfolderFirst setupOrder(kSetup);
    {
        // The plant works: a program beside it loading the name bare gets it.
        m_sandbox.AddProgram(L"vemtrax_caller.exe");
        NativeShfolderFirst callerOrder(L"vemtrax_caller.exe");
        EXPECT_EQ(0u, Run(L"vemtrax_caller.exe", L"--bare-load"));
        EXPECT_EQ("bare load: " + Utf8(planted) + "\n", m_sandbox.ReadFileBytes(L"result.txt"));
        ::DeleteFileW(plantRan.c_str());
    }

    ASSERT_EQ(0u, Install(L"/S /D=" + Programs())) << "the installer's exit code";
    struct File {
        const wchar_t *name;
        std::wstring sameAs; // "" when only its presence is checked
    } files[] = {
        {L"WinKelExe.exe", Shipped(L"dist\\WinKelExe.exe")},
        {L"WinKelTestExe.exe", Shipped(L"dist\\WinKelTestExe.exe")},
        {L"Solvetric.dll", Shipped(L"dist\\Solvetric.dll")},
        {L"Uninstall.exe", L""},
        {L"README.md", L""},
        {L"docs\\harness.md", L""},
        {L"docs\\sample-engine.md", L""},
    };
    for (const File &file : files) {
        const std::wstring path = Programs() + L"\\" + file.name;
        EXPECT_TRUE(Exists(path)) << Utf8(file.name) << " is installed";
        if (!file.sameAs.empty()) {
            EXPECT_TRUE(ReadBytes(path) == ReadBytes(file.sameAs)) << Utf8(file.name) << " is the built one";
        }
    }
    ExpectShortcuts(CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS);
    ExpectEntry(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE);

    // No application data folder of the user's own yet: the shared one.
    const std::wstring shared = FolderPath(CSIDL_COMMON_APPDATA) + kDataLevels + L"\\";
    const std::wstring own = FolderPath(CSIDL_APPDATA) + kDataLevels + L"\\";
    EXPECT_EQ(shared, EntryText(HKEY_CURRENT_USER, L"DataDirectory"));
    EXPECT_TRUE(Exists(shared)) << "the installer made " << Utf8(shared);
    EXPECT_FALSE(Exists(plantRan)) << "the planted shfolder.dll was loaded";

    // The installed host frames the sample engine.
    m_sandbox.WriteScript("nosplash\n");
    m_host = std::make_unique<Process>(Process::Start(m_sandbox, L"Programs\\WinKelExe.exe"));
    HWND frame = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] {
            for (HWND window : m_host->TopLevelWindows()) {
                if (ClassName(window) == L"#32770" && ::GetDlgItem(window, IDC_NOT_LOADED))
                    frame = window;
            }
            return frame != nullptr;
        },
        20000))
        << "the host's frame appears";
    EXPECT_TRUE(WaitCallLogPrefix(m_sandbox, "Kel_GetMainMenu(", 10000)) << "the engine's start-up ran to its end";
    EXPECT_FALSE(frame && IsVisible(Child(frame, IDC_NOT_LOADED))) << "the frame says the engine did not load";
    m_host->Kill();
    m_host.reset();

    // Again, now that the user has a folder of his own: the same place, that folder.
    ASSERT_TRUE(::SHCreateDirectoryExW(nullptr, own.c_str(), nullptr) == ERROR_SUCCESS);
    ASSERT_EQ(0u, Install(L"/S")) << "the upgrade's exit code";
    EXPECT_EQ(Programs(), EntryText(HKEY_CURRENT_USER, L"InstallLocation")) << "upgraded in place";
    EXPECT_EQ(own, EntryText(HKEY_CURRENT_USER, L"DataDirectory"));
    EXPECT_FALSE(Exists(plantRan)) << "the planted shfolder.dll was loaded";

    // As IT uninstalls: the entry's quiet command, whose work goes on in a copy.
    EXPECT_EQ(0u, Run(L"Programs\\Uninstall.exe", L"/S")) << "the uninstaller's exit code";
    // The entry goes last.
    EXPECT_TRUE(WaitFor([&] { return !HasEntry(HKEY_CURRENT_USER); }, 60000)) << "the uninstaller's copy ends";
    ExpectRemoved(HKEY_CURRENT_USER, CSIDL_PROGRAMS);
    EXPECT_TRUE(Exists(shared)) << "the shared data directory is kept";
    EXPECT_TRUE(Exists(own)) << "the user's data directory is kept";
}

TEST_F(Installer, AllUsersWithAnEngineOfTheirOwn)
{
    // A copy of the sample engine with bytes of its own, in a folder with a blank.
    ASSERT_TRUE(::CreateDirectoryW(m_sandbox.Path(L"my engine").c_str(), nullptr));
    const std::string engine = ReadBytes(Shipped(L"dist\\Solvetric.dll")) + "their own";
    m_sandbox.WriteFileBytes(L"my engine\\Solvetric.dll", engine);
    m_sandbox.WriteFileBytes(L"my engine\\Incomplete.dll",
                             ReadBytes(Shipped(L"variants\\without-Kel_Exit\\Solvetric.dll")));

    // An engine that will not do fails the install before anything is written.
    for (const wchar_t *bad : {L"Missing.dll", L"Incomplete.dll"}) {
        SCOPED_TRACE(Utf8(bad));
        const std::wstring path = m_sandbox.Path(L"my engine\\") + bad;
        EXPECT_EQ(2u, Install(L"/S /ALLUSERS /ENGINE=\"" + path + L"\" /D=" + Programs()));
        EXPECT_FALSE(Exists(Programs()));
        EXPECT_FALSE(HasEntry(HKEY_LOCAL_MACHINE) || HasEntry(HKEY_CURRENT_USER)) << "an entry was written";
    }

    ASSERT_EQ(0u, Install(L"/S /ALLUSERS /ENGINE=\"" + m_sandbox.Path(L"my engine\\Solvetric.dll") + L"\" /D=" +
                        Programs()));
    EXPECT_TRUE(ReadBytes(Programs() + L"\\Solvetric.dll") == engine) << "the engine installed is the one named";
    EXPECT_FALSE(Exists(Programs() + L"\\docs\\sample-engine.md")) << "the sample engine's document is installed";
    ExpectShortcuts(CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS);
    ExpectEntry(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER);
    const std::wstring shared = FolderPath(CSIDL_COMMON_APPDATA) + kDataLevels + L"\\";
    EXPECT_EQ(shared, EntryText(HKEY_LOCAL_MACHINE, L"DataDirectory"));

    // An upgrade that names no engine keeps theirs rather than bring the sample's.
    ASSERT_EQ(0u, Install(L"/S /ALLUSERS")) << "the upgrade's exit code";
    EXPECT_EQ(Programs(), EntryText(HKEY_LOCAL_MACHINE, L"InstallLocation")) << "upgraded in place";
    EXPECT_TRUE(ReadBytes(Programs() + L"\\Solvetric.dll") == engine) << "the upgrade replaced their engine";

    // In place, for its exit code: it cannot remove itself then.
    EXPECT_EQ(0u, Run(L"Programs\\Uninstall.exe", L"/S _?=" + Programs())) << "the uninstaller's exit code";
    ExpectRemoved(HKEY_LOCAL_MACHINE, CSIDL_COMMON_PROGRAMS);
    EXPECT_TRUE(Exists(shared)) << "the data directory is kept";
}

TEST(Shipped, EveryBinaryCarriesTheHostsVersion)
{
    for (const wchar_t *file : {L"WinKelExe.exe", L"WinKelTestExe.exe", L"Vemtrax.dll", L"WinKelSetup.exe"}) {
        SCOPED_TRACE(Utf8(file));
        const std::wstring path = Shipped(std::wstring(L"dist\\") + file);
        EXPECT_EQ(L"" KEL_VERSION_TEXT, VersionText(path, L"FileVersion"));
        EXPECT_EQ(L"" KEL_VERSION_TEXT, VersionText(path, L"ProductVersion"));
        EXPECT_EQ(kProduct, VersionText(path, L"ProductName"));
        EXPECT_NE(L"(none)", VersionText(path, L"FileDescription"));
        EXPECT_NE(L"(none)", VersionText(path, L"OriginalFilename"));
    }
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!Exists(SetupPath())) {
        std::printf("There is no installer %s to test.\n", Utf8(SetupPath()).c_str());
        return 1;
    }
    // A 32-bit test program running proves that 32-bit programs run; a
    // 64-bit one tries to start the installer, held before its first step.
    if (sizeof(void *) != 4) {
        std::wstring setup = SetupPath(), command = L"\"" + setup + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (!::CreateProcessW(setup.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                              nullptr, &startup, &started)) {
            std::printf("32-bit programs cannot run here (%s did not start: error %lu): the installer's tests are "
                        "skipped\n",
                        Utf8(setup).c_str(), ::GetLastError());
            return kSkipped;
        }
        ::TerminateProcess(started.hProcess, 1);
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
    }
    return RUN_ALL_TESTS();
}
