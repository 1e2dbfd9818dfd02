// Whole files in and out, for the settings panel and the call trace.
#pragma once

#include "ReadFileBytes.h"

#include <windows.h>

#include <string>

// The file calls of a save, as a table: the system's, or a test's that fails
// where Windows can and Wine never does.
struct SaveCalls {
    HANDLE(WINAPI *createFile)(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE model);
    BOOL(WINAPI *replaceFile)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
                              LPVOID reserved);
    BOOL(WINAPI *moveFileEx)(LPCWSTR from, LPCWSTR to, DWORD flags);
    BOOL(WINAPI *deleteFile)(LPCWSTR path);
    DWORD(WINAPI *getFileAttributes)(LPCWSTR path);
    BOOL(WINAPI *setFileAttributes)(LPCWSTR path, DWORD attributes);
    void(WINAPI *sleep)(DWORD milliseconds);
};
const SaveCalls &SystemSaveCalls();

// What became of a save: where the bytes are, and the file that had the name.
struct SaveOutcome {
    enum class Earlier {
        None,      // there was none, or it was replaced as asked
        Kept,      // as it was, under its name
        Changed,   // written over in place, perhaps only in part
        Moved,     // under the name in earlierAt
        Gone,      // the system removed it and the bytes did not take its place
    };
    bool saved = false;     // the bytes are in the file of the chosen name
    DWORD error = 0;        // why not; or, when saved, why the earlier file was left over
    Earlier earlier = Earlier::None;
    std::wstring savedAs;   // where the bytes are instead, when not saved; may be empty
    std::wstring earlierAt; // for Earlier::Moved
};

// Writes the bytes beside the file, then puts them in its place in one step
// that keeps the old file's attributes, security and streams. Whatever fails,
// no content is deleted while its file is the only copy. Where the folder
// takes no new file, the file itself is written over.
SaveOutcome ReplaceFileBytes(const std::wstring &path, const std::string &bytes,
                             const SaveCalls &calls = SystemSaveCalls());

// What the user is told of an outcome; empty when all went as asked.
std::wstring SaveReport(const std::wstring &path, const SaveOutcome &outcome);

// ReplaceFileBytes, and a box when SaveReport has something to say. True when saved.
bool SaveFileBytes(const std::wstring &path, const std::string &bytes);
