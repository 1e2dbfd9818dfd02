// The harness soaked: Quick Start / Quick Free, Show GUI / Done and the
// parameter editor's open / Cancel, many times over, timed per cycle. The
// sample engine reports what the harness process holds each time it is
// loaded; across the rounds those counts must not grow.
#include "Bench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kProgram[] = L"WinKelTestExe.exe";

struct Counts {
    long windows = 0, menus = 0, gdi = 0;
};

std::vector<Counts> CountsInLog(const Sandbox &sandbox)
{
    std::vector<Counts> counts;
    for (const std::string &line : sandbox.CallLogMatching("handles ")) {
        Counts c;
        if (std::sscanf(line.c_str(), "handles windows=%ld menus=%ld gdi=%ld", &c.windows, &c.menus, &c.gdi) == 3)
            counts.push_back(c);
    }
    return counts;
}

std::string Growth(const Counts &first, const Counts &last)
{
    std::ostringstream text;
    text << "growth: windows " << last.windows - first.windows << " (of " << first.windows << "), menus "
         << last.menus - first.menus << " (of " << first.menus << "), GDI " << last.gdi - first.gdi << " (of "
         << first.gdi << ")";
    return text.str();
}
} // namespace

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 30;
    const int inner = 5; // GUI and editor cycles per round
    try {
        Sandbox sandbox(L"soak");
        sandbox.AddProgram(kProgram);
        sandbox.AddEngine();
        sandbox.WriteScript("nosplash\n");
        Process process = Process::Start(sandbox, kProgram, L"", {{L"SOLVETRIC_COUNT_HANDLES", L"1"}});
        HWND main = nullptr;
        WaitFor([&] { return (main = FindHarnessMain(process)) != nullptr; }, 10000);
        Require(main != nullptr, "the harness did not appear");
        auto state = [&](int id) { return Text(Child(main, id)); };

        double startFree = 0, gui = 0, editor = 0;
        for (int round = 0; round < rounds; ++round) {
            double t0 = Now();
            ClickId(main, IDC_QUICK_START);
            Require(WaitFor([&] { return state(IDC_STATUS_STATE) == L"Created"; }, 20000), "Quick Start");
            double t1 = Now();

            for (int i = 0; i < inner; ++i) {
                ClickId(main, IDC_SHOW_GUI);
                HWND dialog = process.WaitWindow(L"#32770", L"Enable/Disable GUI Controls", 10000);
                Require(dialog != nullptr, "Show GUI");
                ClickId(dialog, IDOK);
                Require(process.WaitNoWindow(dialog, 10000), "Done");
            }
            double t2 = Now();
            for (int i = 0; i < inner; ++i) {
                KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
                ClickId(main, IDC_KEL_EXIT);
                HWND dialog = process.WaitWindow(L"#32770", L"Kel Test Application Parameter Editor", 10000);
                Require(dialog != nullptr, "the parameter editor");
                ClickId(dialog, IDCANCEL);
                Require(process.WaitNoWindow(dialog, 10000), "Cancel");
            }
            double t3 = Now();

            ClickId(main, IDC_QUICK_FREE);
            Require(WaitFor([&] { return state(IDC_LIBRARY_STATE) == L"NULL"; }, 20000), "Quick Free");
            Require(Sync(main), "the harness answers");
            double t4 = Now();
            startFree += (t1 - t0) + (t4 - t3);
            gui += t2 - t1;
            editor += t3 - t2;
        }
        // One more load reports what the last round left behind.
        ClickId(main, IDC_LOAD);
        Require(WaitFor([&] { return state(IDC_LIBRARY_STATE) == L"LOADED"; }, 10000), "Load");
        std::vector<Counts> counts = CountsInLog(sandbox);
        Require(counts.size() == static_cast<std::size_t>(rounds) + 1, "a count for every load");
        // The first round creates what lives for the whole run (the GUI dialog): compare from the second on.
        std::string growth = Growth(counts[1], counts.back());
        std::printf("| harness Quick Start and Quick Free | %d | %.1f ms per cycle | %s | - |\n", rounds,
                    startFree / rounds, growth.c_str());
        std::printf("| harness Show GUI and Done | %d | %.1f ms per cycle | (same process) | - |\n", rounds * inner,
                    gui / (rounds * inner));
        std::printf("| harness parameter editor open and Cancel | %d | %.1f ms per cycle | (same process) | - |\n",
                    rounds * inner, editor / (rounds * inner));
        process.Kill();
        bool grew = counts.back().windows > counts[1].windows || counts.back().menus > counts[1].menus ||
                    counts.back().gdi > counts[1].gdi;
        return grew ? 2 : 0;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "soak: %s\n", error.what());
        return 1;
    }
}
