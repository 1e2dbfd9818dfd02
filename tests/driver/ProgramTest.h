// The fixture of the program tests: the program started in a fresh folder
// beside the sample engine, its main window found by a control only it holds,
// and the engine's call log read back.
#pragma once

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
    // A copy of the program beside the engine (none when variant is null).
    void StartProgram(const std::wstring &tail, const char *script, const wchar_t *variant = L"")
    {
        m_sandbox.AddProgram(m_program);
        if (variant)
            m_sandbox.AddEngine(variant);
        m_sandbox.WriteScript(script);
        m_process = std::make_unique<Process>(Process::Start(m_sandbox, m_program, tail, {}, true));
    }
    // The main window is the dialog holding the main control, seen or not.
    HWND FindMain(bool visibleOnly) const
    {
        for (HWND window : m_process->TopLevelWindows(visibleOnly)) {
            if (ClassName(window) == L"#32770" && ::GetDlgItem(window, m_mainControl))
                return window;
        }
        return nullptr;
    }
    HWND WaitMain()
    {
        HWND main = nullptr;
        WaitFor([&] { return (main = FindMain(true)) != nullptr; }, 10000);
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
