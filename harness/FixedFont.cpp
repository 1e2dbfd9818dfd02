#include "FixedFont.h"

#include <cwchar>
#include <new>

LOGFONTW FixedFontDescription(const wchar_t *face, int height)
{
    LOGFONTW description = {};
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfPitchAndFamily = 0x20;
    std::wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    return description;
}

std::unique_ptr<CFont> CreateFixedFont(const wchar_t *face, int height)
{
    std::unique_ptr<CFont> font(new (std::nothrow) CFont);
    if (font)
        font->CreateFontIndirect(FixedFontDescription(face, height));
    return font;
}
