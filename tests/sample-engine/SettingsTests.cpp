#include "FileIo.h"
#include "EngineContract.h"
#include "Settings.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {
class SettingsFile : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"solvetric-settings-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_dir.c_str(), nullptr);
        m_path = m_dir + L"\\job.kel";
    }
    void TearDown() override
    {
        ::DeleteFileW(m_path.c_str());
        ::RemoveDirectoryW(m_dir.c_str());
    }
    int ReadText(const std::string &bytes, JobSettings &settings)
    {
        EXPECT_TRUE(WriteFileBytes(m_path, bytes));
        return ReadSettingsFile(m_path, settings);
    }

    std::wstring m_dir, m_path;
};
} // namespace

TEST_F(SettingsFile, WhatIsWrittenReadsBack)
{
    JobSettings written = DefaultSettings();
    written.printer = L"Proof Printer";
    written.copies = 9999;
    written.collate = false;
    written.bodyPaper = L"Cover Black";
    written.range = PrintRange{false, 3, 12};
    ASSERT_EQ(KEL_OK, WriteSettingsFile(m_path, written));
    JobSettings read;
    ASSERT_EQ(KEL_OK, ReadSettingsFile(m_path, read));
    EXPECT_TRUE(read == written);

    std::string bytes;
    ASSERT_TRUE(ReadEngineFile(m_path, bytes));
    EXPECT_EQ(0u, bytes.find("Solvetric Settings 1\r\n")) << "the first line names the format and its version";
}

TEST_F(SettingsFile, OtherFilesAndVersionsAreTold)
{
    JobSettings settings = DefaultSettings();
    settings.copies = 42;
    EXPECT_EQ(KEL_UNSUPPORTED_VERSION, ReadText("Solvetric Settings 2\r\ncopies=3\r\n", settings));
    EXPECT_EQ(KEL_UNSUPPORTED_VERSION, ReadText("Solvetric Settings 0\n", settings));
    const char *const notSettings[] = {
        "", "hello\n", "Solvetric Settings\n", "Solvetric Settings x\n", "solvetric settings 1\n",
        "Solvetric Settings 1\ncopies=0\n", "Solvetric Settings 1\ncolour=red\n", "Solvetric Settings 1\nno equals\n",
        "Solvetric Settings 1\nprinter=Unknown Press\n", "Solvetric Settings 1\nbodypaper=\xFF\n",
    };
    for (const char *text : notSettings)
        EXPECT_EQ(KEL_NOT_SETTINGS_FILE, ReadText(text, settings)) << text;
    EXPECT_EQ(42, settings.copies) << "a refused file changes nothing";

    EXPECT_EQ(KEL_OK, ReadText("\xEF\xBB\xBFSolvetric Settings 1\nprintrange=4-4\n\ncollate=no", settings));
    EXPECT_EQ((PrintRange{false, 4, 4}), settings.range);
    EXPECT_FALSE(settings.collate);
    EXPECT_EQ(1, settings.copies) << "keys not given take their defaults";
}

TEST_F(SettingsFile, MissingFilesAndUnwritablePaths)
{
    JobSettings settings;
    EXPECT_EQ(KEL_CANNOT_OPEN_FILE, ReadSettingsFile(m_dir + L"\\none.kel", settings));
    EXPECT_EQ(KEL_CANNOT_OPEN_FILE, ReadSettingsFile(L"", settings));
    EXPECT_EQ(KEL_CANNOT_OPEN_FILE, ReadSettingsFile(m_dir, settings)) << "a folder";
    EXPECT_EQ(KEL_CANNOT_WRITE_FILE, WriteSettingsFile(m_dir + L"\\no\\such\\folder.kel", DefaultSettings()));
    EXPECT_EQ(KEL_CANNOT_WRITE_FILE, WriteSettingsFile(L"", DefaultSettings()));
}

TEST(SettingsValues, TextFormsAcceptOnlyWhatTheyShould)
{
    EXPECT_EQ(1, ParseCopies(L"1"));
    EXPECT_EQ(9999, ParseCopies(L"9999"));
    for (const wchar_t *bad : {L"0", L"10000", L"", L"-1", L"+2", L" 2", L"2x", L"99999999999999"})
        EXPECT_FALSE(ParseCopies(bad)) << testing::PrintToString(std::wstring(bad));
    EXPECT_EQ(PrintRange{}, ParsePrintRange(L"all"));
    EXPECT_EQ((PrintRange{false, 2, 2}), ParsePrintRange(L"2-2"));
    for (const wchar_t *bad : {L"3-2", L"0-2", L"2", L"2-", L"-2", L"1-100000", L"1 - 2"})
        EXPECT_FALSE(ParsePrintRange(bad)) << testing::PrintToString(std::wstring(bad));
    EXPECT_EQ(L"All", PrintRangeText(PrintRange{}));
    EXPECT_EQ(L"3-9", PrintRangeText(PrintRange{false, 3, 9}));
    EXPECT_EQ(kDocumentPages, PagesToPrint(PrintRange{}));
    EXPECT_EQ(7, PagesToPrint(PrintRange{false, 3, 9}));
}
