#include "TextViewer.h"

#include "FixedFont.h"
#include "resource.h"

std::wstring ExpandLineFeeds(const std::wstring &text)
{
    std::wstring expanded;
    expanded.reserve(text.size() + text.size() / 16);
    for (wchar_t c : text) {
        if (c == L'\n')
            expanded += L'\r';
        expanded += c;
    }
    return expanded;
}

BEGIN_MESSAGE_MAP(CTextViewer, CDialog)
    ON_CONTROL(EN_SETFOCUS, IDC_VIEWER_TEXT, OnTextFocus)
END_MESSAGE_MAP()

CTextViewer::CTextViewer(HWND parent) : CDialog(IDD_TEXT_VIEWER, parent) {}

CTextViewer::~CTextViewer()
{
    DestroyWindow(); // before the font it shows goes
    m_pFixedFont.reset();
}

void CTextViewer::DoDataExchange(CDataExchange *dx) { DDX_Control(dx, IDC_VIEWER_TEXT, m_textBox); }

BOOL CTextViewer::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pFixedFont = CreateFixedFont(kFixedFontFace, kFixedFontHeight);
    if (m_pFixedFont)
        m_textBox.SetFont(m_pFixedFont->GetSafeHandle(), TRUE);
    m_textBox.SetWindowText(ExpandLineFeeds(m_strText));
    return TRUE;
}

void CTextViewer::OnTextFocus(UINT, int, HWND)
{
    m_textBox.SetSel(0, 0); // also scrolls the caret into view
}
