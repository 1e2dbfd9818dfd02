// The 26 entry points. Each one reads the script again if it changed, answers
// with a scripted result or does its work, and logs the call when it returns.
#include "CallFormat.h"
#include "CallLog.h"
#include "Engine.h"
#include "HandleCount.h"
#include "EngineInterface.h"
#include "FileIo.h"
#include "ResultCodes.h"
#include "ScriptSource.h"

#include <new>
#include <type_traits>
#include <vector>

#define KEL_DECLARE_EXPORT(name, params) extern "C" int __cdecl name params noexcept;
KEL_ENTRY_POINTS(KEL_DECLARE_EXPORT)
#undef KEL_DECLARE_EXPORT

#define KEL_CHECK_EXPORT(name, params) \
    static_assert(std::is_convertible<decltype(&name), name##_fn>::value, #name " has its interface type");
KEL_ENTRY_POINTS(KEL_CHECK_EXPORT)
#undef KEL_CHECK_EXPORT

namespace {
ScriptSource g_scripts; // constructed before, destroyed after the engine
Engine g_engine(g_scripts);

// How a scripted non-zero result treats the call's work.
enum class Scripted { SkipsWork, KeepsWork };

template <class Work>
int Guarded(Work &&work) noexcept
{
    try {
        return work();
    } catch (const std::bad_alloc &) {
        return kMemoryError;
    } catch (...) {
        return kExceptionThrown;
    }
}

template <class Work>
int Dispatch(const char *name, std::initializer_list<Arg> args, Work &&work,
             Scripted scripted = Scripted::SkipsWork) noexcept
{
    return Guarded([&] {
        g_scripts.Refresh();
        std::vector<ArgValue> values;
        for (const Arg &arg : args)
            values.push_back(arg.Value());
        std::optional<int> code = g_scripts.Current()->ResultFor(name, values);
        int result = code && *code != kOk && scripted == Scripted::SkipsWork ? *code : Guarded(work);
        if (code)
            result = *code;
        WriteLogLine(FormatCall(name, args, result));
        return result;
    });
}

Arg Address(const void *value) { return Arg::Address(reinterpret_cast<std::uintptr_t>(value)); }

template <class Function>
Arg HookAddress(Function hook)
{
    return Arg::Address(reinterpret_cast<std::uintptr_t>(hook));
}
} // namespace

int __cdecl Kel_InitMain(KelMessageHook messageHook, KelTitleHook titleHook) noexcept
{
    return Dispatch("Kel_InitMain", {HookAddress(messageHook), HookAddress(titleHook)},
                    [&] { return g_engine.InitMain(messageHook, titleHook); });
}

int __cdecl Kel_InitStatus(void) noexcept
{
    return Dispatch("Kel_InitStatus", {}, [&] { return g_engine.InitStatus(); });
}

int __cdecl Kel_Exit(int force) noexcept
{
    return Dispatch("Kel_Exit", {Arg::Integer(force)}, [&] { return g_engine.Exit(force); });
}

int __cdecl Kel_CreateMain(HWND parent, int splash, const wchar_t *callerTag) noexcept
{
    return Dispatch("Kel_CreateMain", {Address(parent), Arg::Integer(splash), Arg::Text(callerTag)},
                    [&] { return g_engine.CreateMain(parent, splash, callerTag); });
}

int __cdecl Kel_CreateStatus(HWND parent) noexcept
{
    return Dispatch("Kel_CreateStatus", {Address(parent)}, [&] { return g_engine.CreateStatus(parent); });
}

int __cdecl Kel_GetWindowMain(HWND *window) noexcept
{
    Out<HWND> out(window);
    return Dispatch("Kel_GetWindowMain", {Arg::Output(out)}, [&] { return g_engine.GetWindowMain(out); });
}

int __cdecl Kel_GetWindowStatus(HWND *window) noexcept
{
    Out<HWND> out(window);
    return Dispatch("Kel_GetWindowStatus", {Arg::Output(out)}, [&] { return g_engine.GetWindowStatus(out); });
}

int __cdecl Kel_Print(void) noexcept
{
    return Dispatch("Kel_Print", {}, [&] { return g_engine.Print(); });
}

int __cdecl Kel_ShowMain(int showCommand, int x, int y) noexcept
{
    return Dispatch("Kel_ShowMain", {Arg::Integer(showCommand), Arg::Integer(x), Arg::Integer(y)},
                    [&] { return g_engine.ShowMain(showCommand, x, y); });
}

int __cdecl Kel_ShowStatus(int showCommand, int x, int y) noexcept
{
    return Dispatch("Kel_ShowStatus", {Arg::Integer(showCommand), Arg::Integer(x), Arg::Integer(y)},
                    [&] { return g_engine.ShowStatus(showCommand, x, y); });
}

int __cdecl Kel_NewSettings(void) noexcept
{
    return Dispatch("Kel_NewSettings", {}, [&] { return g_engine.NewSettings(); });
}

int __cdecl Kel_OpenSettings(wchar_t *nameOrPath) noexcept
{
    return Dispatch("Kel_OpenSettings", {Arg::Text(nameOrPath)}, [&] { return g_engine.OpenSettings(nameOrPath); });
}

int __cdecl Kel_SaveSettings(wchar_t *path) noexcept
{
    return Dispatch("Kel_SaveSettings", {Arg::Text(path)}, [&] { return g_engine.SaveSettings(path); });
}

int __cdecl Kel_OpenXMLSettings(wchar_t *xml, int *errorPosition) noexcept
{
    Out<int> position(errorPosition);
    return Dispatch("Kel_OpenXMLSettings", {Arg::Text(xml), Arg::Output(position)},
                    [&] { return g_engine.OpenXmlSettings(xml, position); });
}

int __cdecl Kel_GetPaperCatalog(wchar_t *buffer) noexcept
{
    OutText out(buffer);
    return Dispatch("Kel_GetPaperCatalog", {Arg::Output(out)},
                    [&] { return g_engine.GetText(TextKind::Catalog, 0, out); });
}

int __cdecl Kel_GetSizeOfPaperCatalog(int *size) noexcept
{
    Out<int> out(size);
    return Dispatch("Kel_GetSizeOfPaperCatalog", {Arg::Output(out)},
                    [&] { return g_engine.GetTextSize(TextKind::Catalog, 0, out); });
}

int __cdecl Kel_ShowTab(int pageCode, int show) noexcept
{
    return Dispatch("Kel_ShowTab", {Arg::Integer(pageCode), Arg::Integer(show)},
                    [&] { return g_engine.ShowTab(pageCode, show); });
}

int __cdecl Kel_ShowGuiElement(int pageCode, int controlId, int show) noexcept
{
    return Dispatch("Kel_ShowGuiElement", {Arg::Integer(pageCode), Arg::Integer(controlId), Arg::Integer(show)},
                    [&] { return g_engine.ShowGuiElement(pageCode, controlId, show); });
}

int __cdecl Kel_ShowUIElement(int elementId, int show) noexcept
{
    return Dispatch("Kel_ShowUIElement", {Arg::Integer(elementId), Arg::Integer(show)},
                    [&] { return g_engine.ShowUIElement(elementId, show); });
}

int __cdecl Kel_GetVersion(wchar_t *buffer) noexcept
{
    OutText out(buffer);
    return Dispatch("Kel_GetVersion", {Arg::Output(out)},
                    [&] { return g_engine.GetText(TextKind::Version, 0, out); });
}

int __cdecl Kel_GetSizeOfVersion(int *size) noexcept
{
    Out<int> out(size);
    return Dispatch("Kel_GetSizeOfVersion", {Arg::Output(out)},
                    [&] { return g_engine.GetTextSize(TextKind::Version, 0, out); });
}

int __cdecl Kel_PreTranslateMessage(MSG *message, int *handled) noexcept
{
    Out<int> flag(handled);
    // The handled flag is set even under a scripted result, so that a test
    // can pair a consumed message with a failure code.
    auto dispatch = [&](std::initializer_list<Arg> args) noexcept {
        return Dispatch("Kel_PreTranslateMessage", args,
                        [&] { return g_engine.PreTranslateMessage(message, flag); }, Scripted::KeepsWork);
    };
    if (!message)
        return dispatch({Arg::Absent(), Arg::Absent(), Arg::Absent(), Arg::Output(flag)});
    return dispatch({Arg::Unsigned(message->message), Arg::Unsigned(message->wParam), Arg::Integer(message->lParam),
                     Arg::Output(flag)});
}

int __cdecl Kel_SendMessage(UINT message, WPARAM wParam, LPARAM lParam, int zero) noexcept
{
    return Dispatch("Kel_SendMessage",
                    {Arg::Unsigned(message), Arg::Unsigned(wParam), Arg::Integer(lParam), Arg::Integer(zero)},
                    [&] { return g_engine.ForwardedMessage(message, wParam, lParam); });
}

int __cdecl Kel_GetMainMenu(HMENU *menu) noexcept
{
    Out<HMENU> out(menu);
    return Dispatch("Kel_GetMainMenu", {Arg::Output(out)}, [&] { return g_engine.GetMainMenu(out); });
}

int __cdecl Kel_GetStringSize(int stringId, int *size) noexcept
{
    Out<int> out(size);
    return Dispatch("Kel_GetStringSize", {Arg::Integer(stringId), Arg::Output(out)},
                    [&] { return g_engine.GetTextSize(TextKind::String, stringId, out); });
}

int __cdecl Kel_GetString(int stringId, wchar_t *buffer) noexcept
{
    OutText out(buffer);
    return Dispatch("Kel_GetString", {Arg::Integer(stringId), Arg::Output(out)},
                    [&] { return g_engine.GetText(TextKind::String, stringId, out); });
}

namespace {
// The script as it stands at this load: counting is slow, so a benchmark asks
// for it only at the loads it compares.
bool ScriptCountsHandles()
{
    std::string bytes;
    const std::wstring path = EnvironmentValue(L"SOLVETRIC_SCRIPT");
    return !path.empty() && ReadFileBytes(path, bytes) && ParseScript(bytes).countHandles;
}
} // namespace

// Tells the log how the library went: freed by its host, or with the process;
// when the script asks, also what the host process holds as it loads the engine.
// The engine object still lives at detach; the runtime destroys it afterwards.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) noexcept
{
    try {
        if (reason == DLL_PROCESS_ATTACH && ScriptCountsHandles())
            WriteLogLine(HandleCountLine());
        else if (reason == DLL_PROCESS_DETACH)
            WriteLogLine(reserved ? "detach at process exit" : "detach by FreeLibrary");
    } catch (...) {
        // No log line is worth failing the load or the unload.
    }
    return TRUE;
}
