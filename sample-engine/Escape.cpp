#include "Escape.h"

#include "TextEscapes.h"
#include "Utf8.h"

#include <cwchar>

namespace {
bool IsSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUnitEscape(std::string &out, unsigned unit)
{
    static const char digits[] = "0123456789ABCDEF";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(unit >> shift) & 0xF];
}

bool Flush(std::string &pending, std::wstring &text)
{
    std::wstring decoded;
    if (!FromUtf8(pending, decoded))
        return false;
    text += decoded;
    pending.clear();
    return true;
}
} // namespace

std::string QuoteText(const wchar_t *text, std::size_t length)
{
    std::string out = "\"";
    std::size_t plain = 0; // the text since the last escape, encoded in one call
    for (std::size_t i = 0; i < length; ++i) {
        unsigned unit = static_cast<unsigned>(text[i]);
        if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(static_cast<unsigned>(text[i + 1]))) {
            ++i;
            continue;
        }
        if (unit >= 0x20 && unit != 0x7F && !IsSurrogate(unit) && unit != L'"' && unit != L'\\')
            continue;
        out += EncodeUtf8(text + plain, i - plain);
        plain = i + 1;
        switch (unit) {
        case L'"': out += "\\\""; break;
        case L'\\': out += "\\\\"; break;
        case L'\n': out += "\\n"; break;
        case L'\r': out += "\\r"; break;
        case L'\t': out += "\\t"; break;
        default: AppendUnitEscape(out, unit); break;
        }
    }
    out += EncodeUtf8(text + plain, length - plain);
    return out + "\"";
}

std::string QuoteText(const wchar_t *text) { return text ? QuoteText(text, std::wcslen(text)) : "NULL"; }

bool ReadQuotedText(const std::string &line, std::size_t &pos, std::wstring &text)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    std::wstring result;
    std::string pending; // raw UTF-8 between escapes
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            if (!Flush(pending, result))
                return false;
            text.swap(result);
            pos = i + 1;
            return true;
        }
        if (c != '\\') {
            pending += c;
            continue;
        }
        wchar_t unit = 0;
        std::size_t taken = 0;
        if (!Flush(pending, result) || !ReadEscape(line.data() + i + 1, line.size() - i - 1, unit, taken))
            return false;
        result += unit;
        i += taken;
    }
    return false;
}
