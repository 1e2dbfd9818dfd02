// Whole-file reads and writes, and appends that other processes may watch.
#pragma once

#include <string>

// The whole file, shared with every reader and writer; none beyond 16 MB.
bool ReadEngineFile(const std::wstring &path, std::string &bytes);
// Creates the file or replaces its contents.
bool WriteFileBytes(const std::wstring &path, const std::string &bytes);
// Opens, appends and closes at once, sharing the file with every reader and
// writer, so nothing is lost if the program dies afterwards.
bool AppendFileBytes(const std::wstring &path, const std::string &bytes);
