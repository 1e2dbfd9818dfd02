// The harness's parts that need no running program: the result code table,
// its reading of numbers, the call trace, the fixed font, and its two small
// dialogs driven in-process.
#include "CommandFrame.h"
#include "Decimal.h"
#include "EncodeUtf8.h"
#include "ErrorReport.h"
#include "FileBytes.h"
#include "FixedFont.h"
#include "Strings.h"
#include "ParameterEditor.h"
#include "TextViewer.h"
#include "TraceFormat.h"
#include "TraceReader.h"
#include "XmlTextFile.h"
#include "UniqueHandle.h"
#include "../../harness/resource.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

TEST(ParseDecimal, ReadsLikeTheRuntimesWideAtol)
{
    struct Case {
        const wchar_t *text;
        int expected;
    } cases[] = {
        {L"0", 0},           {L"42", 42},          {L" -7", -7},
        {L"\t\r\n +15x", 15}, {L"abc", 0},          {L"", 0},
        {L"- 5", 0},         {L"+-5", 0},          {L"12 34", 12},
        {L"-2147483648", -2147483647 - 1}, {L"2147483647", 2147483647},
        {L"99999999999999999999", 2147483647}, {L"-99999999999", -2147483647 - 1},
        {nullptr, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, ParseDecimal(c.text))
            << "for " << (c.text ? testing::PrintToString(std::wstring(c.text)) : "null");
}

TEST(EngineErrorText, EveryCodeLetterForLetter)
{
    const wchar_t *undefined = L"Undefined Error Code!";
    const wchar_t *table[44] = {
        L"", L"General Error.", L"Exception Thrown.", undefined, L"Invalid Parameter.", L"Init was not called.",
        L"Init was called twice.", L"Init main must be called first.", L"Init was not called.",
        L"Create was called twice.", L"Create failed.", L"Dialog Inialization failed.", L"Memory Error.",
        L"Ini File Not Found or damaged.", L"Initialization of document failed.",
        L"Duplicate or NULL paper names exist.", L"Error in file save: cannot be open for write (disk full, etc.)",
        L"Cannot Open File.", L"Get Window called before Create.", L"Invalid printer", L"Invalid tab or data",
        L"Unable to print while editing exceptions", L"Unable to exit while printing", L"User canceled action",
        L"File is not a KEL settings file.", L"File is not supported by this version of KEL",
        L"Dll failed to load.", L"One or more dll functions failed to load.",
        L"Print without file selecting was called", L"Unable to open printer",
        L"VZT file create failed during printing", L"Error during sending data to printer\t",
        L"Unable to open/read from TIFF file", L" Unable to convert Tiff to G4 stripped ",
        L"Only bilevel TIFF images are allowed", L"PDF supports only 150,200,300,406,600 resolutions",
        L"PDF doesn't support tiled TIFF files", L"Not enough disk space for temporary files",
        L"Error in reading data from file or char*.", L"Syntax error (missing or unexpected character).",
        L"Unknown name of tag.", L"Illegal tag data value.", L"Illegal tag order.", L"Unknown XML error.",
    };
    for (int code = 0; code <= 43; ++code) {
        std::wstring expected = table[code];
        if (code >= 38)
            expected += L"\nPosition: 17.";
        EXPECT_EQ(expected, EngineErrorText(code, 17)) << "code " << code;
    }
    for (int code : {44, 1000, -1, -2147483647 - 1})
        EXPECT_EQ(undefined, EngineErrorText(code, 5)) << "code " << code << " has no text of its own";
}

TEST(EngineErrorText, PositionOnlyOnTheXmlCodes)
{
    EXPECT_EQ(L"Error in reading data from file or char*.\nPosition: 0.", EngineErrorText(38, 0));
    EXPECT_EQ(L"Unknown XML error.\nPosition: -3.", EngineErrorText(43, -3));
    EXPECT_EQ(L"Not enough disk space for temporary files", EngineErrorText(37, 12));
    EXPECT_EQ(L"", EngineErrorText(0, 99)) << "0 shows nothing, whatever the position";
}

namespace {
// The trace's lines without their times.
std::vector<std::wstring> TraceLines(const CCallTrace &trace)
{
    std::vector<std::wstring> lines;
    const std::wstring text = trace.Text();
    for (std::size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2) {
        std::wstring line = text.substr(at, end - at);
        lines.push_back(line[0] == L'(' ? line : line.substr(12));
    }
    return lines;
}
} // namespace

TEST(CallTrace, NestedCallsStandUnderTheirCallerAndTheBoundDropsTheOldest)
{
    CCallTrace trace(4);
    std::uint64_t outer = trace.Open(L"Kel_CreateMain()");
    std::uint64_t hook = trace.Open(L"SetTitleHook()");
    EXPECT_EQ((std::vector<std::wstring>{L"Kel_CreateMain() ...", L"    SetTitleHook() ..."}), TraceLines(trace))
        << "a call still running says so";
    trace.Close(hook, L"SetTitleHook(\"a\")", L" (1 ms)");
    trace.Close(outer, L"", L" = 0 OK");
    trace.Refused(L"Kel_Print", L"Function was not loaded");
    EXPECT_EQ((std::vector<std::wstring>{L"Kel_CreateMain() = 0 OK", L"    SetTitleHook(\"a\") (1 ms)",
                                         L"Kel_Print not made: Function was not loaded"}),
              TraceLines(trace));

    // A call whose line the bound took while it ran: its end changes nothing,
    // and the lines after it stand where they belong.
    std::uint64_t running = trace.Open(L"Kel_Print()");
    for (int i = 0; i < 4; ++i)
        trace.Close(trace.Open(L"MessageHook(" + std::to_wstring(i) + L")"), L"", L" = 1");
    trace.Close(running, L"Kel_Print()", L" = 0 OK");
    trace.Close(trace.Open(L"Kel_Exit(0)"), L"", L" = 0 OK");
    EXPECT_EQ((std::vector<std::wstring>{L"(5 earlier lines dropped: the trace keeps the last 4)",
                                         L"    MessageHook(1) = 1", L"    MessageHook(2) = 1",
                                         L"    MessageHook(3) = 1", L"Kel_Exit(0) = 0 OK"}),
              TraceLines(trace));
    EXPECT_EQ(5u, trace.Dropped());

    std::uint64_t version = trace.Version();
    trace.Clear();
    EXPECT_EQ(L"", trace.Text()) << "nothing left, not even the count of dropped lines";
    EXPECT_NE(version, trace.Version()) << "a view sees the change";
}

TEST(CallTrace, ArgumentsAndResultsReadAsTheyWerePassed)
{
    const std::wstring zeros(sizeof(void *) * 2 - 4, L'0');
    int size = 61;
    int *noSize = nullptr;
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1A2B));
    HWND *windowOut = &window;
    wchar_t buffer[8] = L"Ver\t1";
    std::wstring longText(100, L'x');
    struct Case {
        std::wstring seen;
        std::wstring expected;
    } cases[] = {
        {trace_format::Call("Kel_InitStatus", false), L"Kel_InitStatus()"},
        {trace_format::Call("Kel_ShowMain", false, -1, 2u, 3), L"Kel_ShowMain(-1, 2, 3)"},
        {trace_format::Call("Kel_CreateStatus", false, window), L"Kel_CreateStatus(0x" + zeros + L"1A2B)"},
        {trace_format::Call("Kel_GetSizeOfVersion", false, &size, noSize), L"Kel_GetSizeOfVersion(->?, NULL)"},
        {trace_format::Call("Kel_GetSizeOfVersion", true, &size, noSize), L"Kel_GetSizeOfVersion(->61, NULL)"},
        {trace_format::Call("Kel_GetWindowMain", true, windowOut), L"Kel_GetWindowMain(->0x" + zeros + L"1A2B)"},
        {trace_format::Call("Kel_GetVersion", false, OutText{buffer, 8}), L"Kel_GetVersion(->?)"},
        {trace_format::Call("Kel_GetVersion", true, OutText{buffer, 2}), L"Kel_GetVersion(->\"Ve\")"},
        {trace_format::Call("Kel_OpenSettings", false, static_cast<wchar_t *>(nullptr)), L"Kel_OpenSettings(NULL)"},
        {trace_format::Text(L"a\"b\\c\r\n\x01\x7f\u00e9"), L"\"a\\\"b\\\\c\\r\\n\\u0001\\u007F\u00e9\""},
        {trace_format::Text(buffer), L"\"Ver\\t1\""},
        {trace_format::Text(longText.c_str()), L"\"" + longText.substr(0, 80) + L"\"... (100 characters)"},
        {trace_format::EngineResult(0), L" = 0 OK"},
        {trace_format::EngineResult(17), L" = 17 Cannot Open File."},
        {trace_format::EngineResult(31), L" = 31 Error during sending data to printer"},
        {trace_format::EngineResult(33), L" = 33 Unable to convert Tiff to G4 stripped"},
        {trace_format::EngineResult(39), L" = 39 Syntax error (missing or unexpected character)."},
        {trace_format::EngineResult(-7), L" = -7 Undefined Error Code!"},
        {trace_format::Duration(1.25), L" (1.250 ms)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, c.seen);

    // After the call only the out-parameters are read again: a text the
    // callee wrote over still shows as it was passed.
    wchar_t name[] = L"a.kel";
    std::vector<std::wstring> shown = trace_format::Arguments(static_cast<wchar_t *>(name), &size);
    name[0] = L'b';
    size = 62;
    EXPECT_TRUE(trace_format::Returned(shown, static_cast<wchar_t *>(name), &size));
    EXPECT_EQ(L"Kel_X(\"a.kel\", ->62)", trace_format::Joined("Kel_X", shown));
    EXPECT_FALSE(trace_format::Returned(shown, static_cast<wchar_t *>(name), 5)) << "nothing written, nothing read";
}

// Every line form the trace writes, read back from what the trace itself
// wrote: the reader and the writers cannot drift apart unseen.
TEST(TraceReader, ReadsEveryLineTheTraceWrites)
{
    using Kind = TraceArgument::Kind;
    using Ending = TraceLine::Ending;
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1A2B));
    int size = 61;
    wchar_t version[] = L"V\"1\n";
    const std::wstring longText(100, L'x');
    struct Case {
        std::wstring call, ending;
        int depth;
        const char *name;
        std::vector<Kind> kinds;
        Ending expected;
        int result;
    } cases[] = {
        {L"LoadLibrary(\"Solvetric.dll\")", trace_format::LoadResult(0, 0), 0, "LoadLibrary", {Kind::Text}, Ending::Result, 0},
        {L"LoadLibrary(\"Solvetric.dll\")", trace_format::LoadResult(26, ERROR_BAD_EXE_FORMAT), 0, "LoadLibrary",
         {Kind::Text}, Ending::Result, 26},
        {trace_format::Call("Kel_ShowMain", false, -1, 2u, 3), trace_format::EngineResult(18), 0, "Kel_ShowMain",
         {Kind::Number, Kind::Number, Kind::Number}, Ending::Result, 18},
        {trace_format::Call("Kel_CreateStatus", false, window), trace_format::EngineResult(-7), 0, "Kel_CreateStatus",
         {Kind::Number}, Ending::Result, -7},
        {trace_format::Call("Kel_GetSizeOfVersion", true, &size), trace_format::EngineResult(0), 0,
         "Kel_GetSizeOfVersion", {Kind::Number}, Ending::Result, 0},
        {trace_format::Call("Kel_GetVersion", true, OutText{version, 5}), trace_format::EngineResult(0), 0,
         "Kel_GetVersion", {Kind::Text}, Ending::Result, 0},
        {trace_format::Call("Kel_OpenSettings", false, longText.c_str()), trace_format::EngineResult(17), 0,
         "Kel_OpenSettings", {Kind::Text}, Ending::Result, 17},
        {trace_format::Call("Kel_SaveSettings", false, static_cast<wchar_t *>(nullptr)), trace_format::EngineResult(4),
         0, "Kel_SaveSettings", {Kind::Null}, Ending::Result, 4},
        {trace_format::Call("SetTitleHook", false, static_cast<const wchar_t *>(L"a, b"),
                            static_cast<const wchar_t *>(L"(c)"), 1), L"", 1, "SetTitleHook",
         {Kind::Text, Kind::Text, Kind::Number}, Ending::NoResult, 0},
        {trace_format::Call("Kel_GetWindowMain", false, &window), L" did not return", 0, "Kel_GetWindowMain",
         {Kind::Unknown}, Ending::DidNotReturn, 0},
        {L"Kel_Print", L"refused", 0, "Kel_Print", {}, Ending::NotMade, 0},
        {trace_format::Call("Kel_InitMain", false, window, window), L"refused", 0, "Kel_InitMain",
         {Kind::Number, Kind::Number}, Ending::NotMade, 0},
        // Last: what the trace writes after a line still open stands under it.
        {trace_format::Call("Kel_Print", false), L"...", 0, "Kel_Print", {}, Ending::Open, 0},
    };
    CCallTrace trace;
    std::vector<std::uint64_t> open;
    for (const Case &c : cases) {
        for (int depth = 0; depth < c.depth; ++depth)
            open.push_back(trace.Open(L"Kel_CreateMain()"));
        if (c.ending == L"refused")
            trace.Refused(c.call, L"Function was not loaded");
        else if (c.ending == L"...")
            trace.Open(c.call);
        else
            trace.Close(trace.Open(c.call), L"",
                        c.expected == Ending::DidNotReturn ? c.ending : c.ending + trace_format::Duration(0.5));
        for (; !open.empty(); open.pop_back())
            trace.Close(open.back(), L"", trace_format::EngineResult(0));
    }
    trace.Note(std::wstring(trace_format::kReplayNote) + L"1 call replayed");
    trace.Note(trace_format::Fault(EXCEPTION_ACCESS_VIOLATION, L"at Solvetric.dll+0x1A2B", L"Kel_Print()"));
    const std::wstring text = L"\uFEFF" + TraceHeader(0x10062) +
                              L"\r\n(7 earlier lines dropped: the trace keeps the last 4)\r\n" + trace.Text() +
                              L"    12.000  Kel_Exit(0 = 0 OK (1 ms)\r\nsome words\r\n\r\n";
    const TraceScript script = ReadTrace(text);

    EXPECT_EQ(std::optional<std::uintptr_t>(0x10062), script.harnessWindow) << "the header's window";
    EXPECT_EQ(7u, script.dropped);
    std::vector<const TraceLine *> read;
    for (const TraceLine &line : script.lines) {
        if (line.depth == 0 && line.name == "Kel_CreateMain")
            continue; // the callers the hooks stood under
        read.push_back(&line);
    }
    ASSERT_EQ(std::size(cases), read.size()) << "the notes are passed over: " << EncodeUtf8(text);
    for (std::size_t i = 0; i < read.size(); ++i) {
        const Case &c = cases[i];
        const TraceLine &line = *read[i];
        SCOPED_TRACE(EncodeUtf8(c.call + c.ending));
        EXPECT_EQ(c.name, line.name);
        EXPECT_EQ(c.depth, line.depth);
        EXPECT_EQ(static_cast<int>(c.expected), static_cast<int>(line.ending));
        EXPECT_EQ(c.result, line.result);
        std::vector<Kind> kinds;
        for (const TraceArgument &argument : line.arguments)
            kinds.push_back(argument.kind);
        EXPECT_EQ(c.kinds, kinds);
    }
    // What the arguments hold.
    EXPECT_EQ(-1, read[2]->arguments[0].number);
    EXPECT_EQ(0x1A2B, read[3]->arguments[0].number);
    EXPECT_TRUE(read[4]->arguments[0].output && read[4]->arguments[0].number == 61) << "an out-value as written";
    EXPECT_EQ(L"V\"1\n", read[5]->arguments[0].text) << "escapes undone";
    EXPECT_FALSE(read[5]->arguments[0].Cut());
    EXPECT_TRUE(read[6]->arguments[0].Cut()) << "a text the trace cut";
    EXPECT_EQ(100u, read[6]->arguments[0].textLength);
    EXPECT_EQ(L"a, b", read[8]->arguments[0].text) << "a comma and parentheses inside a text";
    EXPECT_EQ(L"(c)", read[8]->arguments[1].text);

    ASSERT_EQ(2u, script.damaged.size());
    EXPECT_EQ(2 + trace.LineCount() + 1, script.damaged[0].number) << "the line that cannot be read, by its number";
    EXPECT_EQ(2 + trace.LineCount() + 2, script.damaged[1].number);
    EXPECT_EQ(L"not a line of a call trace", script.damaged[1].reason);
}

TEST(FixedFont, AsksForTheCellHeightFaceAndPitch)
{
    LOGFONTW font = FixedFontDescription(L"Courier New", 14);
    EXPECT_EQ(14, font.lfHeight);
    EXPECT_EQ(0, font.lfWidth);
    EXPECT_EQ(0, font.lfEscapement);
    EXPECT_EQ(0, font.lfOrientation);
    EXPECT_EQ(400, font.lfWeight);
    EXPECT_EQ(0, font.lfItalic + font.lfUnderline + font.lfStrikeOut + font.lfCharSet);
    EXPECT_EQ(0, font.lfOutPrecision + font.lfClipPrecision + font.lfQuality);
    EXPECT_EQ(0x20, font.lfPitchAndFamily);
    EXPECT_EQ(std::wstring(L"Courier New"), font.lfFaceName);

    std::wstring longFace(40, L'x');
    EXPECT_EQ(std::wstring(LF_FACESIZE - 1, L'x'), FixedFontDescription(longFace.c_str(), 14).lfFaceName)
        << "a face too long for a font name is cut, not overrun";

    std::unique_ptr<CFont> object = CreateFixedFont(L"Courier New", 14);
    ASSERT_NE(nullptr, object);
    EXPECT_NE(nullptr, object->GetSafeHandle());
}

TEST(TextViewer, LineFeedsBecomeLineEndsOfTheBox)
{
    EXPECT_EQ(L"", ExpandLineFeeds(L""));
    EXPECT_EQ(L"a\r\nb\r\n", ExpandLineFeeds(L"a\nb\n"));
    EXPECT_EQ(L"a\r\r\nb", ExpandLineFeeds(L"a\r\nb")) << "a pair gets one more carriage return";

    CTextViewer viewer;
    viewer.SetText(L"first\nsecond\n" + std::wstring(200, L'w'));
    ASSERT_TRUE(viewer.Create());
    const HWND box = viewer.GetDlgItem(IDC_VIEWER_TEXT);
    CWnd boxWindow;
    boxWindow.m_hWnd = box;
    EXPECT_EQ(L"first\r\nsecond\r\n" + std::wstring(200, L'w'), boxWindow.GetWindowText());
    EXPECT_EQ(3, ::SendMessageW(box, EM_GETLINECOUNT, 0, 0)) << "long lines are not wrapped";
    EXPECT_TRUE(::GetWindowLongW(box, GWL_STYLE) & ES_READONLY);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(box, WM_GETFONT, 0, 0));
    LOGFONTW shown = {};
    ASSERT_NE(0, ::GetObjectW(font, sizeof shown, &shown)) << "the box has a font of its own";
    EXPECT_STREQ(L"Courier New", shown.lfFaceName);

    // Away and back, as tabbing does: the caret returns to the top, nothing selected.
    ::SendMessageW(box, EM_SETSEL, 3, 20);
    ::SetFocus(viewer.GetDlgItem(IDOK));
    ::SendMessageW(box, EM_SETSEL, 0, -1);
    ::SetFocus(box);
    DWORD start = 99, end = 99;
    ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(0u, end);
    EXPECT_EQ(0, ::SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    viewer.DestroyWindow();
}

namespace {
struct EditorRows {
    std::wstring texts[4] = {L"5", L"12", L"-7", L"abc"};
};

bool Shown(const CParameterEditor &editor, int id) { return ::IsWindowVisible(editor.GetDlgItem(id)) != FALSE; }
std::wstring TextOf(const CParameterEditor &editor, int id)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(editor.GetDlgItem(id), text, 256);
    return text;
}
} // namespace

TEST(ParameterEditor, ShowsTheRowsInUseWithTheirLabels)
{
    struct Case {
        int rows;
        UINT firstLabel;
    } cases[] = {{1, IDS_LABEL_FORCE}, {2, 0}, {4, IDS_LABEL_SHOW}};
    const int edits[] = {IDC_PARAMETER_1, IDC_PARAMETER_2, IDC_PARAMETER_3, IDC_PARAMETER_4};
    const int labels[] = {IDC_PARAMETER_LABEL_1, IDC_PARAMETER_LABEL_2, IDC_PARAMETER_LABEL_3, IDC_PARAMETER_LABEL_4};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rows);
        EditorRows values;
        const UINT rowLabels[] = {c.firstLabel, IDS_LABEL_OFFSET_X, IDS_LABEL_OFFSET_Y, IDS_LABEL_TITLE_HOOK};
        std::vector<EditorRow> rows;
        for (int row = 0; row < c.rows; ++row)
            rows.push_back({rowLabels[row], values.texts[row]});
        CParameterEditor editor(nullptr, L"Kel_ShowMain", rows);
        ASSERT_TRUE(editor.Create());
        ::ShowWindow(editor.m_hWnd, SW_SHOWNA);
        EXPECT_EQ(c.rows, editor.RowCount());
        EXPECT_EQ(L"Kel_ShowMain", TextOf(editor, IDC_PARAMETER_TITLE));
        const std::wstring expectedLabels[] = {c.firstLabel == IDS_LABEL_FORCE ? L"Force :"
                                               : c.firstLabel == 0             ? L""
                                                                               : L"Show:",
                                               L"Offset X:", L"Offset Y:", L"SetTitleHook function pointer:"};
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(row < c.rows, Shown(editor, edits[row])) << "edit of row " << row + 1;
            EXPECT_EQ(row < c.rows, Shown(editor, labels[row])) << "label of row " << row + 1;
            if (row < c.rows) {
                EXPECT_EQ(values.texts[row], TextOf(editor, edits[row]));
                EXPECT_EQ(expectedLabels[row], TextOf(editor, labels[row]));
            }
        }
        editor.DestroyWindow();
    }
}

TEST(ParameterEditor, OkHandsBackEveryRowAndCancelNothing)
{
    for (int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button == IDOK ? "OK" : "Cancel");
        EditorRows values;
        std::vector<EditorRow> rows = {{IDS_LABEL_PARENT, values.texts[0]}, {IDS_LABEL_SPLASH, values.texts[1]}};
        CParameterEditor editor(nullptr, L"Kel_CreateMain", rows);
        ASSERT_TRUE(editor.Create());
        ::SetWindowTextW(editor.GetDlgItem(IDC_PARAMETER_1), L" -42x");
        ::SendMessageW(editor.m_hWnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        for (std::size_t row = 0; row < rows.size(); ++row)
            values.texts[row] = rows[row].text;
        EXPECT_EQ(button == IDOK ? L" -42x" : L"5", values.texts[0]) << "any text comes back unchecked";
        EXPECT_EQ(L"12", values.texts[1]) << "an unchanged box gives back its default";
        EXPECT_EQ(L"-7", values.texts[2]) << "a row not in use is never written";
        editor.DestroyWindow();
    }
}

TEST(XmlTextFile, LineEndsAsATextModeStreamReadsThem)
{
    struct Case {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"", L""},
        {"a\nb\n", L"a\r\nb\r\n"},
        {"a\r\nb\r\n", L"a\r\nb\r\n"},
        {"a\rb", L"a\rb"},
        {"a\r\r\nb", L"a\r\r\nb"},
        {"end\x1A" "after", L"end"},
        {"\x1A", L""},
    };
    for (const Case &c : cases) {
        DecodedXmlText decoded = DecodeXmlTextFile(c.bytes);
        EXPECT_EQ(c.text, decoded.text) << testing::PrintToString(c.bytes);
        EXPECT_FALSE(decoded.stoppedAtZero);
    }
}

TEST(XmlTextFile, ZeroByteIsReportedWhereItStands)
{
    DecodedXmlText decoded = DecodeXmlTextFile(std::string("ab\ncd\0ef", 8));
    EXPECT_EQ(L"ab\r\ncd", decoded.text);
    EXPECT_TRUE(decoded.stoppedAtZero);
    EXPECT_EQ(5u, decoded.zeroOffset);
}

TEST(XmlTextFile, EveryByteComesBackAsItWent)
{
    std::string bytes;
    for (int b = 1; b <= 0xFF; ++b) {
        if (b != 0x0A && b != 0x0D && b != 0x1A)
            bytes += static_cast<char>(b);
    }
    bytes += "\r\n";
    DecodedXmlText decoded = DecodeXmlTextFile(bytes);
    EXPECT_EQ(bytes.size(), decoded.text.size()) << "one character per byte";
    EXPECT_EQ(L'\u00E9', decoded.text[0xE9 - 4]) << "bytes above 0x7F are the characters of that value";
    EncodedXmlText encoded = EncodeXmlTextFile(decoded.text);
    EXPECT_EQ(bytes, encoded.bytes);
    EXPECT_EQ(0u, encoded.unencodable);
}

TEST(XmlTextFile, CharactersOneByteCannotCarryAreCounted)
{
    EncodedXmlText encoded = EncodeXmlTextFile(L"price: 5 \u20AC or \u0141, \x1A");
    EXPECT_EQ("price: 5 ? or ?, ?", encoded.bytes) << "0x1A would end the text read back";
    EXPECT_EQ(3u, encoded.unencodable);
}

TEST(XmlTextFile, LargeTextsRoundTrip)
{
    std::string bytes;
    bytes.reserve(4 << 20);
    for (std::size_t line = 0; bytes.size() < (4u << 20); ++line)
        bytes += "<Copies>" + std::to_string(line % 9999) + "</Copies>\xE9\r\n";
    DecodedXmlText decoded = DecodeXmlTextFile(bytes);
    EXPECT_EQ(bytes, EncodeXmlTextFile(decoded.text).bytes);
}

namespace {
std::wstring TempPath(const std::wstring &name)
{
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// What a file holds, "(none)" when there is no file of that name.
std::string Content(const std::wstring &path)
{
    std::string bytes;
    DWORD error = 0;
    return ReadFileBytes(path, bytes, error) ? bytes : "(none)";
}

void Remove(const std::wstring &path)
{
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}
} // namespace

TEST(FileBytes, ReplacingWritesAllOrLeavesTheOldFile)
{
    const std::wstring path = TempPath(L"kel-filebytes-test.xml");
    Remove(path);
    std::string big(4 << 20, 'x');
    for (std::size_t i = 0; i < big.size(); i += 997)
        big[i] = static_cast<char>(i % 251);
    SaveOutcome outcome = ReplaceFileBytes(path, big);
    ASSERT_TRUE(outcome.saved) << outcome.error;
    EXPECT_EQ(big, Content(path));

    ASSERT_TRUE(ReplaceFileBytes(path, "old").saved);
    EXPECT_EQ("(none)", Content(path + L".earlier")) << "the earlier file goes once replaced";
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    outcome = ReplaceFileBytes(path, "new");
    EXPECT_FALSE(outcome.saved) << "a read-only file cannot be replaced";
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), outcome.error);
    EXPECT_TRUE(outcome.earlier == SaveOutcome::Earlier::Kept);
    EXPECT_EQ("old", Content(path)) << "the failed save left the old file";
    EXPECT_EQ("(none)", Content(path + L".saving")) << "nothing left beside it";
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Files of the names it would write beside are the user's: they stay.
    ASSERT_TRUE(ReplaceFileBytes(path + L".saving", "mine").saved);
    ASSERT_TRUE(ReplaceFileBytes(path + L".earlier", "mine too").saved);
    ASSERT_TRUE(ReplaceFileBytes(path, "new").saved);
    EXPECT_EQ("new", Content(path));
    EXPECT_EQ("mine", Content(path + L".saving"));
    EXPECT_EQ("mine too", Content(path + L".earlier"));
    Remove(path + L".saving");
    Remove(path + L".earlier");

    outcome = ReplaceFileBytes(TempPath(L"kel-no-such-folder\\x.xml"), "new");
    EXPECT_FALSE(outcome.saved) << "nowhere to write";
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), outcome.error);
    Remove(path);
    EXPECT_EQ("(none)", Content(path));
}

TEST(FileBytes, ReplacingKeepsTheHiddenAttribute)
{
    const std::wstring path = TempPath(L"kel-filebytes-hidden.xml");
    Remove(path);
    ASSERT_TRUE(ReplaceFileBytes(path, "old").saved);
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(ReplaceFileBytes(path, "new").saved);
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN) << "the saved file is still hidden";
    EXPECT_EQ("new", Content(path));
    Remove(path);
}

namespace {
// A disk that fails as Windows can and Wine never does; what it does not
// fail it hands to the system.
struct FakeDisk {
    enum class Effect { None, EarlierAside, EarlierRemoved };
    int replaceFailures = 0; // before the system's ReplaceFileW runs
    DWORD replaceError = 0;
    Effect effect = Effect::None;
    bool moveFails = false;
    std::wstring undeletable;  // the ending of names that cannot be deleted
    bool classicLimit = false; // no long paths without the \\?\ form
    std::vector<DWORD> pauses;
} g_disk;

bool TooLong(LPCWSTR path)
{
    if (!path || !g_disk.classicLimit || std::wcslen(path) < MAX_PATH || std::wcsncmp(path, L"\\\\?\\", 4) == 0)
        return false;
    ::SetLastError(ERROR_PATH_NOT_FOUND);
    return true;
}

HANDLE WINAPI FakeCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                             DWORD disposition, DWORD flags, HANDLE model)
{
    return TooLong(path) ? INVALID_HANDLE_VALUE
                         : ::CreateFileW(path, access, share, security, disposition, flags, model);
}

BOOL WINAPI FakeReplaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
                            LPVOID reserved)
{
    if (TooLong(replaced) || TooLong(replacement) || TooLong(backup))
        return FALSE;
    if (g_disk.replaceFailures == 0)
        return ::ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
    --g_disk.replaceFailures;
    if (g_disk.effect == FakeDisk::Effect::EarlierAside)
        ::MoveFileExW(replaced, backup, 0);
    else if (g_disk.effect == FakeDisk::Effect::EarlierRemoved)
        ::DeleteFileW(replaced);
    ::SetLastError(g_disk.replaceError);
    return FALSE;
}

BOOL WINAPI FakeMoveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    if (TooLong(from) || TooLong(to))
        return FALSE;
    if (!g_disk.moveFails)
        return ::MoveFileExW(from, to, flags);
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI FakeDeleteFile(LPCWSTR path)
{
    if (TooLong(path))
        return FALSE;
    const std::wstring name = path;
    const std::wstring &ending = g_disk.undeletable;
    if (ending.empty() || name.size() < ending.size() || name.compare(name.size() - ending.size(), ending.size(), ending))
        return ::DeleteFileW(path);
    ::SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
}

DWORD WINAPI FakeGetFileAttributes(LPCWSTR path)
{
    return TooLong(path) ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(path);
}

void WINAPI FakeSleep(DWORD milliseconds) { g_disk.pauses.push_back(milliseconds); }

const SaveCalls kFakeCalls = {&FakeCreateFile, &FakeReplaceFile,        &FakeMoveFileEx, &FakeDeleteFile,
                              &FakeGetFileAttributes, &::SetFileAttributesW, &FakeSleep};

// The box's text against a pattern in which {P}, {B} and {E} stand for the
// file, the name beside it and the earlier file's name, and one * for the
// system's wording of the error.
void ExpectReport(std::wstring pattern, const std::wstring &report, const std::wstring &path)
{
    for (auto [mark, name] : {std::pair<const wchar_t *, std::wstring>{L"{P}", path},
                              {L"{B}", path + L".saving"},
                              {L"{E}", path + L".earlier"}}) {
        for (std::size_t at; (at = pattern.find(mark)) != std::wstring::npos;)
            pattern.replace(at, 3, name);
    }
    std::size_t star = pattern.find(L'*');
    if (star == std::wstring::npos) {
        EXPECT_EQ(pattern, report);
        return;
    }
    const std::wstring before = pattern.substr(0, star), after = pattern.substr(star + 1);
    EXPECT_TRUE(report.size() > before.size() + after.size() && report.compare(0, before.size(), before) == 0 &&
                report.compare(report.size() - after.size(), after.size(), after) == 0)
        << "expected " << testing::PrintToString(pattern) << ", saw " << testing::PrintToString(report);
}
} // namespace

// Every way Windows' replace can end, and what the user then finds on disk
// and in the box. Wine's ReplaceFileW never fails half-way.
TEST(FileBytes, EveryEndOfAReplaceLeavesACopyAndSaysWhere)
{
    using Effect = FakeDisk::Effect;
    const wchar_t kKept[] = L"{P} cannot be written:\n*\n\nAn earlier file of that name is left as it was.";
    // A name near the limit is saved where only paths in the \\?\ form may be longer.
    struct Case {
        const char *name;
        int failures; // of the replace, before the system's runs
        DWORD error;
        Effect effect;
        bool moveFails;
        const wchar_t *undeletable;
        bool longName;
        const char *atPath, *beside, *earlier; // what each name holds afterwards
        std::size_t pauses;
        const wchar_t *report;
    } cases[] = {
        {"1175: both keep their names, tried again a while", 99, 1175, Effect::None, false, L"", false, "old",
         "(none)", "(none)", 5, kKept},
        {"1176 with a backup name: both keep their names", 1, 1176, Effect::None, false, L"", false, "old", "(none)",
         "(none)", 0, kKept},
        {"1176 as without a backup: the earlier file removed, the bytes moved into its name", 1, 1176,
         Effect::EarlierRemoved, false, L"", false, "new", "(none)", "(none)", 0, L""},
        {"1177: the earlier file moved aside, the bytes moved into its name", 1, 1177, Effect::EarlierAside, false,
         L"", false, "new", "(none)", "(none)", 0, L""},
        {"1177, and the move fails too: the bytes stay beside", 1, 1177, Effect::EarlierAside, true, L"", false,
         "(none)", "new", "old", 5,
         L"{P} cannot be written:\n*\n\nThe text is saved as {B} instead. The earlier file of that name is now {E}."},
        {"1176 without a backup, and the move fails: the bytes stay beside", 1, 1176, Effect::EarlierRemoved, true,
         L"", false, "(none)", "new", "(none)", 5,
         L"{P} cannot be written:\n*\n\nThe text is saved as {B} instead. The earlier file of that name is gone."},
        {"held for a moment", 2, ERROR_SHARING_VIOLATION, Effect::None, false, L"", false, "new", "(none)", "(none)",
         2, L""},
        {"held for good", 99, ERROR_SHARING_VIOLATION, Effect::None, false, L"", false, "old", "(none)", "(none)", 5,
         kKept},
        {"the earlier file held after the replace", 0, 0, Effect::None, false, L".earlier", false, "new", "(none)",
         "old", 5, L"{P} is saved.\n\nThe earlier file of that name could not be removed and is kept as {E}:\n*"},
        {"a name near the path limit", 0, 0, Effect::None, false, L"", true, "new", "(none)", "(none)", 0, L""},
    };
    const std::wstring folder = TempPath(L"kel-replace");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // The long name is as long as a file dialog hands out: one short of the limit.
        const std::wstring path =
            c.longName ? folder + L"\\" + std::wstring(MAX_PATH - 6 - folder.size(), L'n') + L".xml"
                       : folder + L"\\settings.xml";
        ASSERT_TRUE(ReplaceFileBytes(path, "old").saved);
        g_disk = FakeDisk();
        g_disk.replaceFailures = c.failures;
        g_disk.replaceError = c.error;
        g_disk.effect = c.effect;
        g_disk.moveFails = c.moveFails;
        g_disk.undeletable = c.undeletable;
        g_disk.classicLimit = c.longName;
        const SaveOutcome outcome = ReplaceFileBytes(path, "new", kFakeCalls);
        EXPECT_EQ(c.pauses, g_disk.pauses.size()) << "pauses before trying again";
        g_disk = FakeDisk();
        EXPECT_EQ(c.atPath, Content(path)) << "in the file";
        EXPECT_EQ(c.beside, Content(path + L".saving")) << "beside it";
        EXPECT_EQ(c.earlier, Content(path + L".earlier")) << "in the earlier file's other name";
        ExpectReport(c.report, SaveReport(path, outcome), path);
        for (const wchar_t *ending : {L"", L".saving", L".earlier"})
            Remove(path + ending);
    }
    ::RemoveDirectoryW(folder.c_str());
}

namespace {
// Denies everyone the right to make files and folders in the folder, as a
// shared folder does whose files the user may change; the old rights come
// back when it goes.
class NoNewFiles {
public:
    explicit NoNewFiles(const std::wstring &folder) : m_folder(folder)
    {
        BYTE everyone[SECURITY_MAX_SID_SIZE] = {};
        DWORD size = sizeof everyone;
        PACL dacl = nullptr;
        if (!::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size) ||
            ::GetNamedSecurityInfoW(m_folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    &dacl, nullptr, &m_descriptor) != ERROR_SUCCESS)
            return;
        EXPLICIT_ACCESSW deny = {};
        deny.grfAccessPermissions = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;
        deny.grfAccessMode = DENY_ACCESS;
        deny.grfInheritance = NO_INHERITANCE;
        deny.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        deny.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        deny.Trustee.ptstrName = reinterpret_cast<wchar_t *>(everyone);
        PACL denying = nullptr;
        if (::SetEntriesInAclW(1, &deny, dacl, &denying) == ERROR_SUCCESS) {
            ::SetNamedSecurityInfoW(&m_folder[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    denying, nullptr);
            ::LocalFree(denying);
            m_dacl = dacl;
        }
    }
    ~NoNewFiles()
    {
        if (m_dacl)
            ::SetNamedSecurityInfoW(&m_folder[0], SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, m_dacl,
                                    nullptr);
        ::LocalFree(m_descriptor);
    }
    NoNewFiles(const NoNewFiles &) = delete;
    NoNewFiles &operator=(const NoNewFiles &) = delete;

private:
    std::wstring m_folder;
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    PACL m_dacl = nullptr; // the old one, inside m_descriptor
};

bool CanMakeFileIn(const std::wstring &folder)
{
    const std::wstring probe = folder + L"\\probe";
    unique_file file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
    if (!file)
        return false;
    file.reset();
    ::DeleteFileW(probe.c_str());
    return true;
}
} // namespace

TEST(FileBytes, FolderThatTakesNoNewFileIsWrittenInPlace)
{
    const std::wstring folder = TempPath(L"kel-filebytes-no-new-files");
    const std::wstring path = folder + L"\\settings.xml";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(ReplaceFileBytes(path, "an earlier, longer text").saved);
    bool denied = false;
    std::string back;
    {
        NoNewFiles rights(folder);
        denied = !CanMakeFileIn(folder);
        if (denied) {
            SaveOutcome outcome = ReplaceFileBytes(path, "new");
            EXPECT_TRUE(outcome.saved) << SystemErrorText(outcome.error);
            back = Content(path);
        }
    }
    ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
    if (!denied) {
        GTEST_SKIP() << "the platform under test makes files where the folder's rights deny it "
                        "(Wine enforces no such rights)";
    }
    EXPECT_EQ("new", back) << "written in place, and no longer than the new text";
}
