#include "WinApp.h"

#include "MessageBox.h"
#include "Strings.h"

namespace {
CWinApp *g_app = nullptr;
}

CWinApp::CWinApp(UINT exceptionTextId) : m_exceptionTextId(exceptionTextId) { g_app = this; }

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::Start(HINSTANCE instance, const wchar_t *commandLine)
{
    // Before the program loads any library: one planted in the folder the user
    // starts it from is not loaded. Wine accepts the call but keeps the current
    // directory in its search, so only Windows shows the difference.
    ::SetDllDirectoryW(L"");
    m_hInstance = instance;
    m_threadId = ::GetCurrentThreadId();
    try {
        m_commandLine = CommandLineTail(commandLine);
        m_lpCmdLine = m_commandLine.c_str();
        InitInstance();
    } catch (...) {
        ReportException();
        return 1;
    }
    return 0;
}

void CWinApp::ReportException() noexcept
{
    // The main window was a local of InitInstance and is gone.
    m_pMainWnd = nullptr;
    try {
        std::wstring text = m_exceptionTextId ? LoadResString(m_exceptionTextId) : std::wstring();
        if (text.empty())
            text = L"The program met a fault it cannot handle and ends.";
        AfxMessageBox(text, MB_ICONERROR);
    } catch (...) {
        // Not even the box could be shown; the exit code still tells.
    }
}

CWinApp *AfxGetApp() { return g_app; }

CWinApp *AfxGetThread()
{
    return g_app && g_app->ThreadId() == ::GetCurrentThreadId() ? g_app : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

std::wstring ModuleFileName(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring AfxGetAppName()
{
    std::wstring path = ModuleFileName();
    size_t start = path.find_last_of(L"\\/");
    std::wstring name = start == std::wstring::npos ? path : path.substr(start + 1);
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

const wchar_t *CommandLineTail(const wchar_t *commandLine)
{
    const wchar_t *p = commandLine ? commandLine : L"";
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}
