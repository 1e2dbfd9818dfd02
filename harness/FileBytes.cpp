#include "FileBytes.h"

#include "ErrorReport.h"
#include "Strings.h"
#include "UniqueHandle.h"
#include "WriteAllBytes.h"
#include "resource.h"

#include <iterator>
#include <vector>

namespace {
using Earlier = SaveOutcome::Earlier;

// What a user sets on a file and a save must not take away.
const DWORD kCarriedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
const DWORD kSettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_TEMPORARY;
// The longest ending a name beside the file gets (".earlier99").
const std::size_t kLongestEnding = 10;
// Virus scanners, the search indexer and sync clients hold a file that was
// just written for a moment: about a second of pauses in all.
const DWORD kPauses[] = {50, 100, 150, 300, 400};

bool Transient(DWORD error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED: // the earlier file held open without delete sharing
        return true;
    default:
        return false;
    }
}

// The step, tried again after a pause while it fails for a moment's reason.
template <class Step>
bool Retried(const SaveCalls &calls, DWORD &error, Step step)
{
    for (std::size_t attempt = 0;; ++attempt) {
        if (step())
            return true;
        error = ::GetLastError();
        if (!Transient(error) || attempt == std::size(kPauses))
            return false;
        calls.sleep(kPauses[attempt]);
    }
}

bool Exists(const SaveCalls &calls, const std::wstring &path)
{
    return calls.getFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Delete(const SaveCalls &calls, const std::wstring &path, DWORD &error)
{
    return Retried(calls, error, [&] { return calls.deleteFile(path.c_str()) != FALSE; });
}

// The form of the path that no length limit stops: \\?\C:\... or \\?\UNC\server\...
std::wstring ExtendedLength(const std::wstring &path)
{
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    DWORD length = size ? ::GetFullPathNameW(path.c_str(), size, &full[0], nullptr) : 0;
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

// A name as the user would write it.
std::wstring Shown(const std::wstring &path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + path.substr(8);
    return path.rfind(L"\\\\?\\", 0) == 0 ? path.substr(4) : path;
}

// A name beside the file that no file has yet; empty when none is free.
std::wstring FreeName(const SaveCalls &calls, const std::wstring &stem)
{
    for (int n = 0; n < 100; ++n) {
        std::wstring name = stem + (n ? std::to_wstring(n) : std::wstring());
        if (calls.getFileAttributes(name.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND)
            return name;
    }
    return std::wstring();
}

// The file itself written over, as in a folder where the user may change
// files but not make new ones. Opening it as it is keeps its identity.
SaveOutcome WriteInPlace(const SaveCalls &calls, const std::wstring &path, const std::string &bytes)
{
    SaveOutcome outcome;
    unique_file file(calls.createFile(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) {
        outcome.error = ::GetLastError();
        outcome.earlier = Exists(calls, path) ? Earlier::Kept : Earlier::None;
        return outcome;
    }
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (!WriteAllBytes(file.get(), bytes) || !::SetEndOfFile(file.get()) || !::FlushFileBuffers(file.get())) {
        outcome.error = ::GetLastError();
        outcome.earlier = existed ? Earlier::Changed : Earlier::None;
        return outcome;
    }
    outcome.saved = true;
    return outcome;
}

// Wine 8's ReplaceFileW only renames the file beside over the target:
// attributes, security and streams stay behind, so the attributes are put
// back here; Windows carries all of them itself.
void CarryAttributes(const SaveCalls &calls, const std::wstring &path, DWORD earlier)
{
    DWORD now = calls.getFileAttributes(path.c_str());
    if (now == INVALID_FILE_ATTRIBUTES || (now & kCarriedAttributes) == (earlier & kCarriedAttributes))
        return;
    DWORD wanted = (now & kSettableAttributes & ~kCarriedAttributes) | (earlier & kCarriedAttributes);
    calls.setFileAttributes(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
}

// The file beside takes the target's place. Which file holds what after a
// failure is read off the disk, not off the error code alone.
SaveOutcome PutInPlace(const SaveCalls &calls, const std::wstring &path, const std::wstring &beside, DWORD attributes)
{
    SaveOutcome outcome;
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    outcome.earlier = existed ? Earlier::Kept : Earlier::None;
    // With a backup name, ReplaceFileW leaves the earlier file where it can be
    // found when it fails half-way, and keeps both names where it fails early.
    const std::wstring backup = existed ? FreeName(calls, path + L".earlier") : std::wstring();
    DWORD error = 0;
    bool placed = existed && Retried(calls, error, [&] {
        return calls.replaceFile(path.c_str(), beside.c_str(), backup.empty() ? nullptr : backup.c_str(),
                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE;
    });
    const bool backedUp = !backup.empty() && Exists(calls, backup);
    if (!placed && !Exists(calls, path)) {
        // The name is free: there was no file, or the system moved it aside
        // (1177) or removed it (1176 without a backup). The file beside now
        // holds the only copy of the bytes, so it is never deleted here.
        DWORD moveError = 0;
        placed = Retried(calls, moveError, [&] {
            return calls.moveFileEx(beside.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
        });
        if (!placed) {
            outcome.error = error ? error : moveError;
            outcome.savedAs = Shown(beside);
            outcome.earlier = backedUp ? Earlier::Moved : existed ? Earlier::Gone : Earlier::None;
            if (backedUp)
                outcome.earlierAt = Shown(backup);
            return outcome;
        }
    } else if (!placed) {
        // Both keep their names (1175, or 1176 with a backup): the earlier file
        // is as it was, and the program still holds the bytes.
        outcome.error = error;
        DWORD ignored = 0;
        if (!Delete(calls, beside, ignored))
            outcome.savedAs = Shown(beside);
        return outcome;
    }
    outcome.saved = true;
    outcome.earlier = Earlier::None;
    if (backedUp && !Delete(calls, backup, outcome.error)) {
        outcome.earlier = Earlier::Moved;
        outcome.earlierAt = Shown(backup);
    }
    if (existed)
        CarryAttributes(calls, path, attributes);
    return outcome;
}

void WINAPI SystemSleep(DWORD milliseconds) { ::Sleep(milliseconds); }

const SaveCalls kSystemCalls = {&::CreateFileW,       &::ReplaceFileW,       &::MoveFileExW, &::DeleteFileW,
                                &::GetFileAttributesW, &::SetFileAttributesW, &SystemSleep};
} // namespace

const SaveCalls &SystemSaveCalls() { return kSystemCalls; }

SaveOutcome ReplaceFileBytes(const std::wstring &chosen, const std::string &bytes, const SaveCalls &calls)
{
    // A name near the classic limit would get a longer one beside it, which
    // Windows without long-path support refuses to create.
    const std::wstring path = chosen.size() + kLongestEnding >= MAX_PATH ? ExtendedLength(chosen) : chosen;
    SaveOutcome outcome;
    const DWORD attributes = calls.getFileAttributes(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        outcome.earlier = Earlier::Kept;
        if (attributes & FILE_ATTRIBUTE_READONLY) { // refused before anything is written
            outcome.error = ERROR_ACCESS_DENIED;
            return outcome;
        }
    }
    // A new name beside it: a file the user already has of that name is not touched.
    std::wstring beside;
    unique_file file;
    for (int n = 0; !file; ++n) {
        beside = path + L".saving" + (n ? std::to_wstring(n) : std::wstring());
        file.reset(calls.createFile(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        DWORD failure = file ? ERROR_SUCCESS : ::GetLastError();
        if (failure == ERROR_ACCESS_DENIED)
            return WriteInPlace(calls, path, bytes);
        if (!file && (failure != ERROR_FILE_EXISTS || n == 99)) {
            outcome.error = failure;
            return outcome;
        }
    }
    if (!WriteAllBytes(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
        outcome.error = ::GetLastError();
        file.reset();
        DWORD ignored = 0;
        Delete(calls, beside, ignored); // a part of the bytes, no copy of anything
        return outcome;
    }
    file.reset();
    return PutInPlace(calls, path, beside, attributes);
}

std::wstring SaveReport(const std::wstring &path, const SaveOutcome &outcome)
{
    if (outcome.saved) {
        if (outcome.earlier != Earlier::Moved)
            return std::wstring();
        return FormatString(LoadResString(IDS_SAVED), {path}) + L"\n\n" +
               FormatString(LoadResString(IDS_EARLIER_NOT_REMOVED),
                            {outcome.earlierAt, SystemErrorText(outcome.error, outcome.earlierAt)});
    }
    std::vector<std::wstring> sentences;
    if (!outcome.savedAs.empty())
        sentences.push_back(FormatString(LoadResString(IDS_SAVED_INSTEAD), {outcome.savedAs}));
    switch (outcome.earlier) {
    case Earlier::None: break;
    case Earlier::Kept: sentences.push_back(LoadResString(IDS_EARLIER_KEPT)); break;
    case Earlier::Changed: sentences.push_back(LoadResString(IDS_EARLIER_CHANGED)); break;
    case Earlier::Moved: sentences.push_back(FormatString(LoadResString(IDS_EARLIER_MOVED), {outcome.earlierAt})); break;
    case Earlier::Gone: sentences.push_back(LoadResString(IDS_EARLIER_GONE)); break;
    }
    std::wstring text = FormatString(LoadResString(IDS_CANNOT_WRITE), {path, SystemErrorText(outcome.error, path)});
    for (std::size_t i = 0; i < sentences.size(); ++i)
        text += (i ? L" " : L"\n\n") + sentences[i];
    return text;
}

bool SaveFileBytes(const std::wstring &path, const std::string &bytes)
{
    SaveOutcome outcome = ReplaceFileBytes(path, bytes);
    std::wstring report = SaveReport(path, outcome);
    if (!report.empty())
        HarnessMessageBox(report, outcome.saved ? MB_ICONWARNING : MB_ICONERROR);
    return outcome.saved;
}
