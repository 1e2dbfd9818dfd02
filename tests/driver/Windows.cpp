#include "UiDriver.h"

#include "DriverInternals.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace uidriver {
namespace {

// False when the window is gone or its thread does not answer in time.
bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result)
{
    DWORD_PTR answer = 0;
    if (!window || !::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, detail::kAnswerMs,
                                          &answer))
        return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

// A sent message is handled before anything still queued for the thread, so
// one answered WM_NULL does not mean the posts were handled. Between two
// answered round trips the thread goes back to its queue and takes a posted
// message, so Sync makes two round trips per post (handling a key may post a
// character) and two more.
std::mutex g_postsLock;
std::map<DWORD, std::size_t> g_posts; // by thread, since its last Sync

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window || !::PostMessageW(window, message, wParam, lParam))
        return false;
    DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    std::lock_guard<std::mutex> lock(g_postsLock);
    ++g_posts[thread];
    return true;
}

std::size_t TakePosts(DWORD thread)
{
    std::lock_guard<std::mutex> lock(g_postsLock);
    auto found = g_posts.find(thread);
    if (found == g_posts.end())
        return 0;
    std::size_t posts = found->second;
    g_posts.erase(found);
    return posts;
}

bool IsSystemKey(UINT vk) { return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU || vk == VK_F10; }

bool IsAltKey(UINT vk) { return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU; }

// Keys with the E0 prefix; Wine's MAPVK_VK_TO_VSC_EX reports it for few of them.
bool IsExtendedKey(UINT vk)
{
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: case VK_DIVIDE: case VK_NUMLOCK:
    case VK_RCONTROL: case VK_RMENU: case VK_LWIN: case VK_RWIN: case VK_APPS: case VK_SNAPSHOT: case VK_CANCEL:
        return true;
    default:
        return false;
    }
}

void PostKey(HWND target, UINT vk, bool up)
{
    UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    DWORD bits = 1 | ((scan & 0xFF) << 16);
    if (IsExtendedKey(vk))
        bits |= 1u << 24;
    if (IsAltKey(vk) && !up)
        bits |= 1u << 29; // Alt is down
    if (up)
        bits |= (1u << 30) | (1u << 31); // was down, goes up
    UINT message = IsSystemKey(vk) ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
    Post(target, message, vk, static_cast<LPARAM>(bits));
    // For a typed F1 the input system itself posts WM_KEYF1, which
    // DefWindowProc turns into WM_HELP; a posted key gets none.
    const UINT kKeyF1 = 0x004D;
    if (vk == VK_F1 && !up)
        Post(target, kKeyF1, 0, 0);
}

BOOL CALLBACK FindNested(HWND window, LPARAM context) noexcept
{
    auto &search = *reinterpret_cast<std::pair<int, HWND> *>(context);
    if (::GetDlgCtrlID(window) != search.first)
        return TRUE;
    search.second = window;
    return FALSE;
}
} // namespace

std::wstring Text(HWND window)
{
    LRESULT length = 0;
    if (!Ask(window, WM_GETTEXTLENGTH, 0, 0, length) || length <= 0)
        return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), copied) || copied < 0)
        return std::wstring();
    text.resize(std::min(static_cast<std::size_t>(copied), static_cast<std::size_t>(length)));
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    int length = window ? ::GetClassNameW(window, name, 256) : 0;
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

bool IsVisible(HWND window) { return window && ::IsWindowVisible(window); }

HWND Child(HWND parent, int id)
{
    if (!parent)
        return nullptr;
    if (HWND direct = ::GetDlgItem(parent, id))
        return direct;
    std::pair<int, HWND> search(id, nullptr);
    ::EnumChildWindows(parent, FindNested, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = parent ? ::GetWindow(parent, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

int ComboSelection(HWND combo)
{
    LRESULT selection = CB_ERR;
    return Ask(combo, CB_GETCURSEL, 0, 0, selection) ? static_cast<int>(selection) : CB_ERR;
}

std::vector<std::wstring> ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    LRESULT count = 0;
    if (!Ask(combo, CB_GETCOUNT, 0, 0, count))
        return items;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        if (!Ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, length) || length < 0)
            return items;
        std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (!Ask(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item[0]), copied) ||
            copied < 0)
            return items;
        item.resize(std::min(static_cast<std::size_t>(copied), static_cast<std::size_t>(length)));
        items.push_back(item);
    }
    return items;
}

bool IsChecked(HWND button)
{
    LRESULT state = BST_UNCHECKED;
    return Ask(button, BM_GETCHECK, 0, 0, state) && state == BST_CHECKED;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    if (!window || !::GetWindowRect(window, &rect))
        rect = RECT{};
    return rect;
}

RECT ClientRect(HWND window)
{
    RECT rect = {};
    if (!window || !::GetClientRect(window, &rect))
        rect = RECT{};
    return rect;
}

std::wstring MessageBoxText(HWND box) { return Text(::GetDlgItem(box, 0xFFFF)); }

bool MessageBoxHasIcon(HWND box)
{
    for (HWND control : Children(box)) {
        if (ClassName(control) == L"Static" && (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return true;
    }
    return false;
}

void Click(HWND button) { Post(button, BM_CLICK, 0, 0); }

void ClickId(HWND dialog, int id) { Click(Child(dialog, id)); }

void SelectComboItem(HWND combo, int index)
{
    LRESULT ignored = 0;
    Ask(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, ignored);
    Post(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(combo));
}

void Command(HWND window, int id) { Post(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void AcceleratorCommand(HWND window, int id) { Post(window, WM_COMMAND, MAKEWPARAM(id, 1), 0); }

bool PressButton(HWND box, int id)
{
    return box && Post(::GetDlgItem(box, id), BM_CLICK, 0, 0);
}

void SetText(HWND window, const std::wstring &text)
{
    LRESULT ignored = 0;
    Ask(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), ignored);
}

void AnswerFileDialog(HWND dialog, const std::wstring &path)
{
    const int kFileNameBox = 0x47C; // the common dialogs' file name box
    if (path.empty()) {
        Click(Child(dialog, IDCANCEL));
        return;
    }
    SetText(Child(dialog, kFileNameBox), path);
    Click(Child(dialog, IDOK));
}

void TypeText(HWND window, const std::wstring &text)
{
    for (wchar_t c : text)
        Post(window, WM_CHAR, c, 1);
}

void KeyDown(HWND target, UINT vk) { PostKey(target, vk, false); }

void KeyUp(HWND target, UINT vk) { PostKey(target, vk, true); }

void PressKey(HWND target, UINT vk)
{
    KeyDown(target, vk);
    KeyUp(target, vk);
}

bool Sync(HWND window, DWORD ms)
{
    if (!window)
        return false;
    const std::size_t trips = 2 * TakePosts(::GetWindowThreadProcessId(window, nullptr)) + 2;
    const ULONGLONG end = ::GetTickCount64() + ms;
    auto roundTrip = [&] {
        ULONGLONG now = ::GetTickCount64();
        DWORD_PTR ignored = 0;
        return now < end && ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                  static_cast<DWORD>(end - now), &ignored) != 0;
    };
    for (std::size_t trip = 0; trip < trips; ++trip) {
        if (!roundTrip())
            return false;
    }
    // Round trips alone can race the thread's return to its queue: a sent
    // message that arrives first is handled first. A window is painted only
    // once nothing posted waits for its thread, so a fresh invalid area that
    // has gone again says that all the posts were handled.
    if (!IsVisible(window) || !::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN))
        return true;
    while (::GetUpdateRect(window, nullptr, FALSE)) {
        if (!roundTrip())
            return !IsVisible(window); // hidden or gone meanwhile: nothing to paint
        ::Sleep(1);
    }
    return true;
}

} // namespace uidriver
