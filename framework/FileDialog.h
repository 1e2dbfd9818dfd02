// The common open and save dialogs, with filters in the framework's form
// "text|pattern|text|pattern||".
#pragma once

#include <windows.h>

#include <string>

class CFileDialog {
public:
    CFileDialog(bool openFileDialog, const std::wstring &defaultExtension, const std::wstring &fileName,
                DWORD flags, const std::wstring &filter, HWND owner = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    const std::wstring &GetPathName() const { return m_path; }

private:
    bool m_open;
    std::wstring m_defaultExtension;
    std::wstring m_fileName;
    DWORD m_flags;
    std::wstring m_filter;
    HWND m_owner;
    std::wstring m_path;
};

// "a|b||" -> "a\0b\0\0": the form the system's dialogs take.
std::wstring ConvertFilter(const std::wstring &filter);
