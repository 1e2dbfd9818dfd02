#include "MainWindow.h"

#include "Texts.h"

#include <commctrl.h>

#include <algorithm>

namespace {
const int kStripHeight = 30;
const int kStripGap = 4;

// The pages whose controls show the settings.
const int kPrintersPage = KEL_PAGE_PRINTERS, kJobSetup1Page = KEL_PAGE_JOB_SETUP_1,
          kPaperSubstitutionsPage = KEL_PAGE_PAPER_SUBSTITUTIONS;
// Strip panels the engine writes to.
const int kDocumentPanel = KEL_ELEMENT_DOCUMENT_PANEL, kPrinterPanel = KEL_ELEMENT_PRINTER_PANEL,
          kMessagePanel = KEL_ELEMENT_MESSAGE_PANEL;

std::wstring TextOf(HWND control)
{
    int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, &text[0], length + 1)));
    return text;
}

// The helpers below take null for a control of a page not built yet.
std::wstring SelectedText(HWND list, UINT getSelection, UINT getLength, UINT getText)
{
    LRESULT index = list ? ::SendMessageW(list, getSelection, 0, 0) : -1;
    if (index < 0)
        return L"";
    LRESULT length = ::SendMessageW(list, getLength, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return L"";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(list, getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void SelectText(HWND list, UINT find, UINT select, const std::wstring &text)
{
    if (!list)
        return;
    LRESULT index = ::SendMessageW(list, find, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageW(list, select, static_cast<WPARAM>(index), 0);
}

void SetText(HWND control, const std::wstring &text)
{
    if (control && TextOf(control) != text)
        ::SetWindowTextW(control, text.c_str());
}

void SetChecked(HWND button, bool checked)
{
    if (button)
        ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Shown by its own flag, whether or not the main window is visible yet.
bool IsShown(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }
} // namespace

MainWindow::MainWindow(const WindowClasses &classes, MainWindowEvents &events)
    : m_classes(classes), m_events(events),
      m_elements{
          {kDocumentPanel, 0, L"", 150, nullptr},
          {KEL_ELEMENT_NEW, ID_FILE_NEW, L"New", 60, nullptr},
          {KEL_ELEMENT_SAVE, ID_FILE_SAVE, L"Save", 60, nullptr},
          {KEL_ELEMENT_PRINT, ID_FILE_PRINT, L"Print", 60, nullptr},
          {KEL_ELEMENT_REFRESH, ID_REFRESH, L"Refresh", 60, nullptr},
          {KEL_ELEMENT_STOP, kCommandStopPrint, L"Stop", 60, nullptr},
          {kPrinterPanel, 0, L"", 150, nullptr},
          {kMessagePanel, 0, L"", 0, nullptr},
      }
{
}

bool MainWindow::Create(HWND parent, int width, int height)
{
    RECT place = {0, 0, width, height};
    if (!CreateOf(m_classes.main, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, L"Solvetric",
                  place, parent))
        return false;
    if (!CreateElements())
        return false;
    m_tabs = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0,
                               width, height, Handle(), nullptr, ModuleInstance(), nullptr);
    if (!m_tabs)
        return false;
    ::SendMessageW(m_tabs, WM_SETFONT, reinterpret_cast<WPARAM>(InterfaceFont()), FALSE);
    for (std::size_t i = 0; i < PageCount(); ++i) {
        auto page = std::make_unique<PageWindow>(i, static_cast<PageEvents &>(*this));
        if (!page->Create(m_classes.page, Handle(), place))
            return false;
        m_pages.push_back(std::move(page));
        m_pageShown.push_back(false);
    }
    for (std::size_t i = 0; i < PageCount(); ++i)
        ShowPage(i, true);
    LayOut();
    return true;
}

bool MainWindow::CreateElements()
{
    for (Element &element : m_elements) {
        DWORD style = WS_CHILD | WS_VISIBLE |
                      (element.command ? BS_PUSHBUTTON | WS_TABSTOP : SS_SUNKEN | SS_CENTERIMAGE | SS_LEFTNOWORDWRAP);
        element.window = ::CreateWindowExW(0, element.command ? L"BUTTON" : L"STATIC", element.caption, style, 0, 0,
                                           10, 10, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(element.id)),
                                           ModuleInstance(), nullptr);
        if (!element.window)
            return false;
        ::SendMessageW(element.window, WM_SETFONT, reinterpret_cast<WPARAM>(InterfaceFont()), FALSE);
    }
    return true;
}

void MainWindow::LayOut()
{
    RECT client = {};
    ::GetClientRect(Handle(), &client);
    bool strip = false;
    int x = kStripGap, used = kStripGap;
    for (const Element &element : m_elements) {
        if (IsShown(element.window))
            used += element.width + kStripGap;
    }
    for (const Element &element : m_elements) {
        if (!IsShown(element.window))
            continue;
        strip = true;
        int width = element.width ? element.width : std::max(80, static_cast<int>(client.right) - used - kStripGap);
        ::MoveWindow(element.window, x, kStripGap, width, kStripHeight - 2 * kStripGap, TRUE);
        x += width + kStripGap;
    }
    // The pages move only when the tabs do: hiding one strip element after
    // another at start-up changes the strip alone until it is empty.
    RECT tabs = {0, strip ? kStripHeight : 0, client.right, client.bottom};
    if (::EqualRect(&tabs, &m_tabsPlace))
        return;
    m_tabsPlace = tabs;
    ::MoveWindow(m_tabs, tabs.left, tabs.top, tabs.right, tabs.bottom - tabs.top, TRUE);
    RECT display = tabs;
    ::SendMessageW(m_tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (const auto &page : m_pages) {
        ::SetWindowPos(page->Handle(), HWND_TOP, display.left, display.top, display.right - display.left,
                       display.bottom - display.top, SWP_NOACTIVATE);
    }
}

void MainWindow::ShowPage(std::size_t page, bool show)
{
    if (m_pageShown[page] == show)
        return;
    // The tab's position among the shown ones keeps the pages' order.
    int position = 0;
    for (std::size_t i = 0; i < page; ++i)
        position += m_pageShown[i] ? 1 : 0;
    m_pageShown[page] = show;
    if (show) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<wchar_t *>(PageAt(page).title);
        item.lParam = static_cast<LPARAM>(page);
        ::SendMessageW(m_tabs, TCM_INSERTITEMW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
    } else {
        ::SendMessageW(m_tabs, TCM_DELETEITEM, static_cast<WPARAM>(position), 0);
    }
    if (::SendMessageW(m_tabs, TCM_GETCURSEL, 0, 0) < 0)
        ::SendMessageW(m_tabs, TCM_SETCURSEL, 0, 0);
    ShowSelectedPage();
}

void MainWindow::SelectPage(std::size_t page)
{
    if (!m_pageShown[page])
        return;
    int position = 0;
    for (std::size_t i = 0; i < page; ++i)
        position += m_pageShown[i] ? 1 : 0;
    ::SendMessageW(m_tabs, TCM_SETCURSEL, static_cast<WPARAM>(position), 0);
    ShowSelectedPage();
}

void MainWindow::ShowSelectedPage()
{
    LRESULT selected = ::SendMessageW(m_tabs, TCM_GETCURSEL, 0, 0);
    TCITEMW item = {};
    item.mask = TCIF_PARAM;
    item.lParam = -1;
    if (selected >= 0)
        ::SendMessageW(m_tabs, TCM_GETITEMW, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
    for (const auto &page : m_pages) {
        bool current = static_cast<LPARAM>(page->Index()) == item.lParam;
        if (current && !page->Built()) {
            page->Build();
            ShowSettings(m_shown);
        }
        ::ShowWindow(page->Handle(), current ? SW_SHOWNA : SW_HIDE);
    }
}

bool MainWindow::ShowControls(std::size_t page, int controlId, bool show)
{
    bool built = m_pages[page]->Built();
    bool found = m_pages[page]->ShowControls(controlId, show);
    if (!built)
        ShowSettings(m_shown);
    return found;
}

bool MainWindow::ShowElement(int elementId, bool show)
{
    HWND element = ElementWindow(elementId);
    if (!element)
        return false;
    ::ShowWindow(element, show ? SW_SHOWNA : SW_HIDE);
    LayOut();
    return true;
}

HWND MainWindow::ElementWindow(int elementId) const
{
    for (const Element &element : m_elements) {
        if (element.id == elementId)
            return element.window;
    }
    return nullptr;
}

HWND MainWindow::PageControl(int pageCode, int controlId) const
{
    return m_pages[static_cast<std::size_t>(PageIndexOf(pageCode))]->Control(controlId);
}

void MainWindow::ShowSettings(const JobSettings &settings)
{
    m_filling = true;
    SelectText(PageControl(kPrintersPage, KelPrintersPage::PrinterList), LB_FINDSTRINGEXACT, LB_SETCURSEL,
               settings.printer);
    SetText(PageControl(kJobSetup1Page, KelJobSetup1Page::CopiesEdit), std::to_wstring(settings.copies));
    SetChecked(PageControl(kJobSetup1Page, KelJobSetup1Page::CollateCheck), settings.collate);
    SelectText(PageControl(kJobSetup1Page, KelJobSetup1Page::BodyPaperCombo), CB_FINDSTRINGEXACT, CB_SETCURSEL,
               settings.bodyPaper);
    SetChecked(PageControl(kJobSetup1Page, KelJobSetup1Page::RangeAllRadio), settings.range.all);
    SetChecked(PageControl(kJobSetup1Page, KelJobSetup1Page::RangeFromRadio), !settings.range.all);
    int last = settings.range.all ? kDocumentPages : settings.range.to;
    SetText(PageControl(kJobSetup1Page, KelJobSetup1Page::RangeFromEdit),
            std::to_wstring(settings.range.all ? 1 : settings.range.from));
    SetText(PageControl(kJobSetup1Page, KelJobSetup1Page::RangeToEdit), std::to_wstring(last));
    m_filling = false;
    ShowPaperAttributes(settings);
    m_shown = settings;
}

void MainWindow::ShowPaperAttributes(const JobSettings &settings)
{
    SetText(ElementWindow(kPrinterPanel), settings.printer);
    const Paper *paper = FindPaper(settings.bodyPaper);
    SetText(PageControl(kPaperSubstitutionsPage, KelPaperSubstitutionsPage::BodyPaperLabel),
            L"Body paper: " + settings.bodyPaper);
    SetText(PageControl(kPaperSubstitutionsPage, KelPaperSubstitutionsPage::SizeValue), paper ? paper->size : L"");
    SetText(PageControl(kPaperSubstitutionsPage, KelPaperSubstitutionsPage::ColorValue), paper ? paper->colour : L"");
    SetText(PageControl(kPaperSubstitutionsPage, KelPaperSubstitutionsPage::WeightValue), paper ? paper->weight : L"");
    SetText(PageControl(kPaperSubstitutionsPage, KelPaperSubstitutionsPage::TypeValue), paper ? paper->type : L"");
}

void MainWindow::ShowDocument(const std::wstring &name, bool dirty)
{
    SetText(ElementWindow(kDocumentPanel), name + (dirty ? L" *" : L""));
}

void MainWindow::ShowMessage(const std::wstring &text) { SetText(ElementWindow(kMessagePanel), text); }

// A page not built yet shows nothing the user could have changed.
JobSettings MainWindow::SettingsOnPages() const
{
    JobSettings settings = m_shown;
    std::wstring printer = SelectedText(PageControl(kPrintersPage, KelPrintersPage::PrinterList), LB_GETCURSEL,
                                        LB_GETTEXTLEN, LB_GETTEXT);
    if (FindPrinter(printer))
        settings.printer = printer;
    if (!PageControl(kJobSetup1Page, KelJobSetup1Page::CopiesEdit))
        return settings;
    settings.copies =
        ParseCopies(TextOf(PageControl(kJobSetup1Page, KelJobSetup1Page::CopiesEdit))).value_or(settings.copies);
    settings.collate = IsChecked(PageControl(kJobSetup1Page, KelJobSetup1Page::CollateCheck));
    std::wstring paper = SelectedText(PageControl(kJobSetup1Page, KelJobSetup1Page::BodyPaperCombo), CB_GETCURSEL,
                                      CB_GETLBTEXTLEN, CB_GETLBTEXT);
    if (FindPaper(paper))
        settings.bodyPaper = paper;
    if (IsChecked(PageControl(kJobSetup1Page, KelJobSetup1Page::RangeAllRadio))) {
        settings.range = PrintRange{};
    } else {
        std::wstring from = TextOf(PageControl(kJobSetup1Page, KelJobSetup1Page::RangeFromEdit));
        std::wstring to = TextOf(PageControl(kJobSetup1Page, KelJobSetup1Page::RangeToEdit));
        settings.range = ParsePrintRange(from + L"-" + to).value_or(settings.range);
    }
    return settings;
}

void MainWindow::OnPageCommand(std::size_t page, int)
{
    if (m_filling || (PageAt(page).code != kPrintersPage && PageAt(page).code != kJobSetup1Page))
        return;
    JobSettings settings = SettingsOnPages();
    if (settings == m_shown)
        return;
    m_shown = settings;
    ShowPaperAttributes(settings);
    m_events.OnSettingsEdited(settings);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (m_tabs)
            LayOut();
        return 0;
    case WM_NOTIFY: {
        const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->hwndFrom == m_tabs && header->code == TCN_SELCHANGE)
            ShowSelectedPage();
        return 0;
    }
    case WM_COMMAND:
        for (const Element &element : m_elements) {
            if (element.command && reinterpret_cast<HWND>(lParam) == element.window && HIWORD(wParam) == BN_CLICKED)
                m_events.OnEngineCommand(element.command);
        }
        return 0;
    case WM_TIMER: m_events.OnEngineTimer(wParam); return 0;
    default: break;
    }
    return Window::OnMessage(message, wParam, lParam);
}
