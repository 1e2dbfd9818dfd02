// The harness's parts that need no running program: the result code table,
// the fixed font, and its two small dialogs driven in-process.
#include "ErrorReport.h"
#include "FixedFont.h"
#include "ParameterEditor.h"
#include "TextViewer.h"
#include "../../harness/resource.h"

#include <gtest/gtest.h>

#include <string>

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
    viewer.m_strText = L"first\nsecond\n" + std::wstring(200, L'w');
    ASSERT_TRUE(viewer.Create());
    EXPECT_EQ(L"first\r\nsecond\r\n" + std::wstring(200, L'w'), viewer.m_textBox.GetWindowText());
    EXPECT_EQ(3, ::SendMessageW(viewer.m_textBox.m_hWnd, EM_GETLINECOUNT, 0, 0)) << "long lines are not wrapped";
    EXPECT_TRUE(::GetWindowLongW(viewer.m_textBox.m_hWnd, GWL_STYLE) & ES_READONLY);
    ASSERT_NE(nullptr, viewer.m_pFixedFont);
    EXPECT_EQ(reinterpret_cast<WPARAM>(viewer.m_pFixedFont->GetSafeHandle()),
              static_cast<WPARAM>(::SendMessageW(viewer.m_textBox.m_hWnd, WM_GETFONT, 0, 0)));

    // Away and back, as tabbing does: the caret returns to the top, nothing selected.
    ::SendMessageW(viewer.m_textBox.m_hWnd, EM_SETSEL, 3, 20);
    ::SetFocus(viewer.GetDlgItem(IDOK));
    ::SendMessageW(viewer.m_textBox.m_hWnd, EM_SETSEL, 0, -1);
    ::SetFocus(viewer.m_textBox.m_hWnd);
    DWORD start = 99, end = 99;
    ::SendMessageW(viewer.m_textBox.m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(0u, end);
    EXPECT_EQ(0, ::SendMessageW(viewer.m_textBox.m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0));
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
        auto value = [&](int row) { return row < c.rows ? &values.texts[row] : nullptr; };
        CParameterEditor editor(nullptr, L"Kel_ShowMain", value(0), c.firstLabel, value(1), IDS_LABEL_OFFSET_X,
                                value(2), IDS_LABEL_OFFSET_Y, value(3), IDS_LABEL_TITLE_HOOK);
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
        CParameterEditor editor(nullptr, L"Kel_CreateMain", &values.texts[0], IDS_LABEL_PARENT, &values.texts[1],
                                IDS_LABEL_SPLASH);
        ASSERT_TRUE(editor.Create());
        ::SetWindowTextW(editor.GetDlgItem(IDC_PARAMETER_1), L" -42x");
        ::SendMessageW(editor.m_hWnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        EXPECT_EQ(button == IDOK ? L" -42x" : L"5", values.texts[0]) << "any text comes back unchecked";
        EXPECT_EQ(L"12", values.texts[1]) << "an unchanged box gives back its default";
        EXPECT_EQ(L"-7", values.texts[2]) << "a row not in use is never written";
        editor.DestroyWindow();
    }
}
