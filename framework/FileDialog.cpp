#include "FileDialog.h"

#include <commdlg.h>

#include <vector>

CFileDialog::CFileDialog(bool openFileDialog, const std::wstring &defaultExtension, const std::wstring &fileName,
                         DWORD flags, const std::wstring &filter, HWND owner)
    : m_open(openFileDialog), m_defaultExtension(defaultExtension), m_fileName(fileName), m_flags(flags),
      m_filter(ConvertFilter(filter)), m_owner(owner)
{
}

INT_PTR CFileDialog::DoModal()
{
    // Room for long paths; the initial name is copied in.
    std::vector<wchar_t> buffer(32768, L'\0');
    m_fileName.copy(buffer.data(), buffer.size() - 1);

    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_owner;
    ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    ofn.Flags = m_flags | OFN_EXPLORER;

    BOOL chosen = m_open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    if (!chosen)
        return IDCANCEL;
    m_path = buffer.data();
    return IDOK;
}

std::wstring ConvertFilter(const std::wstring &filter)
{
    std::wstring converted = filter;
    for (wchar_t &c : converted) {
        if (c == L'|')
            c = L'\0';
    }
    return converted;
}
