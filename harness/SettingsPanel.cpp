// The settings panel: XML text between the box, files and the engine, and
// the engine's own settings files by name.
#include "HarnessDialog.h"

#include "EngineLoader.h"
#include "ErrorReport.h"
#include "FileBytes.h"
#include "FileDialog.h"
#include "Strings.h"
#include "WaitCursor.h"
#include "XmlTextFile.h"
#include "resource.h"

#include <string>

namespace {
// The XML files' dialog: Load... opens, Save... saves.
CFileDialog XmlFileDialog(bool open, DWORD flags)
{
    return CFileDialog(open, LoadResString(IDS_XML_EXTENSION), LoadResString(IDS_XML_FILE_NAME), flags,
                       LoadResString(IDS_XML_FILTER));
}
} // namespace

void CHarnessDialog::OnClearXmlClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    m_xml.SetWindowText(L"");
    ResetKeyState();
}

void CHarnessDialog::OnLoadXmlClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    CFileDialog dialog = XmlFileDialog(true, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() != IDOK)
        return;
    const std::wstring &path = dialog.GetPathName();
    std::string bytes;
    DWORD error = 0;
    if (!ReadFileBytes(path, bytes, error)) {
        // What the tester typed stays: an unreadable file is no reason to lose it.
        HarnessMessageBox(FormatString(LoadResString(IDS_CANNOT_READ), {path, SystemErrorText(error)}),
                          MB_ICONERROR);
        ResetKeyState();
        return;
    }
    DecodedXmlText decoded = DecodeXmlTextFile(bytes);
    m_xml.SetWindowText(decoded.text);
    if (decoded.stoppedAtZero) {
        HarnessMessageBox(FormatString(LoadResString(IDS_ZERO_BYTE), {path, std::to_wstring(decoded.zeroOffset)}),
                          MB_ICONWARNING);
    }
    ResetKeyState();
}

void CHarnessDialog::OnSaveXmlClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    CFileDialog dialog = XmlFileDialog(false, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() != IDOK)
        return;
    EncodedXmlText encoded = EncodeXmlTextFile(m_xml.GetWindowText());
    if (encoded.unencodable != 0 &&
        HarnessMessageBox(FormatString(LoadResString(IDS_UNENCODABLE), {std::to_wstring(encoded.unencodable)}),
                          MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        ResetKeyState();
        return;
    }
    DWORD error = 0;
    bool earlierFileKept = true;
    if (!ReplaceFileBytes(dialog.GetPathName(), encoded.bytes, error, earlierFileKept)) {
        UINT text = earlierFileKept ? IDS_CANNOT_WRITE : IDS_EARLIER_FILE_CHANGED;
        HarnessMessageBox(FormatString(LoadResString(text), {dialog.GetPathName(), SystemErrorText(error)}),
                          MB_ICONERROR);
    }
    ResetKeyState();
}

void CHarnessDialog::OnApplyXmlClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({reinterpret_cast<const void *>(g_engine.Kel_OpenXMLSettings)}))
        return;
    std::wstring text = m_xml.GetWindowText(); // the engine takes a writable text
    int position = 0;
    int result = g_engine.Kel_OpenXMLSettings(&text[0], &position);
    ReportEngineError(result, position);
    ResetKeyState();
}

void CHarnessDialog::OnBrowseClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    // A save dialog, so that a file that does not exist yet can be named; no overwrite question.
    CFileDialog dialog(false, LoadResString(IDS_KEL_EXTENSION), LoadResString(IDS_KEL_FILE_NAME), 0,
                       LoadResString(IDS_KEL_FILTER));
    if (dialog.DoModal() != IDOK)
        return;
    m_fileName.SetWindowText(dialog.GetPathName());
    ResetKeyState();
}

void CHarnessDialog::OnNewSettingsClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (Loaded({reinterpret_cast<const void *>(g_engine.Kel_NewSettings)}))
        ReportEngineError(g_engine.Kel_NewSettings(), 0);
    ResetKeyState();
}

void CHarnessDialog::OnOpenSettingsClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({reinterpret_cast<const void *>(g_engine.Kel_OpenSettings)}))
        return;
    std::wstring name = m_fileName.GetWindowText(); // passed unchanged, also when empty
    ReportEngineError(g_engine.Kel_OpenSettings(&name[0]), 0);
    ResetKeyState();
}

void CHarnessDialog::OnSaveSettingsClicked(UINT, int, HWND)
{
    CWaitCursor wait;
    if (!Loaded({reinterpret_cast<const void *>(g_engine.Kel_SaveSettings)}))
        return;
    std::wstring name = m_fileName.GetWindowText();
    ReportEngineError(g_engine.Kel_SaveSettings(&name[0]), 0);
    ResetKeyState();
}
