// Drives the real programs as a user meets them: each test gets a fresh
// folder, starts the program in it, finds its windows, clicks, types and
// reads them, and checks what the sample engine logged.
//
// Everything that waits has a bound; nothing sent to the other process can
// block longer than that bound, so a hung program fails its test instead of
// stopping the run.
#pragma once

#include <windows.h>

#include "UniqueHandle.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace uidriver {

std::string Utf8(const std::wstring &text);
std::wstring Wide(const std::string &utf8);

// KEL_BUILD_DIR + "\" + relative; throws std::runtime_error when the variable
// is unset, so a test run outside ctest fails with a readable message.
std::wstring BuildPath(const std::wstring &relative);

// Variables by name and value; an empty value removes one.
using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// A script that begins with this comment line keeps the engine's splash.
// Every other one gets "nosplash" before its first line: the splash would
// stand over each start for a second.
inline constexpr char kWithSplash[] = "# with the splash\n";

// A fresh folder under the temp directory, removed with everything in it
// unless KEL_KEEP_SANDBOX=1. Failures throw std::runtime_error.
class Sandbox {
public:
    explicit Sandbox(std::wstring name);
    ~Sandbox();
    Sandbox(Sandbox &&other) noexcept;
    Sandbox &operator=(Sandbox &&other) noexcept;
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    const std::wstring &Dir() const { return m_dir; }
    std::wstring Path(const std::wstring &name) const;

    // destName "" keeps the source's file name.
    void AddFile(const std::wstring &source, const std::wstring &destName = L"");
    // From dist\, tests\ or tests\rig\ of the build, the first that has it.
    void AddProgram(const std::wstring &exeName);
    // "" copies dist\Solvetric.dll, otherwise variants\<variant>\Solvetric.dll.
    void AddEngine(const std::wstring &variant = L"");
    // The sample engine with its import of the common controls renamed to a
    // library that no folder holds: it fails to load as one whose dependency
    // is missing does.
    void AddEngineWithMissingDependency();

    // Replaces the engine's script in one step: the engine never reads half of
    // it. Without kWithSplash, the script begins with "nosplash".
    void WriteScript(const std::string &utf8);
    std::wstring ScriptPath() const;
    std::wstring LogPath() const;
    // SOLVETRIC_SCRIPT and SOLVETRIC_LOG naming the two, for the engine in
    // whichever process loads it.
    Environment EngineEnvironment() const;
    // The engine's call log, one entry per line without its line end; empty
    // when the engine logged nothing yet.
    std::vector<std::string> CallLog() const;
    std::vector<std::string> CallLogMatching(const std::string &prefix) const;
    void ClearCallLog();

    void WriteFileBytes(const std::wstring &name, const std::string &bytes);
    std::string ReadFileBytes(const std::wstring &name) const;

private:
    std::wstring m_dir; // empty once moved from
};

// A program running in a sandbox. It never outlives its owner: the destructor
// ends it if it still runs, also when a test stops half-way.
class Process {
public:
    using Environment = uidriver::Environment;

    // Runs Sandbox::Path(exeName) in the sandbox with the command line
    // "<full path>" args (one blank between, none when args is empty), or
    // "<full path>" directly followed by args when rawTail is set. The
    // environment is this process's, with the sandbox's EngineEnvironment,
    // then extraEnv. With output, what a console program writes to its
    // standard output and error goes to that file of the sandbox. Tries once
    // more after a pause, then throws std::runtime_error when the program cannot start.
    static Process Start(const Sandbox &sandbox, const std::wstring &exeName, const std::wstring &args = L"",
                         const Environment &extraEnv = {}, bool rawTail = false, const std::wstring &output = L"");

    ~Process();
    Process(Process &&other) noexcept = default;
    Process &operator=(Process &&other) noexcept;
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process.get(); }
    bool Running() const;
    bool WaitExit(DWORD ms, DWORD *exitCode = nullptr);
    void Kill();

    std::vector<HWND> TopLevelWindows(bool visibleOnly = true) const;
    // caption nullptr matches any. nullptr when none appeared within ms.
    HWND WaitWindow(const wchar_t *className, const wchar_t *caption, DWORD ms = 10000,
                    bool visibleOnly = true) const;
    // A dialog (#32770) holding the control with that id, such as a program's
    // main window: nullptr when there is none, or none appeared within ms.
    HWND FindDialogWith(int control, bool visibleOnly = true) const;
    HWND WaitDialogWith(int control, DWORD ms = 10000) const;
    // A message box: a visible #32770 window with the text static 0xFFFF.
    HWND FindMessageBox(const wchar_t *caption) const;
    HWND WaitMessageBox(const wchar_t *caption, DWORD ms = 10000) const;
    // Waits for a message box, presses one of its buttons, waits until it is
    // gone and returns its text; on any failure a text in parentheses that
    // says what went wrong, so comparing it fails readably.
    std::wstring AnswerMessageBox(const wchar_t *caption, int button = IDOK, DWORD ms = 10000) const;
    // Until the window is destroyed or hidden.
    bool WaitNoWindow(HWND window, DWORD ms) const;
    // Until the program waits for input and its windows answer.
    bool WaitIdle(DWORD ms) const;

private:
    Process(unique_kernel_handle process, DWORD id) noexcept : m_process(std::move(process)), m_id(id) {}
    HWND FindWindowOf(const wchar_t *className, const wchar_t *caption, bool visibleOnly) const;

    unique_kernel_handle m_process;
    DWORD m_id = 0;
};

// Polls every 10 ms until condition holds or ms passed; true when it held.
bool WaitFor(const std::function<bool()> &condition, DWORD ms);
// Until the window's text is the one given; true when it came within ms.
bool WaitText(HWND window, const std::wstring &text, DWORD ms = 5000);

// Windows of the other process. Reads return "" / -1 / false / an empty rect
// for a window that is gone or does not answer within 5 s.
std::wstring Text(HWND window);
std::wstring ClassName(HWND window);
bool IsVisible(HWND window);
// The control with that id: a direct child, else the first nested one.
HWND Child(HWND parent, int id);
// Direct children in Z order.
std::vector<HWND> Children(HWND parent);
int ComboSelection(HWND combo);
std::vector<std::wstring> ComboItems(HWND combo);
bool IsChecked(HWND button);
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
std::wstring MessageBoxText(HWND box);
// Whether the box shows an icon (a static control drawn as one).
bool MessageBoxHasIcon(HWND box);

// Actions are posted, so one that opens a modal box returns at once.
void Click(HWND button);
void ClickId(HWND dialog, int id);
// Selects an item of a drop-down list and tells its parent, as a user's
// choice does.
void SelectComboItem(HWND combo, int index);
// WM_COMMAND with notification code 0, as a menu item sends it.
void Command(HWND window, int id);
// WM_COMMAND with notification code 1 and no control, as a keyboard
// accelerator sends it.
void AcceleratorCommand(HWND window, int id);
// Presses the box's button IDOK, IDYES, IDNO or IDCANCEL; false without one.
bool PressButton(HWND box, int id);
// Synchronous: the text is set when this returns.
void SetText(HWND window, const std::wstring &text);
// Answers an open common file dialog: types the path into its file name box
// and confirms, or cancels when the path is empty.
void AnswerFileDialog(HWND dialog, const std::wstring &path);
// One WM_CHAR per UTF-16 unit.
void TypeText(HWND window, const std::wstring &text);
// Key messages as the keyboard makes them: Alt and F10 are system keys, and
// F1 going down also brings the WM_KEYF1 from which windows raise WM_HELP.
void KeyDown(HWND target, UINT vk);
void KeyUp(HWND target, UINT vk);
void PressKey(HWND target, UINT vk);

HWND FocusOf(const Process &process);
// Returns once the window's thread has handled what the driver posted to it
// before; false when it does not answer within ms. A single answered WM_NULL
// would not do: sent messages are handled before queued ones. A visible
// window is also repainted on the way, since only its paint proves the queue empty.
bool Sync(HWND window, DWORD ms = 5000);

// Whether text matches the pattern, in which '*' stands for any run of
// characters and everything else for itself.
bool MatchesPattern(const std::string &pattern, const std::string &text);

// Whether the log has a line equal to / starting with the given text.
bool WaitCallLogLine(const Sandbox &sandbox, const std::string &line, DWORD ms);
bool WaitCallLogPrefix(const Sandbox &sandbox, const std::string &prefix, DWORD ms);

// The whole screen, or the window's part of it, as a 24-bit BMP file.
bool Screenshot(const std::wstring &bmpPath, HWND window = nullptr);

// The colour the screen shows at a client point of the window; CLR_INVALID
// when the point is off the screen or the window is gone.
COLORREF ScreenPixel(HWND window, POINT clientPoint);

} // namespace uidriver
