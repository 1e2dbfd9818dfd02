// What the harness's call trace costs a call: cheap entry points of the
// sample engine called through the command frame, which writes each to the
// trace, against the same calls made directly, alternating in one run. The
// trace is at its bound throughout, as in a long session. The relay row is
// the message relay with the trace not asking for it, as it runs by default.
//   bench_trace [calls]
#include "Bench.h"

#include "EngineCalls.h"
#include "HarnessApp.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {
struct Row {
    const char *name;
    std::function<void()> traced;
    std::function<void()> direct;
};

// Milliseconds per call: the median of seven rounds, each side in turn.
void Measure(const Row &row, int calls)
{
    std::vector<double> ours, floor;
    for (int round = 0; round < 7; ++round) {
        double start = Now();
        for (int i = 0; i < calls; ++i)
            row.traced();
        ours.push_back((Now() - start) / calls);
        start = Now();
        for (int i = 0; i < calls; ++i)
            row.direct();
        floor.push_back((Now() - start) / calls);
    }
    const double mine = Median(ours), bare = Median(floor);
    std::printf("| %s | %d | %.2f us per call | the call made directly %.2f us | %.2f | %.2f us more per call | - |\n",
                row.name, calls, mine * 1000.0, bare * 1000.0, mine / bare, (mine - bare) * 1000.0);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    const int calls = argc > 1 ? std::max(100, std::atoi(argv[1])) : 20000;
    try {
        CHarnessApp app; // owns the trace, as in the program
        EngineCalls::Scope tracing(app.CallTrace());
        Require(::SetDllDirectoryW(uidriver::BuildPath(L"dist").c_str()) != FALSE, "the engine's folder");
        Require(EngineCalls::Load() == KEL_OK, "the sample engine loads");
        CCallTrace &trace = app.CallTrace();
        int size = 0;
        for (std::size_t i = 0; i < CCallTrace::kDefaultBound; ++i)
            EngineCalls::Call(&Entry::Kel_GetSizeOfVersion, &size);
        Require(trace.LineCount() == CCallTrace::kDefaultBound, "the trace at its bound");

        std::wstring name(120, L'n'); // cut in the trace
        const Row rows[] = {
            {"call trace: Kel_GetSizeOfVersion(&size)",
             [&] { EngineCalls::Call(&Entry::Kel_GetSizeOfVersion, &size); },
             [&] { DirectCall()(&Entry::Kel_GetSizeOfVersion, &size); }},
            {"call trace: Kel_OpenSettings(a text of 120 characters), refused by the engine (5)",
             [&] { EngineCalls::Call(&Entry::Kel_OpenSettings, &name[0]); },
             [&] { DirectCall()(&Entry::Kel_OpenSettings, &name[0]); }},
            {"message relay while the trace leaves it out: Kel_SendMessage(WM_MOUSEMOVE)",
             [&] { ForwardSendMessage(WM_MOUSEMOVE, 0, 0, RelayCall()); },
             [&] { ForwardSendMessage(WM_MOUSEMOVE, 0, 0); }},
        };
        for (const Row &row : rows)
            Measure(row, calls);
        EngineCalls::Free();
        return 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "bench_trace: %s\n", error.what());
        return 1;
    }
}
