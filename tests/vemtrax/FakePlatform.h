// A platform for the directory choice that exists only in memory: a user, a
// system directory, a folder library and the paths that exist, with a log of
// every call made to it.
#pragma once

#include "Platform.h"

#include <set>
#include <string>
#include <vector>

// ASCII only: the tables are written once and run at both widths.
template <class Char> std::basic_string<Char> Widen(const std::wstring &text)
{
    return std::basic_string<Char>(text.begin(), text.end());
}
template <class Char> std::wstring Wide(const std::basic_string<Char> &text)
{
    return std::wstring(text.begin(), text.end());
}

struct FakeWorld {
    std::wstring user = L"bob";
    bool userFails = false;
    std::wstring system = L"C:\\Win\\System32"; // empty: the query fails
    bool library = true;
    bool function = true;
    std::wstring common;  // empty: the query leaves the buffer as it is
    std::wstring appData; // the same
    HRESULT answer = S_OK;
    std::set<std::wstring> existing;
};

template <class Char> class FakePlatform {
public:
    explicit FakePlatform(const FakeWorld &world) : m_world(world) { s_current = this; }
    ~FakePlatform() { s_current = nullptr; }
    FakePlatform(const FakePlatform &) = delete;
    FakePlatform &operator=(const FakePlatform &) = delete;

    const Platform<Char> &Table() const
    {
        static const Platform<Char> table = {GetUserName,       GetSystemDirectory, LoadLibrary,
                                             GetProcAddress,    GetFileAttributes,  FreeLibrary};
        return table;
    }
    const std::vector<std::string> &Calls() const { return m_calls; }
    int LoadedNow() const { return m_loaded; }

private:
    static FakePlatform &Current() { return *s_current; }
    void Log(const std::string &call) { m_calls.push_back(call); }
    static std::string Ascii(const std::wstring &text) { return std::string(text.begin(), text.end()); }
    static void Write(Char *buffer, const std::wstring &text)
    {
        std::basic_string<Char> narrow = Widen<Char>(text);
        std::copy(narrow.begin(), narrow.end(), buffer);
        buffer[narrow.size()] = 0;
    }

    static BOOL WINAPI GetUserName(Char *buffer, LPDWORD size)
    {
        FakePlatform &self = Current();
        self.Log("GetUserName(" + std::to_string(*size) + ")");
        if (self.m_world.userFails)
            return FALSE;
        Write(buffer, self.m_world.user);
        *size = static_cast<DWORD>(self.m_world.user.size() + 1);
        return TRUE;
    }
    static UINT WINAPI GetSystemDirectory(Char *buffer, UINT size)
    {
        FakePlatform &self = Current();
        self.Log("GetSystemDirectory(" + std::to_string(size) + ")");
        if (self.m_world.system.empty())
            return 0;
        Write(buffer, self.m_world.system);
        return static_cast<UINT>(self.m_world.system.size());
    }
    static HMODULE WINAPI LoadLibrary(const Char *path)
    {
        FakePlatform &self = Current();
        self.Log("LoadLibrary(" + Ascii(Wide<Char>(path)) + ")");
        if (!self.m_world.library)
            return nullptr;
        ++self.m_loaded;
        return Module();
    }
    static FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name)
    {
        FakePlatform &self = Current();
        self.Log(std::string("GetProcAddress(") + (module == Module() ? "shfolder" : "?") + ", " + name + ")");
        if (!self.m_world.function)
            return nullptr;
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(FolderPath));
    }
    static HRESULT WINAPI FolderPath(HWND owner, int folder, HANDLE token, DWORD flags, Char *path)
    {
        FakePlatform &self = Current();
        self.Log("SHGetFolderPath(" + std::to_string(reinterpret_cast<UINT_PTR>(owner)) + ", " +
                 std::to_string(folder) + ", " + std::to_string(reinterpret_cast<UINT_PTR>(token)) + ", " +
                 std::to_string(flags) + ", " + (path[0] ? "not empty" : "empty") + ")");
        const std::wstring &answer = folder == 0x23 ? self.m_world.common : self.m_world.appData;
        if (!answer.empty())
            Write(path, answer);
        return self.m_world.answer;
    }
    static DWORD WINAPI GetFileAttributes(const Char *path)
    {
        FakePlatform &self = Current();
        std::wstring wide = Wide<Char>(path);
        self.Log("GetFileAttributes(" + Ascii(wide) + ")");
        return self.m_world.existing.count(wide) ? FILE_ATTRIBUTE_DIRECTORY : INVALID_FILE_ATTRIBUTES;
    }
    static BOOL WINAPI FreeLibrary(HMODULE module)
    {
        FakePlatform &self = Current();
        self.Log(std::string("FreeLibrary(") + (module == Module() ? "shfolder" : "?") + ")");
        --self.m_loaded;
        return TRUE;
    }
    static HMODULE Module() { return reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x5F00)); }

    static inline FakePlatform *s_current = nullptr;
    FakeWorld m_world;
    std::vector<std::string> m_calls;
    int m_loaded = 0;
};
