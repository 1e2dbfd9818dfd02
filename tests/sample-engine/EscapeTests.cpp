#include "Escape.h"
#include "Utf8.h"

#include <gtest/gtest.h>

TEST(Escape, QuotedTextsUseTheLogsEscapes)
{
    EXPECT_EQ("\"a\\\"b\\\\c\\nd\\re\\tf\"", QuoteText(L"a\"b\\c\nd\re\tf"));
    EXPECT_EQ("\"\\u0001\\u001B\\u007F\"", QuoteText(L"\x01\x1B\x7F"));
    EXPECT_EQ("\"caf\xC3\xA9 \xF0\x9F\x98\x80\"", QuoteText(L"caf\u00E9 \U0001F600")) << "UTF-8 for the rest";
    EXPECT_EQ("\"\\uD800x\\uDC00\"", QuoteText(L"\xD800x\xDC00")) << "lone surrogates are escaped";
    EXPECT_EQ("NULL", QuoteText(nullptr));
    EXPECT_EQ("\"\"", QuoteText(L""));
}

TEST(Escape, EveryTextSurvivesTheRoundTrip)
{
    const std::wstring texts[] = {
        L"",
        L"plain text",
        L"\"quoted\" \\ back\\slash\n\r\t",
        std::wstring(L"nul\0inside", 10),
        L"\x01\x02\x1F\x7F\x80\x9F",
        L"\u00E9\u20AC\U0001F600",
        L"\xD800\xD800\xDFFF\xDBFF",
        L"\xDBFF\xDFFF",
    };
    for (const std::wstring &text : texts) {
        std::string quoted = QuoteText(text.data(), text.size()) + " tail";
        std::size_t pos = 0;
        std::wstring back;
        ASSERT_TRUE(ReadQuotedText(quoted, pos, back)) << quoted;
        EXPECT_EQ(text, back) << quoted;
        EXPECT_EQ(" tail", quoted.substr(pos));
    }
}

TEST(Escape, MalformedQuotedTextsAreRefused)
{
    const std::string bad[] = {"no quote", "\"open", "\"bad \\x escape\"", "\"short \\u12\"", "\"hex \\u12G4\"",
                               "\"\xC3\"", "\"\xED\xA0\x80\"", "\"\xC0\xAF\"", "\"trailing \\"};
    for (const std::string &text : bad) {
        std::size_t pos = 0;
        std::wstring out = L"kept";
        EXPECT_FALSE(ReadQuotedText(text, pos, out)) << text;
        EXPECT_EQ(0u, pos);
    }
}

TEST(Utf8, LoneSurrogatesBecomeTheReplacementCharacter)
{
    EXPECT_EQ("a\xEF\xBF\xBD" "b", EncodeUtf8(std::wstring(L"a\xDC00" L"b")));
    std::wstring text;
    ASSERT_TRUE(FromUtf8("\xF4\x8F\xBF\xBF", text));
    EXPECT_EQ(std::wstring(L"\xDBFF\xDFFF"), text);
    EXPECT_FALSE(FromUtf8("\xF4\x90\x80\x80", text)) << "beyond U+10FFFF";
}
