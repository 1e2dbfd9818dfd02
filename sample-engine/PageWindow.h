// One page of the main window: the controls of its table, laid out in columns.
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
    std::size_t Index() const { return m_index; }
    // The first control with this id; null when the page has none.
    HWND Control(int id) const;
    // Shows or hides every control with this id; false when there is none.
    bool ShowControls(int id, bool show) const;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND CreateControl(const ControlEntry &entry, bool startsGroup);
    void LayOut(int width, int height) const;

    std::size_t m_index;
    const PageEntry &m_page;
    PageEvents &m_events;
    std::vector<HWND> m_controls; // children of the page, in table order
};
