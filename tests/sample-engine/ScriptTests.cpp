#include "Script.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
std::optional<int> ResultOf(const Script &script, const char *entryPoint, std::vector<ArgValue> args)
{
    return script.ResultFor(entryPoint, args);
}
} // namespace

TEST(Script, TheLastMatchingResultLineWins)
{
    Script script = ParseScript("result Kel_ShowUIElement = 1\n"
                                "result Kel_ShowUIElement 36 = 5\n"
                                "result Kel_ShowUIElement 36 0 = 7\n"
                                "result Kel_ShowUIElement * 1 = 0\n");
    EXPECT_EQ(7, ResultOf(script, "Kel_ShowUIElement", {ArgValue::Integer(36), ArgValue::Integer(0)}));
    EXPECT_EQ(5, ResultOf(script, "Kel_ShowUIElement", {ArgValue::Integer(36), ArgValue::Integer(4)}));
    EXPECT_EQ(0, ResultOf(script, "Kel_ShowUIElement", {ArgValue::Integer(36), ArgValue::Integer(1)}));
    EXPECT_EQ(1, ResultOf(script, "Kel_ShowUIElement", {ArgValue::Integer(2), ArgValue::Integer(0)}));
    EXPECT_FALSE(ResultOf(script, "Kel_ShowTab", {ArgValue::Integer(36), ArgValue::Integer(0)}));
}

TEST(Script, ArgumentsMatchByKindAndValue)
{
    Script script = ParseScript("result Kel_OpenSettings \"x.kel\" = 17\n"
                                "result Kel_OpenSettings NULL = 4\n"
                                "result Kel_CreateMain 0x10 * \"t\\\"ag\" = 10\n"
                                "result Kel_Exit -1 = 22\n"
                                "result Kel_ShowMain 5 1 0 9 = 3\n");
    EXPECT_EQ(17, ResultOf(script, "Kel_OpenSettings", {ArgValue::Text(L"x.kel")}));
    EXPECT_FALSE(ResultOf(script, "Kel_OpenSettings", {ArgValue::Text(L"X.kel")})) << "texts compare exactly";
    EXPECT_FALSE(ResultOf(script, "Kel_OpenSettings", {ArgValue::Text(L"\"x.kel\"")}));
    EXPECT_EQ(4, ResultOf(script, "Kel_OpenSettings", {ArgValue::Text(nullptr)}));
    EXPECT_EQ(10, ResultOf(script, "Kel_CreateMain",
                           {ArgValue::Integer(16), ArgValue::Integer(1), ArgValue::Text(L"t\"ag")}));
    EXPECT_FALSE(ResultOf(script, "Kel_CreateMain",
                          {ArgValue::Integer(16), ArgValue::Integer(1), ArgValue::Text(nullptr)}));
    EXPECT_EQ(22, ResultOf(script, "Kel_Exit", {ArgValue::Integer(-1)}));
    EXPECT_FALSE(ResultOf(script, "Kel_Exit", {ArgValue::Integer(0)}));
    EXPECT_FALSE(ResultOf(script, "Kel_ShowMain", {ArgValue::Integer(5), ArgValue::Integer(1), ArgValue::Integer(0)}))
        << "a line with more arguments than the call never matches";

    Script pointers = ParseScript("result Kel_GetWindowMain NULL = 4\n");
    EXPECT_EQ(4, ResultOf(pointers, "Kel_GetWindowMain", {ArgValue::Integer(0)})) << "NULL also names a null pointer";
    EXPECT_FALSE(ResultOf(pointers, "Kel_GetWindowMain", {ArgValue::Integer(4096)}));
}

TEST(Script, TextDirectivesAndTheirValueRanges)
{
    Script script = ParseScript("size version = 0\n"
                                "size catalog = -5\n"
                                "size string 17276 = 4294967295\n"
                                "size string 378 = 2147483647\n"
                                "text string 999 = \"caf\\u00E9 \xE2\x82\xAC\\n\"\n"
                                "unterminated string 999\n"
                                "unterminated catalog\n");
    EXPECT_TRUE(script.unreadableLines.empty());
    EXPECT_EQ(0, script.sizes.at({TextKind::Version, 0}));
    EXPECT_EQ(-5, script.sizes.at({TextKind::Catalog, 0}));
    EXPECT_EQ(-1, script.sizes.at({TextKind::String, 17276})) << "read as a 32-bit pattern";
    EXPECT_EQ(INT_MAX, script.sizes.at({TextKind::String, 378}));
    EXPECT_EQ(std::wstring(L"caf\u00E9 \u20AC\n"), script.texts.at({TextKind::String, 999}));
    EXPECT_EQ(1u, script.unterminated.count({TextKind::String, 999}));
    EXPECT_EQ(1u, script.unterminated.count({TextKind::Catalog, 0}));
    EXPECT_EQ(0u, script.unterminated.count({TextKind::Version, 0}));
}

TEST(Script, WindowMenuAndMessageDirectives)
{
    Script script = ParseScript("# comment\n\n  mainsize 600 400\r\n"
                                "window main null\nwindow status stale\nmenu invalid\nmenu null\n"
                                "consume 256 27\nconsume 0x101\nprinttime 0\nnosplash\nkeepwindows\ncounthandles\n");
    EXPECT_TRUE(script.unreadableLines.empty());
    EXPECT_EQ(std::make_pair(600, 400), script.mainSize.value());
    EXPECT_TRUE(script.nullMainWindow);
    EXPECT_FALSE(script.nullStatusWindow);
    EXPECT_TRUE(script.staleStatusWindow);
    EXPECT_FALSE(script.staleMainWindow);
    EXPECT_EQ(MenuOverride::Null, script.menu) << "the last line wins";
    EXPECT_TRUE(script.Consumes(256, 27));
    EXPECT_FALSE(script.Consumes(256, 13));
    EXPECT_TRUE(script.Consumes(257, 13)) << "no wParam: any";
    EXPECT_FALSE(script.Consumes(258, 27));
    EXPECT_EQ(0, script.printTime.value_or(-1));
    EXPECT_TRUE(script.noSplash);
    EXPECT_TRUE(script.keepWindows);
    EXPECT_TRUE(script.countHandles);
}

TEST(Script, LinesThatCannotBeReadAreCountedAndChangeNothing)
{
    Script script = ParseScript("\xEF\xBB\xBF" "nosplash\n"
                                "bogus directive\n"
                                "result Kel_Nothing = 1\n"
                                "result Kel_Exit = \n"
                                "result Kel_Exit 0 = 99999999999\n"
                                "size string = 4\n"
                                "text version = unquoted\n"
                                "text version = \"open\n"
                                "mainsize 0 10\n"
                                "window main\n"
                                "printtime -1\n"
                                "consume\n"
                                "result Kel_Exit \"bad \\q escape\" = 1\n"
                                "# result Kel_Exit = 3\n"
                                "result Kel_Exit = 22");
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}), script.unreadableLines);
    EXPECT_TRUE(script.noSplash) << "a byte order mark is skipped";
    EXPECT_EQ(22, ResultOf(script, "Kel_Exit", {ArgValue::Integer(0)}));
    EXPECT_EQ(1u, script.results.size());
    EXPECT_TRUE(script.texts.empty());
}
