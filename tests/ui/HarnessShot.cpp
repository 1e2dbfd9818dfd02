// Not a test: brings the harness up on the sample engine, opens the GUI
// element dialog beside it (or, with --trace, the call trace after a few
// more calls) and saves the screen as a BMP, for the README and the docs.
//   harness_shot <file.bmp> [--trace]
#include "UiDriver.h"

#include "../../harness/resource.h"

#include <cstdio>
#include <stdexcept>
#include <string>

using namespace uidriver;

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: harness_shot <file.bmp> [--trace]\n");
        return 2;
    }
    try {
        Sandbox sandbox(L"shot");
        sandbox.AddProgram(L"WinKelTestExe.exe");
        sandbox.AddEngine();
        sandbox.WriteScript("");
        Process process = Process::Start(sandbox, L"WinKelTestExe.exe");
        HWND main = process.WaitDialogWith(IDC_ENGINE_FRAME);
        if (!main)
            throw std::runtime_error("the harness did not appear");
        ClickId(main, IDC_QUICK_START);
        WaitText(Child(main, IDC_STATUS_STATE), L"Created", 20000);
        const bool trace = argc > 2 && std::string(argv[2]) == "--trace";
        if (trace) {
            ClickId(main, IDC_VERSION);
            process.AnswerMessageBox(L"-== KEL TEST APPLICATION ==-", IDOK);
            ClickId(main, IDC_KEL_EXIT);
            Sync(main);
            Command(main, ID_VIEW_CALL_TRACE);
        } else {
            ClickId(main, IDC_SHOW_GUI);
        }
        HWND tool = trace ? process.WaitWindow(L"#32770", L"Call Trace")
                          : process.WaitWindow(L"#32770", L"Enable/Disable GUI Controls");
        if (tool && !trace) { // the trace places itself
            RECT frame = WindowRect(main), own = WindowRect(tool);
            ::SetWindowPos(tool, nullptr, frame.right - (own.right - own.left) - 40,
                           frame.bottom - (own.bottom - own.top) - 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        // Opening the dialog lowered the engine's status window under Wine;
        // the frame's position change brings it back up, as moving it would.
        ::SetWindowPos(main, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Sync(main);
        ::Sleep(500);
        bool saved = Screenshot(Wide(argv[1]));
        process.Kill();
        return saved ? 0 : 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "harness_shot: %s\n", error.what());
        return 1;
    }
}
