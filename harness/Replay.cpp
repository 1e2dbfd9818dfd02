#include "Replay.h"

#include "EngineCalls.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <type_traits>
#include <vector>

namespace {
// Why a line was not replayed; thrown before its call is made.
struct NotReplayable {
    std::wstring reason;
};

// What the calls so far gave back, for the calls after them.
struct ReplayState {
    HWND window;
    std::optional<std::uintptr_t> recordedWindow;
    std::map<std::uintptr_t, std::uintptr_t> handles; // recorded -> now
    std::map<std::wstring, int> sizes;                // "version", "catalog", "string <id>" -> now
};

// One line's call: its arguments turned into what the engine gets now, the
// call, and what it gave back kept for the calls after it.
class ReplayCall {
public:
    ReplayCall(const TraceLine &line, ReplayState &state) : m_line(line), m_state(state) {}

    int Int(std::size_t index) const
    {
        const TraceArgument &argument = Argument(index, TraceArgument::Kind::Number);
        if (argument.number < INT32_MIN || argument.number > static_cast<std::int64_t>(UINT32_MAX))
            throw NotReplayable{L"argument " + std::to_wstring(index + 1) + L" is no 32-bit number"};
        return static_cast<int>(argument.number);
    }
    // The harness's window of that run becomes the window now; a handle an
    // earlier call gave back becomes what that call gave back now. A trace
    // that does not say which window was the harness's had it wherever a
    // window no call gave back was passed.
    HWND Window(std::size_t index) const
    {
        if (Argument(index).kind == TraceArgument::Kind::Null)
            return nullptr;
        auto recorded = static_cast<std::uintptr_t>(Argument(index, TraceArgument::Kind::Number).number);
        if (recorded == 0)
            return nullptr;
        if (m_state.recordedWindow && recorded == *m_state.recordedWindow)
            return m_state.window;
        auto given = m_state.handles.find(recorded);
        if (given != m_state.handles.end())
            return reinterpret_cast<HWND>(given->second);
        return m_state.recordedWindow ? reinterpret_cast<HWND>(recorded) : m_state.window;
    }
    // The harness hands the engine no hook but its own.
    template <class Hook>
    Hook OwnHook(std::size_t index, Hook own) const
    {
        const TraceArgument &argument = Argument(index);
        return argument.kind == TraceArgument::Kind::Null || argument.number == 0 ? nullptr : own;
    }
    // A writable copy: the engine takes texts it may change.
    wchar_t *Text(std::size_t index)
    {
        const TraceArgument &argument = Argument(index);
        if (argument.kind == TraceArgument::Kind::Null)
            return nullptr;
        Argument(index, TraceArgument::Kind::Text);
        if (argument.Cut())
            throw NotReplayable{L"the trace cut its text of " + std::to_wstring(argument.textLength) +
                                L" characters"};
        m_texts.emplace_back(argument.text.begin(), argument.text.end());
        m_texts.back().push_back(L'\0');
        return m_texts.back().data();
    }
    // A variable the engine writes; a handle written is mapped from the
    // recorded one for the calls after this.
    template <class T>
    T *Out(std::size_t index)
    {
        const TraceArgument &argument = Argument(index);
        if (argument.kind == TraceArgument::Kind::Null && !argument.output)
            return nullptr;
        auto holder = std::make_shared<T>();
        if constexpr (std::is_pointer_v<T>) {
            if (argument.kind == TraceArgument::Kind::Number && argument.number != 0) {
                auto recorded = static_cast<std::uintptr_t>(argument.number);
                m_after.push_back([this, holder, recorded] {
                    if (*holder)
                        m_state.handles[recorded] = reinterpret_cast<std::uintptr_t>(*holder);
                });
            }
        }
        m_kept.push_back(holder);
        return holder.get();
    }
    // The size a text entry point reported now, for the fetch that follows.
    int *Size(std::size_t index, const std::wstring &key)
    {
        int *size = Out<int>(index);
        if (size)
            m_after.push_back([this, size, key] { m_state.sizes[key] = *size; });
        return size;
    }
    // A buffer of the size its size query gave now, and one unit more, as
    // the harness's own fetch makes it; of the recorded text's length where
    // no query came before.
    OutText Buffer(std::size_t index, const std::wstring &key)
    {
        const TraceArgument &argument = Argument(index);
        if (argument.kind == TraceArgument::Kind::Null && !argument.output)
            return OutText{nullptr, 0};
        auto known = m_state.sizes.find(key);
        std::int64_t size = known != m_state.sizes.end() ? known->second
                                                         : static_cast<std::int64_t>(argument.textLength) + 1;
        if (size <= 0 || size > kLargestEngineText)
            throw NotReplayable{L"the size the engine reported now is " + std::to_wstring(size)};
        m_texts.emplace_back(static_cast<std::size_t>(size) + 1, L'\0');
        return OutText{m_texts.back().data(), m_texts.back().size()};
    }

    template <class Fn, class... Args>
    int Make(Fn Entry::*slot, Args... args)
    {
        if (m_line.arguments.size() != sizeof...(Args))
            throw NotReplayable{L"it has " + std::to_wstring(m_line.arguments.size()) + L" arguments where " +
                                std::to_wstring(sizeof...(Args)) + L" belong"};
        int result = EngineCalls::Call(slot, args...);
        for (const auto &after : m_after)
            after();
        return result;
    }

private:
    const TraceArgument &Argument(std::size_t index) const
    {
        if (index >= m_line.arguments.size())
            throw NotReplayable{L"it has " + std::to_wstring(m_line.arguments.size()) + L" arguments"};
        return m_line.arguments[index];
    }
    const TraceArgument &Argument(std::size_t index, TraceArgument::Kind kind) const
    {
        const TraceArgument &argument = Argument(index);
        if (argument.kind != kind)
            throw NotReplayable{L"argument " + std::to_wstring(index + 1) + L" is not of its kind"};
        return argument;
    }

    const TraceLine &m_line;
    ReplayState &m_state;
    std::vector<std::vector<wchar_t>> m_texts;
    std::vector<std::shared_ptr<void>> m_kept;
    std::vector<std::function<void()>> m_after;
};

std::wstring StringKey(const ReplayCall &call) { return L"string " + std::to_wstring(call.Int(0)); }

using Replayer = int (*)(ReplayCall &call);
struct ReplayerOf {
    const char *name;
    Replayer replay;
};
// The trace's name of every call the harness makes, and how it is made again.
const ReplayerOf kReplayers[] = {
    {"LoadLibrary", [](ReplayCall &) { return EngineCalls::Load(); }},
    {"FreeLibrary", [](ReplayCall &) { return EngineCalls::Free(); }},
    {"Kel_InitMain",
     [](ReplayCall &c) {
         return c.Make(&Entry::Kel_InitMain, c.OwnHook<KelMessageHook>(0, &EngineCalls::MessageHook),
                       c.OwnHook<KelTitleHook>(1, &EngineCalls::SetTitleHook));
     }},
    {"Kel_InitStatus", [](ReplayCall &c) { return c.Make(&Entry::Kel_InitStatus); }},
    {"Kel_Exit", [](ReplayCall &c) { return c.Make(&Entry::Kel_Exit, c.Int(0)); }},
    {"Kel_CreateMain",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_CreateMain, c.Window(0), c.Int(1), c.Text(2)); }},
    {"Kel_CreateStatus", [](ReplayCall &c) { return c.Make(&Entry::Kel_CreateStatus, c.Window(0)); }},
    {"Kel_GetWindowMain", [](ReplayCall &c) { return c.Make(&Entry::Kel_GetWindowMain, c.Out<HWND>(0)); }},
    {"Kel_GetWindowStatus", [](ReplayCall &c) { return c.Make(&Entry::Kel_GetWindowStatus, c.Out<HWND>(0)); }},
    {"Kel_Print", [](ReplayCall &c) { return c.Make(&Entry::Kel_Print); }},
    {"Kel_ShowMain", [](ReplayCall &c) { return c.Make(&Entry::Kel_ShowMain, c.Int(0), c.Int(1), c.Int(2)); }},
    {"Kel_ShowStatus", [](ReplayCall &c) { return c.Make(&Entry::Kel_ShowStatus, c.Int(0), c.Int(1), c.Int(2)); }},
    {"Kel_NewSettings", [](ReplayCall &c) { return c.Make(&Entry::Kel_NewSettings); }},
    {"Kel_OpenSettings", [](ReplayCall &c) { return c.Make(&Entry::Kel_OpenSettings, c.Text(0)); }},
    {"Kel_SaveSettings", [](ReplayCall &c) { return c.Make(&Entry::Kel_SaveSettings, c.Text(0)); }},
    {"Kel_OpenXMLSettings",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_OpenXMLSettings, c.Text(0), c.Out<int>(1)); }},
    {"Kel_GetSizeOfPaperCatalog",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_GetSizeOfPaperCatalog, c.Size(0, L"catalog")); }},
    {"Kel_GetPaperCatalog",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_GetPaperCatalog, c.Buffer(0, L"catalog")); }},
    {"Kel_ShowTab", [](ReplayCall &c) { return c.Make(&Entry::Kel_ShowTab, c.Int(0), c.Int(1)); }},
    {"Kel_ShowGuiElement",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_ShowGuiElement, c.Int(0), c.Int(1), c.Int(2)); }},
    {"Kel_ShowUIElement", [](ReplayCall &c) { return c.Make(&Entry::Kel_ShowUIElement, c.Int(0), c.Int(1)); }},
    {"Kel_GetSizeOfVersion",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_GetSizeOfVersion, c.Size(0, L"version")); }},
    {"Kel_GetVersion", [](ReplayCall &c) { return c.Make(&Entry::Kel_GetVersion, c.Buffer(0, L"version")); }},
    {"Kel_GetMainMenu", [](ReplayCall &c) { return c.Make(&Entry::Kel_GetMainMenu, c.Out<HMENU>(0)); }},
    {"Kel_GetStringSize",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_GetStringSize, c.Int(0), c.Size(1, StringKey(c))); }},
    {"Kel_GetString",
     [](ReplayCall &c) { return c.Make(&Entry::Kel_GetString, c.Int(0), c.Buffer(1, StringKey(c))); }},
};

// The lines a replay passes over without a word: what the engine called
// (the hooks), what was refused before it reached the engine, and the
// message relay, whose arguments may point into the recorded run.
bool PassedOver(const TraceLine &line)
{
    return line.ending == TraceLine::Ending::NotMade || line.name == "MessageHook" || line.name == "SetTitleHook" ||
           line.name == "Kel_SendMessage";
}

Replayer ReplayerFor(const TraceLine &line)
{
    if (line.depth > 0)
        throw NotReplayable{L"it was made inside another call"};
    if (line.name == "Kel_PreTranslateMessage")
        throw NotReplayable{L"its message was one of the recorded run"};
    for (const ReplayerOf &replayer : kReplayers) {
        if (line.name == replayer.name)
            return replayer.replay;
    }
    throw NotReplayable{L"no call of the harness has that name"};
}

std::wstring Counted(std::size_t count, const wchar_t *one, const wchar_t *many)
{
    return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

std::wstring Recorded(const TraceLine &line)
{
    switch (line.ending) {
    case TraceLine::Ending::Result: return trace_format::EngineResult(line.result).substr(1);
    case TraceLine::Ending::NoResult: return L"no result";
    case TraceLine::Ending::Open: return L"still running";
    case TraceLine::Ending::DidNotReturn: return L"did not return";
    case TraceLine::Ending::NotMade: break;
    }
    return L"not made";
}

// Processes what came between two calls; false when the program is to end.
bool Settle()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

void Note(const std::wstring &text)
{
    if (CCallTrace *trace = EngineCalls::Trace())
        trace->Note(trace_format::kReplayNote + text);
}
} // namespace

bool HasCallsToReplay(const TraceScript &script)
{
    for (const TraceLine &line : script.lines) {
        if (!PassedOver(line))
            return true;
    }
    return false;
}

ReplaySummary Replay(const TraceScript &script, const std::wstring &source, HWND window, ReplayWatcher &watcher)
{
    ReplaySummary summary;
    std::wstring reasons;
    // The summary names the first few; the notes name them all.
    const std::size_t kReasonsNamed = 5;
    auto notReplayed = [&](std::size_t number, const std::wstring &reason) {
        ++summary.notReplayed;
        Note(L"line " + std::to_wstring(number) + L" not replayed: " + reason);
        if (summary.notReplayed <= kReasonsNamed)
            reasons += (reasons.empty() ? L" (" : L"; ") + std::wstring(L"line ") + std::to_wstring(number) + L": " +
                       reason;
    };

    Note(source);
    if (script.dropped > 0)
        Note(L"the trace had dropped its " + Counted(script.dropped, L"earlier line", L"earlier lines") +
             L": the replay begins where the trace does");
    ReplayState state{window, script.harnessWindow, {}, {}};
    auto damaged = script.damaged.begin();
    for (const TraceLine &line : script.lines) {
        for (; damaged != script.damaged.end() && damaged->number < line.number; ++damaged)
            notReplayed(damaged->number, damaged->reason);
        if (PassedOver(line))
            continue;
        int result = 0;
        try {
            ReplayCall call(line, state);
            result = ReplayerFor(line)(call);
        } catch (const NotReplayable &refused) {
            notReplayed(line.number, refused.reason);
            continue;
        } catch (const std::bad_alloc &) {
            notReplayed(line.number, L"no memory was left for its arguments");
            continue;
        }
        ++summary.replayed;
        if (line.ending != TraceLine::Ending::Result || line.result != result) {
            ++summary.differing;
            Note(L"line " + std::to_wstring(line.number) + L" differs: recorded " + Recorded(line) + L", now " +
                 trace_format::EngineResult(result).substr(1));
        }
        watcher.Replayed(line, result);
        if (!Settle()) {
            summary.ended = true;
            break;
        }
    }
    for (; damaged != script.damaged.end(); ++damaged)
        notReplayed(damaged->number, damaged->reason);
    if (summary.notReplayed > kReasonsNamed)
        reasons += L"; " + std::to_wstring(summary.notReplayed - kReasonsNamed) + L" more";
    if (!reasons.empty())
        reasons += L")";
    Note(Counted(summary.replayed, L"call replayed", L"calls replayed") + L", " +
         Counted(summary.differing, L"result differs", L"results differ") + L", " +
         Counted(summary.notReplayed, L"line not replayed", L"lines not replayed") + reasons +
         (summary.ended ? L"; the program was closing, so the replay ended early" : L""));
    return summary;
}
