// The harness's Load... and Save... of large XML files, from confirming the
// file dialog to the harness answering again, against their floor: the same
// in a bare Win32 program with the harness's dialog (bench/BareHarness), which
// reads the file into an edit box of the same styles and font and writes it
// back; and against a plain copy of the file. All in turn, in the same run.
#include "Bench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kProgram[] = L"WinKelTestExe.exe";
const wchar_t kFloor[] = L"BareHarness.exe";

// A program with the harness's main dialog, started in the sandbox.
struct Side {
    Process process;
    HWND main;
    std::vector<double> loads, saves;
};

Side StartSide(Sandbox &sandbox, const wchar_t *exe)
{
    Process process = Process::Start(sandbox, exe);
    HWND main = WaitHarnessMain(process);
    return {std::move(process), main, {}, {}};
}
} // namespace

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    try {
        Sandbox sandbox(L"xmlbench");
        sandbox.AddProgram(kProgram);
        sandbox.AddFile(BuildPath(L"bench\\BareHarness.exe"));
        sandbox.AddEngine();
        Side sides[] = {StartSide(sandbox, kProgram), StartSide(sandbox, kFloor)};

        for (std::size_t megabytes : {1u, 4u}) {
            const std::string bytes = XmlOfSize(megabytes << 20);
            sandbox.WriteFileBytes(L"in.xml", bytes);
            const std::wstring in = sandbox.Path(L"in.xml"), out = sandbox.Path(L"out.xml"),
                               copy = sandbox.Path(L"copy.xml");
            std::vector<double> copies;
            for (Side &side : sides) {
                side.loads.clear();
                side.saves.clear();
            }
            for (int round = 0; round < rounds; ++round) {
                for (Side &side : sides) {
                    ClickId(side.main, IDC_CLEAR_XML);
                    Require(WaitFor([&] { return Sync(side.main, 1000); }, 60000), "Clear");
                    side.loads.push_back(ChooseFileTimed(side.process, side.main, IDC_LOAD_XML, L"Open", in));
                    Require(::SendMessageW(Child(side.main, IDC_XML), WM_GETTEXTLENGTH, 0, 0) ==
                                static_cast<LRESULT>(bytes.size()),
                            "the box holds the whole file");
                    ::DeleteFileW(out.c_str()); // no overwrite question
                    side.saves.push_back(ChooseFileTimed(side.process, side.main, IDC_SAVE_XML, L"Save As", out));
                    Require(sandbox.ReadFileBytes(L"out.xml") == bytes, "saved back byte for byte");
                }
                copies.push_back(CopyTimed(in, copy));
            }
            const double copied = Median(copies);
            const Side &harness = sides[0], &floor = sides[1];
            for (bool load : {true, false}) {
                const double ours = Median(load ? harness.loads : harness.saves);
                const double bare = Median(load ? floor.loads : floor.saves);
                std::printf("| harness %s of %u MB XML | %d | %.1f ms | bare program, same edit box %.1f ms | %.2f | "
                            "plain copy %.2f ms (%.0fx) | - |\n",
                            load ? "Load..." : "Save...", unsigned(megabytes), rounds, ours, bare, ours / bare,
                            copied, ours / copied);
            }
        }
        for (Side &side : sides)
            side.process.Kill();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "xml files: %s\n", error.what());
        return 1;
    }
    return 0;
}
