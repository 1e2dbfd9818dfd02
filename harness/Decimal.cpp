#include "Decimal.h"

#include <cstdint>
#include <cwctype>

int ParseDecimal(const wchar_t *text)
{
    if (!text)
        return 0;
    while (std::iswspace(static_cast<std::wint_t>(*text)))
        ++text;
    bool negative = *text == L'-';
    if (*text == L'-' || *text == L'+')
        ++text;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        value = value * 10 + (*text - L'0');
        if (value > limit)
            value = limit; // keeps reading, as atol does, but never overflows
    }
    return static_cast<int>(negative ? -value : value);
}
