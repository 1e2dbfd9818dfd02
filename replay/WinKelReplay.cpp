// WinKelReplay: replays a call trace that the harness saved against the
// engine beside the program, for runs nobody watches, and compares every
// result with the recorded one.
//
//   WinKelReplay.exe <trace file> [/report <file>]
//
// It prints the replayed trace, a line a call, and the summary, and writes
// the same to the report (UTF-8, CR LF; by default the trace's name with
// ".replay.txt" added). Exit codes:
//   0  every result matches
//   1  a result differs
//   2  the command line is wrong, or the trace cannot be read or holds nothing to replay
//   3  the engine faulted: the report ends with a line naming the call, the
//      exception and where it came from
//   4  the replay ran, but its report could not be written
#include "EncodeUtf8.h"
#include "EngineCalls.h"
#include "FaultReport.h"
#include "FaultTrace.h"
#include "FileBytes.h"
#include "Replay.h"
#include "RunningMark.h"
#include "Strings.h"
#include "resource.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {
enum ExitCode : int { kMatches = 0, kDiffers = 1, kCannotReplay = 2, kFaulted = 3, kNoReport = 4 };

const wchar_t kProgram[] = L"WinKelReplay";
const wchar_t kReportSuffix[] = L".replay.txt";
const wchar_t kUsage[] = L"usage: WinKelReplay.exe <trace file> [/report <file>]";

void Write(DWORD stream, const std::wstring &text)
{
    HANDLE handle = ::GetStdHandle(stream);
    DWORD mode = 0, written = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    if (::GetConsoleMode(handle, &mode)) {
        ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = EncodeUtf8(text);
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int Fail(int code, const std::wstring &text)
{
    Write(STD_ERROR_HANDLE, std::wstring(kProgram) + L": " + text + L"\r\n");
    return code;
}

// Prints the trace's lines as they come: after each call, what it wrote.
class Printer : public ReplayWatcher {
public:
    explicit Printer(const CCallTrace &trace) : m_trace(trace) {}
    void Replayed(const TraceLine &, int) override { Flush(); }
    void Flush() noexcept
    {
        try {
            Write(STD_OUTPUT_HANDLE, m_trace.LinesFrom(m_printed));
            m_printed = m_trace.LineCount();
        } catch (...) {
            // Nothing printed; the report holds it all.
        }
    }

private:
    const CCallTrace &m_trace;
    std::size_t m_printed = 0;
};

// What the fault witness needs: it runs where no argument can reach it.
struct FaultScene {
    const std::wstring *report = nullptr;
    HWND window = nullptr;
    Printer *printer = nullptr;
};
FaultScene g_scene;

void OnFault(DWORD code, const void *address) noexcept
{
    if (g_scene.report)
        WriteTraceWithFault(*g_scene.report, g_scene.window, code, address);
    if (g_scene.printer)
        g_scene.printer->Flush();
}

// The parent the engine's windows need: a window of the program's own that
// relays its messages to the engine, as the harness's dialog does. It stays
// hidden: no window of this program waits for a person.
LRESULT CALLBACK ReplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    ForwardSendMessage(message, wParam, lParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateReplayWindow(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &ReplayWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kProgram;
    if (!::RegisterClassExW(&windowClass))
        return nullptr;
    return ::CreateWindowExW(0, kProgram, kProgram, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                             CW_USEDEFAULT, 1024, 768, nullptr, nullptr, instance, nullptr);
}

int Run(int argc, wchar_t **argv)
{
    std::wstring tracePath, reportPath;
    for (int i = 1; i < argc; ++i) {
        if (_wcsicmp(argv[i], L"/report") == 0 && i + 1 < argc && reportPath.empty())
            reportPath = argv[++i];
        else if (tracePath.empty() && argv[i][0] != L'/')
            tracePath = argv[i];
        else
            return Fail(kCannotReplay, kUsage);
    }
    if (tracePath.empty())
        return Fail(kCannotReplay, kUsage);
    if (reportPath.empty())
        reportPath = tracePath + kReportSuffix;

    TraceScript script;
    DWORD error = 0;
    if (!ReadTraceFile(tracePath, script, error))
        return Fail(kCannotReplay,
                    FormatString(LoadResString(IDS_CANNOT_READ_TRACE),
                                 {tracePath, SystemErrorText(error) + L" (" + std::to_wstring(error) + L")"}));
    if (!HasCallsToReplay(script))
        return Fail(kCannotReplay, FormatString(LoadResString(IDS_NOTHING_TO_REPLAY), {tracePath}));

    RunningMark running; // setup waits while the engine is loaded here too
    HWND window = CreateReplayWindow(::GetModuleHandleW(nullptr));
    if (!window)
        return Fail(kCannotReplay, L"no window for the engine: " + SystemErrorText(::GetLastError()));
    CCallTrace trace(SIZE_MAX);
    EngineCalls::Scope tracing(trace);
    Printer printer(trace);
    g_scene = {&reportPath, window, &printer};
    InstallFaultExit(kFaulted, &OnFault);

    ReplaySummary summary = Replay(script, tracePath, window, printer);
    printer.Flush();
    g_scene.printer = nullptr;
    // Out of the engine's hands before the report: a fault from here on is
    // the program's own and ends it the same way.
    const std::string report = EncodeUtf8(SavedTraceText(window, trace.Text()));
    SaveOutcome saved = ReplaceFileBytes(reportPath, report);
    if (!saved.saved)
        return Fail(kNoReport, SaveReport(reportPath, saved));
    return summary.differing > 0 ? kDiffers : kMatches;
}
} // namespace

int wmain(int argc, wchar_t **argv)
{
    // Neither the loader nor the system's fault reporting may wait for a person.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    try {
        return Run(argc, argv);
    } catch (...) {
        return Fail(kCannotReplay, L"no memory was left for the replay");
    }
}
