// Shows a long text read-only in the fixed font, opened at its top.
#pragma once

#include "Dialog.h"
#include "Font.h"

#include <memory>
#include <string>
#include <utility>

// Every line feed becomes carriage return + line feed, as the edit box
// needs; a text that already has such pairs gets one more carriage return.
std::wstring ExpandLineFeeds(const std::wstring &text);

class CTextViewer : public CDialog {
public:
    explicit CTextViewer(HWND parent = nullptr);
    ~CTextViewer() override;

    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;

    // The text the box shows; set before the window is made.
    void SetText(std::wstring text) { m_strText = std::move(text); }

private:
    void OnTextFocus(UINT code, int id, HWND control);

    CEdit m_textBox;
    std::wstring m_strText;
    std::unique_ptr<CFont> m_pFixedFont;

    DECLARE_MESSAGE_MAP()
};
