// The 26 entry points. Each one reads the script again if it changed, answers
// with a scripted result or does its work, and logs the call when it returns.
#include "CallFormat.h"
#include "CallLog.h"
#include "Engine.h"
#include "HandleCount.h"
#include "EngineInterface.h"
#include "EngineContract.h"
#include "ScriptSource.h"
#include "Window.h"

#include <cstdint>
#include <memory>
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
HINSTANCE g_module = nullptr;

// What one load of the library holds.
struct Load {
    ScriptSource scripts; // outlives the engine
    Engine engine{scripts};
};
std::unique_ptr<Load> g_load;

// The load's engine, made at the first entry-point call: DllMain runs under
// the loader lock, where reading files or asking user32 and gdi32 has no
// place. When the script asks, that first call counts what the host holds.
Load &CurrentLoad()
{
    if (!g_load) {
        auto load = std::make_unique<Load>();
        load->scripts.Refresh();
        if (load->scripts.Current()->countHandles)
            WriteLogLine(HandleCountLine());
        g_load = std::move(load);
    }
    return *g_load;
}

// A real access violation in the engine's own code, as a bug would make: no
// handler of the engine's sees it (C++ catch takes no such fault here).
[[gnu::noinline]] void FaultHere()
{
    volatile std::uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int *>(nowhere) = 1;
}

// How a scripted non-zero result treats the call's work.
enum class Scripted { SkipsWork, KeepsWork };

template <class Work>
int Guarded(Work &&work) noexcept
{
    try {
        return work();
    } catch (const std::bad_alloc &) {
        return KEL_MEMORY_ERROR;
    } catch (...) {
        return KEL_EXCEPTION_THROWN;
    }
}

template <class Work>
int Dispatch(const char *name, std::initializer_list<Arg> args, Work &&work,
             Scripted scripted = Scripted::SkipsWork) noexcept
{
    return Guarded([&] {
        Load &load = CurrentLoad();
        load.scripts.Refresh();
        if (load.scripts.Current()->faults.count(name))
            FaultHere();
        std::vector<ArgValue> values;
        for (const Arg &arg : args)
            values.push_back(arg.Value());
        std::optional<int> code = load.scripts.Current()->ResultFor(name, values);
        int result = code && *code != KEL_OK && scripted == Scripted::SkipsWork
                         ? *code
                         : Guarded([&] { return work(load.engine); });
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
                    [&](Engine &engine) { return engine.InitMain(messageHook, titleHook); });
}

int __cdecl Kel_InitStatus(void) noexcept
{
    return Dispatch("Kel_InitStatus", {}, [&](Engine &engine) { return engine.InitStatus(); });
}

int __cdecl Kel_Exit(int force) noexcept
{
    return Dispatch("Kel_Exit", {Arg::Integer(force)}, [&](Engine &engine) { return engine.Exit(force); });
}

int __cdecl Kel_CreateMain(HWND parent, int splash, const wchar_t *callerTag) noexcept
{
    return Dispatch("Kel_CreateMain", {Address(parent), Arg::Integer(splash), Arg::Text(callerTag)},
                    [&](Engine &engine) { return engine.CreateMain(parent, splash, callerTag); });
}

int __cdecl Kel_CreateStatus(HWND parent) noexcept
{
    return Dispatch("Kel_CreateStatus", {Address(parent)}, [&](Engine &engine) { return engine.CreateStatus(parent); });
}

int __cdecl Kel_GetWindowMain(HWND *window) noexcept
{
    Out<HWND> out(window);
    return Dispatch("Kel_GetWindowMain", {Arg::Output(out)}, [&](Engine &engine) { return engine.GetWindowMain(out); });
}

int __cdecl Kel_GetWindowStatus(HWND *window) noexcept
{
    Out<HWND> out(window);
    return Dispatch("Kel_GetWindowStatus", {Arg::Output(out)},
                    [&](Engine &engine) { return engine.GetWindowStatus(out); });
}

int __cdecl Kel_Print(void) noexcept
{
    return Dispatch("Kel_Print", {}, [&](Engine &engine) { return engine.Print(); });
}

int __cdecl Kel_ShowMain(int showCommand, int x, int y) noexcept
{
    return Dispatch("Kel_ShowMain", {Arg::Integer(showCommand), Arg::Integer(x), Arg::Integer(y)},
                    [&](Engine &engine) { return engine.ShowMain(showCommand, x, y); });
}

int __cdecl Kel_ShowStatus(int showCommand, int x, int y) noexcept
{
    return Dispatch("Kel_ShowStatus", {Arg::Integer(showCommand), Arg::Integer(x), Arg::Integer(y)},
                    [&](Engine &engine) { return engine.ShowStatus(showCommand, x, y); });
}

int __cdecl Kel_NewSettings(void) noexcept
{
    return Dispatch("Kel_NewSettings", {}, [&](Engine &engine) { return engine.NewSettings(); });
}

int __cdecl Kel_OpenSettings(wchar_t *nameOrPath) noexcept
{
    return Dispatch("Kel_OpenSettings", {Arg::Text(nameOrPath)},
                    [&](Engine &engine) { return engine.OpenSettings(nameOrPath); });
}

int __cdecl Kel_SaveSettings(wchar_t *path) noexcept
{
    return Dispatch("Kel_SaveSettings", {Arg::Text(path)}, [&](Engine &engine) { return engine.SaveSettings(path); });
}

int __cdecl Kel_OpenXMLSettings(wchar_t *xml, int *errorPosition) noexcept
{
    Out<int> position(errorPosition);
    return Dispatch("Kel_OpenXMLSettings", {Arg::Text(xml), Arg::Output(position)},
                    [&](Engine &engine) { return engine.OpenXmlSettings(xml, position); });
}

int __cdecl Kel_GetPaperCatalog(wchar_t *buffer) noexcept
{
    OutText out(buffer);
    return Dispatch("Kel_GetPaperCatalog", {Arg::Output(out)},
                    [&](Engine &engine) { return engine.GetText(TextKind::Catalog, 0, out); });
}

int __cdecl Kel_GetSizeOfPaperCatalog(int *size) noexcept
{
    Out<int> out(size);
    return Dispatch("Kel_GetSizeOfPaperCatalog", {Arg::Output(out)},
                    [&](Engine &engine) { return engine.GetTextSize(TextKind::Catalog, 0, out); });
}

int __cdecl Kel_ShowTab(int pageCode, int show) noexcept
{
    return Dispatch("Kel_ShowTab", {Arg::Integer(pageCode), Arg::Integer(show)},
                    [&](Engine &engine) { return engine.ShowTab(pageCode, show); });
}

int __cdecl Kel_ShowGuiElement(int pageCode, int controlId, int show) noexcept
{
    return Dispatch("Kel_ShowGuiElement", {Arg::Integer(pageCode), Arg::Integer(controlId), Arg::Integer(show)},
                    [&](Engine &engine) { return engine.ShowGuiElement(pageCode, controlId, show); });
}

int __cdecl Kel_ShowUIElement(int elementId, int show) noexcept
{
    return Dispatch("Kel_ShowUIElement", {Arg::Integer(elementId), Arg::Integer(show)},
                    [&](Engine &engine) { return engine.ShowUIElement(elementId, show); });
}

int __cdecl Kel_GetVersion(wchar_t *buffer) noexcept
{
    OutText out(buffer);
    return Dispatch("Kel_GetVersion", {Arg::Output(out)},
                    [&](Engine &engine) { return engine.GetText(TextKind::Version, 0, out); });
}

int __cdecl Kel_GetSizeOfVersion(int *size) noexcept
{
    Out<int> out(size);
    return Dispatch("Kel_GetSizeOfVersion", {Arg::Output(out)},
                    [&](Engine &engine) { return engine.GetTextSize(TextKind::Version, 0, out); });
}

int __cdecl Kel_PreTranslateMessage(MSG *message, int *handled) noexcept
{
    Out<int> flag(handled);
    // The handled flag is set even under a scripted result, so that a test
    // can pair a consumed message with a failure code.
    auto dispatch = [&](std::initializer_list<Arg> args) noexcept {
        return Dispatch("Kel_PreTranslateMessage", args,
                        [&](Engine &engine) { return engine.PreTranslateMessage(message, flag); },
                        Scripted::KeepsWork);
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
                    [&](Engine &engine) { return engine.ForwardedMessage(message, wParam, lParam); });
}

int __cdecl Kel_GetMainMenu(HMENU *menu) noexcept
{
    Out<HMENU> out(menu);
    return Dispatch("Kel_GetMainMenu", {Arg::Output(out)}, [&](Engine &engine) { return engine.GetMainMenu(out); });
}

int __cdecl Kel_GetStringSize(int stringId, int *size) noexcept
{
    Out<int> out(size);
    return Dispatch("Kel_GetStringSize", {Arg::Integer(stringId), Arg::Output(out)},
                    [&](Engine &engine) { return engine.GetTextSize(TextKind::String, stringId, out); });
}

int __cdecl Kel_GetString(int stringId, wchar_t *buffer) noexcept
{
    OutText out(buffer);
    return Dispatch("Kel_GetString", {Arg::Integer(stringId), Arg::Output(out)},
                    [&](Engine &engine) { return engine.GetText(TextKind::String, stringId, out); });
}

HINSTANCE ModuleInstance() noexcept { return g_module; }

// Under the loader lock nothing is done that could load a library or wait on
// another thread: attach notes the module, and detach writes the log's last
// line (file calls of kernel32 only). When a host frees the library, the
// windows it left alive are destroyed and the classes unregistered with the
// engine: their window procedure lies in this code, and the next message to
// them would run code that is gone. At process exit nothing is undone: the
// windows go with the process.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) noexcept
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
    } else if (reason == DLL_PROCESS_DETACH) {
        try {
            WriteLogLine(reserved ? "detach at process exit" : "detach by FreeLibrary");
        } catch (...) {
            // No log line is worth failing the unload.
        }
        if (reserved)
            static_cast<void>(g_load.release());
        else
            g_load.reset();
    }
    return TRUE;
}
