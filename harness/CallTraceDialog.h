// The call trace in a window of its own beside the main dialog: its lines in
// the fixed font, shown again while the window is open whenever calls were
// made, with Replay..., Clear, Copy and Save..., and the choice to keep the
// trace when the engine faults. Modeless; closing it only hides it.
#pragma once

#include "CallTrace.h"
#include "Dialog.h"
#include "Font.h"
#include "PanelHost.h"

#include <cstdint>
#include <memory>
#include <vector>

class CCallTraceDialog : public CDialog {
public:
    CCallTraceDialog(CCallTrace &trace, PanelHost &host);
    ~CCallTraceDialog() override;

    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;

    // Shows the window, with the trace as it stands.
    void Open();

private:
    void PlaceBesideOwner();
    // The trace's text into the box when it changed since it was last shown.
    void ShowTrace();

    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int width, int height);
    void OnGetMinMaxInfo(MINMAXINFO *info);
    void OnRelaysClicked(UINT code, int id, HWND control);
    void OnClearClicked(UINT code, int id, HWND control);
    void OnCopyClicked(UINT code, int id, HWND control);
    void OnSaveClicked(UINT code, int id, HWND control);
    void OnReplayClicked(UINT code, int id, HWND control);
    void OnKeepClicked(UINT code, int id, HWND control);

    CEdit m_text;
    CButton m_relays;
    CButton m_keep;
    CCallTrace &m_trace;
    PanelHost &m_host;
    std::uint64_t m_shownVersion = UINT64_MAX;
    std::unique_ptr<CFont> m_pFixedFont;
    SIZE m_designClient = {}; // the template's client size, which the layout grows from
    std::vector<RECT> m_designed; // and each control's place in it
    SIZE m_smallest = {};     // the window no smaller than it was made

    DECLARE_MESSAGE_MAP()
};
