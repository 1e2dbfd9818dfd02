// The harness soaked: Quick Start / Quick Free, Show GUI / Done, the parameter
// editor's open / Cancel and Load... / Save... of a small XML file, many
// cycles of each, timed per cycle against the same steps in their floor, a
// bare Win32 program with the harness's own dialogs (bench/BareHarness), and
// the file cycle also against a plain copy of the file. Around
// each run of cycles the sample engine is loaded once more to count what the
// harness process holds: windows, menus and GDI objects must not grow, and
// where they did, as many cycles again must not grow them further.
//   bench_soak [cycles]
#include "Bench.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kProgram[] = L"WinKelTestExe.exe";

struct Counts {
    long windows = 0, menus = 0, gdi = 0;
};

class Soak {
public:
    Soak()
        : m_sandbox(L"soak"), m_bareSandbox(L"soakbare"), m_process(Start(m_sandbox)),
          m_main(WaitHarnessMain(m_process)), m_bareProcess(StartBare(m_bareSandbox)),
          m_bare(WaitHarnessMain(m_bareProcess))
    {
    }

    struct Phase {
        const char *name;
        bool started; // the cycles run with the engine's windows up, on both sides
        std::function<void()> cycle, bareCycle;
        // A plain copy of the file, for the file cycle.
        std::function<void()> copyCycle = nullptr;
        // The same system dialogs in the bare program, whose counts tell the
        // system's share of any growth from ours.
        bool countBare = false;
    };

    // Returns false when the counts grew and grew again. The cycles of the
    // harness, its floor and the copy take turns, so that what else the
    // machine does at the time weighs on all of them alike.
    bool Run(const Phase &phase, int cycles)
    {
        auto started = [&](bool up) {
            for (HWND main : {m_main, m_bare}) {
                if (phase.started && up)
                    QuickStart(main);
                else if (phase.started)
                    QuickFree(main);
            }
        };
        auto timed = [](const std::function<void()> &cycle) {
            double start = Now();
            cycle();
            return Now() - start;
        };
        double harness = 0, bare = 0, copy = 0;
        auto run = [&](int n) {
            started(true);
            for (int i = 0; i < n; ++i) {
                harness += timed(phase.cycle);
                bare += timed(phase.bareCycle);
                if (phase.copyCycle)
                    copy += timed(phase.copyCycle);
            }
            started(false);
        };
        run(1); // what a first cycle creates to keep (the GUI dialog) is not growth
        harness = bare = copy = 0;
        Counts before = Count();
        run(cycles);
        Counts after = Count();
        const double ours = harness / cycles, floor = bare / cycles;
        std::string copied = "-";
        if (phase.copyCycle) {
            char text[80];
            std::snprintf(text, sizeof text, "plain copy %.2f ms (%.0fx)", copy / cycles, ours / (copy / cycles));
            copied = text;
        }
        std::string growth;
        const bool steady = Soaked(before, after, [&] { run(cycles); }, [&] { return Count(); }, cycles, growth);
        if (phase.countBare) {
            auto bareCycles = [&] {
                for (int i = 0; i < cycles; ++i)
                    phase.bareCycle();
            };
            Counts bareBefore = CountBare();
            bareCycles();
            growth += "; the bare program, the same dialogs: ";
            Soaked(bareBefore, CountBare(), bareCycles, [&] { return CountBare(); }, cycles, growth);
        }
        std::printf("| %s | %d | %.1f ms per cycle | bare program %.2f ms | %.2f | %s | %s |\n", phase.name, cycles,
                    ours, floor, ours / floor, copied.c_str(), growth.c_str());
        std::fflush(stdout);
        return steady;
    }

    static std::wstring State(HWND main, int id) { return Text(Child(main, id)); }
    void Wait(const std::function<bool()> &condition, const char *what) const
    {
        Require(WaitFor(condition, 20000), what);
    }

    // On the harness, or on the bare program.
    void QuickStart(HWND main)
    {
        ClickId(main, IDC_QUICK_START);
        Wait([&] { return State(main, IDC_LIBRARY_STATE) == L"LOADED" && State(main, IDC_MAIN_STATE) == L"Created" &&
                          State(main, IDC_STATUS_STATE) == L"Created"; },
             "Quick Start");
    }
    void QuickFree(HWND main)
    {
        ClickId(main, IDC_QUICK_FREE);
        Wait([&] { return State(main, IDC_LIBRARY_STATE) == L"NULL"; }, "Quick Free");
        Require(Sync(main), "the program answers");
    }
    void ModalCycle(HWND owner, int button, const wchar_t *caption, int closeButton, bool shift = false)
    {
        const Process &process = owner == m_main ? m_process : m_bareProcess;
        if (shift)
            KeyDown(Child(m_main, IDC_FILE_NAME), VK_SHIFT);
        ClickId(owner, button);
        HWND dialog = process.WaitWindow(L"#32770", caption, 10000);
        Require(dialog != nullptr, "the modal dialog opens");
        ClickId(dialog, closeButton);
        Require(process.WaitNoWindow(dialog, 10000), "the modal dialog closes");
    }
    void XmlCycle(HWND main)
    {
        const Process &process = main == m_main ? m_process : m_bareProcess;
        ChooseFileTimed(process, main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"small.xml"));
        ::DeleteFileW(m_sandbox.Path(L"back.xml").c_str()); // no overwrite question
        ChooseFileTimed(process, main, IDC_SAVE_XML, L"Save As", m_sandbox.Path(L"back.xml"));
    }

    HWND Main() const { return m_main; }
    HWND Bare() const { return m_bare; }
    const Sandbox &Files() const { return m_sandbox; }
    Sandbox &Files() { return m_sandbox; }
    void Stop()
    {
        m_process.Kill();
        m_bareProcess.Kill();
    }

private:
    static Process Start(Sandbox &sandbox)
    {
        sandbox.AddProgram(kProgram);
        sandbox.AddEngine();
        sandbox.WriteScript("");
        return Process::Start(sandbox, kProgram);
    }
    static Process StartBare(Sandbox &sandbox)
    {
        sandbox.AddFile(BuildPath(L"bench\\BareHarness.exe"));
        sandbox.AddEngine();
        sandbox.WriteScript("");
        return Process::Start(sandbox, L"BareHarness.exe");
    }
    static std::string Growth(const Counts &before, const Counts &after)
    {
        char text[160];
        std::snprintf(text, sizeof text, "windows %+ld (of %ld), menus %+ld (of %ld), GDI %+ld (of %ld)",
                      after.windows - before.windows, before.windows, after.menus - before.menus, before.menus,
                      after.gdi - before.gdi, before.gdi);
        return text;
    }
    static bool Grew(const Counts &before, const Counts &after)
    {
        return after.windows > before.windows || after.menus > before.menus || after.gdi > before.gdi;
    }
    // Adds the growth over the cycles to text; false for a leak. After some,
    // as many cycles again tell a leak, which grows again, from what is made
    // once and kept: a cache filling, or drawing objects the system makes
    // when first needed.
    static bool Soaked(const Counts &before, const Counts &after, const std::function<void()> &again,
                       const std::function<Counts()> &count, int cycles, std::string &text)
    {
        text += Growth(before, after);
        if (!Grew(before, after))
            return true;
        again();
        const Counts last = count();
        char then[120];
        std::snprintf(then, sizeof then, ", then windows %+ld, menus %+ld, GDI %+ld over another %d",
                      last.windows - after.windows, last.menus - after.menus, last.gdi - after.gdi, cycles);
        text += then;
        return !Grew(after, last);
    }
    Counts Count()
    {
        return CountAt(m_sandbox, [&] {
            ClickId(m_main, IDC_LOAD);
            Wait([&] { return State(m_main, IDC_LIBRARY_STATE) == L"LOADED"; }, "Load");
            ClickId(m_main, IDC_FREE);
            Wait([&] { return State(m_main, IDC_LIBRARY_STATE) == L"NULL"; }, "Free");
        });
    }
    Counts CountBare()
    {
        return CountAt(m_bareSandbox, [&] {
            QuickStart(m_bare);
            QuickFree(m_bare);
        });
    }
    // One more load of the engine, asked to count at its first entry-point
    // call (the harness's Free asks for the main window first); then it goes
    // again.
    static Counts CountAt(Sandbox &sandbox, const std::function<void()> &loadAndFree)
    {
        sandbox.WriteScript("counthandles\n");
        const std::size_t before = sandbox.CallLogMatching("handles ").size();
        loadAndFree();
        sandbox.WriteScript("");
        std::vector<std::string> lines = sandbox.CallLogMatching("handles ");
        Require(lines.size() == before + 1, "a count at the load");
        Counts c;
        Require(std::sscanf(lines.back().c_str(), "handles windows=%ld menus=%ld gdi=%ld", &c.windows, &c.menus,
                            &c.gdi) == 3,
                "the count line");
        return c;
    }

    Sandbox m_sandbox, m_bareSandbox;
    Process m_process;
    HWND m_main;
    Process m_bareProcess;
    HWND m_bare;
};
} // namespace

int main(int argc, char **argv)
{
    const int cycles = argc > 1 ? std::max(3, std::atoi(argv[1])) : 100;
    try {
        Soak soak;
        const std::string xml = XmlOfSize(4096);
        soak.Files().WriteFileBytes(L"small.xml", xml);
        const std::wstring small = soak.Files().Path(L"small.xml"), copy = soak.Files().Path(L"copy.xml");
        const wchar_t kGui[] = L"Enable/Disable GUI Controls", kEditor[] = L"Kel Test Application Parameter Editor";
        const Soak::Phase phases[] = {
            {"harness Quick Start and Quick Free", false,
             [&] {
                 soak.QuickStart(soak.Main());
                 soak.QuickFree(soak.Main());
             },
             [&] {
                 soak.QuickStart(soak.Bare());
                 soak.QuickFree(soak.Bare());
             }},
            {"harness Show GUI and Done", true, [&] { soak.ModalCycle(soak.Main(), IDC_SHOW_GUI, kGui, IDOK); },
             [&] { soak.ModalCycle(soak.Bare(), IDC_SHOW_GUI, kGui, IDOK); }},
            {"harness parameter editor open and Cancel", true,
             [&] { soak.ModalCycle(soak.Main(), IDC_KEL_EXIT, kEditor, IDCANCEL, true); },
             [&] { soak.ModalCycle(soak.Bare(), IDC_KEL_EXIT, kEditor, IDCANCEL); }},
            {"harness Load... and Save... of a 4 KB XML file", false, [&] { soak.XmlCycle(soak.Main()); },
             [&] { soak.XmlCycle(soak.Bare()); }, [&] { CopyTimed(small, copy); }, true},
        };
        bool steady = true;
        for (const Soak::Phase &phase : phases)
            steady = soak.Run(phase, cycles) && steady;
        soak.Stop();
        return steady ? 0 : 2;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "soak: %s\n", error.what());
        return 1;
    }
}
