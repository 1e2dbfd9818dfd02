// Vemtrax.dll's two functions, calls per second, against a loop making only
// the platform calls one call needs (the folder library present, its common
// folder answered, nothing below it existing), in the same run.
#include "Bench.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
template <class Char> struct Width;
template <> struct Width<char> {
    using Function = int(WINAPI *)(char *, const char *, const char *, const char *);
    using FolderPath = HRESULT(WINAPI *)(HWND, int, HANDLE, DWORD, char *);
    static constexpr const char *kName = "GetUserDirectory16";
    static constexpr const char *kFolderPath = "SHGetFolderPathA";
    static constexpr const char *kLibrary = "\\shfolder.dll";
    static constexpr const char *kLevel1 = "Vemtrax Bench";
    static constexpr const char *kLevel2 = "Suite";
    static BOOL UserName(char *b, DWORD *n) { return ::GetUserNameA(b, n); }
    static UINT SystemDirectory(char *b, UINT n) { return ::GetSystemDirectoryA(b, n); }
    static HMODULE Load(const char *p) { return ::LoadLibraryA(p); }
    static DWORD Attributes(const char *p) { return ::GetFileAttributesA(p); }
};
template <> struct Width<wchar_t> {
    using Function = int(WINAPI *)(wchar_t *, const wchar_t *, const wchar_t *, const wchar_t *);
    using FolderPath = HRESULT(WINAPI *)(HWND, int, HANDLE, DWORD, wchar_t *);
    static constexpr const char *kName = "GetUserDirectory32";
    static constexpr const char *kFolderPath = "SHGetFolderPathW";
    static constexpr const wchar_t *kLibrary = L"\\shfolder.dll";
    static constexpr const wchar_t *kLevel1 = L"Vemtrax Bench";
    static constexpr const wchar_t *kLevel2 = L"Suite";
    static BOOL UserName(wchar_t *b, DWORD *n) { return ::GetUserNameW(b, n); }
    static UINT SystemDirectory(wchar_t *b, UINT n) { return ::GetSystemDirectoryW(b, n); }
    static HMODULE Load(const wchar_t *p) { return ::LoadLibraryW(p); }
    static DWORD Attributes(const wchar_t *p) { return ::GetFileAttributesW(p); }
};

// Kernel handles open in this process. Wine reports no count, so the small
// handle values it hands out are tried one by one.
DWORD HandleCount()
{
    DWORD count = 0, flags = 0;
    for (UINT_PTR value = 4; value < 0x10000; value += 4) {
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

// The platform calls alone, in the order one call makes them.
template <class Char> void PlatformCallsOnly()
{
    using W = Width<Char>;
    using String = std::basic_string<Char>;
    Char name[2048] = {}, path[2048] = {};
    DWORD size = 2048;
    W::UserName(name, &size);
    W::SystemDirectory(path, 2048);
    const String system = path, levels = Char('\\') + String(W::kLevel1) + Char('\\') + W::kLevel2;
    HMODULE library = W::Load((system + W::kLibrary).c_str());
    Require(library != nullptr, "the folder library");
    auto folderPath = reinterpret_cast<typename W::FolderPath>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, W::kFolderPath)));
    W::Attributes((system + levels + Char('\\') + name).c_str());
    path[0] = 0;
    folderPath(nullptr, 0x23, nullptr, 0, path);
    path[0] = 0;
    folderPath(nullptr, 0x1A, nullptr, 0, path);
    W::Attributes((String(path) + levels).c_str());
    ::FreeLibrary(library);
}

template <class Char> void Measure(HMODULE vemtrax, int calls, int rounds)
{
    using W = Width<Char>;
    auto choose = reinterpret_cast<typename W::Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(vemtrax, W::kName)));
    Require(choose != nullptr, W::kName);
    const Char empty[1] = {};
    std::vector<double> functionRates, platformRates;
    Char warmUp[16384];
    choose(warmUp, W::kLevel1, W::kLevel2, empty); // what a first call loads to keep is not growth
    const DWORD handlesBefore = HandleCount();
    DWORD handlesAfter = 0;
    for (int round = 0; round < rounds; ++round) {
        Char out[16384];
        double start = Now();
        for (int i = 0; i < calls; ++i)
            choose(out, W::kLevel1, W::kLevel2, empty);
        double middle = Now();
        if (round == 0)
            handlesAfter = HandleCount();
        for (int i = 0; i < calls; ++i)
            PlatformCallsOnly<Char>();
        double end = Now();
        functionRates.push_back(calls * 1000.0 / (middle - start));
        platformRates.push_back(calls * 1000.0 / (end - middle));
    }
    const std::string growth = "kernel handles " + std::to_string(static_cast<long>(handlesAfter) -
                                                                  static_cast<long>(handlesBefore)) +
                               " (of " + std::to_string(handlesBefore) + ") after " + std::to_string(calls) + " calls";
    double rate = Median(functionRates), platformRate = Median(platformRates);
    std::printf("| Vemtrax %s calls | %d x %d | %.0f per s | platform calls alone %.0f per s | %.2f | - | %s |\n",
                W::kName, rounds, calls, rate, platformRate, platformRate / rate, growth.c_str());
}
} // namespace

int main(int argc, char **argv)
{
    int calls = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000;
    const int rounds = 5;
    try {
        HMODULE vemtrax = ::LoadLibraryW(BuildPath(L"dist\\Vemtrax.dll").c_str());
        Require(vemtrax != nullptr, "Vemtrax.dll");
        Measure<char>(vemtrax, calls, rounds);
        Measure<wchar_t>(vemtrax, calls, rounds);
        ::FreeLibrary(vemtrax);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vemtrax: %s\n", error.what());
        return 1;
    }
    return 0;
}
