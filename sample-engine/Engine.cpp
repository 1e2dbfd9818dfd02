#include "Engine.h"

#include "CallLog.h"
#include "Menu.h"
#include "PageTable.h"
#include "EngineContract.h"
#include "XmlSettings.h"

#include <commctrl.h>

#include <algorithm>

namespace {
const int kDefaultWidth = 820, kDefaultHeight = 560;
const int kDefaultPrintTime = 2000;
const UINT_PTR kPrintTimer = 1;
const int kLongestUnterminated = 1000000;
const wchar_t kProduct[] = L"Solvetric";

bool IsShowCommand(int command) { return command >= SW_HIDE && command <= SW_MAX; }

// Blanks around the name and one pair of double quotes around it go.
std::wstring Unquote(const std::wstring &name)
{
    std::size_t first = name.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return L"";
    std::wstring text = name.substr(first, name.find_last_not_of(L' ') - first + 1);
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        text = text.substr(1, text.size() - 2);
    return text;
}

std::wstring FileNameOf(const std::wstring &path)
{
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A value that is certainly no menu of this process.
HMENU NoMenu()
{
    std::uintptr_t value = 0xDEAD0;
    while (::IsMenu(reinterpret_cast<HMENU>(value)))
        value += 0x10;
    return reinterpret_cast<HMENU>(value);
}

std::wstring PagesText(int pages) { return std::to_wstring(pages) + (pages == 1 ? L" page" : L" pages"); }
} // namespace

Engine::Engine(ScriptSource &scripts) : m_scripts(scripts) { TearDown(); }

// The library may be freed without Kel_Exit: its windows must not outlive its
// code, unless the script asks for the careless engine a host must survive.
Engine::~Engine()
{
    if (m_scripts.Current()->keepWindows) {
        m_splash.release();
        m_status.release();
        m_main.release();
    }
    TearDown();
}

void Engine::TearDown()
{
    m_print.reset();
    m_splash.reset();
    m_status.reset();
    m_main.reset();
    m_menu.reset();
    m_menuGiven = nullptr;
    m_statusOwner = nullptr;
    m_statusOffset.reset();
    m_initialised = m_statusInitialised = false;
    m_messageHook = nullptr;
    m_titleHook = nullptr;
    m_settings = DefaultSettings();
    m_name = L"Untitled";
    m_path.clear();
    m_dirty = false;
    m_statusText = L"Ready";
}

int Engine::MainWindowCheck() const
{
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    return HasMain() ? KEL_OK : KEL_WINDOW_NOT_CREATED;
}

int Engine::InitMain(KelMessageHook messageHook, KelTitleHook titleHook)
{
    if (m_initialised)
        return KEL_INIT_CALLED_TWICE;
    m_initialised = true;
    m_messageHook = messageHook;
    m_titleHook = titleHook;
    return KEL_OK;
}

int Engine::InitStatus()
{
    if (!m_initialised)
        return KEL_INIT_MAIN_FIRST;
    if (m_statusInitialised)
        return KEL_INIT_CALLED_TWICE;
    m_statusInitialised = true;
    return KEL_OK;
}

int Engine::Exit(int force)
{
    if (!m_initialised)
        return KEL_OK;
    if (IsPrinting() && !force)
        return KEL_UNABLE_TO_EXIT_WHILE_PRINTING;
    TearDown();
    return KEL_OK;
}

int Engine::CreateMain(HWND parent, int splash, const wchar_t *callerTag)
{
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    if (HasMain())
        return KEL_CREATE_CALLED_TWICE;
    if (!::IsWindow(parent) || (splash != 0 && splash != 1))
        return KEL_INVALID_PARAMETER;
    if (!m_classes)
        m_classes.emplace();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    if (!m_classes->Registered() || !::InitCommonControlsEx(&controls))
        return KEL_CREATE_FAILED;

    std::shared_ptr<const Script> script = m_scripts.Current();
    std::pair<int, int> size = script->mainSize.value_or(std::make_pair(kDefaultWidth, kDefaultHeight));
    auto main = std::make_unique<MainWindow>(*m_classes, static_cast<MainWindowEvents &>(*this));
    unique_hmenu menu = BuildMainMenu();
    if (!menu || !main->Create(parent, size.first, size.second))
        return KEL_CREATE_FAILED;
    m_main = std::move(main);
    m_menu = std::move(menu);
    m_menuGiven = nullptr;
    m_main->ShowSettings(m_settings);
    m_main->ShowDocument(m_name, m_dirty);
    m_main->ShowMessage(m_statusText);

    if (splash && !script->noSplash) {
        auto window = std::make_unique<SplashWindow>();
        if (window->Create(m_classes->splash, parent, callerTag ? callerTag : L""))
            m_splash = std::move(window);
    }
    CallTitleHook();
    return KEL_OK;
}

int Engine::CreateStatus(HWND parent)
{
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    if (!m_statusInitialised)
        return KEL_STATUS_INIT_NOT_CALLED;
    if (HasStatus())
        return KEL_CREATE_CALLED_TWICE;
    if (!::IsWindow(parent))
        return KEL_INVALID_PARAMETER;
    if (!m_classes)
        m_classes.emplace();
    auto status = std::make_unique<StatusWindow>();
    if (!m_classes->Registered() || !status->Create(m_classes->status, parent))
        return KEL_CREATE_FAILED;
    status->SetText(m_statusText);
    m_status = std::move(status);
    m_statusOwner = parent;
    m_statusOffset.reset();
    return KEL_OK;
}

namespace {
// The handle of a window made and destroyed at once: a caller must not trust it.
HWND StaleWindow()
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(window);
    return window;
}
} // namespace

int Engine::GetWindowMain(Out<HWND> &window)
{
    if (window.Missing())
        return KEL_INVALID_PARAMETER;
    if (m_scripts.Current()->staleMainWindow) {
        window.Set(StaleWindow());
        return KEL_OK;
    }
    bool scriptedNull = m_scripts.Current()->nullMainWindow;
    int result = scriptedNull ? KEL_OK : MainWindowCheck();
    window.Set(result == KEL_OK && !scriptedNull ? m_main->Handle() : nullptr);
    return result;
}

int Engine::GetWindowStatus(Out<HWND> &window)
{
    if (window.Missing())
        return KEL_INVALID_PARAMETER;
    if (m_scripts.Current()->staleStatusWindow) {
        window.Set(StaleWindow());
        return KEL_OK;
    }
    bool scriptedNull = m_scripts.Current()->nullStatusWindow;
    int result = scriptedNull ? KEL_OK : !m_initialised ? KEL_INIT_NOT_CALLED : HasStatus() ? KEL_OK : KEL_WINDOW_NOT_CREATED;
    window.Set(result == KEL_OK && !scriptedNull ? m_status->Handle() : nullptr);
    return result;
}

int Engine::Print()
{
    if (int check = MainWindowCheck())
        return check;
    return IsPrinting() ? KEL_GENERAL_ERROR : StartPrint();
}

int Engine::ShowMain(int showCommand, int x, int y)
{
    if (int check = MainWindowCheck())
        return check;
    if (!IsShowCommand(showCommand))
        return KEL_INVALID_PARAMETER;
    RECT client = {};
    ::GetClientRect(m_main->Handle(), &client);
    std::pair<int, int> size = m_scripts.Current()->mainSize.value_or(
        std::make_pair(static_cast<int>(client.right), static_cast<int>(client.bottom)));
    // Above the host's own controls: a frame drawn where the engine sits would
    // otherwise clip the engine's window away.
    ::SetWindowPos(m_main->Handle(), HWND_TOP, x, y, size.first, size.second, SWP_NOACTIVATE);
    ::ShowWindow(m_main->Handle(), showCommand);
    return KEL_OK;
}

int Engine::ShowStatus(int showCommand, int x, int y)
{
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    if (!HasStatus())
        return KEL_WINDOW_NOT_CREATED;
    if (!IsShowCommand(showCommand))
        return KEL_INVALID_PARAMETER;
    m_statusOffset = POINT{x, y};
    PlaceStatus();
    // Shown without taking the activation from the host.
    bool plainShow = showCommand == SW_SHOW || showCommand == SW_SHOWNORMAL;
    ::ShowWindow(m_status->Handle(), plainShow ? SW_SHOWNA : showCommand);
    return KEL_OK;
}

void Engine::PlaceStatus()
{
    if (!HasStatus() || !m_statusOffset)
        return;
    RECT area = {};
    if (HasMain())
        ::GetWindowRect(m_main->Handle(), &area);
    else
        ::GetClientRect(m_statusOwner, &area);
    m_status->Place(m_statusOwner, *m_statusOffset, area.right - area.left);
}

void Engine::UseSettings(const JobSettings &settings, const std::wstring &name, const std::wstring &path, bool dirty)
{
    m_settings = settings;
    m_name = name;
    m_path = path;
    m_dirty = dirty;
    if (HasMain()) {
        m_main->ShowSettings(m_settings);
        m_main->ShowDocument(m_name, m_dirty);
    }
    CallTitleHook();
}

void Engine::CallTitleHook()
{
    if (!m_titleHook)
        return;
    // Copies: the hook may call back into the engine.
    std::wstring name = m_name;
    int dirty = m_dirty ? 1 : 0;
    m_titleHook(name.c_str(), kProduct, dirty);
    WriteLogLine(FormatCall("hook SetTitleHook", {Arg::Text(name.c_str()), Arg::Text(kProduct), Arg::Integer(dirty)}));
}

void Engine::SetStatus(const std::wstring &text)
{
    m_statusText = text;
    if (HasStatus())
        m_status->SetText(text);
    if (HasMain())
        m_main->ShowMessage(text);
}

int Engine::NewSettings()
{
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    UseSettings(DefaultSettings(), L"Untitled", L"", false);
    return KEL_OK;
}

int Engine::OpenSettings(const wchar_t *nameOrPath)
{
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    if (!nameOrPath)
        return KEL_INVALID_PARAMETER;
    if (std::wstring(nameOrPath) == L"Default") {
        UseSettings(DefaultSettings(), L"Default", L"", false);
        return KEL_OK;
    }
    std::wstring path = Unquote(nameOrPath);
    JobSettings settings;
    if (int result = ReadSettingsFile(path, settings))
        return result;
    UseSettings(settings, FileNameOf(path), path, false);
    return KEL_OK;
}

int Engine::SaveSettings(const wchar_t *path)
{
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    if (!path)
        return KEL_INVALID_PARAMETER;
    std::wstring file = Unquote(path);
    if (int result = WriteSettingsFile(file, m_settings))
        return result;
    UseSettings(m_settings, FileNameOf(file), file, false);
    return KEL_OK;
}

int Engine::SaveToCurrentFile()
{
    int result = WriteSettingsFile(m_path, m_settings);
    SetStatus((result == KEL_OK ? L"Saved " : L"Cannot save ") + m_name);
    if (result == KEL_OK)
        UseSettings(m_settings, m_name, m_path, false);
    return result;
}

int Engine::OpenXmlSettings(const wchar_t *xml, Out<int> &errorPosition)
{
    if (errorPosition.Missing())
        return KEL_INVALID_PARAMETER;
    if (!m_initialised)
        return KEL_INIT_NOT_CALLED;
    XmlOutcome outcome = ParseXmlSettings(xml);
    errorPosition.Set(outcome.position);
    if (outcome.code != KEL_OK)
        return outcome.code;
    if (outcome.values.HasSettings()) {
        JobSettings settings = m_settings;
        outcome.values.ApplyTo(settings);
        UseSettings(settings, m_name, m_path, true);
    }
    if (outcome.values.help)
        SetStatus(L"Help: " + *outcome.values.help);
    if (outcome.values.tab && HasMain())
        m_main->SelectPage(static_cast<std::size_t>(PageIndexOf(*outcome.values.tab)));
    return KEL_OK;
}

std::optional<std::wstring> Engine::TextFor(const Script &script, TextKind kind, int id) const
{
    auto scripted = script.texts.find({kind, id});
    if (scripted != script.texts.end())
        return scripted->second;
    switch (kind) {
    case TextKind::Version: return VersionText();
    case TextKind::Catalog: return CatalogText();
    case TextKind::String: break;
    }
    if (const wchar_t *text = EngineString(id))
        return std::wstring(text);
    // A string the script only gives a size to is an empty one.
    if (script.sizes.count({kind, id}))
        return std::wstring();
    return std::nullopt;
}

int Engine::GetTextSize(TextKind kind, int id, Out<int> &size)
{
    if (size.Missing())
        return KEL_INVALID_PARAMETER;
    std::shared_ptr<const Script> script = m_scripts.Current();
    std::optional<std::wstring> text = TextFor(*script, kind, id);
    if (!text) {
        size.Set(0);
        return KEL_INVALID_PARAMETER;
    }
    auto scripted = script->sizes.find({kind, id});
    size.Set(scripted != script->sizes.end() ? scripted->second : static_cast<int>(text->size() + 1));
    return KEL_OK;
}

int Engine::GetText(TextKind kind, int id, OutText &buffer)
{
    std::shared_ptr<const Script> script = m_scripts.Current();
    std::optional<std::wstring> text = TextFor(*script, kind, id);
    if (!text)
        return KEL_INVALID_PARAMETER;
    if (buffer.Missing())
        return KEL_OK;
    auto scripted = script->sizes.find({kind, id});
    long long size = scripted != script->sizes.end() ? scripted->second : static_cast<long long>(text->size() + 1);
    if (script->unterminated.count({kind, id}) && size > 0 && size <= kLongestUnterminated) {
        text->resize(static_cast<std::size_t>(size), L'#');
        buffer.Write(text->data(), text->size(), false);
    } else if (size > 0) {
        // Never more than the size the caller was told.
        buffer.Write(text->data(), std::min<std::size_t>(text->size(), static_cast<std::size_t>(size - 1)), true);
    }
    return KEL_OK;
}

int Engine::ShowTab(int pageCode, int show)
{
    if (int check = MainWindowCheck())
        return check;
    int page = PageIndexOf(pageCode);
    if (page < 0)
        return KEL_INVALID_TAB_OR_DATA;
    m_main->ShowPage(static_cast<std::size_t>(page), show != 0);
    return KEL_OK;
}

int Engine::ShowGuiElement(int pageCode, int controlId, int show)
{
    if (int check = MainWindowCheck())
        return check;
    int page = PageIndexOf(pageCode);
    if (page < 0 || !m_main->ShowControls(static_cast<std::size_t>(page), controlId, show != 0))
        return KEL_INVALID_TAB_OR_DATA;
    return KEL_OK;
}

int Engine::ShowUIElement(int elementId, int show)
{
    if (int check = MainWindowCheck())
        return check;
    return m_main->ShowElement(elementId, show != 0) ? KEL_OK : KEL_INVALID_PARAMETER;
}

int Engine::PreTranslateMessage(const MSG *message, Out<int> &handled)
{
    if (handled.Missing() || !message)
        return KEL_INVALID_PARAMETER;
    handled.Set(m_scripts.Current()->Consumes(message->message, message->wParam) ? 1 : 0);
    return KEL_OK;
}

int Engine::ForwardedMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        // Menu items and accelerators only, not the notifications of the host's controls.
        if (m_initialised && lParam == 0 && HIWORD(wParam) <= 1)
            OnEngineCommand(LOWORD(wParam));
        break;
    case WM_MOVE:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: PlaceStatus(); break;
    default: break;
    }
    return KEL_OK;
}

int Engine::GetMainMenu(Out<HMENU> &menu)
{
    if (menu.Missing())
        return KEL_INVALID_PARAMETER;
    switch (m_scripts.Current()->menu) {
    case MenuOverride::Null: menu.Set(nullptr); return KEL_OK;
    case MenuOverride::Invalid: menu.Set(NoMenu()); return KEL_OK;
    case MenuOverride::None: break;
    }
    if (int check = MainWindowCheck())
        return check;
    if (m_menu)
        m_menuGiven = m_menu.release();
    menu.Set(m_menuGiven);
    return KEL_OK;
}

void Engine::OnEngineCommand(unsigned command)
{
    switch (command) {
    case ID_FILE_NEW: UseSettings(DefaultSettings(), L"Untitled", L"", false); break;
    case ID_FILE_SAVE:
        if (!m_path.empty())
            SaveToCurrentFile();
        break;
    case ID_FILE_PRINT:
        if (HasMain() && !IsPrinting())
            StartPrint();
        break;
    case ID_REFRESH:
        if (HasMain())
            m_main->ShowSettings(m_settings);
        if (!IsPrinting())
            SetStatus(L"Ready");
        break;
    case kCommandStopPrint:
        if (IsPrinting())
            EndPrint(L"Print stopped");
        break;
    default: break;
    }
}

void Engine::OnSettingsEdited(const JobSettings &settings)
{
    m_settings = settings;
    m_dirty = true;
    m_main->ShowDocument(m_name, m_dirty);
    CallTitleHook();
}

int Engine::StartPrint()
{
    int pages = PagesToPrint(m_settings.range);
    if (m_messageHook) {
        int answer = 0;
        int result = m_messageHook(1, pages, &answer);
        WriteLogLine(FormatCall("hook MessageHook", {Arg::Integer(1), Arg::Integer(pages), Arg::Written(answer)},
                                result));
        // The host's answer 0 declines the print.
        if (answer == 0) {
            SetStatus(L"Print cancelled");
            return KEL_USER_CANCELED;
        }
    }
    if (!HasMain())
        return KEL_WINDOW_NOT_CREATED; // the hook took the window away
    int duration = m_scripts.Current()->printTime.value_or(kDefaultPrintTime);
    m_print = PrintJob{pages, duration, ::GetTickCount64(), 0};
    UINT interval = static_cast<UINT>(std::clamp(duration / (2 * pages), 10, 250));
    if (duration == 0 || !::SetTimer(m_main->Handle(), kPrintTimer, interval, nullptr))
        EndPrint(L"Printed " + PagesText(pages));
    else
        AdvancePrint();
    return KEL_OK;
}

void Engine::AdvancePrint()
{
    ULONGLONG elapsed = ::GetTickCount64() - m_print->start;
    if (elapsed >= static_cast<ULONGLONG>(m_print->duration)) {
        EndPrint(L"Printed " + PagesText(m_print->pages));
        return;
    }
    int page = static_cast<int>(elapsed * static_cast<ULONGLONG>(m_print->pages) / m_print->duration) + 1;
    if (page != m_print->pageShown) {
        m_print->pageShown = page;
        SetStatus(L"Printing page " + std::to_wstring(page) + L" of " + std::to_wstring(m_print->pages));
    }
}

void Engine::EndPrint(const std::wstring &message)
{
    if (HasMain())
        ::KillTimer(m_main->Handle(), kPrintTimer);
    m_print.reset();
    SetStatus(message);
}

void Engine::OnEngineTimer(UINT_PTR timer)
{
    if (timer == kPrintTimer && m_print)
        AdvancePrint();
}
