#include "FaultReport.h"

#include "UniqueHandle.h"

#include <windows.h>

namespace {
struct Report {
    std::wstring text;
    std::wstring caption;
    LONG shown = 0;
};

Report &TheReport()
{
    static Report report;
    return report;
}

DWORD WINAPI ShowReport(void *) noexcept
{
    const Report &report = TheReport();
    ::MessageBoxW(nullptr, report.text.c_str(), report.caption.c_str(),
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TASKMODAL);
    return 0;
}

[[noreturn]] void ReportAndEnd(DWORD exitCode) noexcept
{
    // A box on the faulting thread could be reached by messages for the dead
    // windows and fault again; a fresh thread has no such windows.
    if (::InterlockedExchange(&TheReport().shown, 1) == 0) {
        unique_kernel_handle thread(::CreateThread(nullptr, 0, &ShowReport, nullptr, 0, nullptr));
        if (thread)
            ::WaitForSingleObject(thread.get(), INFINITE);
        ::ExitProcess(exitCode);
    }
    // Another thread faulted while the first report stands: it ends the process.
    for (;;)
        ::Sleep(INFINITE);
}

bool InNoModule(const void *address)
{
    HMODULE module = nullptr;
    return !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 static_cast<LPCWSTR>(address), &module);
}

LONG CALLBACK OnFirstChance(EXCEPTION_POINTERS *info) noexcept
{
    const EXCEPTION_RECORD *record = info->ExceptionRecord;
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && InNoModule(record->ExceptionAddress))
        ReportAndEnd(record->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS *info) noexcept
{
    ReportAndEnd(info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 1);
}
} // namespace

void InstallFaultReport(const std::wstring &text, const std::wstring &caption)
{
    static bool installed = false;
    Report &report = TheReport();
    report.text = text;
    report.caption = caption;
    if (!installed) {
        installed = true;
        ::AddVectoredExceptionHandler(1, &OnFirstChance);
        ::SetUnhandledExceptionFilter(&OnUnhandled);
    }
}
