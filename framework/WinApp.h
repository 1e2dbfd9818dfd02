// The application object: one per program, constructed statically; its
// InitInstance runs the program's main dialog.
#pragma once

#include "CmdTarget.h"

#include <string>

class CDialog;

class CWinApp : public CCmdTarget {
public:
    // exceptionTextId: the string-table entry that reports an exception which
    // escaped InitInstance; 0 for the framework's own wording.
    explicit CWinApp(UINT exceptionTextId = 0);
    ~CWinApp() override;
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;

    // Returns FALSE when the program is to end once it returns.
    virtual BOOL InitInstance() = 0;

    // Called by the program's entry point; the program's exit code. An
    // exception that escaped InitInstance (or a modal run in it) is reported
    // in a box and gives 1.
    int Start(HINSTANCE instance, const wchar_t *commandLine);

    HINSTANCE m_hInstance = nullptr;
    const wchar_t *m_lpCmdLine = L""; // after the program's name, leading blanks skipped
    CDialog *m_pMainWnd = nullptr;

    CDialog *GetMainWnd() const { return m_pMainWnd; }
    DWORD ThreadId() const { return m_threadId; }

private:
    void ReportException() noexcept;

    UINT m_exceptionTextId;
    std::wstring m_commandLine;
    DWORD m_threadId = 0;
};

CWinApp *AfxGetApp();
// The framework object of the calling thread: the application object on the
// thread that runs it, none on any other thread.
CWinApp *AfxGetThread();
HINSTANCE AfxGetInstanceHandle();
// The program's name: its file name without directory and extension.
std::wstring AfxGetAppName();
// The full path of a module's file, of the program's own for null.
std::wstring ModuleFileName(HMODULE module = nullptr);

// What follows the program's name in a command line, with the blanks in
// front of it skipped and otherwise unchanged (quotes stay, nothing split).
const wchar_t *CommandLineTail(const wchar_t *commandLine);
