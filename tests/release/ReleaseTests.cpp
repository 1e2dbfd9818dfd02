// What goes out in dist/, read from the files as a Windows user gets them:
// the programs' manifest and icons, every binary's version resource, and the
// debug sections moved out beside the build. One test program's manifest too,
// since Windows judges those by their names as well.
#include "EncodeUtf8.h"
#include "ProductVersion.h"
#include "ReadFileBytes.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

inline void FreeLoadedModule(HMODULE module) noexcept { ::FreeLibrary(module); }
using unique_module = unique_handle<handle_traits::simple<HMODULE, FreeLoadedModule>>;

struct activation_context {
    using pointer = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) noexcept { ::ReleaseActCtx(value); }
};
using unique_actctx = unique_handle<activation_context>;

std::wstring Environment(const wchar_t *name)
{
    std::wstring value(::GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    value.resize(::GetEnvironmentVariableW(name, &value[0], static_cast<DWORD>(value.size())));
    std::replace(value.begin(), value.end(), L'/', L'\\');
    return value;
}

std::wstring Shipped(const wchar_t *file) { return Environment(L"KEL_SHIPPED_DIST") + L"\\" + file; }

const wchar_t *const kPrograms[] = {L"WinKelExe.exe", L"WinKelTestExe.exe", L"WinKelReplay.exe"};
const wchar_t *const kBinaries[] = {L"WinKelExe.exe", L"WinKelTestExe.exe", L"WinKelReplay.exe", L"Vemtrax.dll",
                                    L"Solvetric.dll"};

// The file's resources only: nothing of it runs.
unique_module LoadAsData(const std::wstring &path)
{
    unique_module module(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(module) << EncodeUtf8(path) << " does not load as a data file: error " << ::GetLastError();
    return module;
}

std::string ResourceName(LPCWSTR name)
{
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name)) : "\"" + EncodeUtf8(name) + "\"";
}

BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count)
{
    ++*reinterpret_cast<int *>(count);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR list) noexcept
{
    try {
        int languages = 0;
        ::EnumResourceLanguagesW(module, type, name, CountLanguage, reinterpret_cast<LONG_PTR>(&languages));
        std::string entry = ResourceName(name);
        if (languages != 1)
            entry += " in " + std::to_string(languages) + " languages";
        reinterpret_cast<std::vector<std::string> *>(list)->push_back(entry);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// The names of one type's resources in the order the system gives them, each
// with its number of languages unless it has one.
std::vector<std::string> ResourceNames(HMODULE module, LPCWSTR type)
{
    std::vector<std::string> names;
    ::EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

std::string ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name)
{
    HRSRC found = ::FindResourceW(module, name, type);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const char *data = loaded ? static_cast<const char *>(::LockResource(loaded)) : nullptr;
    return data ? std::string(data, ::SizeofResource(module, found)) : std::string();
}

// The value of an attribute of the first element of that name, "(none)" when absent.
std::string Attribute(const std::string &xml, const std::string &element, const std::string &attribute,
                      std::size_t from = 0)
{
    const std::size_t start = xml.find("<" + element + " ", from);
    const std::size_t end = xml.find('>', start);
    const std::size_t at = xml.find(" " + attribute + "=\"", start);
    if (start == std::string::npos || at == std::string::npos || at > end)
        return "(none)";
    const std::size_t value = at + attribute.size() + 3;
    return xml.substr(value, xml.find('"', value) - value);
}

std::string SupportedOs(const std::string &xml)
{
    std::vector<std::string> ids;
    for (std::size_t at = xml.find("<supportedOS "); at != std::string::npos; at = xml.find("<supportedOS ", at + 1))
        ids.push_back(Attribute(xml, "supportedOS", "Id", at));
    std::sort(ids.begin(), ids.end());
    std::string list;
    for (const std::string &id : ids)
        list += (list.empty() ? "" : " ") + id;
    return list;
}

std::string ElementText(const std::string &xml, const std::string &element)
{
    const std::size_t start = xml.find("<" + element);
    const std::size_t open = xml.find('>', start);
    const std::size_t close = xml.find("</" + element + ">", open);
    if (start == std::string::npos || close == std::string::npos)
        return "(none)";
    std::string text = xml.substr(open + 1, close - open - 1);
    text.erase(0, text.find_first_not_of(" \t\r\n"));
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
}

std::string CommonControls(const std::string &xml)
{
    return xml.find("Microsoft.Windows.Common-Controls") == std::string::npos ? "no dependency" : "a dependency";
}

std::string ExecutionLevel(const std::string &xml) { return Attribute(xml, "requestedExecutionLevel", "level"); }
std::string UiAccess(const std::string &xml) { return Attribute(xml, "requestedExecutionLevel", "uiAccess"); }
std::string DpiAware(const std::string &xml) { return ElementText(xml, "dpiAware"); }

const struct {
    const char *point;
    std::string (*read)(const std::string &xml);
    const char *expected;
} kManifestPoints[] = {
    {"execution level", ExecutionLevel, "asInvoker"},
    {"uiAccess", UiAccess, "false"},
    {"dpiAware", DpiAware, "false"},
    // Sorted: 8.1, 7, 8, 10 and 11, Vista.
    {"supported systems", SupportedOs,
     "{1f676c76-80e1-4239-95bb-83d0f6d0da78} {35138b9a-5d96-4fbd-8e2d-a2440225f93a} "
     "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38} {8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a} "
     "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
    {"Common-Controls 6", CommonControls, "no dependency"},
};

void CheckManifest(const std::wstring &path)
{
    SCOPED_TRACE(EncodeUtf8(path));
    unique_module module = LoadAsData(path);
    if (!module)
        return;
    ASSERT_EQ(std::vector<std::string>{"1"}, ResourceNames(module.get(), RT_MANIFEST))
        << "expected one manifest, number 1, in one language";
    const std::string xml = ResourceBytes(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    for (const auto &point : kManifestPoints)
        EXPECT_EQ(point.expected, point.read(xml)) << point.point << " in:\n" << xml;

    // What the loader does with it before the program starts.
    ACTCTXW context = {};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    unique_actctx made(::CreateActCtxW(&context));
    EXPECT_TRUE(made) << "the system refuses the manifest: error " << ::GetLastError();
}

TEST(Manifest, EveryProgramRunsAsInvokerUnawareOfDpiWithTheClassicControls)
{
    for (const wchar_t *program : kPrograms)
        CheckManifest(Shipped(program));
    CheckManifest(Environment(L"KEL_TEST_PROGRAM"));
}

// A version text in the file's first translation, "(none)" when absent.
std::string VersionText(const std::wstring &file, const wchar_t *name)
{
    DWORD ignored = 0;
    std::vector<char> block(::GetFileVersionInfoSizeW(file.c_str(), &ignored) + 1);
    WORD *translation = nullptr;
    wchar_t *text = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation),
                          &length) ||
        length < 4)
        return "(none)";
    wchar_t path[64];
    wsprintfW(path, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    if (!::VerQueryValueW(block.data(), (path + std::wstring(name)).c_str(), reinterpret_cast<void **>(&text), &length))
        return "(none)";
    return EncodeUtf8(text);
}

// The setup too: Apps & Features and the file's properties show the same maker.
TEST(Version, EveryShippedBinaryNamesItsMakerAndCopyright)
{
    const struct {
        const wchar_t *name;
        const char *expected; // null: any text
    } fields[] = {
        {L"CompanyName", "Orvane"},
        {L"LegalCopyright", KEL_COPYRIGHT},
        {L"ProductName", KEL_PRODUCT_NAME},
        {L"ProductVersion", KEL_VERSION_TEXT},
        {L"FileVersion", KEL_VERSION_TEXT},
        {L"FileDescription", nullptr},
        {L"OriginalFilename", nullptr},
    };
    std::vector<const wchar_t *> binaries(std::begin(kBinaries), std::end(kBinaries));
    binaries.push_back(L"WinKelSetup.exe");
    for (const wchar_t *binary : binaries) {
        for (const auto &field : fields) {
            const std::string text = VersionText(Shipped(binary), field.name);
            if (field.expected) {
                EXPECT_EQ(field.expected, text) << EncodeUtf8(binary) << ": " << EncodeUtf8(field.name);
            } else {
                EXPECT_FALSE(text.empty() || text == "(none)") << EncodeUtf8(binary) << ": " << EncodeUtf8(field.name);
            }
        }
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// "16 32 32" for a group of one 16 and two 32 px images; the id of its
// 256 px image, if any.
std::string GroupSizes(HMODULE module, WORD group, WORD *largest)
{
    const std::string bytes = ResourceBytes(module, RT_GROUP_ICON, MAKEINTRESOURCEW(group));
    if (bytes.size() < 6)
        return "(no group)";
    WORD count = 0;
    std::memcpy(&count, bytes.data() + 4, sizeof(count));
    std::string sizes;
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= bytes.size(); ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, bytes.data() + 6 + i * sizeof(entry), sizeof(entry));
        const int width = entry.width ? entry.width : 256, height = entry.height ? entry.height : 256;
        sizes += (sizes.empty() ? "" : " ") + std::to_string(width);
        if (height != width)
            sizes += "x" + std::to_string(height);
        if (width == 256)
            *largest = entry.id;
    }
    return sizes;
}

// The width of the image the system makes of that group at that size, 0 when it makes none.
int LoadedIconWidth(HMODULE module, WORD group, int size)
{
    unique_hicon icon(static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(group), IMAGE_ICON, size, size, 0)));
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon.get(), &info))
        return 0;
    unique_hbitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap = {};
    return colour && ::GetObjectW(colour.get(), sizeof(bitmap), &bitmap) ? bitmap.bmWidth : 0;
}

TEST(Icons, ExplorerShowsTheLargeGroupWhileTheWindowsKeepTheirs)
{
    for (const wchar_t *program : kPrograms) {
        SCOPED_TRACE(EncodeUtf8(program));
        unique_module module = LoadAsData(Shipped(program));
        if (!module)
            continue;
        const std::vector<std::string> groups = ResourceNames(module.get(), RT_GROUP_ICON);
        EXPECT_EQ("1", groups.empty() ? "(none)" : groups.front()) << "the first icon group";
        WORD largest = 0, ignored = 0;
        EXPECT_EQ("16 32 48 256", GroupSizes(module.get(), 1, &largest)) << "icon group 1";
        EXPECT_EQ("16 32 32", GroupSizes(module.get(), 2, &ignored)) << "icon group 2, the windows'";
        const std::string image = ResourceBytes(module.get(), RT_ICON, MAKEINTRESOURCEW(largest));
        EXPECT_EQ("\x89PNG", image.substr(0, 4)) << "the start of the 256 px image";
        EXPECT_EQ(256, LoadedIconWidth(module.get(), 1, 256)) << "icon group 1 loaded at 256 px";
    }
}

struct Section {
    std::string name;
    std::size_t offset, size;
};

// The section table of a PE file, long names read from its string table;
// empty when the file is no PE file.
std::vector<Section> Sections(const std::string &file)
{
    auto number = [&file](std::size_t at, std::size_t size) {
        std::uint32_t value = 0;
        if (at + size <= file.size())
            std::memcpy(&value, file.data() + at, size);
        return std::size_t{value};
    };
    const std::size_t header = number(0x3C, 4);
    if (file.compare(0, 2, "MZ") != 0 || header + 24 > file.size() ||
        file.compare(header, 4, std::string("PE\0\0", 4)) != 0)
        return {};
    const std::size_t count = number(header + 6, 2), symbols = number(header + 12, 4),
                      strings = symbols + number(header + 16, 4) * 18;
    const std::size_t table = header + 24 + number(header + 20, 2);
    std::vector<Section> sections;
    for (std::size_t i = 0; i < count && table + (i + 1) * 40 <= file.size(); ++i) {
        const std::size_t at = table + i * 40;
        std::string name = file.substr(at, 8).c_str();
        if (name.size() > 1 && name[0] == '/' && symbols != 0) {
            const std::size_t offset = strings + std::strtoul(name.c_str() + 1, nullptr, 10);
            name = file.c_str() + std::min(file.size(), offset);
        }
        sections.push_back({name, number(at + 20, 4), std::min(number(at + 8, 4), number(at + 16, 4))});
    }
    return sections;
}

std::uint32_t Crc32(const std::string &bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

void CheckSymbols(const wchar_t *binary)
{
    SCOPED_TRACE(EncodeUtf8(binary));
    std::string file, symbols;
    DWORD error = 0;
    ASSERT_TRUE(ReadFileBytes(Shipped(binary), file, error)) << "error " << error;
    const std::vector<Section> sections = Sections(file);
    ASSERT_FALSE(sections.empty()) << "no PE file";

    std::string debug, link;
    std::size_t debugBytes = 0;
    for (const Section &section : sections) {
        if (section.name.compare(0, 6, ".debug") == 0) {
            debug += " " + section.name + " " + std::to_string(section.size);
            debugBytes += section.size;
        } else if (section.name == ".gnu_debuglink" && section.offset < file.size()) {
            link = file.substr(section.offset, section.size);
        }
    }
    std::printf("%s: %zu bytes, %zu of them in debug sections\n", EncodeUtf8(binary).c_str(), file.size(),
                debugBytes);
    EXPECT_EQ("", debug) << "debug sections and their bytes";

    // The file name, padded to four bytes, then the checksum of that file.
    const std::string linked = link.c_str();
    EXPECT_EQ(EncodeUtf8(binary) + ".debug", linked) << "the symbols the debuglink names";
    const std::size_t crcAt = (linked.size() + 4) / 4 * 4;
    ASSERT_GE(link.size(), crcAt + 4) << "a debuglink without its checksum";
    std::uint32_t crc = 0;
    std::memcpy(&crc, link.data() + crcAt, sizeof(crc));
    const std::wstring path = Environment(L"KEL_SHIPPED_SYMBOLS") + L"\\" + binary + L".debug";
    ASSERT_TRUE(ReadFileBytes(path, symbols, error)) << EncodeUtf8(path) << ": error " << error;
    EXPECT_EQ(crc, Crc32(symbols)) << "the checksum of " << EncodeUtf8(path);
    std::printf("    symbols: %s, %zu bytes\n", EncodeUtf8(path).c_str(), symbols.size());
}

TEST(Symbols, ShippedBinariesCarryNoDebugSectionsAndNameTheirSymbols)
{
    for (const wchar_t *binary : kBinaries)
        CheckSymbols(binary);
}

} // namespace
