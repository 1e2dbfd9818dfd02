#include "FaultReport.h"

#include "UniqueHandle.h"

#include <windows.h>

#include <cwchar>

namespace {
struct Report {
    std::wstring text;
    std::wstring caption;
    bool box = true;
    DWORD exitCode = 0; // without the box; with it, the exception's code
    FaultWitness witness = nullptr;
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

[[noreturn]] void ReportAndEnd(DWORD code, const void *address) noexcept
{
    Report &report = TheReport();
    if (::InterlockedExchange(&report.shown, 1) == 0) {
        if (report.witness)
            report.witness(code, address);
        if (!report.box)
            ::ExitProcess(report.exitCode);
        // A box on the faulting thread could be reached by messages for the dead
        // windows and fault again; a fresh thread has no such windows.
        unique_kernel_handle thread(::CreateThread(nullptr, 0, &ShowReport, nullptr, 0, nullptr));
        if (thread)
            ::WaitForSingleObject(thread.get(), INFINITE);
        ::ExitProcess(code);
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
        ReportAndEnd(record->ExceptionCode, record->ExceptionAddress);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS *info) noexcept
{
    const EXCEPTION_RECORD *record = info ? info->ExceptionRecord : nullptr;
    ReportAndEnd(record ? record->ExceptionCode : 1, record ? record->ExceptionAddress : nullptr);
}

void Install()
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        ::AddVectoredExceptionHandler(1, &OnFirstChance);
        ::SetUnhandledExceptionFilter(&OnUnhandled);
    }
}
} // namespace

void InstallFaultReport(const std::wstring &text, const std::wstring &caption, FaultWitness witness)
{
    Report &report = TheReport();
    report.text = text;
    report.caption = caption;
    report.box = true;
    report.witness = witness;
    Install();
}

void InstallFaultExit(DWORD exitCode, FaultWitness witness)
{
    Report &report = TheReport();
    report.box = false;
    report.exitCode = exitCode;
    report.witness = witness;
    Install();
}

std::wstring FaultPlace(const void *address)
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(address), &module))
        return L"in no module";
    wchar_t path[MAX_PATH] = L"";
    DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : 0);
    std::size_t folder = name.find_last_of(L"\\/");
    if (folder != std::wstring::npos)
        name.erase(0, folder + 1);
    wchar_t offset[32];
    // No module reaches 4 GB.
    std::swprintf(offset, sizeof offset / sizeof offset[0], L"+0x%lX",
                  static_cast<unsigned long>(static_cast<const char *>(address) - reinterpret_cast<const char *>(module)));
    return L"at " + (name.empty() ? std::wstring(L"?") : name) + offset;
}
