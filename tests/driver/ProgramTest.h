// The fixture of the program tests: the program started in a fresh folder
// beside the sample engine, its main window found by a control only it holds,
// and the engine's call log read back.
#pragma once

#include "EngineContract.h"
#include "UiDriver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace uidriver {

// The log's last line once the program has freed the engine.
inline constexpr char kFreed[] = "detach by FreeLibrary";

// A handle as the call log writes it: unsigned, in decimal.
inline std::string Decimal(const void *handle) { return std::to_string(reinterpret_cast<std::uintptr_t>(handle)); }

// The ways out of a program's main window that both programs offer, as a user
// takes them; a case table names one per case.
namespace way_out {
inline void Enter(HWND main) { PressKey(main, VK_RETURN); }
inline void Escape(HWND main) { PressKey(main, VK_ESCAPE); }
inline void CloseBox(HWND main) { ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); }
inline void ExitCommand(HWND main) { Command(main, ID_APP_EXIT); }
inline void CloseCommand(HWND main) { Command(main, ID_CLOSE_DOCUMENT); }
// As an accelerator sends them: the same ids with code 1.
inline void ExitAccelerator(HWND main) { AcceleratorCommand(main, ID_APP_EXIT); }
inline void CloseAccelerator(HWND main) { AcceleratorCommand(main, ID_CLOSE_DOCUMENT); }
} // namespace way_out

class ProgramTest : public testing::Test {
protected:
    ProgramTest(const wchar_t *folder, const wchar_t *program, int mainControl)
        : m_sandbox(folder), m_folder(folder), m_program(program), m_mainControl(mainControl)
    {
    }

    // Each case of a table starts over in a folder of its own.
    void NewSandbox()
    {
        m_process.reset();
        m_sandbox = Sandbox(m_folder);
    }
    // A fixture that starts more than one program names the next one here.
    void UseProgram(const wchar_t *program, int mainControl)
    {
        m_program = program;
        m_mainControl = mainControl;
    }
    // A copy of the program beside the engine (none when variant is null),
    // its command line the program's quoted path followed by tail.
    void Start(const std::wstring &tail = L"", const std::string &script = "", const wchar_t *variant = L"")
    {
        m_sandbox.AddProgram(m_program);
        if (variant)
            m_sandbox.AddEngine(variant);
        m_sandbox.WriteScript(script);
        m_process = std::make_unique<Process>(Process::Start(m_sandbox, m_program, tail, {}, true));
    }
    // Start, and the main window once it shows.
    HWND StartMain(const std::wstring &tail = L"", const std::string &script = "", const wchar_t *variant = L"")
    {
        Start(tail, script, variant);
        return WaitMain();
    }
    // The main window is the dialog holding the main control, seen or not.
    HWND FindMain(bool visibleOnly) const { return m_process->FindDialogWith(m_mainControl, visibleOnly); }
    HWND WaitMain()
    {
        HWND main = m_process->WaitDialogWith(m_mainControl);
        EXPECT_NE(nullptr, main) << "the main window appears";
        return main;
    }
    std::vector<std::string> Calls(const char *prefix) const { return m_sandbox.CallLogMatching(prefix); }

    Sandbox m_sandbox;
    std::unique_ptr<Process> m_process;

private:
    const wchar_t *m_folder;
    const wchar_t *m_program;
    int m_mainControl;
};

} // namespace uidriver
