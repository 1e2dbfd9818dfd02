#pragma once

#include "UniqueHandle.h"

// A font object; it may hold no Windows font when the system refused one.
class CFont {
public:
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const wchar_t *faceName);
    HFONT GetSafeHandle() const { return m_font.get(); }

private:
    unique_hfont m_font;
};
