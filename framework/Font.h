// A font object: owns the Windows font it was given, if any.
#pragma once

#include "UniqueHandle.h"

#include <windows.h>

class CFont {
public:
    // False when Windows refused; the object then holds no font.
    bool CreateFontIndirect(const LOGFONTW &description)
    {
        m_font.reset(::CreateFontIndirectW(&description));
        return static_cast<bool>(m_font);
    }
    HFONT GetSafeHandle() const { return m_font.get(); }

private:
    unique_hfont m_font;
};
