// The framework's pure helpers, and its dialogs driven in this process.
#include "Dialog.h"
#include "DlgInit.h"
#include "FileDialog.h"
#include "Strings.h"
#include "WaitCursor.h"
#include "WinApp.h"
#include "TestApp.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <stdexcept>
#include <string>
#include <vector>

TEST(CommandLineTail, SkipsTheProgramNameAndLeadingBlanksOnly)
{
    struct Case {
        const wchar_t *commandLine;
        const wchar_t *expected;
    } cases[] = {
        {L"prog.exe", L""},
        {L"prog.exe   settings.kel", L"settings.kel"},
        {L"prog.exe \t a  b ", L"a  b "},
        {L"\"C:\\Program Files\\prog.exe\" \"C:\\my settings.kel\"", L"\"C:\\my settings.kel\""},
        {L"\"C:\\dir\\prog.exe\"tail", L"tail"},
        {L"\"unterminated", L""},
        {L"", L""},
        {nullptr, L""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(std::wstring(c.expected), CommandLineTail(c.commandLine))
            << "for command line " << (c.commandLine ? testing::PrintToString(std::wstring(c.commandLine)) : "null");
}

TEST(FormatString, FillsNumberedPlaceholders)
{
    EXPECT_EQ(L"b then a", FormatString(L"%2 then %1", {L"a", L"b"}));
    EXPECT_EQ(L"a %3 100%", FormatString(L"%1 %3 100%", {L"a"})) << "placeholders without an argument stay";
    EXPECT_EQ(L"%1", FormatString(L"%1", {L"%1"})) << "arguments are not read again";
}

TEST(FileDialogFilter, BarsBecomeTerminators)
{
    std::wstring converted = ConvertFilter(L"XML Files (*.xml)|*.xml|All Files (*.*)|*.*||");
    EXPECT_EQ(std::wstring(L"XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0\0", 45), converted);
}

namespace {
std::vector<BYTE> Record(WORD id, WORD message, const std::string &bytes)
{
    std::string record(8, '\0');
    DWORD length = static_cast<DWORD>(bytes.size());
    memcpy(&record[0], &id, 2);
    memcpy(&record[2], &message, 2);
    memcpy(&record[4], &length, 4);
    record += bytes;
    return std::vector<BYTE>(record.begin(), record.end());
}
} // namespace

TEST(DlgInit, ParsesListRecordsUpToTheEndMarker)
{
    std::vector<BYTE> data = Record(1054, 0x0403, std::string("Printers\0", 9));
    std::vector<BYTE> list = Record(1056, 0x0401, std::string("Files\0", 6));
    std::vector<BYTE> other = Record(1057, 0x1234, std::string("x\0", 2));
    data.insert(data.end(), list.begin(), list.end());
    data.insert(data.end(), other.begin(), other.end());
    data.push_back(0);
    data.push_back(0);
    std::vector<BYTE> afterEnd = Record(1058, 0x0403, std::string("never\0", 6));
    data.insert(data.end(), afterEnd.begin(), afterEnd.end());

    std::vector<DlgInitRecord> records = ParseDlgInit(data.data(), data.size());
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(1054, records[0].controlId);
    EXPECT_EQ(static_cast<UINT>(CB_ADDSTRING), records[0].message);
    EXPECT_EQ(L"Printers", records[0].text);
    EXPECT_EQ(1056, records[1].controlId);
    EXPECT_EQ(static_cast<UINT>(LB_ADDSTRING), records[1].message);
    EXPECT_EQ(L"Files", records[1].text);
}

TEST(DlgInit, StopsWhereTheDataRunsOut)
{
    std::vector<BYTE> data = Record(1054, 0x0403, std::string("Printers\0", 9));
    std::vector<BYTE> cut(data.begin(), data.end() - 3); // length claims more than is there
    EXPECT_TRUE(ParseDlgInit(cut.data(), cut.size()).empty());
    std::vector<BYTE> header(data.begin(), data.begin() + 5);
    EXPECT_TRUE(ParseDlgInit(header.data(), header.size()).empty());
    std::vector<BYTE> unterminated = Record(1054, 0x0403, "abc");
    std::vector<DlgInitRecord> records = ParseDlgInit(unterminated.data(), unterminated.size());
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"abc", records[0].text);
}

TEST(Strings, LoadsEntriesOfAnyLength)
{
    std::wstring text = LoadResString(IDS_LONG);
    ASSERT_EQ(1500u, text.size());
    EXPECT_EQ(L'a', text.front());
    EXPECT_EQ(static_cast<wchar_t>(L'a' + 1499 % 26), text.back());
    EXPECT_EQ(L"Grüße, ünïcode", LoadResString(IDS_SHORT));
    EXPECT_EQ(L"", LoadResString(IDS_MISSING));
}

TEST(WaitCursor, ActiveWhileAnyLives)
{
    EXPECT_FALSE(CWaitCursor::Active());
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
            EXPECT_TRUE(CWaitCursor::Active());
        }
        EXPECT_TRUE(CWaitCursor::Active());
    }
    EXPECT_FALSE(CWaitCursor::Active());
    try {
        CWaitCursor wait;
        throw std::runtime_error("leaves the handler");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(CWaitCursor::Active());
}


TEST(Dialog, SeesItsCreationAndFillsItsLists)
{
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(&dialog, CDialog::FromHandle(dialog.m_hWnd));
    ASSERT_FALSE(dialog.seenBeforeInit.empty());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), dialog.seenBeforeInit.front());
    EXPECT_NE(dialog.seenBeforeInit.end(),
              std::find(dialog.seenBeforeInit.begin(), dialog.seenBeforeInit.end(), static_cast<UINT>(WM_CREATE)));
    ASSERT_NE(nullptr, dialog.combo.m_hWnd) << "data exchange binds the control members";
    EXPECT_EQ(2, dialog.combo.GetCount()) << "the dialog's initialisation data fills the combo box";
    dialog.DestroyWindow();
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(Dialog, RoutesCommandsThroughTheMapsAndOnToTheApplication)
{
    StartTestApp();
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    g_testApp.appCommands = 0;
    dialog.editFocus = 0; // creation may already have focused the edit

    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(CProbeDialog::kRangeFirst + 3, 0), 0);
    EXPECT_EQ(static_cast<int>(CProbeDialog::kRangeFirst + 3), dialog.rangeId) << "the range handler gets the id";
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(kAppCommand, 0), 0);
    EXPECT_EQ(1, g_testApp.appCommands) << "a command no window handles reaches the application";
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_PROBE_EDIT, EN_CHANGE), 0);
    EXPECT_EQ(0, dialog.editFocus) << "another notification code does not match";
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_PROBE_EDIT, EN_SETFOCUS),
                   reinterpret_cast<LPARAM>(dialog.edit.m_hWnd));
    EXPECT_EQ(1, dialog.editFocus);
    EXPECT_EQ(1, g_testApp.appCommands);

    // An accelerator sends code 1 and no control: the menu command's way.
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(CProbeDialog::kRangeFirst + 4, 1), 0);
    EXPECT_EQ(static_cast<int>(CProbeDialog::kRangeFirst + 4), dialog.rangeId) << "an accelerator reaches the map";
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(kAppCommand, 1), 0);
    EXPECT_EQ(2, g_testApp.appCommands) << "and goes on to the application";
    // A control's notification 1 (CBN_SELCHANGE) is no click.
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(CProbeDialog::kRangeFirst + 5, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(dialog.combo.m_hWnd));
    EXPECT_EQ(static_cast<int>(CProbeDialog::kRangeFirst + 4), dialog.rangeId);
    EXPECT_EQ(2, g_testApp.appCommands);
}

TEST(Dialog, ModalRunEndedDuringInitialisationNeverShows)
{
    CProbeDialog dialog;
    dialog.endDuringInit = 7;
    EXPECT_EQ(7, dialog.DoModal());
    EXPECT_FALSE(dialog.shown);
    EXPECT_EQ(nullptr, dialog.m_hWnd) << "the modal run destroys its window";
}

TEST(Dialog, ExceptionFromAHandlerEndsTheModalRunAndIsThrownAgain)
{
    CProbeDialog dialog;
    dialog.throwDuringRun = true;
    EXPECT_THROW(dialog.DoModal(), std::runtime_error);
    EXPECT_TRUE(dialog.shown);
    EXPECT_EQ(nullptr, dialog.m_hWnd);

    CProbeDialog next; // nothing is left pending for the next run
    next.endDuringInit = IDCANCEL;
    EXPECT_EQ(IDCANCEL, next.DoModal());
}
