// The harness's Load... and Save... of large XML files, from confirming the
// file dialog to the harness answering again, against a plain copy of the
// same file made in the same run.
#include "Bench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kProgram[] = L"WinKelTestExe.exe";
} // namespace

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    try {
        Sandbox sandbox(L"xmlbench");
        sandbox.AddProgram(kProgram);
        sandbox.AddEngine();
        Process process = Process::Start(sandbox, kProgram);
        HWND main = WaitHarnessMain(process);

        for (std::size_t megabytes : {1u, 4u}) {
            const std::string bytes = XmlOfSize(megabytes << 20);
            sandbox.WriteFileBytes(L"in.xml", bytes);
            const std::wstring in = sandbox.Path(L"in.xml"), out = sandbox.Path(L"out.xml"),
                               copy = sandbox.Path(L"copy.xml");
            std::vector<double> loads, saves, copies;
            for (int round = 0; round < rounds; ++round) {
                ClickId(main, IDC_CLEAR_XML);
                Require(Sync(main), "Clear");
                loads.push_back(ChooseFileTimed(process, main, IDC_LOAD_XML, L"Open", in));
                Require(::SendMessageW(Child(main, IDC_XML), WM_GETTEXTLENGTH, 0, 0) ==
                            static_cast<LRESULT>(bytes.size()),
                        "the box holds the whole file");
                ::DeleteFileW(out.c_str()); // no overwrite question
                saves.push_back(ChooseFileTimed(process, main, IDC_SAVE_XML, L"Save As", out));
                Require(sandbox.ReadFileBytes(L"out.xml") == bytes, "saved back byte for byte");
                copies.push_back(CopyTimed(in, copy));
            }
            double copied = Median(copies);
            std::printf("| harness Load... of %u MB XML | %d | %.1f ms | plain copy %.2f ms | %.0f | - |\n",
                        unsigned(megabytes), rounds, Median(loads), copied, Median(loads) / copied);
            std::printf("| harness Save... of %u MB XML | %d | %.1f ms | plain copy %.2f ms | %.0f | - |\n",
                        unsigned(megabytes), rounds, Median(saves), copied, Median(saves) / copied);
        }
        process.Kill();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "xml files: %s\n", error.what());
        return 1;
    }
    return 0;
}
