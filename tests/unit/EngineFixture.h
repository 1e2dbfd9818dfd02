// Loads the sample engine (or one of its variants) into the test process,
// with a script and a call log of the test's own in a sandbox, as the UI
// tests give the programs they start.
#pragma once

#include "EngineLoader.h"
#include "UiDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EngineTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The library search finds the engine in this folder (the test program's
    // own folder holds none).
    void SearchIn(const std::wstring &dir);
    // "" for the complete engine, else a variant such as "without-Kel_GetString".
    void UseEngine(const std::string &variant = "");
    void Script(const std::string &text) { m_sandbox.WriteScript(text); }
    void ClearLog() { m_sandbox.ClearCallLog(); }
    std::vector<std::string> Calls(const std::string &prefix) const { return m_sandbox.CallLogMatching(prefix); }

    uidriver::Sandbox m_sandbox{L"unit"};
};
