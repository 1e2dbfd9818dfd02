// How the call trace writes what the harness passed to the engine and what
// came back: every format of its lines, in one place.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// A text buffer the engine fills: the trace shows what it wrote, reading no
// more than the buffer holds.
struct OutText {
    wchar_t *buffer;
    std::size_t capacity;
    operator wchar_t *() const { return buffer; }
};

namespace trace_format {
// Texts longer than this are cut, and their length is given.
constexpr std::size_t kTextLimit = 80;

// Quoted, with \" \\ \n \r \t and \uXXXX for other control characters;
// NULL for null. At most `capacity` units are read.
std::wstring Text(const wchar_t *text, std::size_t capacity = static_cast<std::size_t>(-1));
// Handles and addresses: 0x and eight hex digits (more where they are wider).
std::wstring Address(std::uintptr_t value);
// "Name(argument, argument)"
std::wstring Joined(const char *name, const std::vector<std::wstring> &arguments);
// " = code OK" or " = code <its text from the error table>".
std::wstring EngineResult(int code);
// The library's load: EngineResult, and for a failure the system's reason and
// its number, as in " = 26 Dll failed to load. - Module not found. (126)".
std::wstring LoadResult(int code, DWORD systemError);
// " = value", for what the hooks return.
std::wstring Number(int value);
// " (1.234 ms)"
std::wstring Duration(double milliseconds);

// What a replay writes between the calls it makes, and the last line of a
// trace kept after a fault; a replay passes over both.
constexpr wchar_t kReplayNote[] = L"replay: ";
constexpr wchar_t kFaultNote[] = L"fault: ";
// "fault: exception 0xC0000005 at Solvetric.dll+0x1A2B during Kel_Print()":
// the place as FaultPlace words it, and the call still open when it came.
std::wstring Fault(DWORD code, const std::wstring &place, const std::wstring &openCall);

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
