#include "FaultTrace.h"

#include "EncodeUtf8.h"
#include "EngineCalls.h"
#include "FaultReport.h"
#include "FileBytes.h"
#include "Strings.h"
#include "TraceReader.h"
#include "WinApp.h"
#include "resource.h"

namespace {
HWND g_harnessWindow = nullptr;

void KeepInFile(DWORD code, const void *address) noexcept
{
    try {
        WriteTraceWithFault(FaultTracePath(), g_harnessWindow, code, address);
    } catch (...) {
        // The box comes all the same.
    }
}
} // namespace

std::wstring SavedTraceText(HWND harnessWindow, const std::wstring &lines)
{
    return TraceHeader(reinterpret_cast<std::uintptr_t>(harnessWindow)) + L"\r\n" + lines;
}

std::wstring FaultTracePath()
{
    wchar_t folder[MAX_PATH + 1] = L"";
    DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    std::wstring path(folder, length <= MAX_PATH ? length : 0);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + AfxGetAppName() + L" fault trace.txt";
}

void KeepTraceOnFault(bool keep, HWND harnessWindow)
{
    g_harnessWindow = harnessWindow;
    InstallFaultReport(LoadResString(IDS_EXCEPTION_THROWN), AfxGetAppName(), keep ? &KeepInFile : nullptr);
}

bool WriteTraceWithFault(const std::wstring &path, HWND harnessWindow, DWORD code, const void *address) noexcept
{
    try {
        CCallTrace *trace = EngineCalls::Trace();
        if (!trace)
            return false;
        trace->Note(trace_format::Fault(code, FaultPlace(address), trace->OpenCall()));
        return ReplaceFileBytes(path, EncodeUtf8(SavedTraceText(harnessWindow, trace->Text()))).saved;
    } catch (...) {
        return false;
    }
}
