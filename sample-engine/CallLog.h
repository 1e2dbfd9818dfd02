// The call log named by SOLVETRIC_LOG: one UTF-8 line per entry-point call,
// hook call and script complaint. Nothing is written while the variable is unset.
#pragma once

#include <string>

void WriteLogLine(const std::string &line);

// The value of an environment variable; empty when it is unset.
std::wstring EnvironmentValue(const wchar_t *name);
