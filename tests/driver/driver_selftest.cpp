// The driver against a bare dialog of its own, so UI test failures point at
// the programs, not at the driver.
#include "UiDriver.h"

#include "ProbeResource.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kProbeExe[] = L"uidriver_probe.exe";
const wchar_t kProbeCaption[] = L"Driver Probe";
const wchar_t kQuestionCaption[] = L"Probe Question";

class Probe : public testing::Test {
protected:
    Probe() { m_sandbox.AddProgram(kProbeExe); }

    HWND StartDialog(const std::wstring &args = L"", const Process::Environment &env = {}, bool rawTail = false)
    {
        m_process = std::make_unique<Process>(Process::Start(m_sandbox, kProbeExe, args, env, rawTail));
        HWND dialog = m_process->WaitWindow(L"#32770", kProbeCaption);
        EXPECT_NE(nullptr, dialog) << "the probe's dialog appears";
        return dialog;
    }
    std::wstring TextOf(HWND dialog, int id) { return Text(Child(dialog, id)); }
    std::wstring QuotedProbePath() { return L"\"" + m_sandbox.Path(kProbeExe) + L"\""; }

    Sandbox m_sandbox{L"probe"};
    std::unique_ptr<Process> m_process;
};

TEST_F(Probe, StartsInItsSandboxWithTheGivenCommandLineAndEnvironment)
{
    HWND dialog = StartDialog(L"/x \"quoted arg\" grün", {{L"PROBE_NOTE", L"nöte"}});
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(QuotedProbePath() + L" /x \"quoted arg\" grün", TextOf(dialog, IDC_PROBE_COMMAND_LINE));
    EXPECT_EQ(m_sandbox.LogPath(), TextOf(dialog, IDC_PROBE_LOG));
    EXPECT_EQ(L"nöte", TextOf(dialog, IDC_PROBE_NOTE));
    EXPECT_EQ(m_sandbox.Dir(), TextOf(dialog, IDC_PROBE_FOLDER));

    dialog = StartDialog(L"", {{L"SOLVETRIC_LOG", L""}});
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(QuotedProbePath(), TextOf(dialog, IDC_PROBE_COMMAND_LINE)) << "no blank after the path";
    EXPECT_EQ(L"", TextOf(dialog, IDC_PROBE_LOG)) << "an empty value removes the variable";

    for (const std::wstring &tail : {std::wstring(L"\"\"x"), std::wstring(32000, L'é')}) {
        dialog = StartDialog(tail, {}, true);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(QuotedProbePath() + tail, TextOf(dialog, IDC_PROBE_COMMAND_LINE)) << "a raw tail of "
                                                                                    << tail.size();
    }
}

TEST_F(Probe, ReadsAndWritesControls)
{
    HWND dialog = StartDialog();
    ASSERT_NE(nullptr, dialog);
    HWND input = Child(dialog, IDC_PROBE_INPUT);
    EXPECT_EQ(L"Edit", ClassName(input));
    EXPECT_TRUE(IsVisible(input));
    EXPECT_EQ(input, FocusOf(*m_process)) << "the first control has the focus";
    EXPECT_EQ(9u, Children(dialog).size());

    SetText(input, L"hello, wörld");
    EXPECT_EQ(L"hello, wörld", Text(input)) << "setting is synchronous";
    SetText(input, L"");
    const std::wstring typed(200, L'ß');
    TypeText(input, typed);
    EXPECT_TRUE(Sync(input));
    EXPECT_EQ(typed, Text(input)) << "Sync waits until the posted characters are handled";

    HWND choices = Child(dialog, IDC_PROBE_CHOICES);
    EXPECT_EQ((std::vector<std::wstring>{L"Red", L"Grün", L"Blue"}), ComboItems(choices));
    EXPECT_EQ(1, ComboSelection(choices));
    EXPECT_EQ(L"Grün", Text(choices));
}

TEST_F(Probe, ClickOpensABoxThatIsReadAndAnswered)
{
    HWND dialog = StartDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(nullptr, m_process->FindMessageBox(nullptr)) << "a dialog is no message box";

    Click(Child(dialog, IDC_PROBE_ASK));
    HWND box = m_process->WaitMessageBox(kQuestionCaption);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Keep the probe's changes?", MessageBoxText(box));
    EXPECT_FALSE(PressButton(box, IDOK)) << "a Yes/No box has no OK button";
    EXPECT_TRUE(PressButton(box, IDNO));
    EXPECT_TRUE(m_process->WaitNoWindow(box, 5000));
    EXPECT_TRUE(WaitFor([&] { return TextOf(dialog, IDC_PROBE_ANSWER) == L"Answer: No"; }, 5000))
        << "saw " << Utf8(TextOf(dialog, IDC_PROBE_ANSWER));
}

TEST_F(Probe, WaitsTimeOutCleanly)
{
    HWND dialog = StartDialog();
    ASSERT_NE(nullptr, dialog);
    for (auto wait : {+[](const Process &p) { return p.WaitMessageBox(kQuestionCaption, 300); },
                      +[](const Process &p) { return p.WaitWindow(L"#32770", L"No such dialog", 300); }}) {
        ULONGLONG start = ::GetTickCount64();
        EXPECT_EQ(nullptr, wait(*m_process));
        ULONGLONG waited = ::GetTickCount64() - start;
        EXPECT_GE(waited, 290u);
        EXPECT_LT(waited, 1500u);
    }
    EXPECT_TRUE(m_process->Running());
}

TEST_F(Probe, EscapeEndsTheDialog)
{
    HWND dialog = StartDialog();
    ASSERT_NE(nullptr, dialog);
    PressKey(Child(dialog, IDC_PROBE_INPUT), VK_ESCAPE);
    DWORD code = 0;
    EXPECT_TRUE(m_process->WaitExit(5000, &code));
    EXPECT_EQ(static_cast<DWORD>(PROBE_CANCELLED), code) << "the dialog ended itself";
    EXPECT_FALSE(m_process->Running());
}

TEST_F(Probe, ScreenshotIsABitmapOfTheCapturedArea)
{
    HWND dialog = StartDialog();
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(m_process->WaitIdle(5000));
    RECT window = WindowRect(dialog);
    struct Case {
        HWND window;
        LONG width, height;
    } cases[] = {
        {nullptr, ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)},
        {dialog, window.right - window.left, window.bottom - window.top},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(Screenshot(m_sandbox.Path(L"shot.bmp"), c.window));
        std::string bmp = m_sandbox.ReadFileBytes(L"shot.bmp");
        ASSERT_GT(bmp.size(), 54u);
        BITMAPFILEHEADER file;
        BITMAPINFOHEADER info;
        std::memcpy(&file, bmp.data(), sizeof file);
        std::memcpy(&info, bmp.data() + sizeof file, sizeof info);
        EXPECT_EQ(0x4D42, file.bfType);
        EXPECT_EQ(c.width, info.biWidth);
        EXPECT_EQ(c.height, info.biHeight);
        EXPECT_EQ(24, info.biBitCount);
        const std::size_t stride = (static_cast<std::size_t>(c.width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(file.bfOffBits + stride * static_cast<std::size_t>(c.height), bmp.size());
    }
    // The dialog's shot shows the dialog, not an empty area.
    std::string bmp = m_sandbox.ReadFileBytes(L"shot.bmp");
    std::set<std::string> colours;
    for (std::size_t at = 54; at + 3 <= bmp.size() && colours.size() < 3; at += 3)
        colours.insert(bmp.substr(at, 3));
    EXPECT_GE(colours.size(), 3u);
}

std::wstring NameIn(const Sandbox &sandbox, const std::wstring &path) { return path.substr(sandbox.Dir().size() + 1); }

TEST(Sandbox, ReadsTheCallLogAndReplacesTheScript)
{
    Sandbox sandbox(L"log");
    const std::wstring logName = NameIn(sandbox, sandbox.LogPath());
    EXPECT_TRUE(sandbox.CallLog().empty()) << "no log yet";
    sandbox.WriteFileBytes(logName, "Kel_A(1) = 0\r\nKel_B() = 3\r\n\r\nKel_A(2) = 0\r\n");
    EXPECT_EQ((std::vector<std::string>{"Kel_A(1) = 0", "Kel_B() = 3", "", "Kel_A(2) = 0"}), sandbox.CallLog());
    EXPECT_EQ((std::vector<std::string>{"Kel_A(1) = 0", "Kel_A(2) = 0"}), sandbox.CallLogMatching("Kel_A("));
    EXPECT_TRUE(WaitCallLogLine(sandbox, "Kel_B() = 3", 0));
    EXPECT_FALSE(WaitCallLogLine(sandbox, "Kel_B()", 50)) << "a line must match whole";
    EXPECT_TRUE(WaitCallLogPrefix(sandbox, "Kel_B()", 0));
    sandbox.ClearCallLog();
    EXPECT_TRUE(sandbox.CallLog().empty());

    // Each replaces the one before; only a script that asks keeps the splash.
    const std::string withSplash = std::string(kWithSplash) + "result Kel_Exit = 24\n";
    const struct {
        std::string given, written;
    } scripts[] = {
        {"result Kel_Exit = 22\n", "nosplash\nresult Kel_Exit = 22\n"},
        {"result Kel_Exit = 23\n", "nosplash\nresult Kel_Exit = 23\n"},
        {withSplash, withSplash},
    };
    for (const auto &script : scripts) {
        sandbox.WriteScript(script.given);
        EXPECT_EQ(script.written, sandbox.ReadFileBytes(NameIn(sandbox, sandbox.ScriptPath())))
            << "the script written for " << script.given;
    }
}

// What an assertion failing half-way leaves: the test function returns with
// the program still running and its sandbox in place.
unique_kernel_handle g_abandoned;
std::wstring g_abandonedDir;

void StartProbeThenFail()
{
    Sandbox sandbox(L"abandoned");
    g_abandonedDir = sandbox.Dir();
    sandbox.AddProgram(kProbeExe);
    Process process = Process::Start(sandbox, kProbeExe);
    g_abandoned.reset(::OpenProcess(SYNCHRONIZE, FALSE, process.Id()));
    ASSERT_NE(nullptr, process.WaitWindow(L"#32770", kProbeCaption));
    ASSERT_TRUE(false) << "failing on purpose";
}

TEST(ProbeProcess, EndsWithItsOwnerWhenATestStopsHalfWay)
{
    EXPECT_FATAL_FAILURE(StartProbeThenFail(), "failing on purpose");
    ASSERT_TRUE(g_abandoned);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_abandoned.get(), 0)) << "the probe was ended";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(g_abandonedDir.c_str())) << "the sandbox was removed";
    g_abandoned.reset();
}
} // namespace
