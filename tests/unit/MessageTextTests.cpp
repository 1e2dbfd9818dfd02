// The host's message texts: its own table, and the engine's wording winning
// whenever the engine offers both string entry points.
#include "EngineFixture.h"
#include "MessageText.h"

#include <gtest/gtest.h>

namespace {
std::wstring Message(int id, const std::wstring &before = L"")
{
    std::wstring text = before;
    LoadMessageText(id, text);
    return text;
}

using HostTexts = EngineTest;
} // namespace

TEST_F(HostTexts, OwnTableLetterForLetterWithoutAnEngine)
{
    struct Case {
        int id;
        const wchar_t *text;
    } cases[] = {
        {378, L"Closing the current document will exit the application.\nDo you want to continue?"},
        {387, L"The Application can not continue."},
        {439, L"A Internal Error has occured in: "},
        {448, L"Required file missing:"},
        {459, L"Wrong file version:"},
        {17276, L"Are you sure you want to exit?"},
        {57607, L"Print the active document\nPrint"},
        {61215, L"Can not open settings file: "},
        {12345, L""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(std::wstring(c.text), Message(c.id, L"old")) << "text " << c.id;
}

TEST_F(HostTexts, OwnTableWhenTheEngineLacksEitherStringEntryPoint)
{
    for (const char *variant : {"without-Kel_GetString", "without-Kel_GetStringSize"}) {
        SCOPED_TRACE(variant);
        UseEngine(variant);
        ASSERT_EQ(KEL_DLL_FUNCTION_MISSING, LoadEngine());
        Script("text string 448 = \"Engine wording\"\n");
        EXPECT_EQ(L"Required file missing:", Message(448));
        EXPECT_TRUE(Calls("Kel_GetString").empty()) << "the engine is not asked";
        ASSERT_EQ(KEL_OK, FreeEngine());
    }
}

TEST_F(HostTexts, EngineAnswerWinsEvenWhenEmpty)
{
    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    struct Case {
        const char *script;
        std::wstring expected;
    } cases[] = {
        {"text string 17276 = \"Leave Solvetric now?\"\n", L"Leave Solvetric now?"},
        {"size string 17276 = 10\ntext string 17276 = \"abc\"\n", L"abc"},
        {"size string 17276 = 5\ntext string 17276 = \"abcdefgh\"\nunterminated string 17276\n", L"abcde"},
        {"size string 17276 = 0\n", L""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        Script(c.script);
        EXPECT_EQ(c.expected, Message(17276, L"old"));
    }
    // A size of 0 hands the engine no buffer at all.
    Script("size string 17276 = 0\n");
    ClearLog();
    Message(17276);
    EXPECT_EQ(std::vector<std::string>{"Kel_GetString(17276, NULL) = 0"}, Calls("Kel_GetString("));
}

TEST_F(HostTexts, SizesNoTextCanHaveLeaveTheTextAsItWas)
{
    UseEngine();
    ASSERT_EQ(KEL_OK, LoadEngine());
    for (const char *size : {"-1", "-2147483648", "2000000000", "2147483647"}) {
        SCOPED_TRACE(size);
        Script(std::string("size string 378 = ") + size + "\n");
        ClearLog();
        EXPECT_EQ(L"kept", Message(378, L"kept"));
        EXPECT_TRUE(Calls("Kel_GetString(").empty()) << "no buffer, no call";
    }
}

TEST(SettingsFileError, NamesTheCommandLineOnItsOwnLine)
{
    EXPECT_EQ(L"Can not open settings file: \n\"C:\\my settings.kel\"",
              SettingsFileErrorText(L"\"C:\\my settings.kel\""));
}
