// The engine's main window: a strip of UI elements above a tab control whose
// pages hold the job's controls. A page's controls are made when it is first
// shown (or one of them is asked for), so that creating the window stays quick.
#pragma once

#include "EngineContract.h"
#include "PageWindow.h"
#include "Settings.h"
#include "Window.h"

#include <memory>
#include <string>
#include <vector>

// The strip's Stop button; no menu item, so it never reaches a program.
constexpr unsigned kCommandStopPrint = 32790;

class MainWindowEvents {
public:
    virtual void OnEngineCommand(unsigned command) = 0;
    virtual void OnEngineTimer(UINT_PTR timer) = 0;
    // The user changed a setting on a page.
    virtual void OnSettingsEdited(const JobSettings &settings) = 0;

protected:
    ~MainWindowEvents() = default;
};

class MainWindow : public Window, private PageEvents {
public:
    MainWindow(const WindowClasses &classes, MainWindowEvents &events);
    ~MainWindow() override { Destroy(); }

    // Created hidden, as a child of the parent, with this client size.
    bool Create(HWND parent, int width, int height);

    void ShowSettings(const JobSettings &settings);
    void ShowDocument(const std::wstring &name, bool dirty);
    void ShowMessage(const std::wstring &text);

    void ShowPage(std::size_t page, bool show);
    // Selects the page if its tab is shown.
    void SelectPage(std::size_t page);
    bool ShowControls(std::size_t page, int controlId, bool show);
    // False for an id that is no UI element.
    bool ShowElement(int elementId, bool show);

private:
    struct Element {
        int id;
        unsigned command; // 0 for a panel
        const wchar_t *caption;
        int width;   // 0: what is left of the strip
        HWND window;
    };

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPageCommand(std::size_t page, int controlId) override;

    bool CreateElements();
    void LayOut();
    void ShowSelectedPage();
    void ShowPaperAttributes(const JobSettings &settings);
    JobSettings SettingsOnPages() const;
    HWND ElementWindow(int elementId) const;
    HWND PageControl(int pageCode, int controlId) const;

    const WindowClasses &m_classes;
    MainWindowEvents &m_events;
    std::vector<Element> m_elements;
    HWND m_tabs = nullptr;
    RECT m_tabsPlace = {}; // where LayOut last put the tabs
    std::vector<std::unique_ptr<PageWindow>> m_pages;
    std::vector<bool> m_pageShown;
    JobSettings m_shown;
    bool m_filling = false; // the engine, not the user, is setting the controls
};
