#include "UiDriver.h"

#include "DriverInternals.h"

#include <atomic>
#include <iostream>

namespace uidriver {
namespace {
using detail::SystemFailure;

const wchar_t kScriptName[] = L"engine-script.txt";
const wchar_t kLogName[] = L"engine-calls.log";

std::wstring TempDir()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        throw SystemFailure(L"no temp directory");
    return std::wstring(buffer, length);
}

std::wstring FileNamePart(const std::wstring &path)
{
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool Exists(const std::wstring &path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Removes as much as it can; true when the folder is gone.
bool RemoveTree(const std::wstring &dir) noexcept
{
    try {
        WIN32_FIND_DATAW found = {};
        detail::unique_find find(::FindFirstFileW((dir + L"\\*").c_str(), &found));
        if (find) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring path = dir + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(path);
                } else {
                    // Copied programs may arrive read-only.
                    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(path.c_str());
                }
            } while (::FindNextFileW(find.get(), &found));
        }
        find.reset();
        return ::RemoveDirectoryW(dir.c_str()) || !Exists(dir);
    } catch (...) {
        return false;
    }
}

bool KeepSandboxes()
{
    wchar_t value[4] = {};
    return ::GetEnvironmentVariableW(L"KEL_KEEP_SANDBOX", value, 4) == 1 && value[0] == L'1';
}

void Dispose(const std::wstring &dir) noexcept
{
    if (dir.empty())
        return;
    try {
        if (KeepSandboxes()) {
            std::cerr << "kept sandbox " << Utf8(dir) << '\n';
            return;
        }
        // A program ended a moment ago may still hold its files for a while.
        WaitFor([&] { return RemoveTree(dir); }, 2000);
    } catch (...) {
    }
}
} // namespace

Sandbox::Sandbox(std::wstring name)
{
    for (wchar_t &c : name) {
        if (c < L' ' || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos)
            c = L'_';
    }
    static std::atomic<unsigned> counter{0};
    const std::wstring base = TempDir() + L"kel-" + name + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (;;) {
        std::wstring dir = base + std::to_wstring(++counter);
        if (::CreateDirectoryW(dir.c_str(), nullptr)) {
            m_dir = dir;
            return;
        }
        // A folder left by an earlier run with the same process id.
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            throw SystemFailure(L"cannot create the sandbox " + dir);
    }
}

Sandbox::~Sandbox() { Dispose(m_dir); }

Sandbox::Sandbox(Sandbox &&other) noexcept : m_dir(std::move(other.m_dir)) { other.m_dir.clear(); }

Sandbox &Sandbox::operator=(Sandbox &&other) noexcept
{
    if (this != &other) {
        Dispose(m_dir);
        m_dir = std::move(other.m_dir);
        other.m_dir.clear();
    }
    return *this;
}

std::wstring Sandbox::Path(const std::wstring &name) const { return m_dir + L"\\" + name; }

void Sandbox::AddFile(const std::wstring &source, const std::wstring &destName)
{
    std::wstring dest = Path(destName.empty() ? FileNamePart(source) : destName);
    if (!::CopyFileW(source.c_str(), dest.c_str(), FALSE))
        throw SystemFailure(L"cannot copy " + source + L" to " + dest);
}

void Sandbox::AddProgram(const std::wstring &exeName)
{
    for (const wchar_t *folder : {L"dist\\", L"tests\\", L"tests\\rig\\"}) {
        std::wstring source = BuildPath(folder + exeName);
        if (Exists(source)) {
            AddFile(source);
            return;
        }
    }
    throw std::runtime_error(Utf8(exeName) + " is in none of dist\\, tests\\ and tests\\rig\\ of " +
                             Utf8(BuildPath(L"")));
}

void Sandbox::AddEngine(const std::wstring &variant)
{
    AddFile(BuildPath(variant.empty() ? L"dist\\Solvetric.dll" : L"variants\\" + variant + L"\\Solvetric.dll"),
            L"Solvetric.dll");
}

void Sandbox::AddEngineWithMissingDependency()
{
    std::string bytes;
    const std::wstring engine = BuildPath(L"dist\\Solvetric.dll");
    if (!detail::ReadWholeFile(engine, bytes))
        throw std::runtime_error("there is no " + Utf8(engine));
    // The import's name, NUL-terminated, in whichever case the linker wrote it.
    const std::string imported = "comctl32.dll", absent = "kelabsnt.dll";
    for (std::size_t at = 0; at + imported.size() < bytes.size(); ++at) {
        bool same = bytes[at + imported.size()] == '\0';
        for (std::size_t i = 0; same && i < imported.size(); ++i)
            same = (bytes[at + i] | 0x20) == imported[i];
        if (same) {
            bytes.replace(at, absent.size(), absent);
            detail::WriteWholeFile(Path(L"Solvetric.dll"), bytes);
            return;
        }
    }
    throw std::runtime_error(Utf8(engine) + " imports nothing from " + imported);
}

void Sandbox::WriteScript(const std::string &utf8)
{
    const std::wstring script = ScriptPath();
    const std::wstring next = script + L".next";
    const bool splash = utf8.compare(0, sizeof kWithSplash - 1, kWithSplash) == 0;
    detail::WriteWholeFile(next, splash ? utf8 : "nosplash\n" + utf8);
    // The engine opens the script with full sharing, so the swap only waits
    // out a reader on a system that does not allow it.
    if (!WaitFor([&] { return ::MoveFileExW(next.c_str(), script.c_str(), MOVEFILE_REPLACE_EXISTING) != 0; }, 2000))
        throw SystemFailure(L"cannot replace " + script);
}

std::wstring Sandbox::ScriptPath() const { return Path(kScriptName); }

std::wstring Sandbox::LogPath() const { return Path(kLogName); }

Environment Sandbox::EngineEnvironment() const
{
    return {{L"SOLVETRIC_SCRIPT", ScriptPath()}, {L"SOLVETRIC_LOG", LogPath()}};
}

std::vector<std::string> Sandbox::CallLog() const
{
    std::string bytes;
    std::vector<std::string> lines;
    if (!detail::ReadWholeFile(LogPath(), bytes))
        return lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> Sandbox::CallLogMatching(const std::string &prefix) const
{
    std::vector<std::string> matching;
    for (const std::string &line : CallLog()) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            matching.push_back(line);
    }
    return matching;
}

void Sandbox::ClearCallLog()
{
    // Emptied, not deleted: the engine may have it open to append.
    unique_file file(::CreateFileW(LogPath().c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw SystemFailure(L"cannot empty " + LogPath());
}

void Sandbox::WriteFileBytes(const std::wstring &name, const std::string &bytes)
{
    detail::WriteWholeFile(Path(name), bytes);
}

std::string Sandbox::ReadFileBytes(const std::wstring &name) const
{
    std::string bytes;
    if (!detail::ReadWholeFile(Path(name), bytes))
        throw std::runtime_error("there is no file " + Utf8(Path(name)));
    return bytes;
}

} // namespace uidriver
