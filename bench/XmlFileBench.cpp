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
const int kFileNameBox = 0x47C; // the common dialogs' file name box

std::string XmlOfSize(std::size_t size)
{
    std::string bytes = "<Printer_Settings>\r\n";
    for (int n = 0; bytes.size() < size; ++n)
        bytes += "  <Line n=\"" + std::to_string(n) + "\">0123456789 abcdefghijklmnopqrstuvwxyz</Line>\r\n";
    return bytes;
}

// Milliseconds from confirming the dialog the button opens until the harness answers.
double ChooseFileTimed(const Process &process, HWND main, int button, const wchar_t *caption,
                       const std::wstring &path)
{
    ClickId(main, button);
    HWND dialog = process.WaitWindow(L"#32770", caption, 10000);
    Require(dialog != nullptr, "the file dialog");
    SetText(Child(dialog, kFileNameBox), path);
    double start = Now();
    Click(Child(dialog, IDOK));
    Require(process.WaitNoWindow(dialog, 10000), "the file dialog closes");
    // Busy for long, a window counts as hung and Sync gives up at once: ask again.
    Require(WaitFor([&] { return Sync(main, 1000); }, 300000), "the harness answers");
    return Now() - start;
}

double CopyTimed(const std::wstring &from, const std::wstring &to)
{
    ::DeleteFileW(to.c_str());
    double start = Now();
    Require(::CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE, "the plain copy");
    return Now() - start;
}
} // namespace

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    try {
        Sandbox sandbox(L"xmlbench");
        sandbox.AddProgram(kProgram);
        sandbox.AddEngine();
        Process process = Process::Start(sandbox, kProgram);
        HWND main = nullptr;
        WaitFor([&] { return (main = FindHarnessMain(process)) != nullptr; }, 10000);
        Require(main != nullptr, "the harness did not appear");

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
            std::printf("| harness Load... of %u MB XML | %d | %.1f ms | plain copy %.2f ms | %.0f |\n",
                        unsigned(megabytes), rounds, Median(loads), copied, Median(loads) / copied);
            std::printf("| harness Save... of %u MB XML | %d | %.1f ms | plain copy %.2f ms | %.0f |\n",
                        unsigned(megabytes), rounds, Median(saves), copied, Median(saves) / copied);
        }
        process.Kill();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "xml files: %s\n", error.what());
        return 1;
    }
    return 0;
}
