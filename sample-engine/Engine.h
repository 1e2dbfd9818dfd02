// The engine's state: what was initialised and created, the settings, the
// running print, and the windows. Each operation backs one entry point and
// returns its result code; the order faults and argument checks are here.
#pragma once

#include "CallFormat.h"
#include "EngineInterface.h"
#include "MainWindow.h"
#include "ScriptSource.h"
#include "Settings.h"
#include "TextWindow.h"
#include "Texts.h"
#include "UniqueHandle.h"

#include <memory>
#include <optional>
#include <string>

class Engine : private MainWindowEvents {
public:
    explicit Engine(ScriptSource &scripts);
    ~Engine();

    int InitMain(KelMessageHook messageHook, KelTitleHook titleHook);
    int InitStatus();
    int Exit(int force);
    int CreateMain(HWND parent, int splash, const wchar_t *callerTag);
    int CreateStatus(HWND parent);
    int GetWindowMain(Out<HWND> &window);
    int GetWindowStatus(Out<HWND> &window);
    int Print();
    int ShowMain(int showCommand, int x, int y);
    int ShowStatus(int showCommand, int x, int y);
    int NewSettings();
    int OpenSettings(const wchar_t *nameOrPath);
    int SaveSettings(const wchar_t *path);
    int OpenXmlSettings(const wchar_t *xml, Out<int> &errorPosition);
    int GetTextSize(TextKind kind, int id, Out<int> &size);
    int GetText(TextKind kind, int id, OutText &buffer);
    int ShowTab(int pageCode, int show);
    int ShowGuiElement(int pageCode, int controlId, int show);
    int ShowUIElement(int elementId, int show);
    int PreTranslateMessage(const MSG *message, Out<int> &handled);
    int ForwardedMessage(UINT message, WPARAM wParam, LPARAM lParam);
    int GetMainMenu(Out<HMENU> &menu);

private:
    struct PrintJob {
        int pages;
        int duration; // ms
        ULONGLONG start;
        int pageShown;
    };

    void OnEngineCommand(unsigned command) override;
    void OnEngineTimer(UINT_PTR timer) override;
    void OnSettingsEdited(const JobSettings &settings) override;

    bool HasMain() const { return m_main && m_main->Exists(); }
    bool HasStatus() const { return m_status && m_status->Exists(); }
    bool IsPrinting() const { return m_print && HasMain(); }
    int MainWindowCheck() const; // KEL_INIT_NOT_CALLED, KEL_WINDOW_NOT_CREATED or KEL_OK

    void UseSettings(const JobSettings &settings, const std::wstring &name, const std::wstring &path, bool dirty);
    void CallTitleHook();
    void SetStatus(const std::wstring &text);
    void PlaceStatus();
    int SaveToCurrentFile();

    int StartPrint();
    void AdvancePrint();
    void EndPrint(const std::wstring &message);

    std::optional<std::wstring> TextFor(const Script &script, TextKind kind, int id) const;
    void TearDown();

    ScriptSource &m_scripts;
    std::optional<WindowClasses> m_classes; // outlives the windows below

    bool m_initialised = false;
    bool m_statusInitialised = false;
    KelMessageHook m_messageHook = nullptr;
    KelTitleHook m_titleHook = nullptr;

    JobSettings m_settings;
    std::wstring m_name;
    std::wstring m_path; // the file the settings came from or went to; empty for none
    bool m_dirty = false;
    std::wstring m_statusText;
    std::optional<PrintJob> m_print;

    HWND m_statusOwner = nullptr;
    std::optional<POINT> m_statusOffset;
    std::unique_ptr<StatusWindow> m_status;
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_main;
    unique_hmenu m_menu;        // built with the main window
    HMENU m_menuGiven = nullptr; // once handed out, the host's
};
