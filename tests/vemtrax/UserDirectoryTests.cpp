// The directory choice against a platform in memory, every case at both widths.
#include "FakePlatform.h"
#include "UserDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::wstring kSystem = L"C:\\Win\\System32";
const std::wstring kCommon = L"C:\\ProgramData";
const std::wstring kAppData = L"C:\\Users\\bob\\AppData\\Roaming";
const std::wstring kAllUsers = L"C:\\Users\\All Users\\AppData\\Roaming";
const std::wstring kShared = kSystem + L"\\Maker\\Suite";
const std::wstring kUserFolder = kShared + L"\\bob";

struct Levels {
    std::wstring l1 = L"Maker", l2 = L"Suite", l3 = L"Data";
};

struct Outcome {
    std::wstring directory;
    int perUser = -1;
    std::vector<std::string> calls;
    int stillLoaded = 0;
};

template <class Char> Outcome Choose(const FakeWorld &world, const Levels &levels = Levels())
{
    FakePlatform<Char> platform(world);
    std::vector<Char> out(16384, Char('#'));
    Outcome outcome;
    outcome.perUser = ChooseUserDirectory<Char>(platform.Table(), out.data(), Widen<Char>(levels.l1).c_str(),
                                                Widen<Char>(levels.l2).c_str(), Widen<Char>(levels.l3).c_str());
    outcome.directory = Wide<Char>(out.data());
    EXPECT_EQ(Char('#'), out[outcome.directory.size() + 1]) << "nothing written past the terminator";
    outcome.calls = platform.Calls();
    outcome.stillLoaded = platform.LoadedNow();
    return outcome;
}

// Both widths give the same answer; returns it.
Outcome ChooseAtBothWidths(const FakeWorld &world, const Levels &levels = Levels())
{
    Outcome narrow = Choose<char>(world, levels);
    Outcome wide = Choose<wchar_t>(world, levels);
    EXPECT_EQ(narrow.directory, wide.directory) << "8-bit and 16-bit directories";
    EXPECT_EQ(narrow.perUser, wide.perUser) << "8-bit and 16-bit results";
    EXPECT_EQ(0, narrow.stillLoaded) << "the 8-bit call freed what it loaded";
    EXPECT_EQ(0, wide.stillLoaded) << "the 16-bit call freed what it loaded";
    return wide;
}
} // namespace

TEST(UserDirectory, CandidatesInOrderTheLastThatAppliesWins)
{
    struct Case {
        const char *what;
        FakeWorld world;
        std::wstring expected;
        int perUser;
    };
    auto world = [](bool library, std::wstring common, std::wstring appData, std::set<std::wstring> existing,
                    std::wstring user = L"bob") {
        FakeWorld w;
        w.library = library;
        w.common = std::move(common);
        w.appData = std::move(appData);
        w.existing = std::move(existing);
        w.user = std::move(user);
        return w;
    };
    const Case cases[] = {
        {"no folder library, nothing exists", world(false, kCommon, kAppData, {}), kShared + L"\\", 0},
        {"no library, the user folder", world(false, kCommon, kAppData, {kUserFolder}), kUserFolder + L"\\", 1},
        {"no library, its deeper level", world(false, L"", L"", {kUserFolder, kUserFolder + L"\\Data"}),
         kUserFolder + L"\\Data\\", 1},
        {"the deeper level alone is not tried", world(false, L"", L"", {kUserFolder + L"\\Data"}), kShared + L"\\",
         0},
        {"the common folder wins without existing", world(true, kCommon, L"", {kUserFolder}),
         kCommon + L"\\Maker\\Suite\\", 0},
        {"the common folder over all users", world(true, kCommon, kAppData, {kAllUsers}),
         kCommon + L"\\Maker\\Suite\\", 0},
        {"all users when the common query is empty", world(true, L"", kAppData, {kUserFolder, kAllUsers}),
         kAllUsers + L"\\Maker\\Suite\\", 0},
        {"all users only when it exists", world(true, L"", kAppData, {kUserFolder}), kUserFolder + L"\\", 1},
        {"both queries empty", world(true, L"", L"", {kUserFolder}), kUserFolder + L"\\", 1},
        {"the user's own folder over the common one",
         world(true, kCommon, kAppData, {kAppData + L"\\Maker\\Suite", kUserFolder}),
         kAppData + L"\\Maker\\Suite\\", 1},
        {"the user's own folder over all users", world(true, L"", kAppData, {kAllUsers, kAppData + L"\\Maker\\Suite"}),
         kAppData + L"\\Maker\\Suite\\", 1},
        {"the user's own folder needs its levels", world(true, kCommon, kAppData, {kAppData}),
         kCommon + L"\\Maker\\Suite\\", 0},
        {"the first occurrence of the name is replaced",
         world(true, L"", L"C:\\bobby\\bob\\AppData", {L"C:\\All Usersby\\bob\\AppData"}),
         L"C:\\All Usersby\\bob\\AppData\\Maker\\Suite\\", 0},
        {"so a later whole segment is not", world(true, L"", L"C:\\bobby\\bob\\AppData", {L"C:\\bobby\\All Users\\AppData"}),
         kShared + L"\\", 0},
        {"a name differing in case is not found",
         world(true, L"", kAppData, {kAllUsers, L"C:\\Users\\Bob"}, L"Bob"), kSystem + L"\\Maker\\Suite\\", 0},
        {"an empty name joins as an empty piece", world(false, L"", L"", {kShared + L"\\"}, L""),
         kShared + L"\\\\", 1},
        {"and its deeper level", world(false, L"", L"", {kShared + L"\\", kShared + L"\\\\Data"}, L""),
         kShared + L"\\\\Data\\", 1},
        {"an empty name puts All Users before the whole folder",
         world(true, L"", kAppData, {L"All Users" + kAppData}, L""), L"All Users" + kAppData + L"\\Maker\\Suite\\", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Outcome outcome = ChooseAtBothWidths(c.world);
        EXPECT_EQ(c.expected, outcome.directory);
        EXPECT_EQ(c.perUser, outcome.perUser);
    }
}

TEST(UserDirectory, FailedQueriesSkipOnlyTheirOwnPart)
{
    FakeWorld world;
    world.userFails = true;
    world.library = false;
    world.existing = {kShared + L"\\"};
    EXPECT_EQ(kShared + L"\\\\", ChooseAtBothWidths(world).directory) << "a failed name query: the empty name";

    world = FakeWorld();
    world.system.clear();
    world.common = kCommon;
    Outcome outcome = ChooseAtBothWidths(world);
    EXPECT_EQ(L"\\Maker\\Suite\\", outcome.directory) << "a failed system-directory query";
    for (const std::string &call : outcome.calls)
        EXPECT_NE(0u, call.find("LoadLibrary(")) << "no system directory, no folder library: " << call;

    world = FakeWorld();
    world.function = false;
    world.common = kCommon;
    world.existing = {kUserFolder};
    outcome = ChooseAtBothWidths(world);
    EXPECT_EQ(kUserFolder + L"\\", outcome.directory) << "a library without the function";
    EXPECT_EQ("FreeLibrary(shfolder)", outcome.calls.back()) << "is freed all the same";

    world = FakeWorld();
    world.common = kCommon;
    world.answer = E_FAIL;
    EXPECT_EQ(kCommon + L"\\Maker\\Suite\\", ChooseAtBothWidths(world).directory)
        << "the result code does not count, the buffer does";
}

TEST(UserDirectory, PiecesAreJoinedAsTheyAre)
{
    FakeWorld world;
    world.library = false;
    Levels levels;
    levels.l1 = L"\\Maker\\";
    levels.l2 = L"";
    EXPECT_EQ(kSystem + L"\\\\Maker\\\\\\", ChooseAtBothWidths(world, levels).directory);

    world.library = true;
    world.appData = kAppData + L"\\";
    world.existing = {kAppData + L"\\\\\\Maker\\\\"};
    Outcome outcome = ChooseAtBothWidths(world, levels);
    EXPECT_EQ(kAppData + L"\\\\\\Maker\\\\\\", outcome.directory);
    EXPECT_EQ(1, outcome.perUser);
}

TEST(UserDirectory, CallsThePlatformAsSpecified)
{
    FakeWorld world;
    world.common = L"";
    world.appData = kAppData;
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "16-bit" : "8-bit");
        Outcome outcome = wide ? Choose<wchar_t>(world) : Choose<char>(world);
        const std::vector<std::string> expected = {
            "GetUserName(2048)",
            "GetSystemDirectory(2048)",
            // From the system directory, never by bare name.
            "LoadLibrary(C:\\Win\\System32\\shfolder.dll)",
            wide ? "GetProcAddress(shfolder, SHGetFolderPathW)" : "GetProcAddress(shfolder, SHGetFolderPathA)",
            "GetFileAttributes(C:\\Win\\System32\\Maker\\Suite\\bob)",
            "SHGetFolderPath(0, 35, 0, 0, empty)",
            "SHGetFolderPath(0, 26, 0, 0, empty)",
            "GetFileAttributes(C:\\Users\\All Users\\AppData\\Roaming)",
            "SHGetFolderPath(0, 26, 0, 0, empty)",
            "GetFileAttributes(C:\\Users\\bob\\AppData\\Roaming\\Maker\\Suite)",
            "FreeLibrary(shfolder)",
        };
        EXPECT_EQ(expected, outcome.calls);
    }
}

TEST(UserDirectory, NothingIsKeptBetweenCalls)
{
    FakeWorld first;
    first.common = kCommon;
    FakeWorld second;
    second.library = false;
    second.user = L"eve";
    second.existing = {kShared + L"\\eve"};
    EXPECT_EQ(kCommon + L"\\Maker\\Suite\\", ChooseAtBothWidths(first).directory);
    Outcome outcome = ChooseAtBothWidths(second);
    EXPECT_EQ(kShared + L"\\eve\\", outcome.directory);
    EXPECT_EQ(1, outcome.perUser);
    EXPECT_EQ(kCommon + L"\\Maker\\Suite\\", ChooseAtBothWidths(first).directory);
}

TEST(UserDirectory, LongButLegalInput)
{
    FakeWorld world;
    world.appData = L"C:\\" + std::wstring(kQueryBufferSize - 4, L'a'); // the longest answer the buffer holds
    Levels levels;
    levels.l1 = std::wstring(3000, L'b');
    levels.l2 = std::wstring(3000, L'c');
    const std::wstring own = world.appData + L"\\" + levels.l1 + L"\\" + levels.l2;
    world.existing = {own};
    world.user = std::wstring(kQueryBufferSize - 1, L'u');
    Outcome outcome = ChooseAtBothWidths(world, levels);
    EXPECT_EQ(own + L"\\", outcome.directory);
    EXPECT_EQ(1, outcome.perUser);
}
