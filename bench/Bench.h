// What the benchmarks share: a millisecond clock, the median, and finding the
// harness's main window.
#pragma once

#include "UiDriver.h"

#include "../harness/resource.h"

#include <windows.h>

#include <algorithm>
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

inline HWND FindHarnessMain(const uidriver::Process &process)
{
    for (HWND window : process.TopLevelWindows(true)) {
        if (::GetDlgItem(window, IDC_ENGINE_FRAME))
            return window;
    }
    return nullptr;
}
