#include "Menu.h"

#include "EngineContract.h"

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
        {ID_FILE_NEW, L"&New\tCtrl+N"}, {ID_FILE_OPEN, L"&Open...\tCtrl+O"}, {ID_FILE_SAVE, L"&Save\tCtrl+S"},
        {0, nullptr},                   {ID_FILE_PRINT, L"&Print...\tCtrl+P"}, {0, nullptr},
        {ID_CLOSE_DOCUMENT, L"&Close"},     {ID_APP_EXIT, L"E&xit"},
    };
    static const Item view[] = {{ID_REFRESH, L"&Refresh\tF5"}};
    static const Item help[] = {{ID_ENGINE_HELP_TOPICS, L"&Help Topics\tF1"}, {ID_APP_ABOUT, L"&About Solvetric..."}};
    unique_hmenu bar(::CreateMenu());
    if (!bar || !AddPopup(bar.get(), L"&File", file) || !AddPopup(bar.get(), L"&View", view) ||
        !AddPopup(bar.get(), L"&Help", help))
        return unique_hmenu();
    return bar;
}
