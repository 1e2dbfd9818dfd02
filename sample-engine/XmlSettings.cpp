#include "XmlSettings.h"

#include "PageTable.h"
#include "EngineContract.h"
#include "Texts.h"

#include <cwchar>
#include <iterator>

namespace {
enum class Tag { Root, Printer, Copies, Collate, BodyPaper, PrintRange, Help, Tab };

struct TagName {
    const wchar_t *name;
    Tag tag;
};
const TagName kTags[] = {
    {L"Printer_Settings", Tag::Root}, {L"Printer", Tag::Printer},     {L"Copies", Tag::Copies},
    {L"Collate", Tag::Collate},       {L"BodyPaper", Tag::BodyPaper}, {L"PrintRange", Tag::PrintRange},
    {L"Help", Tag::Help},             {L"Tab", Tag::Tab},
};

struct XmlFault {
    int code;
    std::size_t position;
};

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
bool IsNameStart(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c >= 0x80; }
bool IsNameChar(wchar_t c) { return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.'; }

std::wstring Trim(const std::wstring &text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && IsSpace(text[first]))
        ++first;
    while (last > first && IsSpace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

class Parser {
public:
    explicit Parser(const wchar_t *text) : m_text(text), m_length(std::wcslen(text)) {}

    XmlSettings Document()
    {
        if (m_length == 0)
            Fail(KEL_XML_SYNTAX_ERROR, 0);
        SkipSpace();
        if (LookingAt(L"<?xml") && (IsSpace(Peek(5)) || Peek(5) == L'?'))
            Declaration();
        SkipMisc();
        if (AtEnd())
            Fail(KEL_XML_SYNTAX_ERROR, m_pos);
        if (Peek() != L'<')
            Fail(KEL_XML_ILLEGAL_ORDER, m_pos); // text outside the root
        RejectOtherMarkup();
        StartTag root = ReadStartTag();
        if (root.tag != Tag::Root)
            Fail(KEL_XML_ILLEGAL_ORDER, root.position);
        if (!root.empty)
            RootContent(root);
        SkipMisc();
        if (!AtEnd())
            Fail(KEL_XML_ILLEGAL_ORDER, m_pos); // a second root or text after it
        return m_values;
    }

private:
    struct StartTag {
        Tag tag;
        std::wstring name;
        std::size_t position;
        bool empty;
    };

    [[noreturn]] void Fail(int code, std::size_t position) const { throw XmlFault{code, position}; }
    bool AtEnd() const { return m_pos >= m_length; }
    wchar_t Peek(std::size_t ahead = 0) const { return m_pos + ahead < m_length ? m_text[m_pos + ahead] : L'\0'; }
    bool LookingAt(const wchar_t *s) const
    {
        std::size_t n = std::wcslen(s);
        return m_length - m_pos >= n && std::wcsncmp(m_text + m_pos, s, n) == 0;
    }

    void SkipSpace()
    {
        while (!AtEnd() && IsSpace(Peek()))
            ++m_pos;
    }

    void SkipPast(const wchar_t *terminator)
    {
        const wchar_t *found = std::wcsstr(m_text + m_pos, terminator);
        if (!found || static_cast<std::size_t>(found - m_text) >= m_length)
            Fail(KEL_XML_SYNTAX_ERROR, m_length);
        m_pos = static_cast<std::size_t>(found - m_text) + std::wcslen(terminator);
    }

    void Declaration() { SkipPast(L"?>"); }

    // White space and comments.
    void SkipMisc()
    {
        for (;;) {
            SkipSpace();
            if (!LookingAt(L"<!--"))
                return;
            m_pos += 4;
            SkipPast(L"-->");
        }
    }

    // Markup the language has no place for: a late declaration, processing
    // instructions, CDATA sections and document types.
    void RejectOtherMarkup() const
    {
        if (LookingAt(L"<?xml"))
            Fail(KEL_XML_ILLEGAL_ORDER, m_pos);
        if (LookingAt(L"<?") || LookingAt(L"<!"))
            Fail(KEL_XML_OTHER_ERROR, m_pos);
    }

    std::wstring Name()
    {
        if (!IsNameStart(Peek()))
            Fail(KEL_XML_SYNTAX_ERROR, m_pos);
        std::size_t start = m_pos;
        while (!AtEnd() && IsNameChar(Peek()))
            ++m_pos;
        return std::wstring(m_text + start, m_pos - start);
    }

    StartTag ReadStartTag()
    {
        std::size_t at = m_pos++;
        std::wstring name = Name();
        const TagName *known = nullptr;
        for (const TagName &candidate : kTags) {
            if (name == candidate.name)
                known = &candidate;
        }
        if (!known)
            Fail(KEL_XML_UNKNOWN_TAG, at);
        SkipSpace();
        if (IsNameStart(Peek()))
            Fail(KEL_XML_OTHER_ERROR, m_pos); // attributes are not part of the language
        if (LookingAt(L"/>")) {
            m_pos += 2;
            return {known->tag, name, at, true};
        }
        if (Peek() != L'>')
            Fail(KEL_XML_SYNTAX_ERROR, m_pos);
        ++m_pos;
        return {known->tag, name, at, false};
    }

    // At "</": the end tag must close the element that is open.
    void ReadEndTag(const std::wstring &open)
    {
        std::size_t at = m_pos;
        m_pos += 2;
        if (Name() != open)
            Fail(KEL_XML_SYNTAX_ERROR, at);
        SkipSpace();
        if (Peek() != L'>')
            Fail(KEL_XML_SYNTAX_ERROR, m_pos);
        ++m_pos;
    }

    void RootContent(const StartTag &root)
    {
        bool seen[std::size(kTags)] = {};
        for (;;) {
            SkipMisc();
            if (AtEnd())
                Fail(KEL_XML_SYNTAX_ERROR, m_pos);
            if (Peek() != L'<')
                Fail(KEL_XML_ILLEGAL_ORDER, m_pos); // text among the settings
            if (LookingAt(L"</")) {
                ReadEndTag(root.name);
                return;
            }
            RejectOtherMarkup();
            StartTag child = ReadStartTag();
            bool &once = seen[static_cast<int>(child.tag)];
            if (child.tag == Tag::Root || once)
                Fail(KEL_XML_ILLEGAL_ORDER, child.position);
            once = true;
            Leaf(child);
        }
    }

    void Leaf(const StartTag &element)
    {
        std::wstring value;
        std::size_t valueAt = std::wstring::npos; // the first character that is not blank
        while (!element.empty) {
            if (AtEnd())
                Fail(KEL_XML_SYNTAX_ERROR, m_pos);
            wchar_t c = Peek();
            if (c == L'<') {
                if (LookingAt(L"</"))
                    break;
                if (IsNameStart(Peek(1)))
                    Fail(KEL_XML_ILLEGAL_ORDER, m_pos); // an element inside a setting
                RejectOtherMarkup();
                Fail(KEL_XML_SYNTAX_ERROR, m_pos + 1);
            }
            if (valueAt == std::wstring::npos && !IsSpace(c))
                valueAt = m_pos;
            if (c == L'&') {
                value += Reference();
            } else {
                value += c;
                ++m_pos;
            }
        }
        Accept(element.tag, Trim(value), valueAt == std::wstring::npos ? m_pos : valueAt);
        if (!element.empty)
            ReadEndTag(element.name);
    }

    // At '&': one of the five predefined entities or a character reference.
    std::wstring Reference()
    {
        std::size_t at = m_pos;
        std::size_t end = at + 1;
        while (end < m_length && end - at <= 10 && m_text[end] != L';')
            ++end;
        if (end >= m_length || m_text[end] != L';')
            Fail(KEL_XML_OTHER_ERROR, at);
        std::wstring name(m_text + at + 1, end - at - 1);
        m_pos = end + 1;
        static const struct {
            const wchar_t *name;
            wchar_t value;
        } kEntities[] = {{L"lt", L'<'}, {L"gt", L'>'}, {L"amp", L'&'}, {L"quot", L'"'}, {L"apos", L'\''}};
        for (const auto &entity : kEntities) {
            if (name == entity.name)
                return std::wstring(1, entity.value);
        }
        bool hex = name.size() > 2 && name[0] == L'#' && (name[1] == L'x' || name[1] == L'X');
        bool dec = name.size() > 1 && name[0] == L'#' && !hex;
        unsigned long cp = 0;
        for (std::size_t i = hex ? 2 : 1; (hex || dec) && i < name.size(); ++i) {
            wchar_t c = name[i];
            int digit = c >= L'0' && c <= L'9' ? c - L'0'
                        : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                        : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                        : -1;
            if (digit < 0) {
                cp = 0;
                break;
            }
            cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        }
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            Fail(KEL_XML_OTHER_ERROR, at);
        if (cp < 0x10000)
            return std::wstring(1, static_cast<wchar_t>(cp));
        cp -= 0x10000;
        return {static_cast<wchar_t>(0xD800 + (cp >> 10)), static_cast<wchar_t>(0xDC00 + (cp & 0x3FF))};
    }

    // Checks a setting's value and keeps it; a value that is not allowed fails at `at`.
    void Accept(Tag tag, const std::wstring &value, std::size_t at)
    {
        bool ok = false;
        switch (tag) {
        case Tag::Printer: ok = Keep(m_values.printer, FindPrinter(value)); break;
        case Tag::Help: ok = Keep(m_values.help, FindHelpTopic(value)); break;
        case Tag::BodyPaper: {
            const Paper *paper = FindPaper(value);
            ok = Keep(m_values.bodyPaper, paper ? paper->name : nullptr);
            break;
        }
        case Tag::Copies: ok = Keep(m_values.copies, ParseCopies(value)); break;
        case Tag::Collate: ok = Keep(m_values.collate, ParseYesNo(value)); break;
        case Tag::PrintRange: ok = Keep(m_values.range, ParsePrintRange(value)); break;
        case Tag::Tab: {
            std::optional<int> code = ParsePageNumber(value);
            ok = code && PageIndexOf(*code) >= 0 && Keep(m_values.tab, code);
            break;
        }
        case Tag::Root: break;
        }
        if (!ok)
            Fail(KEL_XML_ILLEGAL_VALUE, at);
    }

    static bool Keep(std::optional<std::wstring> &slot, const wchar_t *value)
    {
        if (value)
            slot = value;
        return value != nullptr;
    }
    template <class T>
    static bool Keep(std::optional<T> &slot, const std::optional<T> &value)
    {
        slot = value;
        return value.has_value();
    }

    const wchar_t *m_text;
    std::size_t m_length;
    std::size_t m_pos = 0;
    XmlSettings m_values;
};
} // namespace

bool XmlSettings::HasSettings() const { return printer || copies || collate || bodyPaper || range; }

void XmlSettings::ApplyTo(JobSettings &settings) const
{
    settings.printer = printer.value_or(settings.printer);
    settings.copies = copies.value_or(settings.copies);
    settings.collate = collate.value_or(settings.collate);
    settings.bodyPaper = bodyPaper.value_or(settings.bodyPaper);
    settings.range = range.value_or(settings.range);
}

XmlOutcome ParseXmlSettings(const wchar_t *text)
{
    XmlOutcome outcome;
    if (!text) {
        outcome.code = KEL_XML_READ_ERROR;
        return outcome;
    }
    try {
        outcome.values = Parser(text).Document();
    } catch (const XmlFault &fault) {
        outcome.code = fault.code;
        outcome.position = static_cast<int>(fault.position);
        outcome.values = XmlSettings{};
    }
    return outcome;
}
