// Decimal text to a number, as the runtime's wide atol reads it.
#pragma once

// Leading white space is skipped, then an optional sign and decimal digits
// are read up to the first other character; no digits give 0. Values beyond
// the 32-bit range are clamped to it.
int ParseDecimal(const wchar_t *text);
