#include "UiDriver.h"

#include "DriverInternals.h"

#include <tlhelp32.h>

#include <algorithm>
#include <new>

namespace uidriver {
namespace {
using detail::SystemFailure;

// Window class and environment variable names ignore case.
int CompareNames(const std::wstring &a, const std::wstring &b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
}

bool SameName(const std::wstring &a, const std::wstring &b) { return CompareNames(a, b) == CSTR_EQUAL; }

// The name in a "NAME=value" entry; names of the hidden "=C:" kind start
// with '='.
std::wstring NameOf(const std::wstring &entry) { return entry.substr(0, entry.find(L'=', 1)); }

std::vector<std::wstring> CurrentEnvironment()
{
    struct Block {
        wchar_t *strings = ::GetEnvironmentStringsW();
        ~Block()
        {
            if (strings)
                ::FreeEnvironmentStringsW(strings);
        }
    } block;
    if (!block.strings)
        throw SystemFailure(L"cannot read the environment");
    std::vector<std::wstring> entries;
    for (const wchar_t *entry = block.strings; *entry; entry += entries.back().size() + 1)
        entries.emplace_back(entry);
    return entries;
}

// The block CreateProcessW takes: sorted without regard to case, as Windows
// keeps its own.
std::vector<wchar_t> EnvironmentBlock(const Process::Environment &changes)
{
    std::vector<std::wstring> entries = CurrentEnvironment();
    for (const auto &change : changes) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const std::wstring &entry) { return SameName(NameOf(entry), change.first); }),
                      entries.end());
        if (!change.second.empty())
            entries.push_back(change.first + L"=" + change.second);
    }
    std::sort(entries.begin(), entries.end(), [](const std::wstring &a, const std::wstring &b) {
        return CompareNames(NameOf(a), NameOf(b)) == CSTR_LESS_THAN;
    });
    std::vector<wchar_t> block;
    for (const std::wstring &entry : entries) {
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

std::wstring CaptionOf(HWND window)
{
    // GetWindowTextW reads a caption without sending, so a hung program
    // cannot stall the search.
    wchar_t caption[512] = {};
    int length = ::GetWindowTextW(window, caption, 512);
    return std::wstring(caption, static_cast<std::size_t>(length > 0 ? length : 0));
}

bool IsMessageBox(HWND window)
{
    HWND text = ::GetDlgItem(window, 0xFFFF);
    return ClassName(window) == L"#32770" && text && SameName(ClassName(text), L"Static");
}

struct Search {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
    bool failed = false;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) noexcept
{
    Search &search = *reinterpret_cast<Search *>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || (search.visibleOnly && !::IsWindowVisible(window)))
        return TRUE;
    try {
        search.found.push_back(window);
        return TRUE;
    } catch (...) {
        search.failed = true;
        return FALSE;
    }
}
} // namespace

Process Process::Start(const Sandbox &sandbox, const std::wstring &exeName, const std::wstring &args,
                       const Environment &extraEnv, bool rawTail, const std::wstring &output)
{
    const std::wstring path = sandbox.Path(exeName);
    std::wstring commandLine = L"\"" + path + L"\"";
    if (rawTail)
        commandLine += args;
    else if (!args.empty())
        commandLine += L" " + args;
    std::vector<wchar_t> commandBuffer(commandLine.begin(), commandLine.end());
    commandBuffer.push_back(L'\0');

    Environment changes = sandbox.EngineEnvironment();
    changes.insert(changes.end(), extraEnv.begin(), extraEnv.end());
    std::vector<wchar_t> environment = EnvironmentBlock(changes);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    unique_file outputFile;
    if (!output.empty()) {
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        outputFile.reset(::CreateFileW(sandbox.Path(output).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!outputFile)
            throw SystemFailure(L"cannot make " + sandbox.Path(output));
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = startup.hStdError = outputFile.get();
    }
    PROCESS_INFORMATION started = {};
    // Wine now and then fails a start it makes a moment later (seen: error 1359).
    auto start = [&] {
        return ::CreateProcessW(path.c_str(), commandBuffer.data(), nullptr, nullptr, outputFile ? TRUE : FALSE,
                                CREATE_UNICODE_ENVIRONMENT, environment.data(), sandbox.Dir().c_str(), &startup,
                                &started) != FALSE;
    };
    if (!start() && (::Sleep(500), !start()))
        throw SystemFailure(L"cannot start " + path);
    unique_kernel_handle thread(started.hThread);
    return Process(unique_kernel_handle(started.hProcess), started.dwProcessId);
}

Process::~Process()
{
    if (m_process)
        Kill();
}

Process &Process::operator=(Process &&other) noexcept
{
    if (this != &other) {
        if (m_process)
            Kill();
        m_process = std::move(other.m_process);
        m_id = other.m_id;
    }
    return *this;
}

bool Process::Running() const { return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD ms, DWORD *exitCode)
{
    if (!m_process || ::WaitForSingleObject(m_process.get(), ms) != WAIT_OBJECT_0)
        return false;
    return !exitCode || ::GetExitCodeProcess(m_process.get(), exitCode);
}

void Process::Kill()
{
    if (Running()) {
        ::TerminateProcess(m_process.get(), 1);
        ::WaitForSingleObject(m_process.get(), 10000);
    }
}

std::vector<HWND> Process::TopLevelWindows(bool visibleOnly) const
{
    Search search{m_id, visibleOnly, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    if (search.failed)
        throw std::bad_alloc();
    return search.found;
}

HWND Process::FindWindowOf(const wchar_t *className, const wchar_t *caption, bool visibleOnly) const
{
    for (HWND window : TopLevelWindows(visibleOnly)) {
        if (SameName(ClassName(window), className) && (!caption || CaptionOf(window) == caption))
            return window;
    }
    return nullptr;
}

HWND Process::WaitWindow(const wchar_t *className, const wchar_t *caption, DWORD ms, bool visibleOnly) const
{
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowOf(className, caption, visibleOnly)) != nullptr; }, ms);
    return window;
}

HWND Process::FindDialogWith(int control, bool visibleOnly) const
{
    for (HWND window : TopLevelWindows(visibleOnly)) {
        if (ClassName(window) == L"#32770" && ::GetDlgItem(window, control))
            return window;
    }
    return nullptr;
}

HWND Process::WaitDialogWith(int control, DWORD ms) const
{
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindDialogWith(control)) != nullptr; }, ms);
    return dialog;
}

HWND Process::FindMessageBox(const wchar_t *caption) const
{
    for (HWND window : TopLevelWindows(true)) {
        if (IsMessageBox(window) && (!caption || CaptionOf(window) == caption))
            return window;
    }
    return nullptr;
}

HWND Process::WaitMessageBox(const wchar_t *caption, DWORD ms) const
{
    HWND box = nullptr;
    WaitFor([&] { return (box = FindMessageBox(caption)) != nullptr; }, ms);
    return box;
}

std::wstring Process::AnswerMessageBox(const wchar_t *caption, int button, DWORD ms) const
{
    HWND box = WaitMessageBox(caption, ms);
    if (!box)
        return caption ? L"(no message box captioned " + std::wstring(caption) + L")" : L"(no message box)";
    std::wstring text = MessageBoxText(box);
    if (!PressButton(box, button))
        return L"(no button " + std::to_wstring(button) + L" on the box: " + text + L")";
    if (!WaitNoWindow(box, 5000))
        return L"(the box stayed after its button: " + text + L")";
    return text;
}

bool Process::WaitNoWindow(HWND window, DWORD ms) const
{
    return WaitFor([&] { return !::IsWindow(window) || !::IsWindowVisible(window); }, ms);
}

bool Process::WaitIdle(DWORD ms) const
{
    const ULONGLONG end = ::GetTickCount64() + ms;
    if (!m_process || ::WaitForInputIdle(m_process.get(), ms) != 0)
        return false;
    for (HWND window : TopLevelWindows(true)) {
        ULONGLONG now = ::GetTickCount64();
        if (now >= end || !Sync(window, static_cast<DWORD>(end - now)))
            return false;
    }
    return true;
}

HWND FocusOf(const Process &process)
{
    unique_file snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return nullptr;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != process.Id())
            continue;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (::GetGUIThreadInfo(entry.th32ThreadID, &info) && info.hwndFocus)
            return info.hwndFocus;
    }
    return nullptr;
}

} // namespace uidriver
