// Start-up as a user feels it: from starting the process to its frame being
// visible, WinKelExe on the sample engine against a bare dialog program, the
// two started alternately in the same run.
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
    Process process = Process::Start(sandbox, exe);
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
    auto host = [](Sandbox &s) {
        s.AddProgram(L"WinKelExe.exe");
        s.AddEngine();
    };
    auto bare = [](Sandbox &s) { s.AddFile(BuildPath(L"bench\\BareDialog.exe")); };
    try {
        // One discarded round each: the first start also loads Wine's own libraries.
        TimeToFrame(host, L"WinKelExe.exe");
        TimeToFrame(bare, L"BareDialog.exe");
        std::vector<double> hostTimes, bareTimes;
        for (int round = 0; round < rounds; ++round) {
            double h = TimeToFrame(host, L"WinKelExe.exe");
            double b = TimeToFrame(bare, L"BareDialog.exe");
            if (h < 0 || b < 0) {
                std::fprintf(stderr, "start-up: a frame never appeared\n");
                return 1;
            }
            hostTimes.push_back(h);
            bareTimes.push_back(b);
        }
        double hostMedian = Median(hostTimes), bareMedian = Median(bareTimes);
        std::printf("| host start-up to the visible frame | %d | %.1f ms | bare dialog %.1f ms | %.2f | - |\n", rounds,
                    hostMedian, bareMedian, hostMedian / bareMedian);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "start-up: %s\n", error.what());
        return 1;
    }
    return 0;
}
