// Loads the sample engine (or one of its variants) into the test process,
// with a script and a call log of the test's own.
#pragma once

#include "EngineLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

std::wstring BuildPath(const std::wstring &relative);

class EngineTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The library search finds the engine in this folder (the test program's
    // own folder holds none).
    void SearchIn(const std::wstring &dir);
    // "" for the complete engine, else a variant such as "without-Kel_GetString".
    void UseEngine(const std::string &variant = "");
    void Script(const std::string &text);
    void ClearLog();
    std::vector<std::string> Calls(const std::string &prefix) const;

    std::wstring m_dir, m_log, m_script;
};
