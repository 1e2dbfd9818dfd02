// Stands in for an installer: loads Vemtrax.dll by name from its own folder,
// binds the four exports by name and by ordinal and calls each. Writes what it
// saw to result.txt beside itself, in UTF-8:
//   vemtrax_caller <level 1> <level 2> <user level>
//   vemtrax_caller --bare-load     (loads "shfolder.dll" by bare name instead)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
using Narrow = int(WINAPI *)(char *, const char *, const char *, const char *);
using Wide = int(WINAPI *)(wchar_t *, const wchar_t *, const wchar_t *, const wchar_t *);

std::string Convert(const std::wstring &text, UINT page)
{
    int size = ::WideCharToMultiByte(page, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(page, 0, text.c_str(), -1, &converted[0], size, nullptr, nullptr);
    converted.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
    return converted;
}

std::wstring FromAnsi(const char *text)
{
    int size = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &converted[0], size);
    converted.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
    return converted;
}

std::wstring Beside(const wchar_t *name)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}
} // namespace

int wmain(int argc, wchar_t **argv)
{
    std::string out;
    int code = 0;
    if (argc == 2 && std::wstring(argv[1]) == L"--bare-load") {
        HMODULE module = ::LoadLibraryW(L"shfolder.dll");
        wchar_t path[MAX_PATH] = {};
        if (module)
            ::GetModuleFileNameW(module, path, MAX_PATH);
        out = "bare load: " + Convert(path, CP_UTF8) + "\n";
    } else if (argc == 4) {
        HMODULE vemtrax = ::LoadLibraryW(L"Vemtrax.dll");
        if (!vemtrax)
            return 2;
        const char *names[] = {"GetUserDirectory16", "GetUserDirectory32", "_GetUserDirectory16@16",
                               "_GetUserDirectory32@16"};
        FARPROC byName[4], byOrdinal[4];
        for (int i = 0; i < 4; ++i) {
            byName[i] = ::GetProcAddress(vemtrax, names[i]);
            byOrdinal[i] = ::GetProcAddress(vemtrax, MAKEINTRESOURCEA(i + 1));
            out += std::string("bind ") + names[i] + " ordinal " + std::to_string(i + 1) + ": " +
                   (byName[i] && byName[i] == byOrdinal[i] ? "same" : "differs") + "\n";
        }
        out += std::string("twins: ") + (byName[0] == byName[2] && byName[1] == byName[3] ? "same" : "differ") + "\n";
        for (int i = 0; i < 4; ++i) {
            if (!byName[i]) {
                code = 1;
                continue;
            }
            std::vector<wchar_t> wide(16384, L'#');
            std::vector<char> narrow(16384, '#');
            int result = 0;
            std::wstring directory;
            if (i % 2 == 0) {
                Narrow call = reinterpret_cast<Narrow>(reinterpret_cast<void (*)()>(byName[i]));
                result = call(narrow.data(), Convert(argv[1], CP_ACP).c_str(), Convert(argv[2], CP_ACP).c_str(),
                              Convert(argv[3], CP_ACP).c_str());
                directory = FromAnsi(narrow.data());
            } else {
                Wide call = reinterpret_cast<Wide>(reinterpret_cast<void (*)()>(byName[i]));
                result = call(wide.data(), argv[1], argv[2], argv[3]);
                directory = wide.data();
            }
            out += std::string(names[i]) + " " + std::to_string(result) + " " + Convert(directory, CP_UTF8) + "\n";
        }
        ::FreeLibrary(vemtrax);
    } else {
        return 2;
    }
    FILE *file = _wfopen(Beside(L"result.txt").c_str(), L"wb");
    if (!file)
        return 3;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return code;
}
