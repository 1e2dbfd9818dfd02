// The escapes of a quoted text as the call trace and the sample engine's call
// log write them: \" \\ \n \r \t, and \uXXXX for any other unit. Read by the
// harness's trace reader and the sample engine's script, each over its own
// characters.
#pragma once

#include <cstddef>

// A hexadecimal digit's value, -1 for any other character.
template <class Char>
int HexValue(Char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a') + 10;
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A') + 10;
    return -1;
}

// The unit the escape at `at` (behind its backslash, `available` characters
// from there on) stands for, and how many characters it spans. False when it
// is none of the escapes.
template <class Char>
bool ReadEscape(const Char *at, std::size_t available, wchar_t &unit, std::size_t &taken)
{
    if (available == 0)
        return false;
    taken = 1;
    switch (at[0]) {
    case '"': unit = L'"'; return true;
    case '\\': unit = L'\\'; return true;
    case 'n': unit = L'\n'; return true;
    case 'r': unit = L'\r'; return true;
    case 't': unit = L'\t'; return true;
    case 'u': {
        if (available < 5)
            return false;
        unsigned value = 0;
        for (std::size_t k = 1; k <= 4; ++k) {
            int digit = HexValue(at[k]);
            if (digit < 0)
                return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        unit = static_cast<wchar_t>(value);
        taken = 5;
        return true;
    }
    default: return false;
    }
}
