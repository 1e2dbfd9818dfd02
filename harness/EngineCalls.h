// The traced engine gateway: every call the harness makes into the engine
// passes here, the library's load and free included, read from its slot at
// the moment of the call and written to the current call trace: the calls
// made, the ones refused, and the harness's hooks while the engine calls them.
// It shows no box: a click's frame reports the result, and a caller that
// wants no box at all takes the result as it comes.
#pragma once

#include "CallTrace.h"
#include "EngineLoader.h"
#include "TraceFormat.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

using Entry = EngineEntryPoints;

// The longest text the harness fetches from the engine, in UTF-16 units: far
// beyond any version or catalog text; a larger size is an engine fault.
constexpr int kLargestEngineText = 1 << 24;

class EngineCalls {
public:
    EngineCalls() = delete;

    // The trace the calls are written to: the one the application set, or
    // none. The application owns it; a Scope sets it for its lifetime.
    static CCallTrace *Trace() noexcept;
    class Scope {
    public:
        explicit Scope(CCallTrace &trace) noexcept;
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        CCallTrace *m_previous;
    };

    // The entry point called with the arguments; an empty slot is refused,
    // not called, and gives 27.
    template <class Fn, class... Args>
    static int Call(Fn Entry::*slot, Args... args)
    {
        Fn function = g_engine.*slot;
        if (!function) {
            Refused(EntryPointName(slot));
            return KEL_DLL_FUNCTION_MISSING;
        }
        return Traced(EntryPointName(slot), &trace_format::EngineResult, function, args...);
    }
    static int Load();
    static int Free();
    // The hooks the harness hands the engine: the shared ones, traced.
    static int __cdecl MessageHook(int first, int second, int *result) noexcept;
    static void __cdecl SetTitleHook(const wchar_t *first, const wchar_t *second, int flag) noexcept;

    // False, with the refusal traced, when the slot is empty; the caller says so.
    template <class Fn>
    static bool Bound(Fn Entry::*slot)
    {
        if (g_engine.*slot)
            return true;
        Refused(EntryPointName(slot));
        return false;
    }
    // A call refused for another reason; the call as it would have been made.
    static void Refused(const std::wstring &call, const std::wstring &reason);

private:
    // Runs the function with its line in the trace: the call before, its
    // outputs, result (as resultText words it) and duration after. Nothing of
    // the trace's may reach the callee's caller: the hooks run inside the engine.
    template <class Function, class ResultText, class... Args>
    static auto Traced(const char *name, [[maybe_unused]] ResultText resultText, Function function, Args... args)
    {
        CCallTrace *trace = Trace();
        if (!trace)
            return function(args...);
        std::vector<std::wstring> shown;
        Line line(*trace, Formatted([&] {
                      shown = trace_format::Arguments(args...);
                      return trace_format::Joined(name, shown);
                  }));
        // Empty when no out-parameter was written: the line keeps its call.
        auto returned = [&] {
            return trace_format::Returned(shown, args...) ? trace_format::Joined(name, shown) : std::wstring();
        };
        if constexpr (std::is_void_v<decltype(function(args...))>) {
            function(args...);
            line.Close(Formatted(returned), L"");
        } else {
            auto result = function(args...);
            line.Close(Formatted(returned), Formatted([&] { return resultText(result); }));
            return result;
        }
    }

    // A trace line while its call runs; closed as not returned when the call throws.
    class Line {
    public:
        Line(CCallTrace &trace, const std::wstring &call) noexcept
            : m_trace(trace), m_ticket(trace.Open(call)), m_start(trace.Now())
        {
        }
        ~Line();
        Line(const Line &) = delete;
        Line &operator=(const Line &) = delete;
        void Close(const std::wstring &call, const std::wstring &result) noexcept;

    private:
        CCallTrace &m_trace;
        std::uint64_t m_ticket;
        double m_start;
        bool m_closed = false;
    };

    template <class Format>
    static std::wstring Formatted(Format format) noexcept
    {
        try {
            return format();
        } catch (...) {
            return std::wstring(); // no memory: the line stays short
        }
    }

    static void Refused(const char *name);
};

// The callers of the engine helpers shared with the host: every call traced,
// or, for the message relay, traced only when the trace asks for it.
struct TracedCall {
    template <class Fn, class... Args>
    int operator()(Fn Entry::*slot, Args... args) const
    {
        return EngineCalls::Call(slot, args...);
    }
};
struct RelayCall {
    template <class Fn, class... Args>
    int operator()(Fn Entry::*slot, Args... args) const
    {
        CCallTrace *trace = EngineCalls::Trace();
        return trace && trace->IncludesRelays() ? EngineCalls::Call(slot, args...) : DirectCall()(slot, args...);
    }
};
