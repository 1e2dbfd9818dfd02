// The settings panel: XML text between its box, files and the engine, and
// the engine's own settings files by name.
#pragma once

#include "CmdTarget.h"
#include "Dialog.h"
#include "Font.h"
#include "PanelHost.h"

#include <memory>

class CSettingsPanel : public CCmdTarget {
public:
    explicit CSettingsPanel(PanelHost &host) : m_host(host) {}
    CSettingsPanel(const CSettingsPanel &) = delete;
    CSettingsPanel &operator=(const CSettingsPanel &) = delete;

    void DoDataExchange(CDataExchange *dx);
    // The XML box in the fixed font, holding files of megabytes whole.
    void OnInitDialog();
    // The settings file named on the command line, opened in the engine.
    void OpenCommandLineSettings();

private:
    void OnClearXmlClicked(UINT code, int id, HWND control);
    void OnLoadXmlClicked(UINT code, int id, HWND control);
    void OnSaveXmlClicked(UINT code, int id, HWND control);
    void OnApplyXmlClicked(UINT code, int id, HWND control);
    void OnBrowseClicked(UINT code, int id, HWND control);
    void OnNewSettingsClicked(UINT code, int id, HWND control);
    void OnOpenSettingsClicked(UINT code, int id, HWND control);
    void OnSaveSettingsClicked(UINT code, int id, HWND control);

    PanelHost &m_host;
    CEdit m_fileName;
    CEdit m_xml;
    std::unique_ptr<CFont> m_pFixedFont;

    DECLARE_MESSAGE_MAP()
};
