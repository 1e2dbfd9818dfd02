#include "PageWindow.h"

#include "PageLayout.h"
#include "Texts.h"

#include <commctrl.h>

#include <iterator>

namespace {
// Extra room a drop-down list takes below its field.
const int kDropDownHeight = 200;

const wchar_t *const kColours[] = {L"Black", L"Cyan", L"Magenta", L"Yellow", L"Red", L"Green", L"Blue", L"White"};
const wchar_t *const kLanguages[] = {L"PostScript", L"PCL", L"PDF", L"TIFF"};
const wchar_t *const kFileTypes[] = {L"Print files (*.ps; *.pcl)", L"PDF files (*.pdf)", L"All files (*.*)"};
const wchar_t *const kModes[] = {L"Default", L"Standard", L"Custom"};
const wchar_t *const kFolders[] = {L"Jobs", L"Archive", L"Samples"};
const wchar_t *const kFiles[] = {L"brochure.ps", L"manual.pdf", L"letter.pcl"};

struct ClassAndStyle {
    const wchar_t *className;
    DWORD style, exStyle;
};

ClassAndStyle StyleOf(ControlKind kind)
{
    const DWORD tab = WS_TABSTOP;
    switch (kind) {
    case ControlKind::Label: return {L"STATIC", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0};
    case ControlKind::Button:
    case ControlKind::HelpButton: return {L"BUTTON", BS_PUSHBUTTON | tab, 0};
    case ControlKind::Edit: return {L"EDIT", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlKind::TextArea:
        return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
    case ControlKind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | tab, 0};
    case ControlKind::Radio: return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::GroupBox: return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::Tree:
        return {WC_TREEVIEWW, TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS | tab,
                WS_EX_CLIENTEDGE};
    case ControlKind::ListView:
        return {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | tab, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

void AddString(HWND control, UINT addMessage, const wchar_t *text)
{
    ::SendMessageW(control, addMessage, 0, reinterpret_cast<LPARAM>(text));
}

template <std::size_t N>
void AddStrings(HWND control, UINT addMessage, const wchar_t *const (&texts)[N])
{
    for (const wchar_t *text : texts)
        AddString(control, addMessage, text);
}

void FillTree(HWND tree)
{
    TVINSERTSTRUCTW item = {};
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT;
    item.hParent = TVI_ROOT;
    item.item.pszText = const_cast<wchar_t *>(L"C:\\");
    HTREEITEM root = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.hParent = root;
    for (const wchar_t *folder : kFolders) {
        item.item.pszText = const_cast<wchar_t *>(folder);
        ::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

void FillFileList(HWND list, int width)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width;
    column.pszText = const_cast<wchar_t *>(L"Name");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    for (const wchar_t *file : kFiles) {
        item.pszText = const_cast<wchar_t *>(file);
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        ++item.iItem;
    }
}

void FillItems(HWND control, ControlKind kind, ControlItems items)
{
    UINT add = kind == ControlKind::ListBox ? LB_ADDSTRING : CB_ADDSTRING;
    switch (items) {
    case ControlItems::Printers:
        for (std::size_t i = 0; i < PrinterCount(); ++i)
            AddString(control, add, PrinterAt(i));
        break;
    case ControlItems::Papers:
        for (std::size_t i = 0; i < PaperCount(); ++i)
            AddString(control, add, PaperAt(i).name);
        break;
    case ControlItems::Colours: AddStrings(control, add, kColours); break;
    case ControlItems::Languages: AddStrings(control, add, kLanguages); break;
    case ControlItems::FileTypes: AddStrings(control, add, kFileTypes); break;
    case ControlItems::Modes: AddStrings(control, add, kModes); break;
    case ControlItems::Directories: FillTree(control); return;
    case ControlItems::Files: FillFileList(control, 200); return;
    case ControlItems::None: return;
    }
    if (kind == ControlKind::ComboBox)
        ::SendMessageW(control, CB_SETCURSEL, 0, 0);
}
} // namespace

PageWindow::PageWindow(std::size_t index, PageEvents &events)
    : m_index(index), m_page(PageAt(index)), m_events(events)
{
}

bool PageWindow::Create(const WindowClass &windowClass, HWND parent, const RECT &place)
{
    return CreateOf(windowClass, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, m_page.title, place, parent);
}

void PageWindow::Build()
{
    if (Built())
        return;
    // Kept in table order, a refused control as null, so that ids and places still match.
    for (std::size_t i = 0; i < m_page.count; ++i) {
        const ControlEntry &entry = m_page.controls[i];
        bool inRadioGroup = entry.kind == ControlKind::Radio && i > 0 && m_page.controls[i - 1].kind == ControlKind::Radio;
        m_controls.push_back(CreateControl(entry, !inRadioGroup));
    }
    LayOut();
}

HWND PageWindow::CreateControl(const ControlEntry &entry, bool startsGroup)
{
    ClassAndStyle look = StyleOf(entry.kind);
    DWORD style = WS_CHILD | WS_VISIBLE | look.style | (startsGroup ? WS_GROUP : 0);
    if (entry.kind == ControlKind::Radio && startsGroup)
        style |= WS_TABSTOP;
    HWND control = ::CreateWindowExW(look.exStyle, look.className, entry.caption, style, 0, 0, 10, 10, Handle(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), ModuleInstance(),
                                     nullptr);
    if (!control)
        return nullptr;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(InterfaceFont()), FALSE);
    FillItems(control, entry.kind, entry.items);
    return control;
}

void PageWindow::LayOut() const
{
    RECT client = {};
    ::GetClientRect(Handle(), &client);
    std::vector<ControlRect> rects = LayOutPage(m_page, client.right, client.bottom);
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        int extra = m_page.controls[i].kind == ControlKind::ComboBox ? kDropDownHeight : 0;
        ::MoveWindow(m_controls[i], rects[i].x, rects[i].y, rects[i].width, rects[i].height + extra, FALSE);
    }
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

HWND PageWindow::Control(int id) const
{
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_page.controls[i].id == id)
            return m_controls[i];
    }
    return nullptr;
}

bool PageWindow::ShowControls(int id, bool show)
{
    Build();
    bool found = false;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_page.controls[i].id == id) {
            ::ShowWindow(m_controls[i], show ? SW_SHOWNA : SW_HIDE);
            found = true;
        }
    }
    return found;
}

LRESULT PageWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (Built())
            LayOut();
        return 0;
    case WM_COMMAND:
        if (lParam)
            m_events.OnPageCommand(m_index, LOWORD(wParam));
        return 0;
    default: break;
    }
    return Window::OnMessage(message, wParam, lParam);
}
