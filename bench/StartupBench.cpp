// Start-up as a user feels it: from starting the process to its frame being
// visible. WinKelExe on the sample engine against its floor, a bare Win32
// program with the host's resources making the same start-up calls on the same
// engine (bench/BareHost), and against a bare dialog loading no engine, which
// shows the engine's share; the three started in turn in the same run.
#include "Bench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const int kFrameStatic = 1002; // both programs' frames hold it

bool FrameVisible(const Process &process)
{
    for (HWND window : process.TopLevelWindows(true)) {
        if (::GetDlgItem(window, kFrameStatic))
            return true;
    }
    return false;
}

// Milliseconds from the start to the visible frame; negative when it never showed.
double TimeToFrame(const std::function<void(Sandbox &)> &prepare, const wchar_t *exe)
{
    Sandbox sandbox(L"bench");
    prepare(sandbox);
    double start = Now();
    // The engine as the demo runs it: no call log, no script.
    Process process = Process::Start(sandbox, exe, L"", {{L"SOLVETRIC_LOG", L""}, {L"SOLVETRIC_SCRIPT", L""}});
    while (!FrameVisible(process)) {
        if (!process.Running() || Now() - start > 30000)
            return -1;
        ::Sleep(1);
    }
    double elapsed = Now() - start;
    process.Kill();
    return elapsed;
}
} // namespace

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    struct Program {
        const wchar_t *exe;
        std::function<void(Sandbox &)> prepare;
        std::vector<double> times;
    } programs[] = {
        {L"WinKelExe.exe",
         [](Sandbox &s) {
             s.AddProgram(L"WinKelExe.exe");
             s.AddEngine();
         },
         {}},
        {L"BareHost.exe",
         [](Sandbox &s) {
             s.AddFile(BuildPath(L"bench\\BareHost.exe"));
             s.AddEngine();
         },
         {}},
        {L"BareDialog.exe", [](Sandbox &s) { s.AddFile(BuildPath(L"bench\\BareDialog.exe")); }, {}},
    };
    try {
        // One discarded round each: the first start also loads Wine's own libraries.
        for (Program &program : programs)
            TimeToFrame(program.prepare, program.exe);
        // Each round starts with another program: a start right after a program was ended
        // shares the machine with its cleaning up.
        for (int round = 0; round < rounds; ++round) {
            for (int k = 0; k < 3; ++k) {
                Program &program = programs[(round + k) % 3];
                double elapsed = TimeToFrame(program.prepare, program.exe);
                if (elapsed < 0) {
                    std::fprintf(stderr, "start-up: a frame never appeared\n");
                    return 1;
                }
                program.times.push_back(elapsed);
            }
        }
        double hostMedian = Median(programs[0].times), floorMedian = Median(programs[1].times),
               bareMedian = Median(programs[2].times);
        std::printf("| host start-up to the visible frame | %d | %.1f ms | bare program, same engine calls %.1f ms | "
                    "%.2f | - | - |\n",
                    rounds, hostMedian, floorMedian, hostMedian / floorMedian);
        std::printf("| host start-up against no engine | %d | %.1f ms | bare dialog %.1f ms | %.2f | - | - |\n", rounds,
                    hostMedian, bareMedian, hostMedian / bareMedian);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "start-up: %s\n", error.what());
        return 1;
    }
    return 0;
}
