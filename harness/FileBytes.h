// Whole files in and out, for the settings panel and the call trace.
#pragma once

#include "ReadFileBytes.h"

#include <windows.h>

#include <string>

// Writes the bytes beside the file, then puts them in its place in one step
// that keeps the old file's attributes, security and streams: when anything
// fails the old file is left as it was. Where the folder takes no new file,
// the file itself is written over. False with the system's error code;
// earlierFileKept then says whether an earlier file is as it was.
bool ReplaceFileBytes(const std::wstring &path, const std::string &bytes, DWORD &error, bool &earlierFileKept);

// ReplaceFileBytes, and a box that says what went wrong when it fails.
bool SaveFileBytes(const std::wstring &path, const std::string &bytes);

// The system's wording for an error code, without its line end.
std::wstring SystemErrorText(DWORD error);
