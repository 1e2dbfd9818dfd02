#include "SettingsPanel.h"

#include "CommandFrame.h"
#include "EngineLoader.h"
#include "ErrorReport.h"
#include "FileBytes.h"
#include "FileDialog.h"
#include "FixedFont.h"
#include "Strings.h"
#include "WinApp.h"
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

BEGIN_MESSAGE_MAP(CSettingsPanel, CCmdTarget)
    ON_COMMAND(IDC_CLEAR_XML, OnClearXmlClicked)
    ON_COMMAND(IDC_LOAD_XML, OnLoadXmlClicked)
    ON_COMMAND(IDC_SAVE_XML, OnSaveXmlClicked)
    ON_COMMAND(IDC_APPLY_XML, OnApplyXmlClicked)
    ON_COMMAND(IDC_BROWSE, OnBrowseClicked)
    ON_COMMAND(IDC_NEW_SETTINGS, OnNewSettingsClicked)
    ON_COMMAND(IDC_OPEN_SETTINGS, OnOpenSettingsClicked)
    ON_COMMAND(IDC_SAVE_SETTINGS, OnSaveSettingsClicked)
END_MESSAGE_MAP()

void CSettingsPanel::DoDataExchange(CDataExchange *dx)
{
    DDX_Control(dx, IDC_FILE_NAME, m_fileName);
    DDX_Control(dx, IDC_XML, m_xml);
}

void CSettingsPanel::OnInitDialog()
{
    m_pFixedFont = CreateFixedFont(kFixedFontFace, kFixedFontHeight);
    if (m_pFixedFont)
        m_xml.SetFont(m_pFixedFont->GetSafeHandle(), TRUE);
    m_xml.SendMessage(EM_SETLIMITTEXT, 0); // as much as the box can hold: files of megabytes load whole
}

void CSettingsPanel::OpenCommandLineSettings()
{
    const std::wstring commandLine = AfxGetApp()->m_lpCmdLine;
    if (commandLine.empty())
        return;
    if (!EngineCalls::Bound(&Entry::Kel_OpenSettings)) {
        HarnessMessageBox(IDS_FUNCTION_NOT_LOADED, MB_OK);
        return;
    }
    // Not reached while the harness loads no engine at start-up, as now: kept
    // as the start-up path is laid down.
    std::wstring name = commandLine; // the engine takes a writable text
    if (EngineCalls::Call(&Entry::Kel_OpenSettings, &name[0]) == KEL_OK)
        return;
    HarnessMessageBox(LoadResString(IDS_CANNOT_OPEN_SETTINGS) + L"\n" + commandLine, MB_OK);
    EngineCalls::Call(&Entry::Kel_NewSettings);
}

void CSettingsPanel::OnClearXmlClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    m_xml.SetWindowText(L"");
}

void CSettingsPanel::OnLoadXmlClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    CFileDialog dialog = XmlFileDialog(true, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() != IDOK) {
        frame.NothingChosen();
        return;
    }
    const std::wstring &path = dialog.GetPathName();
    std::string bytes;
    DWORD error = 0;
    if (!ReadFileBytes(path, bytes, error)) {
        // What the tester typed stays: an unreadable file is no reason to lose it.
        HarnessMessageBox(FormatString(LoadResString(IDS_CANNOT_READ), {path, SystemErrorText(error, path)}),
                          MB_ICONERROR);
        return;
    }
    DecodedXmlText decoded = DecodeXmlTextFile(bytes);
    m_xml.SetWindowText(decoded.text);
    if (decoded.stoppedAtZero) {
        HarnessMessageBox(FormatString(LoadResString(IDS_ZERO_BYTE), {path, std::to_wstring(decoded.zeroOffset)}),
                          MB_ICONWARNING);
    }
}

void CSettingsPanel::OnSaveXmlClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    CFileDialog dialog = XmlFileDialog(false, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    if (dialog.DoModal() != IDOK) {
        frame.NothingChosen();
        return;
    }
    EncodedXmlText encoded = EncodeXmlTextFile(m_xml.GetWindowText());
    if (encoded.unencodable != 0 &&
        HarnessMessageBox(FormatString(LoadResString(IDS_UNENCODABLE), {std::to_wstring(encoded.unencodable)}),
                          MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    SaveFileBytes(dialog.GetPathName(), encoded.bytes);
}

void CSettingsPanel::OnApplyXmlClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_OpenXMLSettings))
        return;
    std::wstring text = m_xml.GetWindowText(); // the engine takes a writable text
    int position = 0;
    int result = EngineCalls::Call(&Entry::Kel_OpenXMLSettings, &text[0], &position);
    frame.Report(result, position);
}

void CSettingsPanel::OnBrowseClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    // A save dialog, so that a file that does not exist yet can be named; no overwrite question.
    CFileDialog dialog(false, LoadResString(IDS_KEL_EXTENSION), LoadResString(IDS_KEL_FILE_NAME), 0,
                       LoadResString(IDS_KEL_FILTER));
    if (dialog.DoModal() != IDOK) {
        frame.NothingChosen();
        return;
    }
    m_fileName.SetWindowText(dialog.GetPathName());
}

void CSettingsPanel::OnNewSettingsClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (frame.LoadedElseReset(&Entry::Kel_NewSettings))
        frame.Report(EngineCalls::Call(&Entry::Kel_NewSettings));
}

void CSettingsPanel::OnOpenSettingsClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_OpenSettings))
        return;
    std::wstring name = m_fileName.GetWindowText(); // passed unchanged, also when empty
    frame.Report(EngineCalls::Call(&Entry::Kel_OpenSettings, &name[0]));
}

void CSettingsPanel::OnSaveSettingsClicked(UINT, int, HWND)
{
    CCommandFrame frame(m_host);
    if (!frame.Loaded(&Entry::Kel_SaveSettings))
        return;
    std::wstring name = m_fileName.GetWindowText();
    frame.Report(EngineCalls::Call(&Entry::Kel_SaveSettings, &name[0]));
}
