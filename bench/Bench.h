// What the benchmarks share: a millisecond clock, the median, and finding the
// harness's main window.
#pragma once

#include "UiDriver.h"

#include "../harness/resource.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <stdexcept>
#include <vector>

inline double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A step that did not happen ends the benchmark with its name.
inline void Require(bool condition, const char *what)
{
    if (!condition)
        throw std::runtime_error(what);
}

// Milliseconds from answering the file dialog the button opens (the path
// typed and confirmed) until the harness answers again.
inline double ChooseFileTimed(const uidriver::Process &process, HWND main, int button, const wchar_t *caption,
                              const std::wstring &path)
{
    uidriver::ClickId(main, button);
    HWND dialog = process.WaitWindow(L"#32770", caption, 10000);
    Require(dialog != nullptr, "the file dialog");
    double start = Now();
    uidriver::AnswerFileDialog(dialog, path);
    Require(process.WaitNoWindow(dialog, 10000), "the file dialog closes");
    // Busy for long, a window counts as hung and Sync gives up at once: ask again.
    Require(uidriver::WaitFor([&] { return uidriver::Sync(main, 1000); }, 300000), "the harness answers");
    return Now() - start;
}

// Milliseconds of a plain copy of the file, the baseline of file work.
inline double CopyTimed(const std::wstring &from, const std::wstring &to)
{
    ::DeleteFileW(to.c_str());
    double start = Now();
    Require(::CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE, "the plain copy");
    return Now() - start;
}

// An XML settings text of about size bytes, CR LF line ends.
inline std::string XmlOfSize(std::size_t size)
{
    std::string bytes = "<Printer_Settings>\r\n";
    for (int n = 0; bytes.size() < size; ++n)
        bytes += "  <Line n=\"" + std::to_string(n) + "\">0123456789 abcdefghijklmnopqrstuvwxyz</Line>\r\n";
    return bytes;
}

// The harness's main window once it shows.
inline HWND WaitHarnessMain(const uidriver::Process &process)
{
    HWND main = nullptr;
    uidriver::WaitFor(
        [&] {
            for (HWND window : process.TopLevelWindows(true)) {
                if (::GetDlgItem(window, IDC_ENGINE_FRAME))
                    main = window;
            }
            return main != nullptr;
        },
        10000);
    Require(main != nullptr, "the harness did not appear");
    return main;
}
