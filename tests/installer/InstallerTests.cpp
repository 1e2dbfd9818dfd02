// WinKelSetup.exe as IT runs it: silently, from a fresh folder that also holds
// a planted shfolder.dll. What it writes where, what the installed host does,
// what the uninstaller leaves, and what the wizard lets a user do. Everything
// it leaves in the Wine prefix is removed before and after each case.
#include "UiDriver.h"

#include "../../host/resource.h"
#include "ProductVersion.h"
#include "RunningMark.h"

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kSetup[] = L"WinKelSetup.exe";
const wchar_t kTestSetup[] = L"WinKelSetupTest.exe"; // steers its elevation
const wchar_t kProduct[] = L"" KEL_PRODUCT_NAME;
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" KEL_PRODUCT_NAME;
// The data directory's levels below the folder Vemtrax.dll starts from.
const std::wstring kDataLevels = std::wstring(L"\\") + kProduct + L"\\WinKel";
// The Start menu's shortcuts, and the names earlier versions gave them.
const wchar_t *const kShortcuts[][2] = {{L"WinKel", L"WinKelExe"}, {L"WinKel Test Harness", L"WinKelTestExe"}};
// The setup's exit code while a program runs.
const DWORD kProgramsRunning = 3;

std::wstring Environment(const wchar_t *name)
{
    wchar_t value[MAX_PATH] = {};
    ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return value;
}
// The setup under test, as ctest names it, and the one the tests can steer.
std::wstring SetupPath() { return Environment(L"KEL_SETUP"); }
std::wstring TestSetupPath() { return Environment(L"KEL_TEST_SETUP"); }
// Whether the setups are 64-bit ones: they see the registry's 64-bit view.
bool Setup64() { return Environment(L"KEL_SETUP_BITS") == L"64"; }

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

REGSAM RegistryView() { return Setup64() ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

// The product's uninstall entry as the installer sees the registry; null when
// there is none. The caller closes it.
HKEY OpenEntry(HKEY hive, REGSAM access = KEY_READ)
{
    HKEY key = nullptr;
    return ::RegOpenKeyExW(hive, kUninstallKey, 0, access | RegistryView(), &key) == ERROR_SUCCESS ? key : nullptr;
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
    if (::RegOpenKeyExW(hive, path.substr(0, path.rfind(L'\\')).c_str(), 0, KEY_ALL_ACCESS | RegistryView(),
                        &parent) == ERROR_SUCCESS) {
        ::RegDeleteKeyExW(parent, kProduct, RegistryView(), 0);
        ::RegCloseKey(parent);
    }
}

// Where a shortcut leads and what it says of it; "" when it cannot be read.
std::wstring ShortcutTarget(const std::wstring &link, std::wstring *description = nullptr)
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
        wchar_t text[INFOTIPSIZE] = {};
        if (description && SUCCEEDED(shellLink->GetDescription(text, INFOTIPSIZE)))
            *description = text;
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

// Whether the folder's own access list lets the local Users group modify it
// and what it holds.
bool UsersMayModify(const std::wstring &folder)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    BYTE users[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof users;
    bool found = false;
    ::CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size);
    for (DWORD i = 0; dacl && i < dacl->AceCount && !found; ++i) {
        ACCESS_ALLOWED_ACE *ace = nullptr;
        if (::GetAce(dacl, i, reinterpret_cast<void **>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE)
            found = ::EqualSid(&ace->SidStart, users) && (ace->Mask & FILE_GENERIC_WRITE) == FILE_GENERIC_WRITE &&
                    (ace->Mask & DELETE) && (ace->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) ==
                                                (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    }
    ::LocalFree(descriptor);
    return found;
}

// Whether the platform keeps the access list a folder is given (Wine keeps none).
bool KeepsAccessLists(const std::wstring &folder)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::CreateDirectoryW(folder.c_str(), nullptr) ||
        !::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;OICI;0x1301bf;;;S-1-5-32-545)",
                                                                SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    ::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    std::wstring name = folder;
    const bool kept = ::SetNamedSecurityInfoW(&name[0], SE_FILE_OBJECT,
                                              DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                                              nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS &&
                      UsersMayModify(folder);
    ::LocalFree(descriptor);
    ::RemoveDirectoryW(folder.c_str());
    return kept;
}

// The running programs' mark as another user's copy holds it: this user may
// not open it.
class OtherUsersMark {
public:
    OtherUsersMark()
    {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:", SDDL_REVISION_1, &descriptor, nullptr))
            attributes.lpSecurityDescriptor = descriptor;
        m_mark.reset(::CreateMutexW(&attributes, FALSE, KEL_RUNNING_MARK_NAME));
        ::LocalFree(descriptor);
    }
    bool Denies() const
    {
        unique_kernel_handle opened(::OpenMutexW(SYNCHRONIZE, FALSE, KEL_RUNNING_MARK_NAME));
        return !opened && ::GetLastError() == ERROR_ACCESS_DENIED;
    }

private:
    unique_kernel_handle m_mark;
};

class Installer : public testing::Test {
protected:
    Installer()
    {
        CleanPrefix();
        m_sandbox.AddFile(SetupPath(), kSetup);
        m_sandbox.AddFile(TestSetupPath(), kTestSetup);
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
            for (const auto &names : kShortcuts) {
                for (const wchar_t *name : names)
                    ::DeleteFileW((menu + L"\\" + name + L".lnk").c_str());
            }
            ::RemoveDirectoryW(menu.c_str());
        }
        for (int folder : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA}) {
            ::RemoveDirectoryW((FolderPath(folder) + kDataLevels).c_str());
            ::RemoveDirectoryW((FolderPath(folder) + L"\\" + kProduct).c_str());
        }
        // Where a refused folder page would have let an install go.
        ::RemoveDirectoryW((FolderPath(CSIDL_PROGRAM_FILES) + L"\\" + kProduct).c_str());
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
    std::wstring SharedData() const { return FolderPath(CSIDL_COMMON_APPDATA) + kDataLevels + L"\\"; }
    std::wstring OwnData() const { return FolderPath(CSIDL_APPDATA) + kDataLevels + L"\\"; }

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

    // Both programs' shortcuts, named for what they start, in one Start menu and none in the other.
    void ExpectShortcuts(int menuFolder, int otherMenuFolder)
    {
        for (const auto &names : kShortcuts) {
            const std::wstring link = std::wstring(L"\\") + kProduct + L"\\" + names[0] + L".lnk";
            std::wstring description;
            EXPECT_EQ(Programs() + L"\\" + names[1] + L".exe", ShortcutTarget(FolderPath(menuFolder) + link, &description))
                << Utf8(link);
            EXPECT_FALSE(description.empty()) << Utf8(link) << " says what it starts";
            EXPECT_FALSE(Exists(FolderPath(otherMenuFolder) + link)) << Utf8(link) << " in the other menu";
            EXPECT_FALSE(Exists(FolderPath(menuFolder) + L"\\" + kProduct + L"\\" + names[1] + L".lnk"))
                << "the shortcut by file name stays";
        }
    }

    // After an uninstall: the entry, the shortcuts and the programs are gone.
    void ExpectRemoved(HKEY hive, int menuFolder)
    {
        EXPECT_FALSE(HasEntry(hive)) << "the entry stays";
        EXPECT_FALSE(Exists(FolderPath(menuFolder) + L"\\" + kProduct)) << "the shortcuts' folder stays";
        for (const wchar_t *file : {L"WinKelExe.exe", L"WinKelTestExe.exe", L"WinKelReplay.exe", L"Solvetric.dll", L"docs"})
            EXPECT_FALSE(Exists(Programs() + L"\\" + file)) << Utf8(file) << " stays";
    }

    // The installed host, framing the sample engine.
    void StartInstalledHost()
    {
        m_sandbox.WriteScript("");
        m_host = std::make_unique<Process>(Process::Start(m_sandbox, L"Programs\\WinKelExe.exe"));
        HWND frame = m_host->WaitDialogWith(IDC_NOT_LOADED, 20000);
        EXPECT_NE(nullptr, frame) << "the host's frame appears";
        EXPECT_TRUE(WaitCallLogPrefix(m_sandbox, "Kel_GetMainMenu(", 10000)) << "the engine's start-up ran to its end";
        EXPECT_FALSE(frame && IsVisible(Child(frame, IDC_NOT_LOADED))) << "the frame says the engine did not load";
    }

    Sandbox m_sandbox{L"installer"};
    std::unique_ptr<Process> m_host;
};

// The setup's wizard as a user meets it.
class Wizard : public Installer {
protected:
    static const int kNext = 1;

    // The setup started with its wizard; false when no window came.
    bool StartWizard(const std::wstring &args)
    {
        m_wizard = std::make_unique<Process>(Process::Start(m_sandbox, kTestSetup, args));
        m_window = m_wizard->WaitWindow(L"#32770", nullptr, 20000);
        return m_window && WaitFor([&] { return PageDialog() != nullptr; }, 10000) && Sync(m_window);
    }
    // The visible page inside the wizard's window.
    HWND PageDialog() const
    {
        for (HWND child : Children(m_window)) {
            if (ClassName(child) == L"#32770" && IsVisible(child))
                return child;
        }
        return nullptr;
    }
    // What the page shows, its controls' texts one after another.
    std::wstring PageText() const
    {
        std::wstring text;
        for (HWND control : Children(PageDialog()))
            text += Text(control) + L"\n";
        return text;
    }
    HWND ControlWithText(const std::wstring &caption) const
    {
        for (HWND control : Children(PageDialog())) {
            if (Text(control) == caption)
                return control;
        }
        return nullptr;
    }
    // Next refused with a box that says why: the wizard stays on the page.
    void ExpectNextRefused(const wchar_t *why, const char *stays)
    {
        HWND page = PageDialog();
        ClickId(m_window, kNext);
        const std::wstring box = m_wizard->AnswerMessageBox(nullptr);
        EXPECT_NE(std::wstring::npos, box.find(why)) << Utf8(box);
        EXPECT_TRUE(Sync(m_window));
        EXPECT_EQ(page, PageDialog()) << stays;
    }
    // Next, and the page that follows; false when none came.
    bool Next()
    {
        HWND page = PageDialog();
        ClickId(m_window, kNext);
        return WaitFor([&] { return PageDialog() != page && PageDialog() != nullptr; }, 60000) && Sync(m_window);
    }
    // From the components page to the finish page, into the folder; the finish page's text.
    std::wstring InstallFromComponents(const std::wstring &folder)
    {
        EXPECT_TRUE(Next()) << "the folder page";
        // The page takes the typed folder in a message it posts itself.
        SetText(Child(PageDialog(), 1019), folder);
        EXPECT_TRUE(Sync(m_window));
        EXPECT_TRUE(Next()) << "the install";
        EXPECT_TRUE(WaitText(Child(m_window, kNext), L"&Finish", 120000)) << "the finish page";
        std::wstring finish = PageText();
        ClickId(m_window, kNext);
        DWORD code = 99;
        EXPECT_TRUE(m_wizard->WaitExit(20000, &code));
        EXPECT_EQ(0u, code);
        return finish;
    }

    std::unique_ptr<Process> m_wizard;
    HWND m_window = nullptr;
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
        {L"WinKelExe.exe", BuildPath(L"dist\\WinKelExe.exe")},
        {L"WinKelTestExe.exe", BuildPath(L"dist\\WinKelTestExe.exe")},
        {L"WinKelReplay.exe", BuildPath(L"dist\\WinKelReplay.exe")},
        {L"Solvetric.dll", BuildPath(L"dist\\Solvetric.dll")},
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

    // Installed for the user alone, the data are the user's alone: the setup
    // made the user's own folder, and Vemtrax.dll answered with it.
    EXPECT_EQ(OwnData(), EntryText(HKEY_CURRENT_USER, L"DataDirectory"));
    EXPECT_TRUE(Exists(OwnData())) << "the installer made " << Utf8(OwnData());
    EXPECT_FALSE(Exists(SharedData())) << "and no shared one";
    EXPECT_FALSE(Exists(plantRan)) << "the planted shfolder.dll was loaded";

    // While the installed host runs, neither an upgrade nor the uninstaller changes anything.
    StartInstalledHost();
    const std::string readme = ReadBytes(Programs() + L"\\README.md");
    m_sandbox.WriteFileBytes(L"Programs\\README.md", "left by the user");
    EXPECT_EQ(kProgramsRunning, Install(L"/S")) << "the upgrade's exit code while the host runs";
    EXPECT_EQ(kProgramsRunning, Run(L"Programs\\Uninstall.exe", L"/S _?=" + Programs()))
        << "the uninstaller's exit code while the host runs";
    EXPECT_EQ("left by the user", ReadBytes(Programs() + L"\\README.md")) << "a file was changed";
    EXPECT_TRUE(Exists(Programs() + L"\\WinKelExe.exe") && Exists(Programs() + L"\\Uninstall.exe"));
    EXPECT_EQ(Programs(), EntryText(HKEY_CURRENT_USER, L"InstallLocation")) << "the entry stays";
    m_host->Kill();
    m_host.reset();

    // Another user's copy holds a mark this user may not open: running all the same.
    {
        OtherUsersMark other;
        if (other.Denies()) {
            EXPECT_EQ(kProgramsRunning, Install(L"/S")) << "with another user's copy running";
        } else {
            std::printf("Wine gives this user access to a mark it may not open: another user's copy cannot be "
                        "played here\n");
        }
    }

    // Then the upgrade goes through, in place, and keeps the data directory it had.
    ASSERT_EQ(0u, Install(L"/S")) << "the upgrade's exit code";
    EXPECT_EQ(readme, ReadBytes(Programs() + L"\\README.md")) << "the upgrade installed its files";
    EXPECT_EQ(Programs(), EntryText(HKEY_CURRENT_USER, L"InstallLocation")) << "upgraded in place";
    EXPECT_EQ(OwnData(), EntryText(HKEY_CURRENT_USER, L"DataDirectory"));
    EXPECT_FALSE(Exists(plantRan)) << "the planted shfolder.dll was loaded";

    // As IT uninstalls: the entry's quiet command, whose work goes on in a copy.
    EXPECT_EQ(0u, Run(L"Programs\\Uninstall.exe", L"/S")) << "the uninstaller's exit code";
    // The entry goes last.
    EXPECT_TRUE(WaitFor([&] { return !HasEntry(HKEY_CURRENT_USER); }, 60000)) << "the uninstaller's copy ends";
    ExpectRemoved(HKEY_CURRENT_USER, CSIDL_PROGRAMS);
    EXPECT_TRUE(Exists(OwnData())) << "the user's data directory is kept";
}

TEST_F(Installer, AllUsersWithAnEngineOfTheirOwn)
{
    // A copy of the sample engine with bytes of its own, in a folder with a blank.
    ASSERT_TRUE(::CreateDirectoryW(m_sandbox.Path(L"my engine").c_str(), nullptr));
    const std::string engine = ReadBytes(BuildPath(L"dist\\Solvetric.dll")) + "their own";
    m_sandbox.WriteFileBytes(L"my engine\\Solvetric.dll", engine);
    m_sandbox.WriteFileBytes(L"my engine\\Incomplete.dll",
                             ReadBytes(BuildPath(L"variants\\without-Kel_Exit\\Solvetric.dll")));

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
    EXPECT_EQ(SharedData(), EntryText(HKEY_LOCAL_MACHINE, L"DataDirectory"));
    if (KeepsAccessLists(m_sandbox.Path(L"probe"))) {
        EXPECT_TRUE(UsersMayModify(SharedData())) << "the setup made the shared directory, and every user may change it";
    } else {
        std::printf("The platform keeps no access lists: whether all users may change the data directory is not "
                    "seen here\n");
    }

    // An upgrade that names no engine keeps theirs rather than bring the sample's.
    ASSERT_EQ(0u, Install(L"/S /ALLUSERS")) << "the upgrade's exit code";
    EXPECT_EQ(Programs(), EntryText(HKEY_LOCAL_MACHINE, L"InstallLocation")) << "upgraded in place";
    EXPECT_TRUE(ReadBytes(Programs() + L"\\Solvetric.dll") == engine) << "the upgrade replaced their engine";

    // In place, for its exit code: it cannot remove itself then.
    EXPECT_EQ(0u, Run(L"Programs\\Uninstall.exe", L"/S _?=" + Programs())) << "the uninstaller's exit code";
    ExpectRemoved(HKEY_LOCAL_MACHINE, CSIDL_COMMON_PROGRAMS);
    EXPECT_TRUE(Exists(SharedData())) << "the data directory is kept";
}

// Wine grants every right and never asks for elevation: the test setup takes
// the elevation path when told the user lacks the rights, and fakes the
// prompt's answer when told what it was.
TEST_F(Installer, ElevationForAllUsers)
{
    struct Case {
        const char *name;
        const wchar_t *args;
        DWORD exitCode;
        bool installed;
    } cases[] = {
        {"the elevated copy installs", L"/S /ALLUSERS /TESTPRIVILEGES=User", 0, true},
        {"the prompt refused: nothing changed", L"/S /ALLUSERS /TESTPRIVILEGES=User /TESTELEVATION=1223", 1, false},
        {"an engine that will not do fails before the prompt",
         L"/S /ALLUSERS /TESTPRIVILEGES=User /TESTELEVATION=1223 /ENGINE=Missing.dll", 2, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.exitCode, Run(kTestSetup, std::wstring(c.args) + L" /D=" + Programs()));
        EXPECT_EQ(c.installed, HasEntry(HKEY_LOCAL_MACHINE)) << "the entry for all users";
        EXPECT_EQ(c.installed, Exists(Programs() + L"\\WinKelExe.exe"));
        EXPECT_FALSE(HasEntry(HKEY_CURRENT_USER)) << "an entry for the user alone";
        if (c.installed) {
            EXPECT_EQ(0u, Run(L"Programs\\Uninstall.exe", L"/S _?=" + Programs())) << "the uninstaller's exit code";
            CleanPrefix();
        }
    }
}

TEST_F(Wizard, SendsTheUserBackWhereAChoiceCannotWork)
{
    ASSERT_TRUE(StartWizard(L"/TESTPRIVILEGES=User /TESTELEVATION=1223"));

    // The mode page's two buttons are one group with one tab stop.
    HWND mine = ControlWithText(L"Only for &me"), all = ControlWithText(L"For &all users of this computer");
    ASSERT_TRUE(mine && all) << Utf8(PageText());
    const LONG mineStyle = ::GetWindowLongW(mine, GWL_STYLE), allStyle = ::GetWindowLongW(all, GWL_STYLE);
    EXPECT_EQ(WS_GROUP | WS_TABSTOP, mineStyle & (WS_GROUP | WS_TABSTOP)) << "the first starts the group";
    EXPECT_EQ(0, allStyle & (WS_GROUP | WS_TABSTOP)) << "the second belongs to it";

    // All users, and the prompt refused: the mode page again.
    Click(all);
    ASSERT_TRUE(Sync(all));
    ExpectNextRefused(L"the prompt for them was cancelled. Choose again.", "back on the mode page");

    // For the user alone, a folder under Program Files is refused when the page is left.
    Click(ControlWithText(L"Only for &me"));
    ASSERT_TRUE(Next()) << "the components page";
    ASSERT_TRUE(Next()) << "the folder page";
    HWND folderPage = PageDialog();
    SetText(Child(folderPage, 1019), FolderPath(CSIDL_PROGRAM_FILES) + L"\\" + kProduct);
    ASSERT_TRUE(Sync(m_window));
    ExpectNextRefused(L"is for programs installed for all users", "still on the folder page");

    // A folder of the user's: installed, and the finish page says whose data directory it is.
    SetText(Child(folderPage, 1019), Programs());
    ASSERT_TRUE(Sync(m_window));
    ASSERT_TRUE(Next()) << "the install";
    ASSERT_TRUE(WaitText(Child(m_window, kNext), L"&Finish", 120000)) << "the finish page";
    EXPECT_NE(std::wstring::npos, PageText().find(L"Your data directory, yours alone:\r\n" + OwnData()))
        << Utf8(PageText());
    ClickId(m_window, kNext);
    EXPECT_TRUE(m_wizard->WaitExit(20000));

    // The uninstaller, while the host runs, asks until it is closed.
    StartInstalledHost();
    m_wizard = std::make_unique<Process>(Process::Start(m_sandbox, L"Programs\\Uninstall.exe", L"_?=" + Programs()));
    m_window = m_wizard->WaitWindow(L"#32770", nullptr, 20000);
    ASSERT_TRUE(m_window && WaitFor([&] { return PageDialog() != nullptr; }, 10000) && Sync(m_window));
    ClickId(m_window, kNext);
    const wchar_t kClose[] = L"Close WinKelExe and WinKelTestExe, then choose Retry";
    EXPECT_EQ(kClose, m_wizard->AnswerMessageBox(nullptr, IDRETRY)) << "while the host runs";
    // Asked again while it still runs; closed, the next Retry goes on.
    HWND again = m_wizard->WaitMessageBox(nullptr);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(kClose, MessageBoxText(again)) << "asked again";
    m_host->Kill();
    m_host.reset();
    EXPECT_TRUE(Exists(Programs() + L"\\WinKelExe.exe")) << "nothing was removed while it ran";
    PressButton(again, IDRETRY);
    ASSERT_TRUE(WaitFor([&] { return !HasEntry(HKEY_CURRENT_USER); }, 60000)) << "the uninstall goes on";
    HWND close = Child(m_window, kNext);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(close) && Text(close) == L"&Close"; }, 60000))
        << "the uninstall ends";
    Click(close);
    DWORD code = 99;
    EXPECT_TRUE(m_wizard->WaitExit(20000, &code));
    EXPECT_EQ(0u, code);
    ExpectRemoved(HKEY_CURRENT_USER, CSIDL_PROGRAMS);
}

TEST_F(Wizard, FinishPageSaysWhatBecameOfTheDataDirectory)
{
    struct Case {
        const char *name;
        const wchar_t *args;
        bool ownFolder; // the user has a data directory of their own already
        const wchar_t *said;
    } cases[] = {
        {"the rights could not be given", L"/ALLUSERS /TESTRIGHTS=5", false,
         L"Other users may not be able to change what it holds: giving them the right failed (error 5)."},
        {"the user's own folder stays private", L"/ALLUSERS", true,
         L"You have a data directory of your own, so your data stay private to you"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.ownFolder) {
            ASSERT_EQ(ERROR_SUCCESS, ::SHCreateDirectoryExW(nullptr, OwnData().c_str(), nullptr));
        }
        ASSERT_TRUE(StartWizard(c.args));
        const std::wstring finish = InstallFromComponents(Programs());
        EXPECT_NE(std::wstring::npos, finish.find(c.said)) << Utf8(finish);
        EXPECT_EQ(0u, Run(L"Programs\\Uninstall.exe", L"/S _?=" + Programs())) << "the uninstaller's exit code";
        CleanPrefix();
    }
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (const std::wstring &setup : {SetupPath(), TestSetupPath()}) {
        if (!Exists(setup)) {
            std::printf("There is no installer %s to test.\n", Utf8(setup).c_str());
            return 1;
        }
    }
    return RUN_ALL_TESTS();
}
