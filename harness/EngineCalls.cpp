#include "EngineCalls.h"

#include "Strings.h"
#include "resource.h"

#include <cstring>

namespace {
CCallTrace *g_trace = nullptr;
} // namespace

CCallTrace *EngineCalls::Trace() noexcept { return g_trace; }

EngineCalls::Scope::Scope(CCallTrace &trace) noexcept : m_previous(g_trace) { g_trace = &trace; }

EngineCalls::Scope::~Scope() { g_trace = m_previous; }

// Shown with the name the loader asks the system for, and the module it frees;
// a failed load with the system's reason.
int EngineCalls::Load()
{
    return Traced(
        "LoadLibrary", [](int code) { return trace_format::LoadResult(code, EngineLoadError()); },
        [](const wchar_t *) { return LoadEngine(); }, KEL_ENGINE_FILE_NAME);
}

int EngineCalls::Free()
{
    return Traced("FreeLibrary", &trace_format::EngineResult, [](HMODULE) { return FreeEngine(); }, g_engine.hModule);
}

int __cdecl EngineCalls::MessageHook(int first, int second, int *result) noexcept
{
    return Traced("MessageHook", &trace_format::Number, &::MessageHook, first, second, result);
}

void __cdecl EngineCalls::SetTitleHook(const wchar_t *first, const wchar_t *second, int flag) noexcept
{
    Traced("SetTitleHook", &trace_format::Number, &::SetTitleHook, first, second, flag);
}

void EngineCalls::Refused(const char *name)
{
    Refused(Formatted([&] { return std::wstring(name, name + std::strlen(name)); }),
            Formatted([] { return LoadResString(IDS_FUNCTION_NOT_LOADED); }));
}

void EngineCalls::Refused(const std::wstring &call, const std::wstring &reason)
{
    if (CCallTrace *trace = Trace())
        trace->Refused(call, reason);
}

EngineCalls::Line::~Line()
{
    if (!m_closed)
        m_trace.Close(m_ticket, L"", L" did not return");
}

void EngineCalls::Line::Close(const std::wstring &call, const std::wstring &result) noexcept
{
    std::wstring ending = Formatted([&] { return result + trace_format::Duration(m_trace.Now() - m_start); });
    m_trace.Close(m_ticket, call, ending);
    m_closed = true;
}
