// The engine call panel: one button for each lifecycle, window and query
// operation, and Quick Start and Quick Free, which chain the usual start and
// end sequences. Every handler runs in the command frame.
#pragma once

#include "CmdTarget.h"
#include "EngineLoader.h"
#include "GuiElementDialog.h"
#include "PanelHost.h"

#include <memory>
#include <string>

class CCommandFrame;

class CEnginePanel : public CCmdTarget {
public:
    explicit CEnginePanel(PanelHost &host) : m_host(host) {}
    ~CEnginePanel() override;
    CEnginePanel(const CEnginePanel &) = delete;
    CEnginePanel &operator=(const CEnginePanel &) = delete;

    // Closes the GUI element dialog, before the main dialog goes.
    void DestroyGuiElementDialog();

private:
    using TextSizeSlot = Kel_GetSizeOfVersion_fn;
    using TextSlot = Kel_GetVersion_fn;

    // Size query, then the text itself, each reported; false when there is
    // nothing to show.
    bool FetchEngineText(CCommandFrame &frame, TextSizeSlot EngineEntryPoints::*sizeOf,
                         TextSlot EngineEntryPoints::*textOf, int &size, std::wstring &text);

    void OnLoadClicked(UINT code, int id, HWND control);
    void OnFreeClicked(UINT code, int id, HWND control);
    void OnInitMainClicked(UINT code, int id, HWND control);
    void OnCreateMainClicked(UINT code, int id, HWND control);
    void OnShowMainClicked(UINT code, int id, HWND control);
    void OnHideMainClicked(UINT code, int id, HWND control);
    void OnGetWindowClicked(UINT code, int id, HWND control);
    void OnInitStatusClicked(UINT code, int id, HWND control);
    void OnCreateStatusClicked(UINT code, int id, HWND control);
    void OnShowStatusClicked(UINT code, int id, HWND control);
    void OnHideStatusClicked(UINT code, int id, HWND control);
    void OnVersionClicked(UINT code, int id, HWND control);
    void OnPaperCatalogClicked(UINT code, int id, HWND control);
    void OnPrintClicked(UINT code, int id, HWND control);
    void OnKelExitClicked(UINT code, int id, HWND control);
    void OnShowGuiClicked(UINT code, int id, HWND control);
    void OnQuickStartClicked(UINT code, int id, HWND control);
    void OnQuickFreeClicked(UINT code, int id, HWND control);

    PanelHost &m_host;
    std::unique_ptr<CGuiElementDialog> m_pGuiElementDialog; // from the first Show GUI click on

    DECLARE_MESSAGE_MAP()
};
