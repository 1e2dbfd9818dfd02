// The host's message texts: the engine's wording while it offers its string
// entry points, the host's own string table otherwise.
#pragma once

#include <string>

// Replaces text with the message of that id. An engine answer that cannot be
// held (a negative or unreasonably large size) leaves text as it was.
void LoadMessageText(int id, std::wstring &text);

// "<text of id> Solvetric.dll", the detail on a line of its own when there is
// one, an empty line, then "The Application can not continue.", in a box with
// only an OK button.
void ShowEngineError(int id, const std::wstring &detail = std::wstring());

// After a load that found no library: when the file is there all the same,
// "<its path> is there but could not be loaded: <the system's reason> (<code>)";
// empty when it is truly missing.
std::wstring EngineLoadFailureText();

// Command-line settings the engine rejected.
std::wstring SettingsFileErrorText(const std::wstring &commandLine);
