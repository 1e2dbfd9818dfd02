// WinKelTestExe as a tester meets it: started in a fresh folder beside the
// sample engine, driven from outside and checked against the engine's log.
#include "ProgramTest.h"

#include "../../harness/resource.h"
#include "PageTable.h"
#include "ReadFileBytes.h"

#include <algorithm>
#include <cstdio>
#include <regex>
#include <utility>

using namespace uidriver;

namespace {
const wchar_t kProgram[] = L"WinKelTestExe.exe";
const wchar_t kFrameworkCaption[] = L"WinKelTestExe";
const wchar_t kHarnessCaption[] = L"-== KEL TEST APPLICATION ==-";
// The first line of a saved trace, before the harness's window in hex.
const char kHeader[] = "# WinKelTestExe call trace; harness window 0x";
const wchar_t kEditorCaption[] = L"Kel Test Application Parameter Editor";
const wchar_t kNotLoaded[] = L"Function was not loaded";
const wchar_t kConfirmExit[] = L"Are you sure you want to exit?";
const wchar_t kCloseDocument[] = L"Closing the current document will exit the application.\nDo you want to continue?";
const int kToggles[] = {IDC_PAGE_PRINTERS,       IDC_PAGE_FILES,
                        IDC_PAGE_JOB_SETUP_1,    IDC_PAGE_JOB_SETUP_2,
                        IDC_PAGE_CUSTOM_OPTIONS, IDC_PAGE_PAPER_SUBSTITUTIONS,
                        IDC_PAGE_COLOR_MAPPING};

class Harness : public ProgramTest {
protected:
    Harness() : ProgramTest(L"harness", kProgram, IDC_ENGINE_FRAME) {}

    // Starts the program and loads the engine with the Load button.
    HWND StartLoaded(const std::string &script = "")
    {
        HWND main = StartMain(L"", script);
        if (main) {
            Click(Child(main, IDC_LOAD));
            EXPECT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"LOADED")) << "Load gives LOADED";
        }
        return main;
    }

    std::wstring AnswerBox(const wchar_t *caption, int button = IDOK)
    {
        return m_process->AnswerMessageBox(caption, button);
    }
    bool NoBox() const
    {
        return !m_process->FindMessageBox(kFrameworkCaption) && !m_process->FindMessageBox(kHarnessCaption);
    }
    HWND FindEditor() const { return m_process->WaitWindow(L"#32770", kEditorCaption, 0); }
    // The dialog that a click on the button opens, once it shows.
    HWND ClickForDialog(HWND main, int button, const wchar_t *caption)
    {
        ClickId(main, button);
        HWND dialog = m_process->WaitWindow(L"#32770", caption);
        EXPECT_NE(nullptr, dialog) << "the " << Utf8(caption) << " dialog opens";
        return dialog;
    }
};
} // namespace

// --- Start-up

TEST_F(Harness, StartUpWithAndWithoutASettingsFile)
{
    struct Case {
        const wchar_t *tail;
        bool notLoadedBox;
    } cases[] = {{L"", false}, {L" job.kel", true}, {L" \"C:\\my jobs\\job.kel\"", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(Utf8(c.tail));
        NewSandbox();
        Start(c.tail);
        if (c.notLoadedBox) {
            ASSERT_NE(nullptr, m_process->WaitMessageBox(kHarnessCaption));
            EXPECT_EQ(nullptr, FindMain(true)) << "the box comes before the dialog shows";
            EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption));
        }
        HWND main = WaitMain();
        ASSERT_NE(nullptr, main);
        ASSERT_TRUE(Sync(main));
        EXPECT_TRUE(NoBox()) << "one box at most";
        EXPECT_EQ(L"Orvane Exe", Text(main));
        for (int state : {IDC_LIBRARY_STATE, IDC_MAIN_STATE, IDC_STATUS_STATE})
            EXPECT_EQ(L"NULL", Text(Child(main, state))) << "state box " << state;
        for (int toggle : kToggles)
            EXPECT_TRUE(IsChecked(Child(main, toggle))) << "toggle " << toggle << " starts pressed";
        EXPECT_TRUE(m_sandbox.CallLog().empty()) << "nothing is loaded at start-up";
    }
}

// --- Ways out

TEST_F(Harness, ClosePaths)
{
    using namespace way_out;
    auto ExitButton = [](HWND main) { ClickId(main, IDC_EXIT); };
    auto EnterInFileName = [](HWND main) { PressKey(Child(main, IDC_FILE_NAME), VK_RETURN); };
    auto EnterInXml = [](HWND main) { PressKey(Child(main, IDC_XML), VK_RETURN); };
    struct Case {
        const char *name;
        bool load;
        const char *script;
        void (*trigger)(HWND main);
        const wchar_t *questionCaption; // null: no question
        int answer;
        const char *exitCall; // null: Kel_Exit is not called
        bool ends;
    } cases[] = {
        {"Escape, No", false, "", Escape, kFrameworkCaption, IDNO, nullptr, false},
        {"Escape, Yes, no engine", false, "", Escape, kFrameworkCaption, IDYES, nullptr, true},
        {"close box, Yes, no engine", false, "", CloseBox, kFrameworkCaption, IDYES, nullptr, true},
        {"Exit button, Yes, no engine", false, "", ExitButton, kFrameworkCaption, IDYES, nullptr, true},
        {"57665, no engine", false, "", ExitCommand, nullptr, 0, nullptr, true},
        {"32774, No", false, "", CloseCommand, kHarnessCaption, IDNO, nullptr, false},
        {"32774, Yes, no engine", false, "", CloseCommand, kHarnessCaption, IDYES, nullptr, true},
        {"Enter in the file name, no engine", false, "", EnterInFileName, nullptr, 0, nullptr, true},
        {"Enter in the XML box", false, "", EnterInXml, nullptr, 0, nullptr, false},
        {"Escape, Yes, 22", true, "result Kel_Exit = 22", Escape, kFrameworkCaption, IDYES, "Kel_Exit(0) = 22",
         false},
        {"Escape, Yes, 23", true, "result Kel_Exit = 23", Escape, kFrameworkCaption, IDYES, "Kel_Exit(0) = 23",
         false},
        {"Escape, Yes", true, "", Escape, kFrameworkCaption, IDYES, "Kel_Exit(0) = 0", true},
        {"Exit button, Yes, 5", true, "result Kel_Exit = 5", ExitButton, kFrameworkCaption, IDYES,
         "Kel_Exit(0) = 5", true},
        {"57665, 22", true, "result Kel_Exit = 22", ExitCommand, nullptr, 0, "Kel_Exit(0) = 22", false},
        {"57665", true, "", ExitCommand, nullptr, 0, "Kel_Exit(0) = 0", true},
        {"32774, Yes, 23", true, "result Kel_Exit = 23", CloseCommand, kHarnessCaption, IDYES, "Kel_Exit(0) = 23",
         false},
        {"Enter in the file name, engine loaded", true, "", EnterInFileName, nullptr, 0, nullptr, true},
        // An engine that translates its shortcuts for the harness sends the same ids with code 1.
        {"57665 by accelerator", true, "", ExitAccelerator, nullptr, 0, "Kel_Exit(0) = 0", true},
        {"32774 by accelerator, Yes", true, "", CloseAccelerator, kHarnessCaption, IDYES, "Kel_Exit(0) = 0", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NewSandbox();
        std::string script = std::string(c.script) + "\n";
        HWND main = c.load ? StartLoaded(script) : StartMain(L"", script);
        ASSERT_NE(nullptr, main);
        c.trigger(main);
        if (c.questionCaption) {
            const wchar_t *question = c.questionCaption == kHarnessCaption ? kCloseDocument : kConfirmExit;
            EXPECT_EQ(question, AnswerBox(c.questionCaption, c.answer));
        }
        if (c.ends) {
            DWORD code = 99;
            EXPECT_TRUE(m_process->WaitExit(10000, &code)) << "the harness closes";
            EXPECT_EQ(0u, code);
            if (c.load) {
                std::vector<std::string> log = m_sandbox.CallLog();
                EXPECT_TRUE(!log.empty() && log.back() == kFreed) << "the destructor frees the engine";
            }
        } else {
            EXPECT_TRUE(Sync(main));
            EXPECT_TRUE(IsVisible(main)) << "the harness stays";
            EXPECT_TRUE(NoBox()) << "and says nothing";
        }
        EXPECT_EQ(c.exitCall ? std::vector<std::string>{c.exitCall} : std::vector<std::string>{},
                  Calls("Kel_Exit("));
    }
}

// --- Enabled Pages

TEST_F(Harness, TogglesWithoutTheEngineKeepTheirState)
{
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    HWND toggle = Child(main, IDC_PAGE_JOB_SETUP_2);
    for (bool checkedAfter : {false, true}) {
        Click(toggle);
        EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption));
        EXPECT_EQ(checkedAfter, IsChecked(toggle)) << "the toggle keeps its new state";
    }
}

TEST_F(Harness, TogglesSendTheirPageCodes)
{
    HWND main = StartLoaded("result Kel_ShowTab = 0\n");
    ASSERT_NE(nullptr, main);
    const int codes[] = {KEL_PAGE_PRINTERS,       KEL_PAGE_FILES,
                         KEL_PAGE_JOB_SETUP_1,    KEL_PAGE_JOB_SETUP_2,
                         KEL_PAGE_CUSTOM_OPTIONS, KEL_PAGE_PAPER_SUBSTITUTIONS,
                         KEL_PAGE_COLOR_MAPPING};
    std::vector<std::string> expected;
    for (int i = 0; i < 7; ++i) {
        Click(Child(main, kToggles[i]));
        expected.push_back("Kel_ShowTab(" + std::to_string(codes[i]) + ", 0) = 0");
    }
    Click(Child(main, IDC_PAGE_JOB_SETUP_2));
    expected.push_back("Kel_ShowTab(519, 1) = 0");
    ASSERT_TRUE(WaitFor([&] { return Calls("Kel_ShowTab(").size() == expected.size(); }, 5000));
    EXPECT_EQ(expected, Calls("Kel_ShowTab("));
    EXPECT_TRUE(NoBox()) << "result 0 shows nothing";

    m_sandbox.WriteScript("result Kel_ShowTab = 20\n");
    Click(Child(main, IDC_PAGE_FILES));
    EXPECT_EQ(L"[Error returned from KELM.DLL]\n\nDescription:\nInvalid tab or data", AnswerBox(kHarnessCaption));
    EXPECT_TRUE(IsChecked(Child(main, IDC_PAGE_FILES))) << "the toggle keeps its state whatever the result";
    EXPECT_EQ("Kel_ShowTab(434, 1) = 20", Calls("Kel_ShowTab(").back());
}

// --- Shift and the parameter editor

TEST_F(Harness, ShiftOpensTheParameterEditorForTheNextClick)
{
    HWND main = StartLoaded();
    ASSERT_NE(nullptr, main);
    HWND kelExit = Child(main, IDC_KEL_EXIT);
    HWND fileName = Child(main, IDC_FILE_NAME);

    struct Case {
        const char *name;
        std::vector<std::pair<UINT, bool>> keys; // key, down; posted to the file name box
        bool sendToDialog; // Shift down sent to the dialog window itself instead
        bool editor;
        const wchar_t *typed;  // null: Cancel
        const char *exitCall; // null: none
    } cases[] = {
        {"Shift down in a control, Cancel", {{VK_SHIFT, true}}, false, true, nullptr, nullptr},
        {"reset by the cancelled click", {}, false, false, nullptr, "Kel_Exit(0) = 0"},
        {"Shift down at the dialog, OK", {}, true, true, L"1", "Kel_Exit(1) = 0"},
        {"a leading blank and a sign", {{VK_SHIFT, true}}, false, true, L" -7", "Kel_Exit(-7) = 0"},
        {"no number", {{VK_SHIFT, true}}, false, true, L"abc", "Kel_Exit(0) = 0"},
        {"Shift down and up", {{VK_SHIFT, true}, {VK_SHIFT, false}}, false, false, nullptr, "Kel_Exit(0) = 0"},
        {"Ctrl", {{VK_CONTROL, true}}, false, false, nullptr, "Kel_Exit(0) = 0"},
        {"Alt", {{VK_MENU, true}, {VK_MENU, false}}, false, false, nullptr, "Kel_Exit(0) = 0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        m_sandbox.ClearCallLog();
        for (const auto &key : c.keys)
            key.second ? KeyDown(fileName, key.first) : KeyUp(fileName, key.first);
        if (c.sendToDialog) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(main, WM_KEYDOWN, VK_SHIFT, 0x002A0001, SMTO_ABORTIFHUNG, 5000, &ignored);
        }
        Click(kelExit);
        if (c.editor) {
            HWND editor = m_process->WaitWindow(L"#32770", kEditorCaption);
            ASSERT_NE(nullptr, editor) << "the editor opens";
            EXPECT_EQ(L"Kel_Exit", Text(Child(editor, IDC_PARAMETER_TITLE)));
            EXPECT_EQ(L"Force :", Text(Child(editor, IDC_PARAMETER_LABEL_1)));
            EXPECT_EQ(L"0", Text(Child(editor, IDC_PARAMETER_1)));
            for (int hidden : {IDC_PARAMETER_2, IDC_PARAMETER_LABEL_2, IDC_PARAMETER_4, IDC_PARAMETER_LABEL_4})
                EXPECT_FALSE(IsVisible(Child(editor, hidden))) << "control " << hidden << " of an unused row";
            if (c.typed) {
                SetText(Child(editor, IDC_PARAMETER_1), c.typed);
                Click(Child(editor, IDOK));
            } else {
                Click(Child(editor, IDCANCEL));
            }
            EXPECT_TRUE(m_process->WaitNoWindow(editor, 5000));
        }
        EXPECT_TRUE(Sync(main));
        EXPECT_EQ(nullptr, FindEditor()) << "no editor stays open";
        EXPECT_EQ(c.exitCall ? std::vector<std::string>{c.exitCall} : std::vector<std::string>{},
                  Calls("Kel_Exit("));
        EXPECT_TRUE(NoBox());
        // Ctrl stays down otherwise; let it go for the next case.
        for (const auto &key : c.keys)
            if (key.second && key.first == VK_CONTROL)
                KeyUp(fileName, VK_CONTROL);
    }
}

TEST_F(Harness, EngineButtonsBeforeLoadAndAfter)
{
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
    Click(Child(main, IDC_KEL_EXIT));
    EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption)) << "the slot test comes before the editor";
    EXPECT_EQ(nullptr, FindEditor());

    Click(Child(main, IDC_LOAD));
    EXPECT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"LOADED"));
    EXPECT_EQ(nullptr, FindEditor()) << "Load opens no editor";
    Click(Child(main, IDC_KEL_EXIT));
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_Exit(0) = 0", 5000)) << "Load reset the key state";
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_MAIN_STATE)));
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_STATUS_STATE)));

    m_sandbox.WriteScript("result Kel_Exit = 22\n");
    Click(Child(main, IDC_KEL_EXIT));
    EXPECT_EQ(L"[Error returned from KELM.DLL]\n\nDescription:\nUnable to exit while printing",
              AnswerBox(kHarnessCaption));
}

TEST_F(Harness, HelpAsksTheLoadedEngine)
{
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    PressKey(Child(main, IDC_FILE_NAME), VK_F1);
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(NoBox()) << "without the engine help does nothing";

    Click(Child(main, IDC_LOAD));
    EXPECT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"LOADED"));
    PressKey(Child(main, IDC_FILE_NAME), VK_F1);
    EXPECT_TRUE(WaitCallLogPrefix(
        m_sandbox, "Kel_OpenXMLSettings(\"<Printer_Settings> <Help> Introduction </Help> </Printer_Settings>\", ->",
        5000));
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(NoBox()) << "the result is not reported";
}

// --- Engine call panel

namespace {
const wchar_t kErrorPrefix[] = L"[Error returned from KELM.DLL]\n\nDescription:\n";


// The engine's frame 1035: its client area in the main dialog's client coordinates.
RECT FrameRectangle(HWND main)
{
    HWND frame = Child(main, IDC_ENGINE_FRAME);
    RECT rect = ClientRect(frame);
    ::MapWindowPoints(frame, main, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}
} // namespace

class Panel : public Harness {
protected:
    // Quick Start, and the three state boxes at their final texts.
    HWND QuickStarted(const std::string &script = "")
    {
        HWND main = StartMain(L"", script);
        if (!main)
            return nullptr;
        ClickId(main, IDC_QUICK_START);
        EXPECT_TRUE(WaitText(Child(main, IDC_STATUS_STATE), L"Created", 10000))
            << "Quick Start brings the status window up";
        EXPECT_TRUE(Sync(main));
        return main;
    }
    std::string Last(const char *prefix) const
    {
        std::vector<std::string> calls = Calls(prefix);
        return calls.empty() ? std::string() : calls.back();
    }
    // View > Call Trace; the window, once it shows.
    HWND OpenTrace(HWND main)
    {
        Command(main, ID_VIEW_CALL_TRACE);
        HWND trace = m_process->WaitWindow(L"#32770", L"Call Trace");
        EXPECT_NE(nullptr, trace) << "View > Call Trace opens the trace";
        return trace;
    }
    // The trace's lines without their times.
    std::vector<std::string> TraceLines(HWND main)
    {
        std::vector<std::string> lines;
        HWND trace = OpenTrace(main);
        if (!trace)
            return lines;
        std::string text = Utf8(Text(Child(trace, IDC_TRACE_TEXT)));
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at).substr(std::min<std::size_t>(12, end - at)));
        return lines;
    }
};

TEST_F(Panel, LoadWithoutALibraryOrWithAnExportMissing)
{
    const wchar_t kDllFailed[] = L"[Error returned from KELM.DLL]\n\nDescription:\nDll failed to load.";
    struct Case {
        const char *name;
        const wchar_t *variant; // null: no library of ours
        const char *planted;    // bytes named Solvetric.dll instead
        const wchar_t *box;
        const char *traced;     // the load's line in the call trace
    } cases[] = {
        {"no library", nullptr, nullptr, kDllFailed,
         "LoadLibrary(\"Solvetric.dll\") = 26 Dll failed to load. - * (126) (* ms)"},
        {"a text file named like the library", nullptr, "not a library\r\n", kDllFailed,
         "LoadLibrary(\"Solvetric.dll\") = 26 Dll failed to load. - * (193) (* ms)"},
        {"an export missing", L"without-Kel_Print", nullptr,
         L"[Error returned from KELM.DLL]\n\nDescription:\nOne or more dll functions failed to load.",
         "LoadLibrary(\"Solvetric.dll\") = 27 One or more dll functions failed to load. (* ms)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NewSandbox();
        if (c.planted)
            m_sandbox.WriteFileBytes(L"Solvetric.dll", c.planted);
        HWND main = StartMain(L"", "", c.variant);
        ASSERT_NE(nullptr, main);
        Click(Child(main, IDC_LOAD));
        EXPECT_EQ(c.box, AnswerBox(kHarnessCaption)) << "the error table's box, as it is";
        EXPECT_EQ(L"NULL", Text(Child(main, IDC_LIBRARY_STATE))) << "a failed load leaves the box as it was";
        std::vector<std::string> trace = TraceLines(main);
        EXPECT_TRUE(!trace.empty() && MatchesPattern(c.traced, trace.front()))
            << "expected " << c.traced << ", saw " << (trace.empty() ? "no line" : trace.front());
        if (c.variant) {
            // The library stays loaded: what it has still answers.
            Click(Child(main, IDC_KEL_EXIT));
            EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_Exit(0) = 0", 5000));
        }
    }
}

TEST_F(Panel, EveryEngineButtonBeforeLoadSaysFunctionWasNotLoaded)
{
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    struct Case {
        int button;
        int boxes;
    } cases[] = {{IDC_FREE, 1},           {IDC_INIT_MAIN, 1},       {IDC_CREATE_MAIN, 1},
                 {IDC_SHOW_MAIN, 1},      {IDC_HIDE_MAIN, 1},       {IDC_GET_WINDOW_MAIN, 1},
                 {IDC_INIT_STATUS, 1},    {IDC_CREATE_STATUS, 1},   {IDC_SHOW_STATUS, 1},
                 {IDC_HIDE_STATUS, 1},    {IDC_GET_WINDOW_STATUS, 1}, {IDC_VERSION, 1},
                 {IDC_PAPER_CATALOG, 1},  {IDC_PRINT, 1},           {IDC_KEL_EXIT, 1},
                 {IDC_QUICK_FREE, 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        ClickId(main, c.button);
        for (int box = 0; box < c.boxes; ++box)
            EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption)) << "box " << box + 1;
        EXPECT_TRUE(Sync(main));
        EXPECT_TRUE(NoBox()) << "no further box";
    }
    for (int state : {IDC_LIBRARY_STATE, IDC_MAIN_STATE, IDC_STATUS_STATE})
        EXPECT_EQ(L"NULL", Text(Child(main, state)));
    EXPECT_TRUE(m_sandbox.CallLog().empty());
}

TEST_F(Panel, QuickStartWithoutALibraryStopsAfterLoad)
{
    HWND main = StartMain(L"", "", nullptr);
    ASSERT_NE(nullptr, main);
    ClickId(main, IDC_QUICK_START);
    EXPECT_EQ(std::wstring(kErrorPrefix) + L"Dll failed to load.", AnswerBox(kHarnessCaption));
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(NoBox()) << "no further step runs";
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_LIBRARY_STATE)));
}

TEST_F(Panel, QuickStartAndQuickFreeRunTheUsualSequences)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(L"LOADED", Text(Child(main, IDC_LIBRARY_STATE)));
    EXPECT_EQ(L"Created", Text(Child(main, IDC_MAIN_STATE)));
    EXPECT_TRUE(NoBox());
    RECT frame = FrameRectangle(main);
    const std::string parent = Decimal(main);
    const std::vector<std::string> expected = {
        "Kel_InitMain(*, *) = 0",
        "Kel_CreateMain(" + parent + ", 0, \"KelmTest - 04_19_01\") = 0",
        "Kel_ShowMain(5, " + std::to_string(frame.left + 2) + ", " + std::to_string(frame.top + 8) + ") = 0",
        "Kel_InitStatus() = 0",
        "Kel_CreateStatus(" + parent + ") = 0",
        "Kel_GetWindowMain(->*) = 0",
        "Kel_ShowStatus(5, " + std::to_string(frame.left + 2) + ", " + std::to_string(frame.top + 560 + 14) + ") = 0",
    };
    std::vector<std::string> calls;
    for (const std::string &line : m_sandbox.CallLog()) {
        if (line.rfind("Kel_", 0) == 0 && line.rfind("Kel_SendMessage(", 0) != 0)
            calls.push_back(line);
    }
    ASSERT_EQ(expected.size(), calls.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(MatchesPattern(expected[i], calls[i]))
            << "call " << i << ": expected " << expected[i] << ", saw " << calls[i];
    }
    EXPECT_EQ(std::string::npos, calls[0].find("(0,")) << "the harness's own hooks: " << calls[0];

    m_sandbox.ClearCallLog();
    KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
    ClickId(main, IDC_QUICK_FREE);
    EXPECT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"NULL"));
    EXPECT_EQ(nullptr, FindEditor()) << "Quick Free never opens the editor";
    EXPECT_EQ("Kel_Exit(0) = 0", Last("Kel_Exit("));
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_MAIN_STATE)));
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_STATUS_STATE)));
    std::vector<std::string> log = m_sandbox.CallLog();
    EXPECT_TRUE(!log.empty() && log.back() == kFreed) << "freed without a question: the window was gone";
}

TEST_F(Panel, ShiftOpensTheEditorOfEveryButtonWithParameters)
{
    HWND main = StartLoaded();
    ASSERT_NE(nullptr, main);
    RECT frame = FrameRectangle(main);
    const std::wstring parent = Wide(Decimal(main));
    struct Case {
        int button;
        const wchar_t *title;
        std::vector<std::wstring> labels;
        std::vector<std::wstring> defaults; // "*": any non-zero number
        int boxesBefore; // engine boxes before the editor opens
    } cases[] = {
        {IDC_INIT_MAIN, L"Kel_InitMain", {L"MessageHook function pointer:", L"SetTitleHook function pointer:"},
         {L"*", L"*"}, 0},
        {IDC_CREATE_MAIN, L"Kel_CreateMain", {L"Parent window handler:", L"Show splah screen:"}, {parent, L"0"}, 0},
        {IDC_CREATE_STATUS, L"Kel_CreateStatus", {L"Parent window handler:"}, {parent}, 0},
        {IDC_KEL_EXIT, L"Kel_Exit", {L"Force :"}, {L"0"}, 0},
        {IDC_SHOW_MAIN,
         L"Kel_ShowMain",
         {L"Show:", L"Offset X:", L"Offset Y:"},
         {L"5", std::to_wstring(frame.left + 2), std::to_wstring(frame.top + 8)},
         0},
        {IDC_SHOW_STATUS,
         L"Kel_ShowStatus",
         {L"Show:", L"Offset X:", L"Offset Y:"},
         {L"5", std::to_wstring(frame.left + 2), std::to_wstring(frame.top + 14)},
         2},
    };
    const int edits[] = {IDC_PARAMETER_1, IDC_PARAMETER_2, IDC_PARAMETER_3, IDC_PARAMETER_4};
    const int labels[] = {IDC_PARAMETER_LABEL_1, IDC_PARAMETER_LABEL_2, IDC_PARAMETER_LABEL_3, IDC_PARAMETER_LABEL_4};
    for (const Case &c : cases) {
        SCOPED_TRACE(Utf8(c.title));
        m_sandbox.ClearCallLog();
        KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
        ClickId(main, c.button);
        for (int box = 0; box < c.boxesBefore; ++box)
            AnswerBox(kHarnessCaption); // the main window does not exist yet
        HWND editor = m_process->WaitWindow(L"#32770", kEditorCaption);
        ASSERT_NE(nullptr, editor);
        EXPECT_EQ(c.title, Text(Child(editor, IDC_PARAMETER_TITLE)));
        for (std::size_t row = 0; row < 4; ++row) {
            bool used = row < c.labels.size();
            EXPECT_EQ(used, IsVisible(Child(editor, edits[row]))) << "row " << row + 1;
            if (!used)
                continue;
            EXPECT_EQ(c.labels[row], Text(Child(editor, labels[row])));
            std::wstring value = Text(Child(editor, edits[row]));
            if (c.defaults[row] == L"*")
                EXPECT_TRUE(!value.empty() && value != L"0") << "row " << row + 1 << " shows " << Utf8(value);
            else
                EXPECT_EQ(c.defaults[row], value) << "row " << row + 1;
        }
        Click(Child(editor, IDCANCEL));
        EXPECT_TRUE(m_process->WaitNoWindow(editor, 5000));
        EXPECT_TRUE(Sync(main));
        std::string entryPoint = Utf8(c.title) + "(";
        EXPECT_TRUE(Calls(entryPoint.c_str()).empty()) << "Cancel calls nothing";
    }
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_MAIN_STATE))) << "Cancel changes no box";

    struct Plain {
        int button;
        const char *call;
    } plain[] = {{IDC_INIT_STATUS, "Kel_InitStatus("},         {IDC_HIDE_MAIN, "Kel_ShowMain(0, 1, 0)"},
                 {IDC_HIDE_STATUS, "Kel_ShowStatus(0, 1, "},    {IDC_GET_WINDOW_MAIN, "Kel_GetWindowMain("},
                 {IDC_GET_WINDOW_STATUS, "Kel_GetWindowStatus("}, {IDC_PRINT, "Kel_Print("},
                 {IDC_VERSION, "Kel_GetSizeOfVersion("},      {IDC_PAPER_CATALOG, "Kel_GetSizeOfPaperCatalog("}};
    for (const Plain &p : plain) {
        SCOPED_TRACE(p.call);
        KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
        ClickId(main, p.button);
        EXPECT_TRUE(WaitCallLogPrefix(m_sandbox, p.call, 5000)) << "called without an editor";
        EXPECT_EQ(nullptr, FindEditor());
        // Answer whatever the engine said: these run before the windows exist.
        while (HWND box = m_process->WaitMessageBox(kHarnessCaption, 500))
            PressButton(box, IDOK), m_process->WaitNoWindow(box, 5000);
        KeyUp(Child(main, IDC_FILE_NAME), VK_SHIFT);
        EXPECT_TRUE(Sync(main));
    }
}

TEST_F(Panel, EditedArgumentsAreReadAsDecimalNumbers)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
    HWND editor = ClickForDialog(main, IDC_SHOW_MAIN, kEditorCaption);
    ASSERT_NE(nullptr, editor);
    SetText(Child(editor, IDC_PARAMETER_2), L"abc");
    SetText(Child(editor, IDC_PARAMETER_3), L" -7");
    Click(Child(editor, IDOK));
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_ShowMain(5, 0, -7) = 0", 5000)) << "saw " << Last("Kel_ShowMain(");
}

TEST_F(Panel, HookRowsTakeTheHarnessHooksOrNoneOnly)
{
    struct Case {
        const wchar_t *messageHook; // null: leave the default
        const wchar_t *titleHook;
        const char *call;           // null: refused
    } cases[] = {
        {L"0", L"0", "Kel_InitMain(0, 0) = 0"},
        {L"12345", nullptr, nullptr},
        {nullptr, L"-1", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.call ? c.call : "refused");
        NewSandbox();
        HWND main = StartLoaded();
        ASSERT_NE(nullptr, main);
        KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
        HWND editor = ClickForDialog(main, IDC_INIT_MAIN, kEditorCaption);
        ASSERT_NE(nullptr, editor);
        if (c.messageHook)
            SetText(Child(editor, IDC_PARAMETER_1), c.messageHook);
        if (c.titleHook)
            SetText(Child(editor, IDC_PARAMETER_2), c.titleHook);
        Click(Child(editor, IDOK));
        if (c.call) {
            EXPECT_TRUE(WaitCallLogLine(m_sandbox, c.call, 5000));
            EXPECT_TRUE(WaitText(Child(main, IDC_MAIN_STATE), L"Allocated"));
        } else {
            std::wstring box = AnswerBox(kHarnessCaption);
            EXPECT_NE(std::wstring::npos, box.find(L"so Kel_InitMain was not called")) << Utf8(box);
            EXPECT_TRUE(Calls("Kel_InitMain(").empty());
            std::vector<std::string> lines = TraceLines(main);
            EXPECT_TRUE(!lines.empty() && MatchesPattern("Kel_InitMain(0x*, 0x*) not made: *", lines.back()))
                << "the trace marks the call as not made: " << (lines.empty() ? "" : lines.back());
            EXPECT_EQ(L"NULL", Text(Child(main, IDC_MAIN_STATE)));
        }
    }
}

TEST_F(Panel, CreatePressesEveryToggleEvenWhenItFails)
{
    HWND main = StartLoaded("result Kel_ShowTab = 0\nresult Kel_CreateMain = 10\n");
    ASSERT_NE(nullptr, main);
    for (int toggle : {IDC_PAGE_FILES, IDC_PAGE_COLOR_MAPPING})
        ClickId(main, toggle);
    ASSERT_TRUE(WaitFor([&] { return !IsChecked(Child(main, IDC_PAGE_COLOR_MAPPING)); }, 5000));
    ClickId(main, IDC_CREATE_MAIN);
    EXPECT_EQ(std::wstring(kErrorPrefix) + L"Create failed.", AnswerBox(kHarnessCaption));
    for (int toggle : kToggles)
        EXPECT_TRUE(IsChecked(Child(main, toggle))) << "toggle " << toggle;
    EXPECT_EQ(2u, Calls("Kel_ShowTab(").size()) << "pressing them calls nothing";
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_MAIN_STATE)));
}

TEST_F(Panel, VersionShowsWhatTheEngineReportedAndNothingBeyond)
{
    struct Case {
        const char *script;
        std::wstring box; // empty: none
    } cases[] = {
        {"text version = \"Sample 1.0\"", L"Size=11. Version=\n\"Sample 1.0\""},
        {"text version = \"Sample 1.0\"\nunterminated version", L"Size=11. Version=\n\"Sample 1.0#\""},
        {"size version = 0", L""},
        {"result Kel_GetSizeOfVersion = 4", std::wstring(kErrorPrefix) + L"Invalid Parameter."},
        {"size version = -1",
         L"The engine reported a size of -1 characters, which no text can have. Nothing was fetched."},
        {"size version = 0x7FFFFFFF",
         L"The engine reported a size of 2147483647 characters, which no text can have. Nothing was fetched."},
    };
    HWND main = StartLoaded();
    ASSERT_NE(nullptr, main);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        m_sandbox.WriteScript(std::string(c.script) + "\n");
        m_sandbox.ClearCallLog();
        ClickId(main, IDC_VERSION);
        if (!c.box.empty()) {
            EXPECT_EQ(c.box, AnswerBox(kHarnessCaption));
        }
        EXPECT_TRUE(Sync(main));
        EXPECT_TRUE(NoBox());
        EXPECT_EQ(c.box.rfind(L"Size=", 0) == 0 ? 1u : 0u, Calls("Kel_GetVersion(").size())
            << "the text is fetched only for a usable size";
    }
}

TEST_F(Panel, PaperCatalogOpensTheTextViewerAtTheTop)
{
    HWND main = StartLoaded("text catalog = \"First paper\\nSecond paper\\n\"\n");
    ASSERT_NE(nullptr, main);
    HWND viewer = ClickForDialog(main, IDC_PAPER_CATALOG, L"Paper Catalog");
    ASSERT_NE(nullptr, viewer);
    HWND text = Child(viewer, IDC_VIEWER_TEXT);
    EXPECT_EQ(L"First paper\r\nSecond paper\r\n", Text(text));
    EXPECT_TRUE(::GetWindowLongW(text, GWL_STYLE) & ES_READONLY);
    DWORD_PTR selection = 99;
    ::SendMessageTimeoutW(text, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection);
    EXPECT_EQ(0u, selection) << "caret at the top, nothing selected";
    Click(Child(viewer, IDOK));
    EXPECT_TRUE(m_process->WaitNoWindow(viewer, 5000));
}

TEST_F(Panel, GetWindowSaysSuccessOnlyForAWindow)
{
    HWND main = QuickStarted("window status null\n");
    ASSERT_NE(nullptr, main);
    ClickId(main, IDC_GET_WINDOW_MAIN);
    EXPECT_EQ(L"Success", AnswerBox(kHarnessCaption));
    ClickId(main, IDC_GET_WINDOW_STATUS);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_GetWindowStatus(->0) = 0", 5000));
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(NoBox()) << "a null handle with result 0 shows nothing";
}

TEST_F(Panel, StatusShowWithoutTheMainWindowsHeight)
{
    HWND main = StartLoaded("result Kel_GetWindowMain = 18\n");
    ASSERT_NE(nullptr, main);
    RECT frame = FrameRectangle(main);
    ClickId(main, IDC_SHOW_STATUS);
    EXPECT_EQ(std::wstring(kErrorPrefix) + L"Get Window called before Create.", AnswerBox(kHarnessCaption));
    EXPECT_EQ(L"Can't calculate position of status bar", AnswerBox(kHarnessCaption));
    std::string expected =
        "Kel_ShowStatus(5, " + std::to_string(frame.left + 2) + ", " + std::to_string(frame.top + 14) + ") = 5";
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, expected, 5000)) << "saw " << Last("Kel_ShowStatus(");
    EXPECT_EQ(std::wstring(kErrorPrefix) + L"Init was not called.", AnswerBox(kHarnessCaption));
}

TEST_F(Panel, FreeWhileAHandlersBoxStandsLeavesItNothingToCall)
{
    HWND main = StartLoaded("result Kel_GetWindowMain = 18\n");
    ASSERT_NE(nullptr, main);
    ClickId(main, IDC_SHOW_STATUS);
    ASSERT_NE(nullptr, m_process->WaitMessageBox(kHarnessCaption));
    // The box has no owner: Free runs inside it. Its own window query fails, so it asks nothing.
    ClickId(main, IDC_FREE);
    EXPECT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"NULL"));
    AnswerBox(kHarnessCaption); // the Get Window error
    EXPECT_EQ(L"Can't calculate position of status bar", AnswerBox(kHarnessCaption));
    EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption)) << "the slot is tested again before the call";
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(m_process->Running());
    EXPECT_TRUE(Calls("Kel_ShowStatus(").empty());
}

TEST_F(Panel, LoadTwiceFreeOnceKeepsOneReference)
{
    HWND main = StartLoaded();
    ASSERT_NE(nullptr, main);
    ClickId(main, IDC_LOAD);
    ClickId(main, IDC_FREE);
    EXPECT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"NULL"));
    ClickId(main, IDC_KEL_EXIT);
    EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption)) << "every slot is null again";
    EXPECT_TRUE(Calls(kFreed).empty()) << "the system still holds one reference";
    Command(main, ID_APP_EXIT);
    EXPECT_TRUE(m_process->WaitExit(10000));
    EXPECT_TRUE(Calls(kFreed).empty());
    EXPECT_EQ(1u, Calls("detach at process exit").size()) << "the library went only with the process";
}

TEST_F(Panel, FreeAsksWhileTheMainWindowLives)
{
    struct Case {
        int answer;
        bool freed;
        const char *exitCall;
    } cases[] = {{IDCANCEL, false, nullptr}, {IDYES, true, "Kel_Exit(0) = 0"}, {IDNO, true, nullptr}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.answer);
        NewSandbox();
        HWND main = QuickStarted();
        ASSERT_NE(nullptr, main);
        m_sandbox.ClearCallLog();
        ClickId(main, IDC_FREE);
        std::wstring question = AnswerBox(kHarnessCaption, c.answer);
        EXPECT_EQ(L"You are trying free library without calling Kel_Exit() !! \nThis will cause an exception to be "
                  L"thrown!\n\nDo you want KelExit() to be called  before the dll is freed?? (recommended)",
                  question);
        EXPECT_TRUE(Sync(main));
        EXPECT_EQ(c.freed ? L"NULL" : L"LOADED", Text(Child(main, IDC_LIBRARY_STATE)));
        std::vector<std::string> freed = Calls(kFreed);
        EXPECT_EQ(c.freed ? 1u : 0u, freed.size());
        EXPECT_EQ(c.exitCall ? std::vector<std::string>{c.exitCall} : std::vector<std::string>{}, Calls("Kel_Exit("));
        EXPECT_EQ(c.exitCall ? L"NULL" : L"Created", Text(Child(main, IDC_MAIN_STATE)));
    }
}

TEST_F(Panel, EngineFreedUnderItsWindowsEndsWithMessage109)
{
    HWND main = QuickStarted("keepwindows\n");
    ASSERT_NE(nullptr, main);
    ClickId(main, IDC_FREE);
    AnswerBox(kHarnessCaption, IDNO);
    // The engine's windows live on; the next message to them runs code that is gone.
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    HWND box = m_process->WaitMessageBox(kFrameworkCaption);
    ASSERT_NE(nullptr, box) << "the fault is reported";
    EXPECT_TRUE(MessageBoxHasIcon(box)) << "with the error icon";
    EXPECT_EQ(L"Kel Test Application has thrown an exception !\n\nThis can if FreeDll was called without call "
              L"KelExit.",
              MessageBoxText(box));
    EXPECT_TRUE(PressButton(box, IDOK));
    DWORD code = 0;
    ASSERT_TRUE(m_process->WaitExit(10000, &code)) << "the harness ends: no hang";
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), code);
}

// --- GUI element dialog

TEST_F(Panel, GuiElementDialogOffersEachPagesControls)
{
    HWND main = StartLoaded("result Kel_ShowGuiElement = 0\n");
    ASSERT_NE(nullptr, main);
    HWND gui = ClickForDialog(main, IDC_SHOW_GUI, L"Enable/Disable GUI Controls");
    ASSERT_NE(nullptr, gui);
    HWND pages = Child(gui, IDC_GUI_PAGE), labels = Child(gui, IDC_GUI_LABEL), id = Child(gui, IDC_GUI_ID);
    EXPECT_EQ((std::vector<std::wstring>{L"Printers", L"Files", L"Job Setup 1", L"Job Setup 2", L"Custom Options",
                                         L"Paper Substitutions", L"Color Mapping"}),
              ComboItems(pages));
    EXPECT_EQ(0, ComboSelection(pages));
    EXPECT_EQ(0, ComboSelection(labels));
    EXPECT_EQ(L"Static - Installed Printers", ComboItems(labels).at(0));
    EXPECT_EQ(L"2619", Text(id));

    struct Case {
        int page;
        std::size_t rows;
        const wchar_t *first;
        const wchar_t *firstId;
    } cases[] = {{0, 14, L"Static - Installed Printers", L"2619"}, {1, 17, L"Static - Directories", L"2615"},
                 {2, 45, L"Frame - General Job Properties", L"2625"}, {3, 29, L"Frame - Printer setup", L"2614"},
                 {4, 10, L"Static - CustomCommands", L"2635"},      {5, 28, L"Frame - Body paper (no title)", L"2621"},
                 {6, 21, L"Frame - Color mapping", L"2637"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page);
        SelectComboItem(pages, c.page);
        EXPECT_TRUE(WaitText(id, c.firstId));
        std::vector<std::wstring> items = ComboItems(labels);
        EXPECT_EQ(c.rows, items.size());
        EXPECT_EQ(c.first, items.empty() ? L"" : items[0]);
    }

    SelectComboItem(pages, 3); // Job Setup 2
    ASSERT_TRUE(WaitText(id, L"2614"));
    ClickId(gui, IDC_GUI_SHOW);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_ShowGuiElement(519, 2614, 1) = 0", 5000));
    SetText(id, L"77");
    ClickId(gui, IDC_GUI_HIDE);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_ShowGuiElement(519, 77, 0) = 0", 5000)) << "the box, as typed";
    SetText(id, L"abc");
    ClickId(gui, IDC_GUI_SHOW);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_ShowGuiElement(519, 0, 1) = 0", 5000)) << "letters send 0";

    SelectComboItem(pages, 2); // Job Setup 1: two labels share 1119
    ASSERT_TRUE(WaitText(id, L"2625"));
    std::vector<std::wstring> items = ComboItems(labels);
    for (const wchar_t *label : {L"Combo - Back cover", L"Combo - Back cover paper"}) {
        auto at = std::find(items.begin(), items.end(), label);
        ASSERT_NE(items.end(), at) << Utf8(label);
        SelectComboItem(labels, static_cast<int>(at - items.begin()));
        EXPECT_TRUE(WaitText(id, L"1119")) << Utf8(label);
    }

    m_sandbox.WriteScript("result Kel_ShowGuiElement = 20\n");
    ClickId(gui, IDC_GUI_SHOW);
    EXPECT_EQ(std::wstring(kErrorPrefix) + L"Invalid tab or data", AnswerBox(kHarnessCaption));

    // Done hides it; the next Show GUI brings it back as it was.
    ClickId(gui, IDOK);
    EXPECT_TRUE(m_process->WaitNoWindow(gui, 5000));
    ClickId(main, IDC_SHOW_GUI);
    EXPECT_TRUE(WaitFor([&] { return IsVisible(gui); }, 5000)) << "the same window shows again";
    EXPECT_EQ(2, ComboSelection(pages));
    EXPECT_EQ(L"1119", Text(id));
}

namespace {
// The sample engine's page of that title inside the harness; null when none.
HWND EnginePage(HWND main, const wchar_t *title)
{
    for (HWND engine : Children(main)) {
        if (ClassName(engine) != L"SolvetricMain")
            continue;
        for (HWND page : Children(engine)) {
            if (ClassName(page) == L"SolvetricPage" && Text(page) == title)
                return page;
        }
    }
    return nullptr;
}

bool Shown(HWND control) { return (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }
} // namespace

// The engine makes a page's controls when the page is first shown, or when a
// control of it is shown or hidden; every id of its table is there then.
TEST_F(Panel, EnginePagesHoldTheirControlsOnceShown)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    ASSERT_NE(nullptr, EnginePage(main, PageAt(0).title));
    for (std::size_t p = 1; p < PageCount(); ++p)
        EXPECT_TRUE(Children(EnginePage(main, PageAt(p).title)).empty()) << Utf8(PageAt(p).title) << " not built yet";

    HWND gui = ClickForDialog(main, IDC_SHOW_GUI, L"Enable/Disable GUI Controls");
    ASSERT_NE(nullptr, gui);
    SelectComboItem(Child(gui, IDC_GUI_PAGE), 6); // Color Mapping, not shown yet
    ASSERT_TRUE(WaitText(Child(gui, IDC_GUI_ID), L"2637"));
    SetText(Child(gui, IDC_GUI_ID), L"1000"); // its red combo
    ClickId(gui, IDC_GUI_HIDE);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_ShowGuiElement(438, 1000, 0) = 0", 5000));

    for (std::size_t p = 0; p < PageCount(); ++p) {
        const PageEntry &entry = PageAt(p);
        SCOPED_TRACE(Utf8(entry.title));
        SetText(Child(main, IDC_XML), L"<Printer_Settings><Tab>" + std::to_wstring(entry.code) +
                                          L"</Tab></Printer_Settings>");
        const std::size_t applied = Calls("Kel_OpenXMLSettings(").size();
        ClickId(main, IDC_APPLY_XML);
        // Awaited: the click is posted, and Sync may come back before it ran.
        ASSERT_TRUE(WaitFor([&] { return Calls("Kel_OpenXMLSettings(").size() > applied; }, 5000));
        ASSERT_TRUE(Sync(main));
        HWND page = EnginePage(main, entry.title);
        EXPECT_TRUE(IsVisible(page));
        EXPECT_EQ(entry.count, Children(page).size());
        for (std::size_t i = 0; i < entry.count; ++i)
            EXPECT_NE(nullptr, ::GetDlgItem(page, entry.controls[i].id)) << entry.controls[i].id;
    }
    EXPECT_TRUE(NoBox());
    HWND colourMapping = EnginePage(main, L"Color Mapping");
    EXPECT_FALSE(Shown(::GetDlgItem(colourMapping, KelColorMappingPage::RedCombo)))
        << "hidden before the page was made";
    EXPECT_TRUE(Shown(::GetDlgItem(colourMapping, KelColorMappingPage::GreenCombo)));
    ClickId(gui, IDC_GUI_SHOW);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_ShowGuiElement(438, 1000, 1) = 0", 5000));
    EXPECT_TRUE(Shown(::GetDlgItem(colourMapping, KelColorMappingPage::RedCombo)));
}

TEST_F(Panel, GuiElementDialogWithoutTheEngine)
{
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    HWND gui = ClickForDialog(main, IDC_SHOW_GUI, L"Enable/Disable GUI Controls");
    ASSERT_NE(nullptr, gui);
    SelectComboItem(Child(gui, IDC_GUI_PAGE), 1);
    EXPECT_TRUE(WaitText(Child(gui, IDC_GUI_ID), L"2615")) << "the lists work";
    for (int button : {IDC_GUI_SHOW, IDC_GUI_HIDE}) {
        ClickId(gui, button);
        EXPECT_EQ(kNotLoaded, AnswerBox(kFrameworkCaption)) << "the framework's box, for button " << button;
    }
    EXPECT_TRUE(m_sandbox.CallLog().empty());
}

// --- Settings panel

namespace {
// Lines of the byte file the box shows them: CR LF.
std::wstring BoxText(const std::string &latin1)
{
    std::wstring text;
    for (char c : latin1)
        text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return text;
}
} // namespace

class Settings : public Panel {
protected:
    // Opens the common dialog of the button and types the path and confirms,
    // or cancels when path is empty; returns the dialog (null when none came).
    HWND OpenAndAnswerFileDialog(HWND main, int button, const wchar_t *caption, const std::wstring &path)
    {
        HWND dialog = ClickForDialog(main, button, caption);
        if (dialog)
            AnswerFileDialog(dialog, path);
        return dialog;
    }
    // The same, then waits until the dialog is gone and the harness answers again.
    void ChooseFile(HWND main, int button, const wchar_t *caption, const std::wstring &path, DWORD ms = 5000)
    {
        HWND dialog = OpenAndAnswerFileDialog(main, button, caption, path);
        ASSERT_NE(nullptr, dialog);
        EXPECT_TRUE(m_process->WaitNoWindow(dialog, 5000)) << "the dialog closes";
        // Busy for long, a window counts as hung and Sync gives up at once: ask again.
        EXPECT_TRUE(WaitFor([&] { return Sync(main, 1000); }, ms)) << "the harness answers within " << ms << " ms";
    }
    std::wstring Xml(HWND main) { return Text(Child(main, IDC_XML)); }
    // The file's bytes, or "" while it does not exist.
    std::string FileOrEmpty(const wchar_t *name) const
    {
        return ::GetFileAttributesW(m_sandbox.Path(name).c_str()) == INVALID_FILE_ATTRIBUTES
                   ? std::string()
                   : m_sandbox.ReadFileBytes(name);
    }
};

TEST_F(Settings, WithoutTheEngineOnlyTheFourEngineButtonsRefuse)
{
    m_sandbox.WriteFileBytes(L"in.xml", "<a/>\n");
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    SetText(Child(main, IDC_XML), L"typed");
    for (int button : {IDC_APPLY_XML, IDC_NEW_SETTINGS, IDC_OPEN_SETTINGS, IDC_SAVE_SETTINGS}) {
        ClickId(main, button);
        EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption)) << "button " << button;
    }
    EXPECT_EQ(L"typed", Xml(main)) << "the boxes keep their contents";
    ClickId(main, IDC_CLEAR_XML);
    EXPECT_TRUE(WaitFor([&] { return Xml(main).empty(); }, 5000)) << "Clear works without the engine";
    ChooseFile(main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"in.xml"));
    EXPECT_EQ(L"<a/>\r\n", Xml(main)) << "so does Load...";
    ChooseFile(main, IDC_SAVE_XML, L"Save As", m_sandbox.Path(L"out.xml"));
    EXPECT_EQ("<a/>\r\n", m_sandbox.ReadFileBytes(L"out.xml")) << "and Save...";
    ChooseFile(main, IDC_BROWSE, L"Save As", m_sandbox.Path(L"new.kel"));
    EXPECT_EQ(m_sandbox.Path(L"new.kel"), Text(Child(main, IDC_FILE_NAME))) << "and ...";
    EXPECT_TRUE(NoBox());
    EXPECT_TRUE(m_sandbox.CallLog().empty());
}

TEST_F(Settings, ApplyPassesTheTextAndShowsTheErrorPosition)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    struct Case {
        const wchar_t *text;
        const char *logged;
        std::wstring box; // empty: none
    } cases[] = {
        {L"<Printer_Settings><Copies>3</Copies></Printer_Settings>",
         "Kel_OpenXMLSettings(\"<Printer_Settings><Copies>3</Copies></Printer_Settings>\", ->*) = 0", L""},
        {L"<Printer_Settings><Bogus/></Printer_Settings>",
         "Kel_OpenXMLSettings(\"<Printer_Settings><Bogus/></Printer_Settings>\", ->18) = 40",
         std::wstring(kErrorPrefix) + L"Unknown name of tag.\nPosition: 18."},
        {L"", "Kel_OpenXMLSettings(\"\", ->0) = 39",
         std::wstring(kErrorPrefix) + L"Syntax error (missing or unexpected character).\nPosition: 0."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        m_sandbox.ClearCallLog();
        if (*c.text) {
            SetText(Child(main, IDC_XML), c.text);
        } else {
            ClickId(main, IDC_CLEAR_XML); // Clear, then Apply: an empty text
        }
        ClickId(main, IDC_APPLY_XML);
        if (!c.box.empty()) {
            EXPECT_EQ(c.box, AnswerBox(kHarnessCaption));
        }
        EXPECT_TRUE(Sync(main));
        EXPECT_TRUE(NoBox());
        // The click was posted: the frame may answer before the button has run.
        std::string line;
        WaitFor([&] { return MatchesPattern(c.logged, line = Last("Kel_OpenXMLSettings(")); }, 5000);
        EXPECT_TRUE(MatchesPattern(c.logged, line)) << "expected " << c.logged << ", saw " << line;
    }
}

TEST_F(Settings, OpenAndSavePassTheNameUnchanged)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    ClickId(main, IDC_OPEN_SETTINGS);
    EXPECT_EQ(std::wstring(kErrorPrefix) + L"Cannot Open File.", AnswerBox(kHarnessCaption));
    ClickId(main, IDC_SAVE_SETTINGS);
    EXPECT_EQ(std::wstring(kErrorPrefix) + L"Error in file save: cannot be open for write (disk full, etc.)",
              AnswerBox(kHarnessCaption));
    EXPECT_EQ("Kel_OpenSettings(\"\") = 17", Last("Kel_OpenSettings("));
    EXPECT_EQ("Kel_SaveSettings(\"\") = 16", Last("Kel_SaveSettings("));

    // A real file: what the engine writes, its Open reads back.
    ChooseFile(main, IDC_BROWSE, L"Save As", m_sandbox.Path(L"job.kel"));
    const std::wstring path = m_sandbox.Path(L"job.kel");
    ASSERT_EQ(path, Text(Child(main, IDC_FILE_NAME)));
    ClickId(main, IDC_SAVE_SETTINGS);
    EXPECT_TRUE(WaitFor([&] { return FileOrEmpty(L"job.kel").rfind("Solvetric Settings 1", 0) == 0; },
                        5000))
        << "the engine wrote its settings file";
    ClickId(main, IDC_NEW_SETTINGS);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_NewSettings() = 0", 5000));
    ClickId(main, IDC_OPEN_SETTINGS);
    EXPECT_TRUE(WaitText(main, L"job.kel - Solvetric"))
        << "the engine opened it; the caption says " << Utf8(Text(main));
    EXPECT_TRUE(NoBox());
    EXPECT_EQ(path, Text(Child(main, IDC_FILE_NAME))) << "the name box is not changed";
}

TEST_F(Settings, DialogsCancelledChangeNothingAndBrowseAsksNoQuestion)
{
    m_sandbox.WriteFileBytes(L"exists.kel", "Solvetric Settings 1\n");
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    SetText(Child(main, IDC_XML), L"kept");
    SetText(Child(main, IDC_FILE_NAME), L"kept.kel");
    for (int button : {IDC_LOAD_XML, IDC_SAVE_XML, IDC_BROWSE})
        ChooseFile(main, button, button == IDC_LOAD_XML ? L"Open" : L"Save As", L"");
    EXPECT_EQ(L"kept", Xml(main));
    EXPECT_EQ(L"kept.kel", Text(Child(main, IDC_FILE_NAME)));

    ChooseFile(main, IDC_BROWSE, L"Save As", m_sandbox.Path(L"exists.kel"));
    EXPECT_EQ(m_sandbox.Path(L"exists.kel"), Text(Child(main, IDC_FILE_NAME))) << "no overwrite question came";
    EXPECT_EQ("Solvetric Settings 1\n", m_sandbox.ReadFileBytes(L"exists.kel")) << "and nothing was written";
}

TEST_F(Settings, XmlFilesComeBackByteForByte)
{
    std::string bytes = "<Printer_Settings>\r\n";
    for (int b = 0x20; b <= 0xFF; ++b)
        bytes += static_cast<char>(b);
    bytes += "\r\n</Printer_Settings>\r\n";
    m_sandbox.WriteFileBytes(L"all.xml", bytes);
    m_sandbox.WriteFileBytes(L"unix.xml", "<a>\n<b/>\n</a>\n");
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    ChooseFile(main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"all.xml"));
    EXPECT_EQ(BoxText(bytes), Xml(main));
    ChooseFile(main, IDC_SAVE_XML, L"Save As", m_sandbox.Path(L"copy.xml"));
    EXPECT_EQ(bytes, m_sandbox.ReadFileBytes(L"copy.xml")) << "bytes 0x80 to 0xFF included";

    ChooseFile(main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"unix.xml"));
    EXPECT_EQ(L"<a>\r\n<b/>\r\n</a>\r\n", Xml(main)) << "line feeds alone end lines too";

    m_sandbox.WriteFileBytes(L"empty.xml", "");
    ChooseFile(main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"empty.xml"));
    EXPECT_EQ(L"", Xml(main));
}

TEST_F(Settings, SaveNeverLosesDataSilently)
{
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    SetText(Child(main, IDC_XML), L"5 \u20AC");
    const std::wstring question =
        L"The XML text holds 1 characters that cannot be saved as one byte each and read back; they would be saved "
        L"as \"?\".\n\nSave anyway?";
    ASSERT_NE(nullptr, OpenAndAnswerFileDialog(main, IDC_SAVE_XML, L"Save As", m_sandbox.Path(L"euro.xml")));
    EXPECT_EQ(question, AnswerBox(kHarnessCaption, IDCANCEL));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_sandbox.Path(L"euro.xml").c_str()));

    ASSERT_NE(nullptr, OpenAndAnswerFileDialog(main, IDC_SAVE_XML, L"Save As", m_sandbox.Path(L"euro.xml")));
    EXPECT_EQ(question, AnswerBox(kHarnessCaption, IDOK));
    EXPECT_TRUE(WaitFor([&] { return FileOrEmpty(L"euro.xml") == "5 ?"; }, 5000));

    // A file held open without sharing cannot be replaced: the save says so and the file stays.
    SetText(Child(main, IDC_XML), L"<new/>");
    m_sandbox.WriteFileBytes(L"held.xml", "<old/>");
    {
        unique_file hold(::CreateFileW(m_sandbox.Path(L"held.xml").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(static_cast<bool>(hold));
        ASSERT_NE(nullptr, OpenAndAnswerFileDialog(main, IDC_SAVE_XML, L"Save As", m_sandbox.Path(L"held.xml")));
        std::wstring asked = m_process->AnswerMessageBox(L"Error", IDYES); // Wine's caption for it
        EXPECT_EQ(L"File already exists.\nDo you want to replace it?", asked) << "the overwrite question";
        std::wstring said = AnswerBox(kHarnessCaption);
        EXPECT_EQ(0u, said.find(m_sandbox.Path(L"held.xml") + L" cannot be written:\n")) << Utf8(said);
        EXPECT_NE(std::wstring::npos, said.find(L"An earlier file of that name is left as it was.")) << Utf8(said);
    }
    EXPECT_EQ("<old/>", m_sandbox.ReadFileBytes(L"held.xml"));
    EXPECT_EQ("", FileOrEmpty(L"held.xml.saving")) << "nothing is left beside it";
    EXPECT_EQ(L"<new/>", Xml(main)) << "and the box keeps the text";
}

TEST_F(Settings, LoadSaysWhatItCouldNotRead)
{
    m_sandbox.WriteFileBytes(L"locked.xml", "<a/>");
    m_sandbox.WriteFileBytes(L"zero.xml", std::string("<a>\0</a>", 8));
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    SetText(Child(main, IDC_XML), L"typed by hand");
    {
        unique_file lock(::CreateFileW(m_sandbox.Path(L"locked.xml").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(static_cast<bool>(lock));
        ASSERT_NE(nullptr, OpenAndAnswerFileDialog(main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"locked.xml")));
        std::wstring said = AnswerBox(kHarnessCaption);
        EXPECT_NE(std::wstring::npos, said.find(L"cannot be read")) << Utf8(said);
    }
    EXPECT_EQ(L"typed by hand", Xml(main)) << "the tester's text stays";

    ChooseFile(main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"zero.xml"));
    EXPECT_EQ(m_sandbox.Path(L"zero.xml") +
                  L" holds a zero byte at offset 3. The XML box cannot show it: only the text before it was loaded.",
              AnswerBox(kHarnessCaption));
    EXPECT_EQ(L"<a>", Xml(main));
}

TEST_F(Settings, FourMegabytesLoadAndSaveBackWhole)
{
    // Mostly plain lines, with every byte above 0x7F and a lone line feed now and then.
    std::string bytes;
    for (int n = 0; bytes.size() < 4 * 1024 * 1024; ++n) {
        if (n % 64 == 63) {
            for (int b = 0x80; b <= 0xFF; ++b)
                bytes += static_cast<char>(b);
            bytes += "\r\n";
        } else {
            bytes += "<Line n=\"" + std::to_string(n) + "\">0123456789 abcdefghijklmnopqrstuvwxyz</Line>\r\n";
        }
    }
    m_sandbox.WriteFileBytes(L"big.xml", bytes + "<last/>\n");
    HWND main = StartMain();
    ASSERT_NE(nullptr, main);
    ChooseFile(main, IDC_LOAD_XML, L"Open", m_sandbox.Path(L"big.xml"), 120000);
    bytes += "<last/>\r\n"; // the box shows the lone line feed as a line end
    EXPECT_EQ(bytes.size(), Xml(main).size()) << "the box holds the whole text";
    HWND box = Child(main, IDC_XML);
    ::SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    TypeText(box, L"x");
    EXPECT_TRUE(Sync(main));
    EXPECT_EQ(bytes.size() + 1, Xml(main).size()) << "and the tester can still type";
    ::SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    TypeText(box, L"\b");
    ChooseFile(main, IDC_SAVE_XML, L"Save As", m_sandbox.Path(L"back.xml"), 120000);
    std::string back = m_sandbox.ReadFileBytes(L"back.xml");
    EXPECT_EQ(bytes.size(), back.size());
    EXPECT_TRUE(bytes == back) << "saved back byte for byte"; // no diff of 4 MB in the output
}

// --- Call trace

namespace {
// The trace's lines as the engine's log writes them: handles in decimal, the
// result without its text and duration, hooks marked, and whatever a call
// brought back before the call, since the log writes a line as it returns.
// The library's load and free and the refused calls are not the engine's.
std::vector<std::string> AsEngineLog(const std::vector<std::string> &trace)
{
    const std::regex hex("0x([0-9A-F]+)"), ending("\\) = (-?[0-9]+) .*$"), duration("\\) \\([0-9.]+ ms\\)$");
    std::vector<std::string> log;
    std::vector<std::pair<std::size_t, std::string>> waiting; // depth, line
    for (const std::string &line : trace) {
        std::size_t depth = line.find_first_not_of(' ') / 4;
        std::string call = line.substr(depth * 4);
        if (call.rfind("LoadLibrary(", 0) == 0 || call.rfind("FreeLibrary(", 0) == 0 ||
            call.find(" not made: ") != std::string::npos)
            continue;
        std::string converted, rest = call;
        std::smatch match;
        while (std::regex_search(rest, match, hex)) {
            converted += match.prefix().str() + std::to_string(std::stoull(match[1].str(), nullptr, 16));
            rest = match.suffix().str();
        }
        converted = std::regex_replace(std::regex_replace(converted + rest, ending, ") = $1"), duration, ")");
        while (!waiting.empty() && waiting.back().first >= depth) {
            log.push_back(waiting.back().second);
            waiting.pop_back();
        }
        waiting.push_back({depth, depth > 0 ? "hook " + converted : converted});
    }
    for (; !waiting.empty(); waiting.pop_back())
        log.push_back(waiting.back().second);
    return log;
}
} // namespace

TEST_F(Settings, CallTraceSaysWhatWasCalledWithWhatAndWhatCameBack)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
    ClickId(main, IDC_QUICK_FREE);
    ASSERT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"NULL"));
    ClickId(main, IDC_PRINT);
    EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption));
    ASSERT_TRUE(Sync(main));

    std::vector<std::string> trace = TraceLines(main);
    std::vector<std::string> engine;
    for (const std::string &line : m_sandbox.CallLog()) {
        if ((line.rfind("Kel_", 0) == 0 || line.rfind("hook ", 0) == 0) && line.rfind("Kel_SendMessage(", 0) != 0)
            engine.push_back(line);
    }
    EXPECT_EQ(engine, AsEngineLog(trace)) << "the engine's calls, in its order, with its arguments and results";

    struct Expected {
        const char *pattern;
        const char *what;
    } expected[] = {
        {"LoadLibrary(\"Solvetric.dll\") = 0 OK (* ms)", "the load comes first, with its result"},
        {"Kel_InitMain(0x*, 0x*) = 0 OK (* ms)", "hooks as addresses, the result with its text"},
        {"Kel_CreateMain(0x*, 0, \"KelmTest - 04_19_01\") = 0 OK (* ms)", "texts quoted"},
        {"    SetTitleHook(\"Untitled\", \"Solvetric\", 0) (* ms)", "the hook under the call it came from"},
        {"Kel_GetWindowMain(->0x*) = 0 OK (* ms)", "out-parameters as written"},
        {"Kel_Exit(0) = 0 OK (* ms)", "Quick Free's exit"},
        {"FreeLibrary(0x*) = 0 OK (* ms)", "the free, with the module freed"},
        {"Kel_Print not made: Function was not loaded", "the refused call, last"},
    };
    std::size_t at = 0;
    for (const Expected &e : expected) {
        while (at < trace.size() && !MatchesPattern(e.pattern, trace[at]))
            ++at;
        EXPECT_LT(at, trace.size()) << e.what << ": expected " << e.pattern << " after the lines before it";
    }
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ("Kel_Print not made: Function was not loaded", trace.back());
    EXPECT_EQ(0u, trace.front().rfind("LoadLibrary(", 0)) << trace.front();
}

TEST_F(Settings, CallTraceSaveWritesWhatTheWindowShowsCopyTakesItAndClearEmptiesIt)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    HWND trace = OpenTrace(main);
    ASSERT_NE(nullptr, trace);
    const std::wstring shown = Text(Child(trace, IDC_TRACE_TEXT));
    ASSERT_NE(std::wstring::npos, shown.find(L"Kel_ShowStatus(")) << Utf8(shown);

    ChooseFile(trace, IDC_TRACE_SAVE, L"Save As", m_sandbox.Path(L"trace.txt"));
    const std::string saved = FileOrEmpty(L"trace.txt");
    char window[32];
    std::snprintf(window, sizeof window, "%0*llX\r\n", static_cast<int>(sizeof(void *) * 2),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(main)));
    EXPECT_EQ(kHeader + std::string(window) + Utf8(shown), saved)
        << "UTF-8, the line naming the harness's window, then byte for byte what the window shows";
    for (std::size_t feed = saved.find('\n'); feed != std::string::npos; feed = saved.find('\n', feed + 1))
        ASSERT_TRUE(feed > 0 && saved[feed - 1] == '\r') << "every line ends in CR LF, also at " << feed;

    ClickId(trace, IDC_TRACE_COPY);
    ASSERT_TRUE(Sync(trace));
    std::wstring copied;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (const auto *text = static_cast<const wchar_t *>(::GlobalLock(data))) {
                copied = text;
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
    }
    EXPECT_EQ(Utf8(shown), Utf8(copied)) << "Copy takes the whole trace";

    // Held open by another program for longer than Copy waits, the clipboard stays as it was, and Copy says so.
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        ClickId(trace, IDC_TRACE_COPY);
        const std::wstring said = AnswerBox(kHarnessCaption);
        ::CloseClipboard();
        EXPECT_EQ(0u, said.find(L"The call trace could not be put on the clipboard:\n")) << Utf8(said);
        EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT)) << "nothing was put there";
    }

    ClickId(trace, IDC_TRACE_CLEAR);
    ASSERT_TRUE(Sync(trace));
    EXPECT_EQ(L"", Text(Child(trace, IDC_TRACE_TEXT)));
    ClickId(main, IDC_GET_WINDOW_MAIN);
    EXPECT_EQ(L"Success", AnswerBox(kHarnessCaption));
    EXPECT_TRUE(WaitFor([&] { return Text(Child(trace, IDC_TRACE_TEXT)).find(L"Kel_GetWindowMain(") != std::wstring::npos; },
                        5000))
        << "the open window follows the calls";
    EXPECT_EQ(std::wstring::npos, Text(Child(trace, IDC_TRACE_TEXT)).find(L"Kel_SendMessage("))
        << "the relay is left out unless asked for";

    ClickId(trace, IDC_TRACE_RELAYS);
    ASSERT_TRUE(Sync(trace));
    ClickId(main, IDC_GET_WINDOW_MAIN);
    EXPECT_EQ(L"Success", AnswerBox(kHarnessCaption));
    const std::wstring click = L"Kel_SendMessage(" + std::to_wstring(WM_COMMAND) + L", " +
                               std::to_wstring(IDC_GET_WINDOW_MAIN) + L", ";
    EXPECT_TRUE(WaitFor([&] { return Text(Child(trace, IDC_TRACE_TEXT)).find(click) != std::wstring::npos; }, 5000))
        << "asked for, the relay of the click is written too: " << Utf8(Text(Child(trace, IDC_TRACE_TEXT)));
}

// --- Replay of a saved trace

namespace {
const wchar_t kReplay[] = L"WinKelReplay.exe";

// The engine's calls of a call log by name and result: the handles of one
// run are not those of another.
std::vector<std::string> NamesAndResults(const std::vector<std::string> &log)
{
    std::vector<std::string> calls;
    for (const std::string &line : log) {
        if (line.rfind("Kel_", 0) == 0 && line.rfind("Kel_SendMessage(", 0) != 0)
            calls.push_back(line.substr(0, line.find('(')) + line.substr(line.rfind(" = ")));
    }
    return calls;
}

// A saved trace's lines, each without its time but the header.
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        std::string line = text.substr(at, end - at);
        lines.push_back(line.rfind('#', 0) == 0 ? line : line.substr(std::min<std::size_t>(12, line.size())));
    }
    return lines;
}
} // namespace

TEST_F(Settings, CallTraceReplayMakesTheSavedCallsAgainAndEveryResultMatches)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    ClickId(main, IDC_GET_WINDOW_MAIN);
    EXPECT_EQ(L"Success", AnswerBox(kHarnessCaption));
    const std::vector<std::string> recorded = NamesAndResults(m_sandbox.CallLog());
    HWND trace = OpenTrace(main);
    ASSERT_NE(nullptr, trace);
    ChooseFile(trace, IDC_TRACE_SAVE, L"Save As", m_sandbox.Path(L"trace.txt"));
    EXPECT_EQ(0u, FileOrEmpty(L"trace.txt").rfind(kHeader, 0)) << "Save... names the harness's window first";

    ClickId(main, IDC_QUICK_FREE);
    ASSERT_TRUE(WaitText(Child(main, IDC_LIBRARY_STATE), L"NULL"));
    m_sandbox.ClearCallLog();
    ChooseFile(trace, IDC_TRACE_REPLAY, L"Open", m_sandbox.Path(L"trace.txt"));
    const std::wstring summary = L"replay: " + std::to_wstring(recorded.size() + 1) +
                                 L" calls replayed, 0 results differ, 0 lines not replayed"; // and the load
    EXPECT_TRUE(WaitFor([&] { return Text(Child(trace, IDC_TRACE_TEXT)).find(summary) != std::wstring::npos; }, 20000))
        << "the replay ends with its summary: " << Utf8(Text(Child(trace, IDC_TRACE_TEXT)));
    const std::wstring shown = Text(Child(trace, IDC_TRACE_TEXT));
    EXPECT_TRUE(NoBox()) << "no box waits during a replay";
    EXPECT_EQ(recorded, NamesAndResults(m_sandbox.CallLog())) << "the engine got the same calls, in order";
    EXPECT_EQ(std::wstring::npos, shown.find(L" differs: "));
    struct {
        int box;
        const wchar_t *text;
    } states[] = {{IDC_LIBRARY_STATE, L"LOADED"}, {IDC_MAIN_STATE, L"Created"}, {IDC_STATUS_STATE, L"Created"}};
    for (const auto &state : states)
        EXPECT_EQ(state.text, Text(Child(main, state.box))) << "the state boxes follow the replay: " << state.box;
}

TEST_F(Settings, ReplayProgramComparesEveryResultAndEndsByItsCode)
{
    HWND main = QuickStarted();
    ASSERT_NE(nullptr, main);
    HWND window = OpenTrace(main);
    ASSERT_NE(nullptr, window);
    ChooseFile(window, IDC_TRACE_SAVE, L"Save As", m_sandbox.Path(L"trace.txt"));
    const std::string trace = FileOrEmpty(L"trace.txt");
    m_process.reset();
    m_sandbox.AddProgram(kReplay);
    const std::size_t calls = NamesAndResults(m_sandbox.CallLog()).size() + 1;
    // Line 3, after the header and the load.
    const std::size_t third = trace.find("\r\n", trace.find("\r\n") + 2) + 2;
    const std::string damaged = trace.substr(0, third) + "     1.000  Kel_Exit(0 = 0 OK (0.1 ms)\r\n" + trace.substr(third);

    struct Case {
        const char *what;
        std::string script;
        const std::string &file;
        const wchar_t *report; // null: the default beside the trace
        DWORD code;
        std::vector<std::string> lines; // in the report, in this order
        int differing;
    } cases[] = {
        {"unchanged", "", trace, nullptr, 0,
         {"replay: " + std::to_string(calls) + " calls replayed, 0 results differ, 0 lines not replayed"}, 0},
        {"one result changed", "result Kel_ShowMain = 18\n", trace, L"report.txt", 1,
         {"Kel_ShowMain(*) = 18 Get Window called before Create. (* ms)",
          "replay: line * differs: recorded = 0 OK, now = 18 Get Window called before Create.",
          "replay: " + std::to_string(calls) + " calls replayed, 1 result differs, 0 lines not replayed"},
         1},
        {"a damaged line", "", damaged, L"report.txt", 0,
         {"replay: line 3 not replayed: cannot be read from character *",
          "replay: " + std::to_string(calls) +
              " calls replayed, 0 results differ, 1 line not replayed (line 3: cannot be read from character *)"},
         0},
        {"a fault in the engine", "fault Kel_ShowStatus\n", trace, L"report.txt", 3,
         {"Kel_ShowStatus(*) ...", "fault: exception 0xC0000005 at Solvetric.dll+0x* during Kel_ShowStatus(*)"}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        m_sandbox.WriteScript(c.script);
        m_sandbox.WriteFileBytes(L"in.txt", c.file);
        const std::wstring report = c.report ? c.report : L"in.txt.replay.txt";
        ::DeleteFileW(m_sandbox.Path(report).c_str());
        Process replay = Process::Start(m_sandbox, kReplay, c.report ? L"in.txt /report report.txt" : L"in.txt", {},
                                        false, L"said.txt");
        DWORD code = 0;
        ASSERT_TRUE(replay.WaitExit(30000, &code)) << "the replay ends by itself";
        EXPECT_EQ(c.code, code) << "its exit code";
        const std::vector<std::string> written = Lines(FileOrEmpty(report.c_str()));
        ASSERT_FALSE(written.empty()) << "a report";
        EXPECT_EQ(0u, written.front().rfind(kHeader, 0)) << "the report replays too: " << written.front();
        std::size_t at = 0;
        for (const std::string &expected : c.lines) {
            while (at < written.size() && !MatchesPattern(expected, written[at]))
                ++at;
            EXPECT_LT(at, written.size()) << "expected " << expected << " after the lines before it";
        }
        EXPECT_TRUE(MatchesPattern(c.lines.back(), written.back())) << "the last line";
        EXPECT_EQ(c.differing, std::count_if(written.begin(), written.end(), [](const std::string &line) {
                      return line.find(" differs: ") != std::string::npos;
                  })) << "exactly the calls that differ are marked";
        const std::string said = FileOrEmpty(L"said.txt");
        EXPECT_NE(std::string::npos, said.find(written.back())) << "the output ends as the report: " << said;
    }

    // What is no trace ends with 2 and says why.
    for (const char *file : {"<Printer_Settings/>\r\n", ""}) {
        m_sandbox.WriteFileBytes(L"in.txt", file);
        Process replay = Process::Start(m_sandbox, kReplay, L"in.txt", {}, false, L"said.txt");
        DWORD code = 0;
        ASSERT_TRUE(replay.WaitExit(30000, &code));
        EXPECT_EQ(2u, code) << "for " << file;
        EXPECT_NE(std::string::npos, FileOrEmpty(L"said.txt").find("in.txt holds no call to replay"))
            << FileOrEmpty(L"said.txt");
    }
}

TEST_F(Settings, CallTraceKeptOnAFaultOnlyWhenAsked)
{
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "asked" : "not asked");
        NewSandbox();
        HWND main = QuickStarted("fault Kel_Print\n");
        ASSERT_NE(nullptr, main);
        HWND trace = OpenTrace(main);
        ASSERT_NE(nullptr, trace);
        const std::wstring file = Text(Child(trace, IDC_TRACE_FAULT_FILE));
        EXPECT_NE(std::wstring::npos, file.find(L"\\WinKelTestExe fault trace.txt")) << "the window names the file";
        ::DeleteFileW(file.c_str());
        EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(Child(trace, IDC_TRACE_KEEP), BM_GETCHECK, 0, 0)) << "off at first";
        if (keep)
            ClickId(trace, IDC_TRACE_KEEP);
        ASSERT_TRUE(Sync(trace));
        ClickId(main, IDC_PRINT);
        HWND box = m_process->WaitMessageBox(kFrameworkCaption);
        ASSERT_NE(nullptr, box) << "the fault is reported as ever";
        EXPECT_EQ(0u, MessageBoxText(box).find(L"Kel Test Application has thrown an exception !"));
        EXPECT_TRUE(PressButton(box, IDOK));
        DWORD code = 0;
        ASSERT_TRUE(m_process->WaitExit(10000, &code)) << "the harness ends";
        EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), code);
        std::string kept;
        DWORD error = 0;
        const bool there = ReadFileBytes(file, kept, error);
        EXPECT_EQ(keep, there) << "the file is written only when asked";
        if (!there)
            continue;
        const std::vector<std::string> lines = Lines(kept);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(0u, lines.front().rfind(kHeader, 0)) << "it replays";
        EXPECT_TRUE(MatchesPattern("fault: exception 0xC0000005 at Solvetric.dll+0x* during Kel_Print()", lines.back()))
            << lines.back();
        EXPECT_EQ("Kel_Print() ...", lines[lines.size() - 2]) << "the call still open";
        ::DeleteFileW(file.c_str());
    }
}
