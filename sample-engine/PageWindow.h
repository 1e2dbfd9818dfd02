// One page of the main window: the controls of its table, laid out in columns.
// They are made when the page is first needed, not with the page.
#pragma once

#include "PageTable.h"
#include "Window.h"

#include <vector>

class PageEvents {
public:
    virtual void OnPageCommand(std::size_t page, int controlId) = 0;

protected:
    ~PageEvents() = default;
};

class PageWindow : public Window {
public:
    PageWindow(std::size_t index, PageEvents &events);

    bool Create(const WindowClass &windowClass, HWND parent, const RECT &place);
    // Makes the controls once; a control Windows refuses is left out.
    void Build();
    bool Built() const { return !m_controls.empty(); }
    std::size_t Index() const { return m_index; }
    // The first control with this id; null when the page has none or is not built.
    HWND Control(int id) const;
    // Shows or hides every control with this id, building the page first;
    // false when the page has none.
    bool ShowControls(int id, bool show);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND CreateControl(const ControlEntry &entry, bool startsGroup);
    void LayOut() const;

    std::size_t m_index;
    const PageEntry &m_page;
    PageEvents &m_events;
    std::vector<HWND> m_controls; // children of the page, in table order
};
