#include "Menu.h"

#include "Commands.h"

namespace {
struct Item {
    UINT command; // 0 for a separator
    const wchar_t *text;
};

template <std::size_t N>
bool AddPopup(HMENU bar, const wchar_t *title, const Item (&items)[N])
{
    unique_hmenu popup(::CreatePopupMenu());
    if (!popup)
        return false;
    for (const Item &item : items) {
        if (!::AppendMenuW(popup.get(), item.command ? MF_STRING : MF_SEPARATOR, item.command, item.text))
            return false;
    }
    if (!::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), title))
        return false;
    popup.release(); // the bar owns it now
    return true;
}
} // namespace

unique_hmenu BuildMainMenu()
{
    static const Item file[] = {
        {kCommandNew, L"&New\tCtrl+N"}, {kCommandOpen, L"&Open...\tCtrl+O"}, {kCommandSave, L"&Save\tCtrl+S"},
        {0, nullptr},                   {kCommandPrint, L"&Print...\tCtrl+P"}, {0, nullptr},
        {kCommandClose, L"&Close"},     {kCommandExit, L"E&xit"},
    };
    static const Item view[] = {{kCommandRefresh, L"&Refresh\tF5"}};
    static const Item help[] = {{kCommandHelpTopics, L"&Help Topics\tF1"}, {kCommandAbout, L"&About Solvetric..."}};
    unique_hmenu bar(::CreateMenu());
    if (!bar || !AddPopup(bar.get(), L"&File", file) || !AddPopup(bar.get(), L"&View", view) ||
        !AddPopup(bar.get(), L"&Help", help))
        return unique_hmenu();
    return bar;
}
