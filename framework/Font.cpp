#include "Font.h"

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const wchar_t *faceName)
{
    m_font.reset(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                               charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
    return static_cast<bool>(m_font);
}
