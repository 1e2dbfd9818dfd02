// The harness's main dialog: the settings panel, the engine call panel, the
// Enabled Pages toggles and the frame in which the engine's windows appear.
// Every message of its window goes to the engine first.
#pragma once

#include "Dialog.h"
#include "EngineInterface.h"
#include "Font.h"
#include "GuiElementDialog.h"
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

    std::unique_ptr<CGuiElementDialog> m_pGuiElementDialog; // from the first Show GUI click on
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

    // The slots themselves, read at the moment of each call.
    using TextSizeSlot = Kel_GetSizeOfVersion_fn;
    using TextSlot = Kel_GetVersion_fn;

    void TrackShift(UINT message, WPARAM wParam);
    // The main dialog's client rectangle of the frame 1035's client area.
    RECT FrameRectangle() const;
    void SetState(CEdit &box, UINT stringId) const;
    // Every Enabled Pages toggle pressed, without telling the engine.
    void PressAllPageToggles() const;
    // Size query, then the text itself, each reported; false when there is
    // nothing to show. The key state is reset on the ways out that need it.
    bool FetchEngineText(const TextSizeSlot &sizeOf, const TextSlot &textOf, int &size, std::wstring &text);
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
    void OnFreeClicked(UINT code, int id, HWND control);
    void OnInitMainClicked(UINT code, int id, HWND control);
    void OnCreateMainClicked(UINT code, int id, HWND control);
    void OnShowMainClicked(UINT code, int id, HWND control);
    void OnHideMainClicked(UINT code, int id, HWND control);
    void OnGetWindowMainClicked(UINT code, int id, HWND control);
    void OnInitStatusClicked(UINT code, int id, HWND control);
    void OnCreateStatusClicked(UINT code, int id, HWND control);
    void OnShowStatusClicked(UINT code, int id, HWND control);
    void OnHideStatusClicked(UINT code, int id, HWND control);
    void OnGetWindowStatusClicked(UINT code, int id, HWND control);
    void OnVersionClicked(UINT code, int id, HWND control);
    void OnPaperCatalogClicked(UINT code, int id, HWND control);
    void OnPrintClicked(UINT code, int id, HWND control);
    void OnKelExitClicked(UINT code, int id, HWND control);
    void OnShowGuiClicked(UINT code, int id, HWND control);
    void OnQuickStartClicked(UINT code, int id, HWND control);
    void OnQuickFreeClicked(UINT code, int id, HWND control);
    void OnExitClicked(UINT code, int id, HWND control);
    // Settings panel.
    void OnClearXmlClicked(UINT code, int id, HWND control);
    void OnLoadXmlClicked(UINT code, int id, HWND control);
    void OnSaveXmlClicked(UINT code, int id, HWND control);
    void OnApplyXmlClicked(UINT code, int id, HWND control);
    void OnBrowseClicked(UINT code, int id, HWND control);
    void OnNewSettingsClicked(UINT code, int id, HWND control);
    void OnOpenSettingsClicked(UINT code, int id, HWND control);
    void OnSaveSettingsClicked(UINT code, int id, HWND control);

    DECLARE_MESSAGE_MAP()
};
