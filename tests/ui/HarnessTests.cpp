// WinKelTestExe as a tester meets it: started in a fresh folder beside the
// sample engine, driven from outside and checked against the engine's log.
#include "UiDriver.h"

#include "../../harness/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kProgram[] = L"WinKelTestExe.exe";
const wchar_t kFrameworkCaption[] = L"WinKelTestExe";
const wchar_t kHarnessCaption[] = L"-== KEL TEST APPLICATION ==-";
const wchar_t kEditorCaption[] = L"Kel Test Application Parameter Editor";
const wchar_t kNotLoaded[] = L"Function was not loaded";
const wchar_t kConfirmExit[] = L"Are you sure you want to exit?";
const wchar_t kCloseDocument[] = L"Closing the current document will exit the application.\nDo you want to continue?";
const char kFreed[] = "detach by FreeLibrary";
const int kToggles[] = {IDC_PAGE_PRINTERS,       IDC_PAGE_FILES,
                        IDC_PAGE_JOB_SETUP_1,    IDC_PAGE_JOB_SETUP_2,
                        IDC_PAGE_CUSTOM_OPTIONS, IDC_PAGE_PAPER_SUBSTITUTIONS,
                        IDC_PAGE_COLOR_MAPPING};

class Harness : public testing::Test {
protected:
    void NewSandbox()
    {
        m_process.reset();
        m_sandbox = Sandbox(L"harness");
    }
    void Start(const std::wstring &tail = L"", const char *script = "nosplash\n")
    {
        m_sandbox.AddProgram(kProgram);
        m_sandbox.AddEngine();
        m_sandbox.WriteScript(script);
        m_process = std::make_unique<Process>(Process::Start(m_sandbox, kProgram, tail, {}, true));
    }
    // The main dialog is the one holding the engine's frame 1035.
    HWND FindMain(bool visibleOnly) const
    {
        for (HWND window : m_process->TopLevelWindows(visibleOnly)) {
            if (ClassName(window) == L"#32770" && ::GetDlgItem(window, IDC_ENGINE_FRAME))
                return window;
        }
        return nullptr;
    }
    HWND WaitMain()
    {
        HWND main = nullptr;
        WaitFor([&] { return (main = FindMain(true)) != nullptr; }, 10000);
        EXPECT_NE(nullptr, main) << "the main dialog appears";
        return main;
    }
    // Starts the program and loads the engine with the Load button.
    HWND StartLoaded(const char *script = "nosplash\n")
    {
        Start(L"", script);
        HWND main = WaitMain();
        if (main) {
            Click(Child(main, IDC_LOAD));
            EXPECT_TRUE(WaitFor([&] { return Text(Child(main, IDC_LIBRARY_STATE)) == L"LOADED"; }, 5000))
                << "Load gives LOADED";
        }
        return main;
    }

    std::wstring AnswerBox(const wchar_t *caption, int button = IDOK)
    {
        HWND box = m_process->WaitMessageBox(caption);
        if (!box)
            return L"(no message box captioned " + std::wstring(caption) + L")";
        std::wstring text = MessageBoxText(box);
        EXPECT_TRUE(PressButton(box, button));
        EXPECT_TRUE(m_process->WaitNoWindow(box, 5000));
        return text;
    }
    bool NoBox() const
    {
        return !m_process->FindMessageBox(kFrameworkCaption) && !m_process->FindMessageBox(kHarnessCaption);
    }
    HWND FindEditor() const
    {
        for (HWND window : m_process->TopLevelWindows(true)) {
            if (ClassName(window) == L"#32770" && Text(window) == kEditorCaption)
                return window;
        }
        return nullptr;
    }
    std::vector<std::string> Calls(const char *prefix) const { return m_sandbox.CallLogMatching(prefix); }

    Sandbox m_sandbox{L"harness"};
    std::unique_ptr<Process> m_process;
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
    enum Trigger { Escape, CloseBox, ExitButton, ExitCommand, CloseCommand, EnterInFileName, EnterInXml };
    struct Case {
        const char *name;
        bool load;
        const char *script;
        Trigger trigger;
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
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        NewSandbox();
        std::string script = std::string("nosplash\n") + c.script + "\n";
        HWND main = c.load ? StartLoaded(script.c_str()) : (Start(L"", script.c_str()), WaitMain());
        ASSERT_NE(nullptr, main);
        switch (c.trigger) {
        case Escape: PressKey(main, VK_ESCAPE); break;
        case CloseBox: ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        case ExitButton: ClickId(main, IDC_EXIT); break;
        case ExitCommand: Command(main, ID_APP_EXIT); break;
        case CloseCommand: Command(main, ID_CLOSE_DOCUMENT); break;
        case EnterInFileName: PressKey(Child(main, IDC_FILE_NAME), VK_RETURN); break;
        case EnterInXml: PressKey(Child(main, IDC_XML), VK_RETURN); break;
        }
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
    Start();
    HWND main = WaitMain();
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
    HWND main = StartLoaded("nosplash\nresult Kel_ShowTab = 0\n");
    ASSERT_NE(nullptr, main);
    const int codes[] = {433, 434, 435, 519, 436, 437, 438};
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

    m_sandbox.WriteScript("nosplash\nresult Kel_ShowTab = 20\n");
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
    Start();
    HWND main = WaitMain();
    ASSERT_NE(nullptr, main);
    KeyDown(Child(main, IDC_FILE_NAME), VK_SHIFT);
    Click(Child(main, IDC_KEL_EXIT));
    EXPECT_EQ(kNotLoaded, AnswerBox(kHarnessCaption)) << "the slot test comes before the editor";
    EXPECT_EQ(nullptr, FindEditor());

    Click(Child(main, IDC_LOAD));
    EXPECT_TRUE(WaitFor([&] { return Text(Child(main, IDC_LIBRARY_STATE)) == L"LOADED"; }, 5000));
    EXPECT_EQ(nullptr, FindEditor()) << "Load opens no editor";
    Click(Child(main, IDC_KEL_EXIT));
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_Exit(0) = 0", 5000)) << "Load reset the key state";
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_MAIN_STATE)));
    EXPECT_EQ(L"NULL", Text(Child(main, IDC_STATUS_STATE)));

    m_sandbox.WriteScript("nosplash\nresult Kel_Exit = 22\n");
    Click(Child(main, IDC_KEL_EXIT));
    EXPECT_EQ(L"[Error returned from KELM.DLL]\n\nDescription:\nUnable to exit while printing",
              AnswerBox(kHarnessCaption));
}

TEST_F(Harness, LoadWithoutALibraryOrWithAnExportMissing)
{
    struct Case {
        const wchar_t *variant; // null: no library
        const wchar_t *box;
        const wchar_t *state;
    } cases[] = {
        {nullptr, L"[Error returned from KELM.DLL]\n\nDescription:\nDll failed to load.", L"NULL"},
        {L"without-Kel_Print", L"[Error returned from KELM.DLL]\n\nDescription:\nOne or more dll functions failed to load.",
         L"NULL"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variant ? Utf8(c.variant) : "no library");
        NewSandbox();
        m_sandbox.AddProgram(kProgram);
        if (c.variant)
            m_sandbox.AddEngine(c.variant);
        m_process = std::make_unique<Process>(Process::Start(m_sandbox, kProgram));
        HWND main = WaitMain();
        ASSERT_NE(nullptr, main);
        Click(Child(main, IDC_LOAD));
        EXPECT_EQ(c.box, AnswerBox(kHarnessCaption));
        EXPECT_EQ(c.state, Text(Child(main, IDC_LIBRARY_STATE))) << "a failed load leaves the box as it was";
        if (c.variant) {
            // The library stays loaded: what it has still answers.
            Click(Child(main, IDC_KEL_EXIT));
            EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_Exit(0) = 0", 5000));
        }
    }
}

TEST_F(Harness, HelpAsksTheLoadedEngine)
{
    Start();
    HWND main = WaitMain();
    ASSERT_NE(nullptr, main);
    PressKey(Child(main, IDC_FILE_NAME), VK_F1);
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(NoBox()) << "without the engine help does nothing";

    Click(Child(main, IDC_LOAD));
    EXPECT_TRUE(WaitFor([&] { return Text(Child(main, IDC_LIBRARY_STATE)) == L"LOADED"; }, 5000));
    PressKey(Child(main, IDC_FILE_NAME), VK_F1);
    EXPECT_TRUE(WaitCallLogPrefix(
        m_sandbox, "Kel_OpenXMLSettings(\"<Printer_Settings> <Help> Introduction </Help> </Printer_Settings>\", ->",
        5000));
    EXPECT_TRUE(Sync(main));
    EXPECT_TRUE(NoBox()) << "the result is not reported";
}
