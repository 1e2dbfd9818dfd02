#include "UiDriver.h"

#include "DriverInternals.h"
#include "EncodeUtf8.h"
#include "ReadFileBytes.h"
#include "WriteAllBytes.h"

#include <algorithm>
#include <climits>

namespace uidriver {

std::string Utf8(const std::wstring &text) { return EncodeUtf8(text); }

std::wstring Wide(const std::string &utf8) { return DecodeUtf8(utf8); }

std::wstring BuildPath(const std::wstring &relative)
{
    DWORD size = ::GetEnvironmentVariableW(L"KEL_BUILD_DIR", nullptr, 0);
    std::wstring dir(size, L'\0');
    if (size > 0)
        dir.resize(::GetEnvironmentVariableW(L"KEL_BUILD_DIR", &dir[0], size));
    while (!dir.empty() && dir.back() == L'\\')
        dir.pop_back();
    if (dir.empty())
        throw std::runtime_error("KEL_BUILD_DIR is not set: run the test through ctest, which names the build "
                                 "directory, or set it to the Windows path of that directory");
    return dir + L"\\" + relative;
}

bool WaitFor(const std::function<bool()> &condition, DWORD ms)
{
    const ULONGLONG end = ::GetTickCount64() + ms;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(10);
    }
}

bool WaitText(HWND window, const std::wstring &text, DWORD ms)
{
    return WaitFor([&] { return Text(window) == text; }, ms);
}

bool WaitCallLogLine(const Sandbox &sandbox, const std::string &line, DWORD ms)
{
    return WaitFor(
        [&] {
            std::vector<std::string> log = sandbox.CallLog();
            return std::find(log.begin(), log.end(), line) != log.end();
        },
        ms);
}

bool WaitCallLogPrefix(const Sandbox &sandbox, const std::string &prefix, DWORD ms)
{
    return WaitFor([&] { return !sandbox.CallLogMatching(prefix).empty(); }, ms);
}

namespace detail {

std::runtime_error SystemFailure(const std::wstring &what)
{
    DWORD error = ::GetLastError();
    return std::runtime_error(Utf8(what) + " (error " + std::to_string(error) + ")");
}

void WriteWholeFile(const std::wstring &path, const std::string &bytes)
{
    unique_file file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
    if (!file)
        throw SystemFailure(L"cannot create " + path);
    if (!WriteAllBytes(file.get(), bytes))
        throw SystemFailure(L"cannot write " + path);
}

bool ReadWholeFile(const std::wstring &path, std::string &bytes)
{
    // The program under test may hold the file open, even for writing.
    DWORD error = 0;
    if (::ReadFileBytes(path, bytes, error, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, LLONG_MAX))
        return true;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return false;
    ::SetLastError(error);
    throw SystemFailure(L"cannot read " + path);
}

} // namespace detail

bool MatchesPattern(const std::string &pattern, const std::string &text)
{
    std::size_t p = 0, t = 0, star = std::string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace uidriver
