// The framework as a user meets it: the rig program driven from outside.
#include "ProgramTest.h"

#include "../rig/resource.h"

using namespace uidriver;

namespace {
const wchar_t kBoxCaption[] = L"KelRig";

class Rig : public ProgramTest {
protected:
    // The rig's dialog is the one holding the line about its creation.
    Rig() : ProgramTest(L"rig", L"KelRig.exe", IDC_CREATION) {}

    // Reads a box of the rig, answers it and returns its text.
    std::wstring AnswerBox(int button = IDOK) { return m_process->AnswerMessageBox(kBoxCaption, button); }
    std::wstring TextOf(HWND dialog, int id) { return Text(Child(dialog, id)); }
};
} // namespace

TEST_F(Rig, DialogShowsWhatItsInitialisationBuilt)
{
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"Creation seen before initialisation", TextOf(dialog, IDC_CREATION))
        << "the window procedure sees the window's creation messages";
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta", L"Gamma"}), ComboItems(Child(dialog, IDC_CHOICES)))
        << "the dialog's initialisation data fills the combo box";
    EXPECT_EQ(0, ComboSelection(Child(dialog, IDC_CHOICES)));
    EXPECT_EQ(529u, TextOf(dialog, IDC_LONG_TEXT).size()) << "a string-table entry longer than any fixed buffer";
}

TEST_F(Rig, MessageMapRunsHandlersAndRoutesTheRestToTheApplication)
{
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);

    Click(Child(dialog, IDC_COUNT));
    Click(Child(dialog, IDC_COUNT));
    EXPECT_TRUE(WaitText(Child(dialog, IDC_CLICKS), L"Clicks: 2")) << "saw " << Utf8(TextOf(dialog, IDC_CLICKS));

    struct Case {
        int command;
        const wchar_t *box;       // the application's answer, or null
        const wchar_t *clicksText; // the dialog's answer, or null
    } cases[] = {
        {IDM_APP_COMMAND, L"The application handled the command.", nullptr},
        {IDM_DIALOG_COMMAND, nullptr, L"Dialog command"},
    };
    for (const Case &c : cases) {
        Command(dialog, c.command);
        if (c.box) {
            EXPECT_EQ(c.box, AnswerBox()) << "command " << c.command;
        }
        if (c.clicksText) {
            EXPECT_TRUE(WaitText(Child(dialog, IDC_CLICKS), c.clicksText)) << "command " << c.command;
        }
    }
    EXPECT_EQ(nullptr, m_process->FindMessageBox(kBoxCaption)) << "the dialog's own command shows no box";
}

TEST_F(Rig, HelpKeyReachesTheApplication)
{
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);
    PressKey(Child(dialog, IDC_INPUT), VK_F1);
    EXPECT_EQ(L"The application handled help.", AnswerBox());
}

TEST_F(Rig, PreTranslationSeesQueuedKeysBeforeTheControls)
{
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);
    HWND input = Child(dialog, IDC_INPUT);
    PressKey(input, 'Q'); // the dialog keeps Q
    PressKey(input, 'A');
    EXPECT_TRUE(WaitText(Child(dialog, IDC_INPUT), L"a")) << "saw " << Utf8(Text(input));
    EXPECT_TRUE(WaitText(Child(dialog, IDC_KEYS), L"Keys: 2")) << "saw " << Utf8(TextOf(dialog, IDC_KEYS));
}

TEST_F(Rig, FrameworkMessageBoxIsCaptionedWithTheProgramName)
{
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);
    SetText(Child(dialog, IDC_INPUT), L"hello, wörld");
    Click(Child(dialog, IDC_BOX));
    EXPECT_EQ(L"Text: hello, wörld", AnswerBox());
    Click(Child(dialog, IDC_WAIT_BUTTON));
    EXPECT_EQ(L"Waiting", AnswerBox()) << "the wait cursor is active inside its handler";
    EXPECT_TRUE(m_process->Running());
}

TEST_F(Rig, ExceptionFromAHandlerEndsTheRunAndReachesTheApplication)
{
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);
    Click(Child(dialog, IDC_THROW));
    EXPECT_EQ(L"The dialog run ended with an exception: thrown by a handler", AnswerBox());
    DWORD code = 99;
    EXPECT_TRUE(m_process->WaitExit(5000, &code));
    EXPECT_EQ(0u, code);
}

TEST_F(Rig, ExceptionFromInitInstanceIsReportedOnceAndEndsWithFailure)
{
    Start(L" /throw");
    HWND box = m_process->WaitMessageBox(kBoxCaption);
    ASSERT_NE(nullptr, box) << "the framework reports it";
    EXPECT_TRUE(MessageBoxHasIcon(box));
    EXPECT_EQ(L"An exception escaped the rig's start.", AnswerBox());
    DWORD code = 0;
    ASSERT_TRUE(m_process->WaitExit(5000, &code)) << "the program ends once the report is read";
    EXPECT_EQ(1u, code);
}

TEST_F(Rig, FaultInCodeThatIsGoneIsReportedAndEndsTheProgram)
{
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);
    Click(Child(dialog, IDC_FAULT));
    HWND box = m_process->WaitMessageBox(kBoxCaption);
    ASSERT_NE(nullptr, box) << "the report appears";
    EXPECT_TRUE(MessageBoxHasIcon(box)) << "the report carries an icon";
    EXPECT_EQ(L"The rig ran into code that is gone.", AnswerBox());
    DWORD code = 0;
    ASSERT_TRUE(m_process->WaitExit(5000, &code)) << "the program ends once the report is read";
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), code);
}

TEST_F(Rig, EnterAndEscapeEndTheModalRun)
{
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key == VK_RETURN ? "Enter" : "Escape");
        HWND dialog = StartMain();
        ASSERT_NE(nullptr, dialog);
        PressKey(Child(dialog, IDC_INPUT), key);
        EXPECT_TRUE(m_process->WaitExit(5000));
    }
}

TEST_F(Rig, EngineFramedThroughTheLoader)
{
    Start(L" /engine");
    HWND dialog = m_process->WaitWindow(L"#32770", nullptr);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(WaitText(Child(dialog, IDC_ENGINE_STATE), L"Engine start: 0"))
        << "saw " << Utf8(TextOf(dialog, IDC_ENGINE_STATE));
    EXPECT_TRUE(WaitCallLogPrefix(m_sandbox, "Kel_ShowStatus(5, 0, ", 5000));
    std::vector<std::string> init = m_sandbox.CallLogMatching("Kel_InitMain(");
    ASSERT_EQ(1u, init.size());
    EXPECT_NE(std::string::npos, init[0].find(") = 0"));

    m_sandbox.WriteScript("result Kel_Exit = 22\n");
    PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_Exit(0) = 22", 5000));
    EXPECT_FALSE(m_process->WaitExit(300)) << "the engine's refusal keeps the dialog open";

    m_sandbox.WriteScript("");
    PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(WaitCallLogLine(m_sandbox, "Kel_Exit(0) = 0", 5000));
    EXPECT_TRUE(m_process->WaitExit(5000));
}

TEST_F(Rig, FileDialogHandsBackTheChosenPath)
{
    m_sandbox.WriteFileBytes(L"notes.txt", "some notes");
    HWND dialog = StartMain();
    ASSERT_NE(nullptr, dialog);

    // Cancel first: nothing chosen.
    Click(Child(dialog, IDC_OPEN));
    HWND open = m_process->WaitWindow(L"#32770", L"Open");
    ASSERT_NE(nullptr, open) << "the open dialog appears";
    Click(Child(open, IDCANCEL));
    EXPECT_TRUE(m_process->WaitNoWindow(open, 5000));
    EXPECT_EQ(L"", TextOf(dialog, IDC_CHOSEN));

    Click(Child(dialog, IDC_OPEN));
    open = m_process->WaitWindow(L"#32770", L"Open");
    ASSERT_NE(nullptr, open);
    AnswerFileDialog(open, m_sandbox.Path(L"notes.txt"));
    EXPECT_TRUE(WaitText(Child(dialog, IDC_CHOSEN), m_sandbox.Path(L"notes.txt")))
        << "saw " << Utf8(TextOf(dialog, IDC_CHOSEN));
}
