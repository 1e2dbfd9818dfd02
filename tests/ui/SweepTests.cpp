// Both programs against an engine scripted to answer with extreme values,
// cases drawn from a seed: every case must end in a message the programs or
// the engine have words for, with no crash, no hang and no lost file.
// KEL_SWEEP_SEED and KEL_SWEEP_CASES override the seed and the number of cases;
// tools/sweep runs it long that way.
#include "ProgramTest.h"

#include "../../harness/resource.h"
#include "Texts.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kHost[] = L"WinKelExe.exe";
const wchar_t kHarness[] = L"WinKelTestExe.exe";
const int kHostNotLoadedStatic = 1002; // the host's frame holds it
const char kJob[] = "Solvetric Settings 1\n";      // a settings file no case may change
const ULONGLONG kLeaveMs = 12000;                  // the least time a leave is given
// The buttons a box may have, in the order a drawn answer counts them.
const int kAnswers[] = {IDOK, IDYES, IDNO, IDCANCEL};
const char *const kAnswerNames[] = {"OK", "Yes", "No", "Cancel"};
const wchar_t kNonAscii[] = L"Pr\u00FCfung \u65E5\u672C \u2713.kel";

// A text as one line of the printed case: line ends shown as \\n, a long one cut.
std::string Shown(const std::wstring &text)
{
    std::string shown;
    for (char c : Utf8(text.substr(0, 120)))
        shown += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
    return text.size() > 120 ? shown + "... (" + std::to_string(text.size()) + " characters)" : shown;
}

int Failures()
{
    const testing::TestResult *result = testing::UnitTest::GetInstance()->current_test_info()->result();
    int failures = 0;
    for (int i = 0; result && i < result->total_part_count(); ++i)
        failures += result->GetTestPartResult(i).failed() ? 1 : 0;
    return failures;
}

const char *const kEntryPoints[] = {
    "Kel_InitMain",        "Kel_InitStatus",         "Kel_Exit",          "Kel_CreateMain",
    "Kel_CreateStatus",    "Kel_GetWindowMain",      "Kel_GetWindowStatus", "Kel_Print",
    "Kel_ShowMain",        "Kel_ShowStatus",         "Kel_NewSettings",   "Kel_OpenSettings",
    "Kel_SaveSettings",    "Kel_OpenXMLSettings",    "Kel_GetPaperCatalog", "Kel_GetSizeOfPaperCatalog",
    "Kel_ShowTab",         "Kel_ShowGuiElement",     "Kel_ShowUIElement", "Kel_GetVersion",
    "Kel_GetSizeOfVersion", "Kel_PreTranslateMessage", "Kel_SendMessage",  "Kel_GetMainMenu",
    "Kel_GetStringSize",   "Kel_GetString"};

std::uint32_t EnvironmentNumber(const wchar_t *name, std::uint32_t fallback)
{
    wchar_t value[32] = {};
    return ::GetEnvironmentVariableW(name, value, 32) ? static_cast<std::uint32_t>(std::wcstoul(value, nullptr, 0))
                                                       : fallback;
}

// xorshift32: the same seed draws the same cases on every machine.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : m_state(seed ? seed : 1) {}
    std::uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    template <class T, std::size_t N> const T &Of(const T (&items)[N]) { return items[Below(static_cast<int>(N))]; }

private:
    std::uint32_t m_state;
};

long long ResultCode(Draw &draw)
{
    static const long long kLarge[] = {46, 100, 1000, 65535, INT_MAX, INT_MIN, 4294967295LL};
    return draw.Below(4) == 0 ? draw.Of(kLarge) : draw.Below(47) - 1; // -1 to 45
}

long long Size(Draw &draw)
{
    static const long long kSizes[] = {0, 1, -1, -2147483647LL - 1, 2147483647LL, 4294967295LL, 16777217LL};
    return draw.Of(kSizes);
}

// The ids of the engine's wording for the host's messages.
std::vector<int> EngineStringIds()
{
    std::vector<int> ids;
    for (int id = 0; id < 70000; ++id) {
        if (EngineString(id))
            ids.push_back(id);
    }
    return ids;
}

// One to four script lines of extreme answers.
std::string DrawScript(Draw &draw, const std::vector<int> &stringIds)
{
    std::string script;
    const int lines = 1 + draw.Below(4);
    for (int line = 0; line < lines; ++line) {
        const std::string id = std::to_string(stringIds[static_cast<std::size_t>(draw.Below(
            static_cast<int>(stringIds.size())))]);
        static const char *const kKinds[] = {"version", "catalog", "string"};
        const std::string kind = draw.Of(kKinds);
        const std::string target = kind == "string" ? "string " + id : kind;
        switch (draw.Below(8)) {
        case 0:
        case 1:
        case 2: script += std::string("result ") + draw.Of(kEntryPoints) + " = " + std::to_string(ResultCode(draw)); break;
        case 3: script += "size " + target + " = " + std::to_string(Size(draw)); break;
        case 4: script += "unterminated " + target; break;
        case 5: script += "text " + target + " = \"\\\"%1 %s\\\"\""; break;
        case 6: {
            static const char *const kWindows[] = {"window main null", "window status null", "window main stale",
                                                   "window status stale"};
            script += draw.Of(kWindows);
            break;
        }
        default: script += draw.Below(2) ? "menu null" : "menu invalid"; break;
        }
        script += "\n";
    }
    return script;
}

// Texts a box may begin with: the program's own (its string table, cut
// before the first insert) and the engine's, default or scripted.
class Wording {
public:
    Wording(const std::wstring &program, const std::vector<int> &engineIds)
    {
        HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_NE(nullptr, module) << Utf8(program);
        for (UINT id = 0; module && id < 65536; ++id) {
            const wchar_t *text = nullptr;
            int length = ::LoadStringW(module, id, reinterpret_cast<wchar_t *>(&text), 0);
            if (length > 0)
                Add(std::wstring(text, static_cast<std::size_t>(length)));
        }
        if (module)
            ::FreeLibrary(module);
        for (int id : engineIds)
            Add(EngineString(id));
        Add(L"\"%1 %s\""); // the scripted text
    }
    bool Knows(const std::wstring &box) const
    {
        for (const std::wstring &start : m_starts) {
            if (box.compare(0, start.size(), start) == 0)
                return true;
        }
        return false;
    }

private:
    void Add(const std::wstring &text)
    {
        std::wstring start = text.substr(0, text.find_first_of(L"%\n"));
        if (start.size() >= 3)
            m_starts.push_back(start);
    }
    std::vector<std::wstring> m_starts;
};

struct Outcome {
    int boxes = 0;
    bool faultReported = false; // the harness's own report of a fault nothing handled
    bool ended = false;
    DWORD exitCode = 0;
};

class Sweep : public ProgramTest {
protected:
    Sweep()
        : ProgramTest(L"sweep", kHost, kHostNotLoadedStatic), m_seed(EnvironmentNumber(L"KEL_SWEEP_SEED", 20261209u)),
          m_draw(m_seed), m_stringIds(EngineStringIds())
    {
    }

    // False, with the case failed, when the program cannot be started.
    bool StartCase(const std::string &heading, const wchar_t *program, const std::string &script,
               const std::wstring &args = L"")
    {
        m_script = script;
        m_case = heading + "\ncommand line: " + (args.empty() ? "(none)" : Shown(args)) + "\n" + script;
        NewSandbox();
        m_sandbox.WriteFileBytes(L"job.kel", kJob);
        m_sandbox.WriteFileBytes(kNonAscii, kJob);
        m_failuresBefore = Failures();
        m_run = Outcome();
        UseProgram(program, program == std::wstring(kHost) ? kHostNotLoadedStatic : IDC_ENGINE_FRAME);
        try {
            Start(args.empty() ? args : L" " + args, script);
        } catch (const std::exception &failure) {
            ++m_tried;
            ADD_FAILURE() << m_case << ": " << failure.what();
            return false;
        }
        return true;
    }

    // Answers, closes or confirms whatever the program shows until it waits
    // with nothing open but its frame, or ends. False when it stops answering.
    // A box asks its drawn answer, except that with confirmExit the first box
    // with a Yes, the question the exit command asked, is answered Yes.
    // Every box and dialog met is added to the case, with the answer given.
    bool Settle(const Wording &wording, bool confirmExit = false)
    {
        // A shortened, emptied, failed or replaced engine text shows as it is:
        // the programs' own tests check those boxes letter for letter.
        const bool textsAltered =
            m_script.find(" string ") != std::string::npos || m_script.find("Kel_GetString") != std::string::npos;
        const ULONGLONG start = ::GetTickCount64(), end = start + 60000;
        while (::GetTickCount64() < end) {
            if (!m_process->Running()) {
                m_run.ended = m_process->WaitExit(5000, &m_run.exitCode);
                return true;
            }
            m_process->WaitIdle(3000);
            bool acted = false;
            for (HWND window : m_process->TopLevelWindows(true)) {
                if (ClassName(window) != L"#32770")
                    continue;
                const std::wstring caption = Text(window);
                if (::GetDlgItem(window, 0xFFFF)) { // a message box
                    const std::wstring text = MessageBoxText(window);
                    ++m_run.boxes;
                    if (text.find(L"thrown an exception") != std::wstring::npos)
                        m_run.faultReported = true;
                    EXPECT_TRUE(wording.Knows(text) || textsAltered)
                        << m_case << ": a box nobody has words for: " << Utf8(text);
                    int answer = -1;
                    if (confirmExit && PressButton(window, IDYES)) {
                        confirmExit = false;
                        answer = 1;
                    } else {
                        const int first = NextAnswer(); // else the next the box has
                        for (int k = 0; k < 4 && answer < 0; ++k) {
                            if (PressButton(window, kAnswers[(first + k) % 4]))
                                answer = (first + k) % 4;
                        }
                    }
                    m_case += "box \"" + Shown(text) + "\": " + (answer < 0 ? "no button" : kAnswerNames[answer]) + "\n";
                    m_process->WaitNoWindow(window, 5000);
                    acted = true;
                } else if (caption == L"Paper Catalog" || caption == L"Enable/Disable GUI Controls" ||
                           caption == L"Kel Test Application Parameter Editor") {
                    Command(window, IDCANCEL);
                    m_case += "dialog \"" + Utf8(caption) + "\": Cancel\n";
                    m_process->WaitNoWindow(window, 5000);
                    acted = true;
                }
            }
            if (!acted) {
                HWND frame = FindMain(true);
                // The exit click was posted and the frame answers a sent message
                // first: give the question time to show before taking it as asking none.
                if (confirmExit && frame && ::GetTickCount64() - start < 3000) {
                    ::Sleep(50);
                    continue;
                }
                if (frame && Sync(frame, 10000))
                    return true;
                // A frame that goes as the program ends answers nothing either.
                if (frame && !m_process->WaitExit(5000))
                    return false; // visible, and not answering
                if (!frame)
                    ::Sleep(50); // not shown yet
            }
        }
        return false;
    }

    // The case's own answer while it has one, else a drawn one: an index of
    // OK, Yes, No, Cancel.
    int NextAnswer()
    {
        if (m_answers.empty())
            return m_draw.Below(4);
        int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    // The answers by name, separated by blanks.
    void GiveAnswers(const std::string &names)
    {
        m_answers.clear();
        for (std::size_t at = 0; at < names.size();) {
            std::size_t end = std::min(names.find(' ', at), names.size());
            for (int index = 0; index < 4; ++index) {
                if (names.compare(at, end - at, kAnswerNames[index]) == 0)
                    m_answers.push_back(index);
            }
            at = end + 1;
        }
    }

    // A button of the harness clicked as a tester would, and what it shows answered.
    bool ClickAndSettle(const Wording &wording, int button)
    {
        m_case += "click " + std::to_string(button) + "\n";
        HWND frame = FindMain(true);
        EXPECT_NE(nullptr, frame) << m_case;
        if (!frame)
            return false;
        if (button == IDC_OPEN_SETTINGS || button == IDC_SAVE_SETTINGS)
            SetText(Child(frame, IDC_FILE_NAME), button == IDC_OPEN_SETTINGS ? L"job.kel" : L"other.kel");
        ClickId(frame, button);
        bool settled = Settle(wording);
        EXPECT_TRUE(settled) << m_case << ": stopped answering";
        return settled;
    }

    // Leaves through the program's exit paths, saying Yes to the exit question;
    // once the scripted engine has vetoed a few times, the script goes and the
    // engine agrees. Enter in the host is tried too, but closes nothing. A
    // print the engine runs keeps it refusing until the print ends (2 s for
    // the sample engine's), so after eight attempts it tries on, more slowly,
    // for some seconds more.
    void Leave(const Wording &wording, bool harness)
    {
        const ULONGLONG start = ::GetTickCount64();
        for (int attempt = 0, tries = 0; (attempt < 8 || ::GetTickCount64() - start < kLeaveMs) && tries < 80 &&
                                         !m_run.ended;
             ++tries) {
            if (attempt == 3) {
                m_sandbox.WriteScript("");
                m_case += "leave: the script emptied\n";
            }
            if (attempt >= 8)
                ::Sleep(500);
            HWND frame = FindMain(true);
            ASSERT_NE(nullptr, frame) << m_case << ": no frame to leave through";
            static const int kHostExits[] = {IDOK, IDCANCEL, ID_APP_EXIT, ID_CLOSE_DOCUMENT};
            const int command = harness              ? (attempt % 2 ? IDC_QUICK_FREE : IDC_EXIT)
                                : m_draw.Below(3) == 0 ? SC_CLOSE
                                                       : m_draw.Of(kHostExits);
            const std::string at = "leave at " + std::to_string(::GetTickCount64() - start) + " ms: ";
            if (harness) {
                ClickId(frame, command);
                m_case += at + "click " + std::to_string(command) + "\n";
            } else if (command == SC_CLOSE) {
                ::PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
                m_case += at + "close box\n";
            } else {
                Command(frame, command);
                m_case += at + "command " + std::to_string(command) + "\n";
            }
            ASSERT_TRUE(Settle(wording, command != IDC_QUICK_FREE)) << m_case << ": stopped answering while leaving";
            attempt += command == IDOK ? 0 : 1;
        }
        EXPECT_TRUE(m_run.ended) << m_case << ": does not end";
    }

    // Leaves if the program still runs, then checks what every case must come to.
    void Finish(const Wording &wording, bool harness)
    {
        if (!m_run.ended)
            Leave(wording, harness);
        ++m_tried;
        bool crashed = m_run.exitCode >= 0xC0000000u && !m_run.faultReported;
        EXPECT_FALSE(crashed) << m_case << ": ended with exception code " << std::hex << m_run.exitCode;
        EXPECT_EQ(kJob, m_sandbox.ReadFileBytes(L"job.kel")) << m_case << ": a file changed";
        EXPECT_EQ(kJob, m_sandbox.ReadFileBytes(kNonAscii)) << m_case << ": a file changed";
        if (Failures() == m_failuresBefore) {
            ++m_passed;
            return;
        }
        // What the engine was asked, for the next failure to explain itself.
        std::string calls;
        std::vector<std::string> log = m_sandbox.CallLog();
        std::size_t shown = 0;
        for (auto line = log.rbegin(); line != log.rend() && shown < 40; ++line) {
            if (line->rfind("Kel_SendMessage(", 0) != 0 && line->rfind("Kel_PreTranslateMessage(", 0) != 0) {
                calls.insert(0, "  " + *line + "\n");
                ++shown;
            }
        }
        std::printf("the engine's last calls in that case, apart from the message relay:\n%s", calls.c_str());
    }
    void Report(const char *what) const
    {
        std::printf("%s: seed %u, %d cases tried, %d passed\n", what, static_cast<unsigned>(m_seed), m_tried,
                    m_passed);
    }
    int Cases(int fallback) const { return static_cast<int>(EnvironmentNumber(L"KEL_SWEEP_CASES", fallback)); }

    const std::uint32_t m_seed;
    Draw m_draw;
    const std::vector<int> m_stringIds;
    Outcome m_run;
    std::string m_script;
    std::string m_case; // all of the case so far: what started it, every click, box and answer
    std::deque<int> m_answers;
    int m_tried = 0, m_passed = 0, m_failuresBefore = 0;
};
} // namespace

TEST_F(Sweep, HostAgainstExtremeAnswers)
{
    const Wording wording(BuildPath(L"dist\\WinKelExe.exe"), m_stringIds);
    static const wchar_t *const kArguments[] = {L"", L"job.kel", L"missing.kel"};
    for (int n = 0, cases = Cases(25); n < cases; ++n) {
        const std::string script = DrawScript(m_draw, m_stringIds);
        if (!StartCase("host case " + std::to_string(n), kHost, script, m_draw.Of(kArguments)))
            continue;
        ASSERT_TRUE(Settle(wording)) << m_case << ": stopped answering";
        Finish(wording, false);
    }
    Report("host sweep");
}

TEST_F(Sweep, HarnessAgainstExtremeAnswers)
{
    const Wording wording(BuildPath(L"dist\\WinKelTestExe.exe"), m_stringIds);
    static const int kButtons[] = {
        IDC_QUICK_START, IDC_QUICK_START, IDC_QUICK_FREE, IDC_LOAD, IDC_FREE, IDC_INIT_MAIN, IDC_CREATE_MAIN,
        IDC_SHOW_MAIN, IDC_HIDE_MAIN, IDC_INIT_STATUS, IDC_CREATE_STATUS, IDC_SHOW_STATUS, IDC_HIDE_STATUS,
        IDC_GET_WINDOW_MAIN, IDC_GET_WINDOW_STATUS, IDC_PRINT, IDC_VERSION, IDC_PAPER_CATALOG, IDC_NEW_SETTINGS,
        IDC_OPEN_SETTINGS, IDC_SAVE_SETTINGS, IDC_APPLY_XML, IDC_KEL_EXIT, IDC_SHOW_GUI, IDC_PAGE_FILES,
        IDC_PAGE_COLOR_MAPPING};
    for (int n = 0, cases = Cases(20); n < cases; ++n) {
        // Now and then the engine is freed while its windows live.
        const bool careless = m_draw.Below(6) == 0;
        const std::string script = DrawScript(m_draw, m_stringIds) + (careless ? "keepwindows\n" : "");
        if (!StartCase("harness case " + std::to_string(n), kHarness, script, m_draw.Below(2) ? L"job.kel" : L""))
            continue;
        ASSERT_TRUE(Settle(wording)) << m_case << ": stopped answering";
        for (int click = 0, clicks = 3 + m_draw.Below(6); click < clicks && !m_run.ended; ++click)
            ASSERT_TRUE(ClickAndSettle(wording, m_draw.Of(kButtons)));
        Finish(wording, true);
    }
    // And once for certain: the engine freed while its windows live.
    ASSERT_TRUE(StartCase("harness: Free answered No, the engine's windows left behind", kHarness,
                      "keepwindows\n"));
    ASSERT_TRUE(Settle(wording));
    HWND frame = FindMain(true);
    ASSERT_NE(nullptr, frame);
    ClickId(frame, IDC_QUICK_START);
    ASSERT_TRUE(WaitText(Child(frame, IDC_STATUS_STATE), L"Created", 20000)) << m_case;
    ClickId(frame, IDC_FREE);
    m_process->AnswerMessageBox(L"-== KEL TEST APPLICATION ==-", IDNO);
    ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ASSERT_TRUE(Settle(wording));
    EXPECT_TRUE(m_run.faultReported) << m_case << ": the harness reports the fault";
    Finish(wording, true);
    Report("harness sweep");
}

// Cases that long sweeps found, kept whole: each box gets the answer it got
// then, and the leave draws from the tests' seed.
TEST_F(Sweep, CasesLongSweepsFound)
{
    const Wording wording(BuildPath(L"dist\\WinKelTestExe.exe"), m_stringIds);
    struct Kept {
        const char *found;
        const wchar_t *args;
        const char *script;
        std::vector<int> clicks;
        const char *answers;
    } kept[] = {
        // Both print, and the leave gave up before the 2 s print ended.
        {"tools/sweep 300 777, harness case 297", L"job.kel",
         "size version = 1\nsize string 17276 = -2147483648\n",
         {IDC_NEW_SETTINGS, IDC_QUICK_START, IDC_QUICK_START, IDC_PRINT, IDC_NEW_SETTINGS, IDC_HIDE_STATUS},
         "OK OK OK OK OK OK OK Cancel OK Cancel OK Cancel OK No"},
        {"tools/sweep 1000 9001, harness case 232", L"job.kel", "menu null\n",
         {IDC_QUICK_START, IDC_FREE, IDC_NEW_SETTINGS, IDC_PAPER_CATALOG, IDC_OPEN_SETTINGS, IDC_QUICK_START,
          IDC_PAGE_COLOR_MAPPING, IDC_PRINT},
         "OK Cancel OK OK OK OK OK Cancel OK Cancel OK Cancel OK Yes OK"},
    };
    for (const Kept &k : kept) {
        if (!StartCase(k.found, kHarness, k.script, k.args))
            continue;
        GiveAnswers(k.answers);
        ASSERT_TRUE(Settle(wording)) << m_case << ": stopped answering";
        for (std::size_t click = 0; click < k.clicks.size() && !m_run.ended; ++click)
            ASSERT_TRUE(ClickAndSettle(wording, k.clicks[click]));
        Finish(wording, true);
    }
    Report("cases long sweeps found");
}

TEST_F(Sweep, CommandLines)
{
    const Wording hostWording(BuildPath(L"dist\\WinKelExe.exe"), m_stringIds);
    const Wording harnessWording(BuildPath(L"dist\\WinKelTestExe.exe"), m_stringIds);
    const std::wstring nonAscii = kNonAscii;
    const std::wstring arguments[] = {L"",
                                      L"x",
                                      std::wstring(32000, L'x'),
                                      L"\"job.kel\"",
                                      L"\"job.kel",
                                      L"\"\"",
                                      L"\"" + nonAscii + L"\"",
                                      nonAscii};
    for (const wchar_t *program : {kHost, kHarness}) {
        const bool harness = program == std::wstring(kHarness);
        const Wording &wording = harness ? harnessWording : hostWording;
        for (const std::wstring &args : arguments) {
            if (!StartCase(Utf8(program) + " with a command line", program, "", args))
                continue;
            ASSERT_TRUE(Settle(wording)) << m_case << ": stopped answering";
            Finish(wording, harness);
        }
    }
    Report("command lines");
}
