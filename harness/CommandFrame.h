// The one frame every command handler of the harness runs in: the wait
// cursor for its whole run, the slot test, the parameter editor while Shift
// is held, the call, the report, the state box and, on the way out, the key
// state reset, so that Shift opens the editor only for the click it was held
// for. Handlers give only what differs: the slots, the parameters, the call.
//
// Every call into the engine passes here too, and is written to the call
// trace: the calls made, the ones refused, the library's load and free, and
// the harness's hooks while the engine calls them.
#pragma once

#include "CallTrace.h"
#include "EngineLoader.h"
#include "PanelHost.h"
#include "WaitCursor.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

using Entry = EngineEntryPoints;

// A text buffer the engine fills: the trace shows what it wrote, reading no
// more than the buffer holds.
struct OutText {
    wchar_t *buffer;
    std::size_t capacity;
    operator wchar_t *() const { return buffer; }
};

namespace trace_format {
// What the callee writes through: shown as "->?" before the call and as what
// was written after it.
template <class T>
inline constexpr bool kIsOutput =
    std::is_same_v<T, OutText> ||
    (std::is_pointer_v<T> && !std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, wchar_t> &&
     (std::is_arithmetic_v<std::remove_pointer_t<T>> || std::is_pointer_v<std::remove_pointer_t<T>>));

// An argument as passed, or, with returned, an out-parameter as written.
template <class T>
std::wstring Argument(const T &value, bool returned)
{
    if constexpr (std::is_same_v<T, OutText>) {
        return returned ? L"->" + Text(value.buffer, value.capacity) : L"->?";
    } else if constexpr (kIsOutput<T>) {
        if (!value)
            return L"NULL";
        return returned ? L"->" + Argument(*value, true) : L"->?";
    } else if constexpr (std::is_pointer_v<T> && std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, wchar_t>) {
        return Text(value);
    } else if constexpr (std::is_integral_v<T>) {
        return std::to_wstring(value);
    } else {
        return Address(reinterpret_cast<std::uintptr_t>(value)); // handles, hooks, records
    }
}

// Every argument as passed.
template <class... Args>
std::vector<std::wstring> Arguments(const Args &...args)
{
    return {Argument(args, false)...};
}

// The out-parameters read again after the call; the rest stays as it was
// passed, since the callee may have changed a text it was given. False when
// there is nothing to read again.
template <class... Args>
bool Returned([[maybe_unused]] std::vector<std::wstring> &shown, [[maybe_unused]] const Args &...args)
{
    if constexpr ((kIsOutput<Args> || ...)) {
        if (shown.size() != sizeof...(Args))
            return false; // formatting them before the call ran out of memory
        std::size_t at = 0;
        ((kIsOutput<Args> ? void(shown[at] = Argument(args, true)) : void(), ++at), ...);
        return true;
    } else {
        return false;
    }
}

template <class... Args>
std::wstring Call(const char *name, bool returned, const Args &...args)
{
    std::vector<std::wstring> shown = Arguments(args...);
    if (returned)
        Returned(shown, args...);
    return Joined(name, shown);
}
} // namespace trace_format

// One argument of an entry point as the parameter editor offers it.
struct Parameter {
    UINT label;
    int value;
};

class CCommandFrame {
public:
    explicit CCommandFrame(PanelHost &host) : m_host(host) {}
    ~CCommandFrame();
    CCommandFrame(const CCommandFrame &) = delete;
    CCommandFrame &operator=(const CCommandFrame &) = delete;

    // Every call into the engine passes here, read from its slot at the
    // moment of the call. An empty slot is refused, not called.
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

    // False after the "Function was not loaded" box. That ending comes before
    // the command's last step, so Shift stays as it was ...
    template <class... Fns>
    bool Loaded(Fns Entry::*...slots)
    {
        return (Bound(slots) && ...) || NotLoaded(false);
    }
    // ... except in Print, Free, New and the page toggles, whose missing slot
    // ends them like any other way out.
    template <class... Fns>
    bool LoadedElseReset(Fns Entry::*...slots)
    {
        return (Bound(slots) && ...) || NotLoaded(true);
    }
    // While Shift is held, lets the tester edit the values; false when the
    // editor was cancelled: the command then ends without calling the engine.
    bool EditParameters(const wchar_t *title, std::initializer_list<Parameter *> parameters);
    // The result reported; on 0 the state box gets its text.
    int Report(int result, int position = 0);
    int Report(int result, StateBox box, UINT stringId);

    // The other ways out that keep Shift as it was:
    // Version and Paper Catalog when the size query failed or gave 0.
    void NothingToFetch() { m_resetKeyState = false; }
    // A file dialog cancelled: the command stops before it began.
    void NothingChosen() { m_resetKeyState = false; }
    // Kel_Exit answered 22 or 23: the harness stays as it was, without a report.
    void ExitRefused() { m_resetKeyState = false; }

    // The trace of the running harness; null where there is none.
    static CCallTrace *Trace();

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
    bool NotLoaded(bool resetKeyState);

    PanelHost &m_host;
    CWaitCursor m_wait;
    bool m_resetKeyState = true;
};

// The callers of the engine helpers shared with the host: every call traced,
// or, for the message relay, traced only when the trace asks for it.
struct TracedCall {
    template <class Fn, class... Args>
    int operator()(Fn Entry::*slot, Args... args) const
    {
        return CCommandFrame::Call(slot, args...);
    }
};
struct RelayCall {
    template <class Fn, class... Args>
    int operator()(Fn Entry::*slot, Args... args) const
    {
        CCallTrace *trace = CCommandFrame::Trace();
        return trace && trace->IncludesRelays() ? CCommandFrame::Call(slot, args...) : DirectCall()(slot, args...);
    }
};
