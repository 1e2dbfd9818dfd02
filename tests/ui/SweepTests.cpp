// Both programs against an engine scripted to answer with extreme values,
// cases drawn from a seed: every case must end in a message the programs or
// the engine have words for, with no crash, no hang and no lost file.
// KEL_SWEEP_SEED and KEL_SWEEP_CASES override the seed and the number of cases;
// tools/sweep runs it long that way.
#include "UiDriver.h"

#include "../../harness/resource.h"
#include "Texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace uidriver;

namespace {
const wchar_t kHost[] = L"WinKelExe.exe";
const wchar_t kHarness[] = L"WinKelTestExe.exe";
const int kHostNotLoadedStatic = 1002; // the host's frame holds it
const char kJob[] = "Solvetric Settings 1\n";      // a settings file no case may change
const wchar_t kNonAscii[] = L"Pr\u00FCfung \u65E5\u672C \u2713.kel";

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
    std::string script = "nosplash\n";
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

class Sweep : public testing::Test {
protected:
    Sweep() : m_seed(EnvironmentNumber(L"KEL_SWEEP_SEED", 20261209u)), m_draw(m_seed), m_stringIds(EngineStringIds()) {}

    void Start(const wchar_t *program, const std::string &script, const std::wstring &args = L"")
    {
        m_process.reset();
        m_sandbox = std::make_unique<Sandbox>(L"sweep");
        m_sandbox->AddProgram(program);
        m_sandbox->AddEngine();
        m_sandbox->WriteScript(script);
        m_sandbox->WriteFileBytes(L"job.kel", kJob);
        m_sandbox->WriteFileBytes(kNonAscii, kJob);
        m_failuresBefore = Failures();
        m_process = std::make_unique<Process>(Process::Start(*m_sandbox, program, args));
        m_run = Outcome();
    }

    // Answers, closes or confirms whatever the program shows until it waits
    // with nothing open but its frame, or ends. False when it stops answering.
    // A box asks its drawn answer, except that with confirmExit the first box
    // with a Yes, the question the exit command asked, is answered Yes.
    bool Settle(const Wording &wording, const std::string &context, bool confirmExit = false)
    {
        // A shortened, emptied, failed or replaced engine text shows as it is:
        // the programs' own tests check those boxes letter for letter.
        const bool textsAltered =
            context.find(" string ") != std::string::npos || context.find("Kel_GetString") != std::string::npos;
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
                        << context << ": a box nobody has words for: " << Utf8(text);
                    if (confirmExit && PressButton(window, IDYES)) {
                        confirmExit = false;
                    } else {
                        static const int kAnswers[] = {IDOK, IDYES, IDNO, IDCANCEL};
                        const int first = m_draw.Below(4); // the drawn answer, else the next the box has
                        for (int k = 0; k < 4 && !PressButton(window, kAnswers[(first + k) % 4]); ++k) {
                        }
                    }
                    m_process->WaitNoWindow(window, 5000);
                    acted = true;
                } else if (caption == L"Paper Catalog" || caption == L"Enable/Disable GUI Controls" ||
                           caption == L"Kel Test Application Parameter Editor") {
                    Command(window, IDCANCEL);
                    m_process->WaitNoWindow(window, 5000);
                    acted = true;
                }
            }
            if (!acted) {
                HWND frame = Frame();
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

    HWND Frame() const
    {
        for (HWND window : m_process->TopLevelWindows(true)) {
            if (ClassName(window) == L"#32770" &&
                (::GetDlgItem(window, kHostNotLoadedStatic) || ::GetDlgItem(window, IDC_ENGINE_FRAME)))
                return window;
        }
        return nullptr;
    }

    // Leaves through the program's exit paths, saying Yes to the exit question;
    // once the scripted engine has vetoed a few times, the script goes and the
    // engine agrees. Enter in the host is tried too, but closes nothing.
    void Leave(const Wording &wording, const std::string &context, bool harness)
    {
        for (int attempt = 0, tries = 0; attempt < 8 && tries < 40 && !m_run.ended; ++tries) {
            if (attempt == 3)
                m_sandbox->WriteScript("nosplash\n");
            HWND frame = Frame();
            ASSERT_NE(nullptr, frame) << context << ": no frame to leave through";
            static const int kHostExits[] = {IDOK, IDCANCEL, ID_APP_EXIT, ID_CLOSE_DOCUMENT};
            const int command = harness              ? (attempt % 2 ? IDC_QUICK_FREE : IDC_EXIT)
                                : m_draw.Below(3) == 0 ? SC_CLOSE
                                                       : m_draw.Of(kHostExits);
            if (harness)
                ClickId(frame, command);
            else if (command == SC_CLOSE)
                ::PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                Command(frame, command);
            ASSERT_TRUE(Settle(wording, context, command != IDC_QUICK_FREE))
                << context << ": stopped answering while leaving";
            attempt += command == IDOK ? 0 : 1;
        }
        EXPECT_TRUE(m_run.ended) << context << ": does not end";
    }

    // Leaves if the program still runs, then checks what every case must come to.
    void Finish(const Wording &wording, const std::string &context, bool harness)
    {
        if (!m_run.ended)
            Leave(wording, context, harness);
        ++m_tried;
        bool crashed = m_run.exitCode >= 0xC0000000u && !m_run.faultReported;
        EXPECT_FALSE(crashed) << context << ": ended with exception code " << std::hex << m_run.exitCode;
        EXPECT_EQ(kJob, m_sandbox->ReadFileBytes(L"job.kel")) << context << ": a file changed";
        EXPECT_EQ(kJob, m_sandbox->ReadFileBytes(kNonAscii)) << context << ": a file changed";
        if (Failures() == m_failuresBefore)
            ++m_passed;
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
    std::unique_ptr<Sandbox> m_sandbox;
    std::unique_ptr<Process> m_process;
    Outcome m_run;
    int m_tried = 0, m_passed = 0, m_failuresBefore = 0;
};
} // namespace

TEST_F(Sweep, HostAgainstExtremeAnswers)
{
    const Wording wording(BuildPath(L"dist\\WinKelExe.exe"), m_stringIds);
    static const wchar_t *const kArguments[] = {L"", L"job.kel", L"missing.kel"};
    for (int n = 0, cases = Cases(25); n < cases; ++n) {
        const std::string script = DrawScript(m_draw, m_stringIds);
        const std::wstring args = m_draw.Of(kArguments);
        const std::string context = "host case " + std::to_string(n) + " [" + Utf8(args) + "]\n" + script;
        Start(kHost, script, args);
        ASSERT_TRUE(Settle(wording, context)) << context << ": stopped answering";
        Finish(wording, context, false);
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
        std::string context = "harness case " + std::to_string(n) + "\n" + script;
        Start(kHarness, script, m_draw.Below(2) ? L"job.kel" : L"");
        ASSERT_TRUE(Settle(wording, context)) << context << ": stopped answering";
        for (int click = 0, clicks = 3 + m_draw.Below(6); click < clicks && !m_run.ended; ++click) {
            const int button = m_draw.Of(kButtons);
            context += "click " + std::to_string(button) + "\n";
            HWND frame = Frame();
            ASSERT_NE(nullptr, frame) << context;
            if (button == IDC_OPEN_SETTINGS || button == IDC_SAVE_SETTINGS)
                SetText(Child(frame, IDC_FILE_NAME), button == IDC_OPEN_SETTINGS ? L"job.kel" : L"other.kel");
            ClickId(frame, button);
            ASSERT_TRUE(Settle(wording, context)) << context << ": stopped answering";
        }
        Finish(wording, context, true);
    }
    // And once for certain: the engine freed while its windows live.
    const std::string context = "harness: Free answered No, the engine's windows left behind";
    Start(kHarness, "nosplash\nkeepwindows\n");
    ASSERT_TRUE(Settle(wording, context));
    HWND frame = Frame();
    ASSERT_NE(nullptr, frame);
    ClickId(frame, IDC_QUICK_START);
    ASSERT_TRUE(WaitFor([&] { return Text(Child(frame, IDC_STATUS_STATE)) == L"Created"; }, 20000)) << context;
    ClickId(frame, IDC_FREE);
    m_process->AnswerMessageBox(L"-== KEL TEST APPLICATION ==-", IDNO);
    ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ASSERT_TRUE(Settle(wording, context));
    EXPECT_TRUE(m_run.faultReported) << context << ": the harness reports the fault";
    Finish(wording, context, true);
    Report("harness sweep");
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
            const std::string context = Utf8(program) + " with a command line of " + std::to_string(args.size()) +
                                        " characters: " + Utf8(args.substr(0, 40));
            Start(program, "nosplash\n", args);
            ASSERT_TRUE(Settle(wording, context)) << context << ": stopped answering";
            Finish(wording, context, harness);
        }
    }
    Report("command lines");
}
