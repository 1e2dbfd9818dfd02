// The harness's main dialog: the settings panel, the engine call panel, the
// Enabled Pages toggles and the frame in which the engine's windows appear.
// Every message of its window goes to the engine first.
#pragma once

#include "Dialog.h"
#include "Font.h"
#include "UniqueHandle.h"

#include <initializer_list>
#include <memory>
#include <string>

class CHarnessDialog : public CDialog {
public:
    explicit CHarnessDialog(HWND parent = nullptr);
    ~CHarnessDialog() override;

    void DoDataExchange(CDataExchange *dx) override;
    BOOL PreTranslateMessage(MSG *message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Every command handler ends with it, so Shift opens the parameter
    // editor only for the click it was held for.
    void ResetKeyState() { m_bShiftDown = 0; }

    CButton m_engineFrame;
    CEdit m_statusState;
    CEdit m_mainState;
    CEdit m_libraryState;
    CEdit m_fileName;
    CEdit m_xml;
    unique_hicon m_hIcon;
    std::unique_ptr<CFont> m_pFixedFont;
    BYTE m_bShiftDown = 0;

private:
    // One argument of an entry point as the parameter editor offers it.
    struct Parameter {
        UINT label;
        int value;
    };

    void TrackShift(UINT message, WPARAM wParam);
    void OpenCommandLineSettings();
    // Shows "Function was not loaded" when a slot is missing.
    static bool Loaded(std::initializer_list<const void *> slots);
    // While Shift is held, lets the tester edit the values; false when the
    // editor was cancelled (the key state is then reset).
    bool EditParameters(const wchar_t *title, std::initializer_list<Parameter *> parameters);

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnPageToggled(UINT code, int id, HWND control);
    void OnExitCommand(UINT code, int id, HWND control);
    void OnCloseDocumentCommand(UINT code, int id, HWND control);
    void OnLoadClicked(UINT code, int id, HWND control);
    void OnKelExitClicked(UINT code, int id, HWND control);
    void OnExitClicked(UINT code, int id, HWND control);

    DECLARE_MESSAGE_MAP()
};
