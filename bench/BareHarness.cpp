// The floor of the harness rows: plain Win32 with WinKelTestExe's own
// resources (the same main dialog, parameter editor and GUI element dialog),
// no framework. Its buttons do what the harness's do and nothing more:
// Quick Start and Quick Free make the same engine calls, Show GUI shows the
// same modeless dialog, Kel Exit opens the editor as Shift would, and Load...
// and Save... move the same bytes between a file and the XML box (same
// styles, same font), Save... written beside the file and put in its place.
// The messages of the main dialog go to the engine first.
#include "BareEngine.h"

#include "GuiElements.h"
#include "HarnessPageTable.h"
#include "UniqueHandle.h"
#include "resource.h"

#include <commdlg.h>

#include <string>

namespace {
HINSTANCE g_instance = nullptr;
HWND g_gui = nullptr; // made on the first Show GUI, hidden by Done
bool g_editorDone = false;
unique_hfont g_font;

std::wstring ResourceText(UINT id)
{
    const wchar_t *text = nullptr;
    int length = ::LoadStringW(g_instance, id, reinterpret_cast<wchar_t *>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

void SetState(HWND dialog, int box, UINT text) { ::SetDlgItemTextW(dialog, box, ResourceText(text).c_str()); }

void QuickStart(HWND dialog)
{
    if (!g_bare.Load())
        return;
    SetState(dialog, IDC_LIBRARY_STATE, IDS_LOADED);
    RECT frame = {};
    HWND frameBox = ::GetDlgItem(dialog, IDC_ENGINE_FRAME);
    ::GetClientRect(frameBox, &frame);
    ::MapWindowPoints(frameBox, dialog, reinterpret_cast<POINT *>(&frame), 2);
    g_bare.Kel_InitMain(&BareMessageHook, &BareTitleHook);
    g_bare.Kel_CreateMain(dialog, 0, L"KelmTest - 04_19_01");
    for (const HarnessPage &page : kHarnessPages)
        ::SendDlgItemMessageW(dialog, page.toggleId, BM_SETCHECK, BST_CHECKED, 0);
    SetState(dialog, IDC_MAIN_STATE, IDS_CREATED);
    g_bare.Kel_ShowMain(SW_SHOW, frame.left + 2, frame.top + 8);
    g_bare.Kel_InitStatus();
    g_bare.Kel_CreateStatus(dialog);
    SetState(dialog, IDC_STATUS_STATE, IDS_CREATED);
    HWND mainWindow = nullptr;
    g_bare.Kel_GetWindowMain(&mainWindow);
    RECT engine = {};
    ::GetClientRect(mainWindow, &engine);
    g_bare.Kel_ShowStatus(SW_SHOW, frame.left + 2, frame.top + engine.bottom + 14);
}

void QuickFree(HWND dialog)
{
    if (!g_bare.module)
        return;
    g_bare.Kel_Exit(0);
    HWND mainWindow = nullptr;
    g_bare.Kel_GetWindowMain(&mainWindow);
    g_bare.Free();
    for (int box : {IDC_LIBRARY_STATE, IDC_MAIN_STATE, IDC_STATUS_STATE})
        SetState(dialog, box, IDS_NULL);
}

INT_PTR CALLBACK GuiProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept
{
    if (message == WM_INITDIALOG) {
        for (const HarnessPage &page : kHarnessPages)
            ::SendDlgItemMessageW(dialog, IDC_GUI_PAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(page.caption));
        ::SendDlgItemMessageW(dialog, IDC_GUI_PAGE, CB_SETCURSEL, 0, 0);
        for (const GuiElementEntry *row = kGuiElementLists[0]; row->label && *row->label; ++row) {
            std::wstring label(row->label, row->label + std::char_traits<char>::length(row->label));
            ::SendDlgItemMessageW(dialog, IDC_GUI_LABEL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        }
        ::SendDlgItemMessageW(dialog, IDC_GUI_LABEL, CB_SETCURSEL, 0, 0);
        ::SetDlgItemInt(dialog, IDC_GUI_ID, static_cast<UINT>(kGuiElementLists[0]->controlId), TRUE);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::ShowWindow(dialog, SW_HIDE);
        return TRUE;
    }
    return FALSE;
}

// The editor as Kel Exit with Shift opens it: one row, "Force :", 0.
INT_PTR CALLBACK EditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept
{
    static const int kUnusedRows[] = {IDC_PARAMETER_2, IDC_PARAMETER_LABEL_2, IDC_PARAMETER_3,
                                      IDC_PARAMETER_LABEL_3, IDC_PARAMETER_4, IDC_PARAMETER_LABEL_4};
    if (message == WM_INITDIALOG) {
        ::SetDlgItemTextW(dialog, IDC_PARAMETER_TITLE, L"Kel_Exit");
        ::SetDlgItemTextW(dialog, IDC_PARAMETER_1, L"0");
        ::SetDlgItemTextW(dialog, IDC_PARAMETER_LABEL_1, ResourceText(IDS_LABEL_FORCE).c_str());
        for (int id : kUnusedRows)
            ::ShowWindow(::GetDlgItem(dialog, id), SW_HIDE);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        g_editorDone = true;
        return TRUE;
    }
    return FALSE;
}

// The editor run modally the way the harness runs its dialogs: the owner
// disabled and a message loop of its own (the system's modal loop would also
// send the owner, and so the engine, a message whenever it waits).
void RunEditor(HWND owner)
{
    ::EnableWindow(owner, FALSE);
    g_editorDone = false;
    HWND editor = ::CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_PARAMETER_EDITOR), owner, &EditorProc, 0);
    ::ShowWindow(editor, SW_SHOWNORMAL);
    MSG message;
    while (!g_editorDone && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(editor, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    ::SetWindowPos(editor, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    ::EnableWindow(owner, TRUE);
    ::SetActiveWindow(owner);
    ::DestroyWindow(editor);
}

// The XML files' dialog of Load... and Save...; an empty name when cancelled.
std::wstring ChooseXmlFile(bool open)
{
    std::wstring filter = ResourceText(IDS_XML_FILTER), extension = ResourceText(IDS_XML_EXTENSION);
    for (wchar_t &c : filter)
        c = c == L'|' ? L'\0' : c;
    wchar_t file[MAX_PATH] = {};
    ResourceText(IDS_XML_FILE_NAME).copy(file, MAX_PATH - 1);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | (open ? OFN_FILEMUSTEXIST : 0);
    return (open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn)) ? file : L"";
}

void LoadXml(HWND dialog)
{
    std::wstring path = ChooseXmlFile(true);
    unique_file file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (path.empty() || !file)
        return;
    std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    std::wstring text;
    text.reserve(read + read / 32);
    for (DWORD i = 0; i < read; ++i) {
        if (bytes[i] == '\n')
            text += L"\r\n";
        else if (bytes[i] != '\r' || i + 1 == read || bytes[i + 1] != '\n')
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    }
    ::SetDlgItemTextW(dialog, IDC_XML, text.c_str());
}

void SaveXml(HWND dialog)
{
    std::wstring path = ChooseXmlFile(false);
    if (path.empty())
        return;
    HWND box = ::GetDlgItem(dialog, IDC_XML);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(box, &text[0], static_cast<int>(text.size()))));
    std::string bytes(text.begin(), text.end());
    // Written beside it, to disk, then put in its place, as the harness saves.
    const std::wstring beside = path + L".saving";
    unique_file file(::CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        !::FlushFileBuffers(file.get()))
        return;
    file.reset();
    ::MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

INT_PTR CALLBACK MainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    BareForward(message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        g_bareMain = dialog;
        g_font.reset(::CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0x20, L"Courier New"));
        ::SendDlgItemMessageW(dialog, IDC_XML, WM_SETFONT, reinterpret_cast<WPARAM>(g_font.get()), TRUE);
        for (const HarnessPage &page : kHarnessPages)
            ::SendDlgItemMessageW(dialog, page.toggleId, BM_SETCHECK, BST_CHECKED, 0);
        for (int box : {IDC_LIBRARY_STATE, IDC_MAIN_STATE, IDC_STATUS_STATE})
            SetState(dialog, box, IDS_NULL);
        return TRUE;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    // The wait cursor, as the harness shows it while a button works.
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    switch (LOWORD(wParam)) {
    case IDC_QUICK_START: QuickStart(dialog); break;
    case IDC_QUICK_FREE: QuickFree(dialog); break;
    case IDC_SHOW_GUI:
        if (!g_gui)
            g_gui = ::CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_GUI_ELEMENTS), dialog, &GuiProc, 0);
        ::ShowWindow(g_gui, SW_SHOW);
        break;
    case IDC_KEL_EXIT: RunEditor(dialog); break;
    case IDC_LOAD_XML: LoadXml(dialog); break;
    case IDC_SAVE_XML: SaveXml(dialog); break;
    case IDC_CLEAR_XML: ::SetDlgItemTextW(dialog, IDC_XML, L""); break;
    case IDCANCEL:
        QuickFree(dialog);
        ::EndDialog(dialog, IDCANCEL);
        break;
    default: break;
    }
    ::SetCursor(previous);
    return TRUE;
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    g_instance = instance;
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_HARNESS), nullptr, &MainProc, 0);
    return 0;
}
