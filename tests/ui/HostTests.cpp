// WinKelExe as a user meets it: started in a fresh folder beside the sample
// engine, driven from outside and checked against the engine's call log.
#include "ProgramTest.h"

#include "../../host/resource.h"

using namespace uidriver;

namespace {
const wchar_t kProgram[] = L"WinKelExe.exe";
const wchar_t kBoxCaption[] = L"WinKelExe";

// The host's own wording, and the sample engine's for the same ids.
const wchar_t kHostMissing[] = L"Required file missing: Solvetric.dll\n\nThe Application can not continue.";
const wchar_t kHostWrongVersion[] = L"Wrong file version: Solvetric.dll\n\nThe Application can not continue.";
const wchar_t kEngineInternal[] = L"An internal fault was found in Solvetric.dll\n\nThe program cannot go on.";
const wchar_t kEngineWrongVersion[] = L"This file has the wrong version: Solvetric.dll\n\nThe program cannot go on.";
const wchar_t kEngineConfirmExit[] = L"Really exit the print program?";
const wchar_t kEngineCloseDocument[] = L"Closing these settings ends the program.\nGo on?";
const wchar_t kEngineCannotOpen[] = L"These settings cannot be opened: \n";

bool StartsWith(const std::string &text, const char *prefix) { return text.rfind(prefix, 0) == 0; }

// The log's own quoting of a text argument.
std::string LogQuoted(const std::wstring &text)
{
    std::string quoted = "\"";
    for (char c : Utf8(text)) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// What the value after "->" in a log line names, as a handle.
template <class Handle>
Handle HandleIn(const std::string &line)
{
    std::size_t arrow = line.find("->");
    if (arrow == std::string::npos)
        return nullptr;
    return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(std::stoull(line.substr(arrow + 2))));
}

class Host : public ProgramTest {
protected:
    // The frame is the dialog holding static 1002.
    Host() : ProgramTest(L"host", kProgram, IDC_NOT_LOADED) {}

    // Reads the next box of the program, answers it and returns its text.
    std::wstring AnswerBox(int button = IDOK) { return m_process->AnswerMessageBox(kBoxCaption, button); }

    // The log without the forwarded messages and the hook calls.
    std::vector<std::string> EngineCalls() const
    {
        std::vector<std::string> calls;
        for (const std::string &line : m_sandbox.CallLog()) {
            if (StartsWith(line, "Kel_") && !StartsWith(line, "Kel_SendMessage(") &&
                !StartsWith(line, "Kel_PreTranslateMessage("))
                calls.push_back(line);
        }
        return calls;
    }
    // The first log line starting with prefix, or "".
    std::string LogLine(const char *prefix) const
    {
        std::vector<std::string> lines = m_sandbox.CallLogMatching(prefix);
        return lines.empty() ? std::string() : lines.front();
    }

    // The program ended on its own and freed the engine on its way out.
    void ExpectEndedFreeingTheEngine()
    {
        DWORD code = 99;
        EXPECT_TRUE(m_process->WaitExit(10000, &code)) << "the program ends";
        EXPECT_EQ(0u, code);
        std::vector<std::string> log = m_sandbox.CallLog();
        EXPECT_TRUE(!log.empty() && log.back() == kFreed)
            << "expected the log to end with \"" << kFreed << "\", saw \"" << (log.empty() ? "" : log.back())
            << "\"";
        EXPECT_TRUE(m_sandbox.CallLogMatching("Kel_Exit(").empty()) << "no Kel_Exit";
    }
};
} // namespace

// --- Start-up that cannot finish: boxes, no frame, engine freed, no Kel_Exit

TEST_F(Host, StartUpFailures)
{
    struct Case {
        const char *name;
        const wchar_t *variant; // null: no engine at all
        const char *script;
        const wchar_t *tail;
        std::vector<std::wstring> boxes;
        const char *lastCall; // the last engine call apart from text lookups; null: none at all
    } cases[] = {
        {"no engine", nullptr, "", L"", {kHostMissing}, nullptr},
        {"an export missing", L"without-Kel_Exit", "", L"", {kEngineWrongVersion}, nullptr},
        {"the string text missing", L"without-Kel_GetString", "", L"", {kHostWrongVersion}, nullptr},
        {"the string size missing", L"without-Kel_GetStringSize", "", L"", {kHostWrongVersion}, nullptr},
        {"InitMain", L"", "result Kel_InitMain = 5", L"", {kEngineInternal}, "Kel_InitMain(*, *) = 5"},
        {"InitStatus", L"", "result Kel_InitStatus = 7", L"", {kEngineInternal}, "Kel_InitStatus() = 7"},
        {"CreateMain", L"", "result Kel_CreateMain = 10", L"", {kEngineInternal},
         "Kel_CreateMain(*, 1, \"Kelm.exe - 01_01_02\") = 10"},
        {"CreateStatus", L"", "result Kel_CreateStatus = 9", L"", {kEngineInternal}, "Kel_CreateStatus(*) = 9"},
        {"the third element", L"", "result Kel_ShowUIElement 36 = 1", L"", {kEngineInternal},
         "Kel_ShowUIElement(36, 0) = 1"},
        {"ShowMain", L"", "result Kel_ShowMain = 18", L"", {kEngineInternal}, "Kel_ShowMain(5, 1, 0) = 18"},
        {"GetWindowMain", L"", "result Kel_GetWindowMain = 18", L"", {kEngineInternal},
         "Kel_GetWindowMain(->?) = 18"},
        {"ShowStatus 1", L"", "result Kel_ShowStatus = 1", L"", {kEngineInternal}, "Kel_ShowStatus(5, 1, 564) = 1"},
        {"ShowStatus 27", L"", "result Kel_ShowStatus = 27", L"", {kEngineWrongVersion},
         "Kel_ShowStatus(5, 1, 564) = 27"},
        {"ShowStatus 5", L"", "result Kel_ShowStatus = 5", L"", {}, "Kel_ShowStatus(5, 1, 564) = 5"},
        {"GetMainMenu", L"", "result Kel_GetMainMenu = 1", L"", {kEngineInternal}, "Kel_GetMainMenu(->?) = 1"},
        {"NewSettings 27", L"", "result Kel_NewSettings = 27", L" missing.kel",
         {std::wstring(kEngineCannotOpen) + L"missing.kel", kEngineWrongVersion}, "Kel_NewSettings() = 27"},
        {"NewSettings 4", L"", "result Kel_NewSettings = 4", L" missing.kel",
         {std::wstring(kEngineCannotOpen) + L"missing.kel"}, "Kel_NewSettings() = 4"},
        {"empty engine texts", L"", "result Kel_InitMain = 5\nsize string 439 = 0\nsize string 387 = 0", L"",
         {L" Solvetric.dll\n\n"}, "Kel_InitMain(*, *) = 5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NewSandbox();
        Start(c.tail, c.script, c.variant);
        for (const std::wstring &expected : c.boxes) {
            EXPECT_NE(nullptr, m_process->WaitMessageBox(kBoxCaption));
            EXPECT_EQ(nullptr, FindMain(true)) << "no frame is seen while the box stands";
            if (!c.lastCall) {
                EXPECT_EQ(nullptr, FindMain(false)) << "no frame exists when the engine did not load";
            }
            EXPECT_EQ(expected, AnswerBox());
        }
        DWORD code = 99;
        ASSERT_TRUE(m_process->WaitExit(10000, &code)) << "the program ends after its boxes";
        EXPECT_EQ(0u, code);

        std::vector<std::string> log = m_sandbox.CallLog();
        if (!c.variant) {
            EXPECT_TRUE(log.empty()) << "no engine, no log";
            continue;
        }
        EXPECT_TRUE(!log.empty() && log.back() == kFreed) << "the engine is freed; the log ends with "
                                                          << (log.empty() ? "nothing" : log.back());
        std::vector<std::string> calls;
        for (const std::string &call : EngineCalls()) {
            if (!StartsWith(call, "Kel_GetStringSize(") && !StartsWith(call, "Kel_GetString("))
                calls.push_back(call);
        }
        if (!c.lastCall) {
            EXPECT_TRUE(calls.empty()) << "no entry point is called; saw " << (calls.empty() ? "" : calls.front());
        } else {
            ASSERT_FALSE(calls.empty());
            EXPECT_TRUE(MatchesPattern(c.lastCall, calls.back()))
                << "expected the last call " << c.lastCall << ", saw " << calls.back();
        }
        EXPECT_TRUE(m_sandbox.CallLogMatching("Kel_Exit(").empty()) << "Kel_Exit is not called";
    }
}

TEST_F(Host, MenuStepFailureLeavesTheResizedFrameWithItsPlaceholder)
{
    Start(L"", "mainsize 600 400\nresult Kel_GetMainMenu = 1\n");
    ASSERT_NE(nullptr, m_process->WaitMessageBox(kBoxCaption));
    HWND frame = FindMain(false);
    ASSERT_NE(nullptr, frame) << "the unseen frame stands while the box is up";
    RECT window = WindowRect(frame), client = ClientRect(frame);
    EXPECT_EQ(600, client.right - client.left) << "resized before the menu step";
    EXPECT_EQ(400, client.bottom - client.top);
    EXPECT_NE(nullptr, ::GetMenu(frame)) << "the placeholder menu stays";
    EXPECT_LT(0, (window.bottom - window.top) - 400);
    EXPECT_EQ(kEngineInternal, AnswerBox());
    ExpectEndedFreeingTheEngine();
}

TEST_F(Host, AnEngineThatIsThereButDoesNotLoadSaysWhy)
{
    struct Case {
        const char *name;
        void (*plant)(Sandbox &sandbox);
        const char *code; // of the system's reason
    } cases[] = {
        {"a dependency missing", [](Sandbox &sandbox) { sandbox.AddEngineWithMissingDependency(); }, "126"},
        {"text bytes, no library", [](Sandbox &sandbox) { sandbox.WriteFileBytes(L"Solvetric.dll", "not a library\r\n"); },
         "193"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NewSandbox();
        c.plant(m_sandbox);
        Start(L"", "", nullptr);
        const std::string pattern = "Required file missing: Solvetric.dll\n" + Utf8(m_sandbox.Path(L"Solvetric.dll")) +
                                    " is there but could not be loaded: * (" + c.code +
                                    ")\n\nThe Application can not continue.";
        const std::string said = Utf8(AnswerBox());
        EXPECT_TRUE(MatchesPattern(pattern, said)) << "expected " << pattern << ", saw " << said;
        EXPECT_TRUE(m_process->WaitExit(10000)) << "the program ends after its box";
        EXPECT_TRUE(m_sandbox.CallLog().empty()) << "no engine ran";
    }
}

// --- Start-up that succeeds

TEST_F(Host, StartUpCallsTheEngineInOrder)
{
    HWND frame = StartMain(L"", kWithSplash); // as a user starts it
    ASSERT_NE(nullptr, frame);
    const std::string parent = Decimal(frame);
    const std::vector<std::string> expected = {
        "Kel_InitMain(*, *) = 0",
        "Kel_InitStatus() = 0",
        "Kel_CreateMain(" + parent + ", 1, \"Kelm.exe - 01_01_02\") = 0",
        "Kel_CreateStatus(" + parent + ") = 0",
        "Kel_ShowUIElement(39, 0) = 0",
        "Kel_ShowUIElement(1, 0) = 0",
        "Kel_ShowUIElement(36, 0) = 0",
        "Kel_ShowUIElement(37, 0) = 0",
        "Kel_ShowUIElement(38, 0) = 0",
        "Kel_ShowUIElement(43, 0) = 0",
        "Kel_ShowUIElement(80, 0) = 0",
        "Kel_ShowUIElement(2, 0) = 0",
        "Kel_OpenSettings(\"Default\") = 0",
        "Kel_ShowMain(5, 1, 0) = 0",
        "Kel_GetWindowMain(->*) = 0",
        "Kel_ShowStatus(5, 1, 564) = 0",
        "Kel_GetMainMenu(->*) = 0",
    };
    std::vector<std::string> calls = EngineCalls();
    ASSERT_EQ(expected.size(), calls.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(MatchesPattern(expected[i], calls[i])) << "call " << i << ": expected " << expected[i] << ", saw "
                                                    << calls[i];
    EXPECT_EQ(std::string::npos, calls[0].find("(0,")) << "both hooks are passed: " << calls[0];
    EXPECT_EQ(std::string::npos, calls[0].find(", 0)")) << "both hooks are passed: " << calls[0];

    // The engine hears the dialog from its creation on, before it is initialised.
    std::vector<std::string> log = m_sandbox.CallLog();
    bool sawCreate = false, sawInitDialog = false;
    for (const std::string &line : log) {
        if (StartsWith(line, "Kel_InitMain("))
            break;
        sawCreate = sawCreate || StartsWith(line, "Kel_SendMessage(1, ");
        sawInitDialog = sawInitDialog || StartsWith(line, "Kel_SendMessage(272, ");
    }
    EXPECT_TRUE(sawCreate) << "WM_CREATE forwarded before Kel_InitMain";
    EXPECT_TRUE(sawInitDialog) << "WM_INITDIALOG forwarded before Kel_InitMain";

    EXPECT_EQ(L"Default - Solvetric", Text(frame)) << "the title hook names the frame";
    EXPECT_FALSE(IsVisible(Child(frame, IDC_NOT_LOADED))) << "the not-loaded text is hidden";
    EXPECT_EQ(nullptr, m_process->FindMessageBox(kBoxCaption));
}

TEST_F(Host, CommandLineNamesTheSettingsFile)
{
    const std::wstring job = L"%JOB%"; // the quoted path of a settings file in the case's folder
    struct Case {
        const char *name;
        std::wstring tail; // after the program's quoted path, as typed
        std::vector<std::string> settingsCalls;
        std::wstring box; // empty: none
    } cases[] = {
        {"empty", L"", {"Kel_OpenSettings(\"Default\") = 0"}, L""},
        {"blanks only", L"    ", {"Kel_OpenSettings(\"Default\") = 0"}, L""},
        {"a quoted path with a blank",
         L" " + job,
         {"Kel_OpenSettings(%JOB%) = 0", "Kel_OpenSettings(\"Default\") = 0"},
         L""},
        {"a file the engine rejects",
         L" missing.kel",
         {"Kel_OpenSettings(\"missing.kel\") = 17", "Kel_NewSettings() = 0", "Kel_OpenSettings(\"Default\") = 0"},
         std::wstring(kEngineCannotOpen) + L"missing.kel"},
        {"leading blanks skipped, the rest unchanged",
         L"   two words.kel  ",
         {"Kel_OpenSettings(\"two words.kel  \") = 17", "Kel_NewSettings() = 0",
          "Kel_OpenSettings(\"Default\") = 0"},
         std::wstring(kEngineCannotOpen) + L"two words.kel  "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NewSandbox();
        m_sandbox.WriteFileBytes(L"my job.kel", "Solvetric Settings 1\nprinter=Proof Printer\n");
        const std::wstring quoted = L"\"" + m_sandbox.Path(L"my job.kel") + L"\"";
        std::wstring tail = c.tail;
        if (tail.find(job) != std::wstring::npos)
            tail.replace(tail.find(job), job.size(), quoted);
        std::vector<std::string> expected = c.settingsCalls;
        for (std::string &call : expected) {
            if (call.find("%JOB%") != std::string::npos)
                call.replace(call.find("%JOB%"), 5, LogQuoted(quoted));
        }
        Start(tail);
        if (!c.box.empty()) {
            EXPECT_EQ(c.box, AnswerBox());
        }
        HWND frame = WaitMain();
        ASSERT_NE(nullptr, frame) << "start-up goes on";
        std::vector<std::string> settings;
        for (const std::string &call : EngineCalls()) {
            if (StartsWith(call, "Kel_OpenSettings(") || StartsWith(call, "Kel_NewSettings("))
                settings.push_back(call);
        }
        EXPECT_EQ(expected, settings);
        EXPECT_EQ(nullptr, m_process->FindMessageBox(kBoxCaption));
        m_process->Kill();
    }
}

TEST_F(Host, FrameFitsTheEngineWindow)
{
    struct Case {
        int width, height;
    } cases[] = {{600, 400}, {820, 560}, {320, 200}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        NewSandbox();
        HWND frame = StartMain(L"", "mainsize " + std::to_string(c.width) + " " + std::to_string(c.height) + "\n");
        ASSERT_NE(nullptr, frame);
        // The frame was measured with the placeholder's one-line menu bar, so
        // the engine's one-line menu leaves exactly W x H of client area.
        RECT client = ClientRect(frame);
        EXPECT_EQ(c.width, client.right - client.left);
        EXPECT_EQ(c.height, client.bottom - client.top);
        std::string status = "Kel_ShowStatus(5, 1, " + std::to_string(c.height + 4) + ") = 0";
        EXPECT_EQ(status, LogLine("Kel_ShowStatus("));
        m_process->Kill();
    }
}

TEST_F(Host, EngineMenuReplacesThePlaceholder)
{
    struct Case {
        const char *script;
        const char *expectation;
    } cases[] = {
        {"", "the engine's menu"},
        {"menu null\n", "no menu"},
        {"menu invalid\n", "the placeholder, still alive"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expectation);
        NewSandbox();
        HWND frame = StartMain(L"", c.script);
        ASSERT_NE(nullptr, frame);
        HMENU given = HandleIn<HMENU>(LogLine("Kel_GetMainMenu("));
        HMENU shown = ::GetMenu(frame);
        if (c.script[0] == '\0') {
            EXPECT_NE(nullptr, given);
            EXPECT_EQ(given, shown);
        } else if (given == nullptr) {
            EXPECT_EQ(nullptr, shown);
        } else {
            EXPECT_NE(nullptr, shown);
            EXPECT_NE(given, shown);
        }
        EXPECT_TRUE(m_process->Running());
        m_process->Kill();
    }
}

// --- Ways out

TEST_F(Host, ExitPaths)
{
    using namespace way_out;
    struct Case {
        const char *name;
        void (*trigger)(HWND main);
        const char *script;
        const wchar_t *question; // null: none asked
        int answer;
        const char *exitCall; // null: Kel_Exit not called
        bool ends;
    } cases[] = {
        {"Enter", Enter, "", nullptr, 0, nullptr, false},
        {"Escape, No", Escape, "", kEngineConfirmExit, IDNO, nullptr, false},
        {"Escape, Yes, 22", Escape, "result Kel_Exit = 22", kEngineConfirmExit, IDYES, "Kel_Exit(0) = 22", false},
        {"Escape, Yes, 23", Escape, "result Kel_Exit = 23", kEngineConfirmExit, IDYES, "Kel_Exit(0) = 23", false},
        {"Escape, Yes", Escape, "", kEngineConfirmExit, IDYES, "Kel_Exit(0) = 0", true},
        {"Escape, Yes, 5", Escape, "result Kel_Exit = 5", kEngineConfirmExit, IDYES, "Kel_Exit(0) = 5", true},
        {"close box, Yes", CloseBox, "", kEngineConfirmExit, IDYES, "Kel_Exit(0) = 0", true},
        {"57665", ExitCommand, "", nullptr, 0, "Kel_Exit(0) = 0", true},
        {"57665, 23", ExitCommand, "result Kel_Exit = 23", nullptr, 0, "Kel_Exit(0) = 23", false},
        {"57665, 1", ExitCommand, "result Kel_Exit = 1", nullptr, 0, "Kel_Exit(0) = 1", true},
        {"32774, No", CloseCommand, "", kEngineCloseDocument, IDNO, nullptr, false},
        {"32774, Yes", CloseCommand, "", kEngineCloseDocument, IDYES, "Kel_Exit(0) = 0", true},
        {"32774, Yes, 22", CloseCommand, "result Kel_Exit = 22", kEngineCloseDocument, IDYES, "Kel_Exit(0) = 22",
         false},
        // The engine's menu shows shortcuts; an accelerator sends the same ids with code 1.
        {"57665 by accelerator", ExitAccelerator, "", nullptr, 0, "Kel_Exit(0) = 0", true},
        {"32774 by accelerator, Yes", CloseAccelerator, "", kEngineCloseDocument, IDYES, "Kel_Exit(0) = 0", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NewSandbox();
        HWND frame = StartMain(L"", std::string(c.script) + "\n");
        ASSERT_NE(nullptr, frame);
        c.trigger(frame);
        if (c.question) {
            EXPECT_EQ(c.question, AnswerBox(c.answer));
        }
        if (c.ends) {
            DWORD code = 99;
            EXPECT_TRUE(m_process->WaitExit(10000, &code)) << "the program ends";
            EXPECT_EQ(0u, code);
            std::vector<std::string> log = m_sandbox.CallLog();
            EXPECT_TRUE(!log.empty() && log.back() == kFreed) << "the engine is freed last";
        } else {
            EXPECT_TRUE(Sync(frame)) << "the frame answers";
            EXPECT_TRUE(IsVisible(frame)) << "the frame stays";
            EXPECT_EQ(nullptr, m_process->FindMessageBox(kBoxCaption)) << "the host says nothing";
        }
        std::vector<std::string> exits = m_sandbox.CallLogMatching("Kel_Exit(");
        EXPECT_EQ(c.exitCall ? std::vector<std::string>{c.exitCall} : std::vector<std::string>{}, exits);
        m_process->Kill();
    }
}

// --- The engine sees queued messages first

TEST_F(Host, KeyTheEngineConsumesNeverReachesTheDialog)
{
    struct Case {
        const char *script;
        const char *logged;
        bool reachesDialog;
    } cases[] = {
        {"consume 256 27\n", "Kel_PreTranslateMessage(256, 27, *, ->1) = 0", false},
        {"consume 256 27\nresult Kel_PreTranslateMessage = 5\n", "Kel_PreTranslateMessage(256, 27, *, ->1) = 5", true},
        {"", "Kel_PreTranslateMessage(256, 27, *, ->0) = 0", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        NewSandbox();
        HWND frame = StartMain(L"", c.script);
        ASSERT_NE(nullptr, frame);
        PressKey(frame, VK_ESCAPE);
        // Awaited: the engine's own posted messages may still stand before the key.
        EXPECT_TRUE(WaitCallLogPrefix(m_sandbox, "Kel_PreTranslateMessage(256, 27,", 5000)) << "the engine sees it";
        if (c.reachesDialog) {
            EXPECT_EQ(kEngineConfirmExit, AnswerBox(IDNO)) << "Escape goes on to the dialog";
        } else {
            EXPECT_TRUE(Sync(frame));
            EXPECT_EQ(nullptr, m_process->FindMessageBox(kBoxCaption)) << "Escape is swallowed";
        }
        std::string line = LogLine("Kel_PreTranslateMessage(256, 27,");
        EXPECT_TRUE(MatchesPattern(c.logged, line)) << "expected " << c.logged << ", saw " << line;
        m_process->Kill();
    }
}

// --- Texts: the engine's wording, read safely

TEST_F(Host, EngineWordingIsReadSafely)
{
    HWND frame = StartMain();
    ASSERT_NE(nullptr, frame);
    struct Case {
        const char *script;
        std::wstring question;
        const char *getStringCall; // null: not called
    } cases[] = {
        {"", kEngineConfirmExit, "Kel_GetString(17276, ->\"Really exit the print program?\") = 0"},
        {"text string 17276 = \"Quit printing?\"", L"Quit printing?", "Kel_GetString(17276, ->*) = 0"},
        {"text string 17276 = \"abc\"\nsize string 17276 = 10", L"abc", "Kel_GetString(17276, ->\"abc\") = 0"},
        {"unterminated string 17276", std::wstring(kEngineConfirmExit) + L"#", "Kel_GetString(17276, ->*) = 0"},
        {"size string 17276 = 0", L"", "Kel_GetString(17276, NULL) = 0"},
        {"size string 17276 = -1", L"", nullptr},
        {"size string 17276 = 0x7FFFFFFF", L"", nullptr},
        {"size string 17276 = 0xFFFFFFFF", L"", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        m_sandbox.WriteScript(std::string(c.script) + "\n");
        m_sandbox.ClearCallLog();
        PressKey(frame, VK_ESCAPE);
        EXPECT_EQ(c.question, AnswerBox(IDNO)) << "the box is shown whatever the engine says";
        std::vector<std::string> gets = m_sandbox.CallLogMatching("Kel_GetString(");
        if (c.getStringCall) {
            ASSERT_EQ(1u, gets.size());
            EXPECT_TRUE(MatchesPattern(c.getStringCall, gets[0])) << "expected " << c.getStringCall << ", saw " << gets[0];
        } else {
            EXPECT_TRUE(gets.empty()) << "no buffer for a size like that; saw " << (gets.empty() ? "" : gets[0]);
        }
    }
    EXPECT_TRUE(m_process->Running());
}

// --- Help and looks

TEST_F(Host, HelpAsksTheEngineForTheIntroduction)
{
    HWND frame = StartMain(L"", "result Kel_OpenXMLSettings = 39\n");
    ASSERT_NE(nullptr, frame);
    const char *expected =
        "Kel_OpenXMLSettings(\"<Printer_Settings> <Help> Introduction </Help> </Printer_Settings>\", ->?) = 39";
    PressKey(frame, VK_F1);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, expected, 5000)) << "from F1";
    m_sandbox.ClearCallLog();
    Command(frame, ID_ENGINE_HELP_TOPICS);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, expected, 5000)) << "from the menu";
    m_sandbox.ClearCallLog();
    AcceleratorCommand(frame, ID_ENGINE_HELP_TOPICS);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, expected, 5000)) << "from an accelerator";
    EXPECT_TRUE(Sync(frame));
    EXPECT_EQ(nullptr, m_process->FindMessageBox(kBoxCaption)) << "a failed help request shows nothing";
}

TEST_F(Host, FrameAndItsControlsWearTheBackgroundBrush)
{
    HWND frame = StartMain();
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(Sync(frame));
    // A busy machine may show the pixel painted only a while after the window answered.
    auto expectBrush = [](HWND window, POINT at, const char *where) {
        const COLORREF brush = RGB(169, 184, 212);
        COLORREF seen = 0;
        WaitFor([&] { return (seen = ScreenPixel(window, at)) == brush; }, 3000);
        EXPECT_EQ(brush, seen) << where << ": saw RGB(" << int(GetRValue(seen)) << ", " << int(GetGValue(seen))
                               << ", " << int(GetBValue(seen)) << ")";
    };
    // The engine's window starts one pixel in, leaving the frame's own first column.
    expectBrush(frame, POINT{0, ClientRect(frame).bottom / 2}, "the dialog");

    // The hidden static shown again paints its empty first line with the brush.
    HWND notLoaded = Child(frame, IDC_NOT_LOADED);
    ::ShowWindow(notLoaded, SW_SHOWNA);
    ::RedrawWindow(notLoaded, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(Sync(frame));
    expectBrush(notLoaded, POINT{2, 2}, "static 1002");
}
