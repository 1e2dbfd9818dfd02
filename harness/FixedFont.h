// The fixed-width font of the XML box and the text viewer.
#pragma once

#include "Font.h"

#include <memory>

// What CreateFixedFont asks Windows for: the given cell height and face,
// normal weight, pitch and family 0x20, everything else 0. A face longer
// than a font name can be is cut.
LOGFONTW FixedFontDescription(const wchar_t *face, int height);

// The font object, also when Windows refused to make the font (it then holds
// none); null only when there was no memory for the object.
std::unique_ptr<CFont> CreateFixedFont(const wchar_t *face, int height);

// The face and cell height of every fixed-width box of the harness: the XML
// box, the text viewer and the call trace.
inline constexpr wchar_t kFixedFontFace[] = L"Courier New";
inline constexpr int kFixedFontHeight = 14;
