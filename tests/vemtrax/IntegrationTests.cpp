// The built Vemtrax.dll under Wine, called by a stand-in installer in a fresh
// folder, against folders the test makes in the real places.
#include "UiDriver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const std::vector<std::string> kExports = {"GetUserDirectory16", "GetUserDirectory32", "_GetUserDirectory16@16",
                                           "_GetUserDirectory32@16"};

std::wstring FolderPath(int folder)
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

std::wstring SystemDirectory()
{
    wchar_t path[MAX_PATH] = {};
    ::GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

std::wstring UserName()
{
    wchar_t name[256] = {};
    DWORD size = 256;
    ::GetUserNameW(name, &size);
    return name;
}

// Folders made for one test and removed after it, deepest first.
class Folders {
public:
    Folders() = default;
    Folders(const Folders &) = delete;
    Folders &operator=(const Folders &) = delete;
    ~Folders()
    {
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
            ::RemoveDirectoryW(it->c_str());
    }
    void Make(const std::wstring &path)
    {
        std::size_t at = path.find(L'\\', 3);
        for (;; at = path.find(L'\\', at + 1)) {
            std::wstring part = path.substr(0, at);
            if (::CreateDirectoryW(part.c_str(), nullptr))
                m_made.push_back(part);
            if (at == std::wstring::npos)
                break;
        }
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(path.c_str())) << Utf8(path);
    }

private:
    std::vector<std::wstring> m_made;
};

// Wine's load order of "shfolder.dll" for the caller while it lives, as
// WINEDLLOVERRIDES would give it: kDisabled ("d") or kNativeFirst ("n,b").
// nullptr leaves Wine's default.
const wchar_t kDisabled[] = L"";
const wchar_t kNativeFirst[] = L"native,builtin";
class ShfolderLoadOrder {
public:
    explicit ShfolderLoadOrder(const wchar_t *order) : m_set(order != nullptr)
    {
        if (m_set) {
            EXPECT_EQ(ERROR_SUCCESS,
                      ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"shfolder", REG_SZ, order,
                                        static_cast<DWORD>((std::wcslen(order) + 1) * sizeof(wchar_t))));
        }
    }
    ~ShfolderLoadOrder()
    {
        if (m_set)
            ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\vemtrax_caller.exe");
    }
    ShfolderLoadOrder(const ShfolderLoadOrder &) = delete;
    ShfolderLoadOrder &operator=(const ShfolderLoadOrder &) = delete;

private:
    static constexpr const wchar_t *kKey = L"Software\\Wine\\AppDefaults\\vemtrax_caller.exe\\DllOverrides";
    bool m_set;
};

class Vemtrax : public ::testing::Test {
protected:
    Vemtrax() : m_sandbox(L"vemtrax")
    {
        m_sandbox.AddProgram(L"vemtrax_caller.exe");
        m_sandbox.AddProgram(L"Vemtrax.dll");
        m_level1 = L"Vemtrax Test " + std::to_wstring(::GetCurrentProcessId());
    }

    // The caller's result file, one entry per line. A child started from
    // inside Wine takes WINEDLLOVERRIDES from the Unix environment Wine started
    // with, not from the block we pass: the load order goes into Wine's
    // per-program registry key instead.
    std::vector<std::string> Run(const std::wstring &args, const wchar_t *shfolderOrder = nullptr)
    {
        ShfolderLoadOrder order(shfolderOrder);
        ::DeleteFileW(m_sandbox.Path(L"result.txt").c_str());
        Process process = Process::Start(m_sandbox, L"vemtrax_caller.exe", args);
        DWORD code = 99;
        EXPECT_TRUE(process.WaitExit(30000, &code)) << "the caller ends";
        EXPECT_EQ(0u, code) << "the caller's exit code";
        std::vector<std::string> lines;
        std::string text = m_sandbox.ReadFileBytes(L"result.txt");
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    std::vector<std::string> Call(const wchar_t *shfolderOrder = nullptr)
    {
        return Run(L"\"" + m_level1 + L"\" Suite Data", shfolderOrder);
    }
    // What every export must have written.
    static std::vector<std::string> Answers(int perUser, const std::wstring &directory)
    {
        std::vector<std::string> lines;
        for (const std::string &name : kExports)
            lines.push_back(name + " " + std::to_string(perUser) + " " + Utf8(directory));
        return lines;
    }
    static std::vector<std::string> Calls(const std::vector<std::string> &lines)
    {
        return std::vector<std::string>(lines.end() - std::min<std::size_t>(lines.size(), 4), lines.end());
    }

    Sandbox m_sandbox;
    std::wstring m_level1;
};
} // namespace

TEST_F(Vemtrax, AllFourNamesAndOrdinalsBind)
{
    std::vector<std::string> lines = Call();
    const std::vector<std::string> binding = {
        "bind GetUserDirectory16 ordinal 1: same", "bind GetUserDirectory32 ordinal 2: same",
        "bind _GetUserDirectory16@16 ordinal 3: same", "bind _GetUserDirectory32@16 ordinal 4: same",
        "twins: same"};
    ASSERT_GE(lines.size(), binding.size());
    EXPECT_EQ(binding, std::vector<std::string>(lines.begin(), lines.begin() + binding.size()));
}

TEST_F(Vemtrax, WithTheFolderLibrary)
{
    const std::wstring common = FolderPath(CSIDL_COMMON_APPDATA), own = FolderPath(CSIDL_APPDATA);
    ASSERT_FALSE(common.empty());
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(Answers(0, common + L"\\" + m_level1 + L"\\Suite\\"), Calls(Call()))
        << "the common folder, though it does not exist";

    Folders folders;
    folders.Make(own + L"\\" + m_level1 + L"\\Suite");
    EXPECT_EQ(Answers(1, own + L"\\" + m_level1 + L"\\Suite\\"), Calls(Call())) << "the user's own folder wins";
}

TEST_F(Vemtrax, WithoutTheFolderLibrary)
{
    const std::wstring shared = SystemDirectory() + L"\\" + m_level1 + L"\\Suite";
    EXPECT_EQ(Answers(0, shared + L"\\"), Calls(Call(kDisabled)));

    Folders folders;
    folders.Make(shared + L"\\" + UserName());
    EXPECT_EQ(Answers(1, shared + L"\\" + UserName() + L"\\"), Calls(Call(kDisabled)));
    folders.Make(shared + L"\\" + UserName() + L"\\Data");
    EXPECT_EQ(Answers(1, shared + L"\\" + UserName() + L"\\Data\\"), Calls(Call(kDisabled)));
}

TEST_F(Vemtrax, APlantedFolderLibraryNeverRuns)
{
    m_sandbox.AddProgram(L"shfolder.dll");
    const std::wstring planted = m_sandbox.Path(L"shfolder.dll");
    // Preferring a native library, a bare name finds the planted one.
    std::vector<std::string> bare = Run(L"--bare-load", kNativeFirst);
    EXPECT_EQ(std::vector<std::string>{"bare load: " + Utf8(planted)}, bare) << "the plant works by bare name";
    ::DeleteFileW(m_sandbox.Path(L"planted-ran.txt").c_str());

    EXPECT_EQ(Answers(0, FolderPath(CSIDL_COMMON_APPDATA) + L"\\" + m_level1 + L"\\Suite\\"),
              Calls(Call(kNativeFirst)));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_sandbox.Path(L"planted-ran.txt").c_str()))
        << "the planted library was never loaded";
}
