#include "CallFormat.h"

#include "Escape.h"

std::string LoggedValue(int value) { return std::to_string(value); }

std::string LoggedValue(const void *handle) { return std::to_string(reinterpret_cast<std::uintptr_t>(handle)); }

void OutText::Write(const wchar_t *units, std::size_t count, bool terminate)
{
    if (!m_buffer)
        return;
    for (std::size_t i = 0; i < count; ++i)
        m_buffer[i] = units[i];
    if (terminate)
        m_buffer[count] = L'\0';
    m_count = count;
    m_written = true;
}

std::string OutText::Logged() const
{
    if (!m_buffer)
        return "NULL";
    return m_written ? "->" + QuoteText(m_buffer, m_count) : "->?";
}

Arg Arg::Integer(long long value)
{
    Arg arg;
    arg.m_integer = value;
    return arg;
}

Arg Arg::Unsigned(unsigned long long value)
{
    Arg arg;
    arg.m_kind = Kind::Unsigned;
    arg.m_integer = static_cast<long long>(value);
    return arg;
}

Arg Arg::Address(std::uintptr_t value) { return Unsigned(value); }

Arg Arg::Text(const wchar_t *text)
{
    Arg arg;
    arg.m_kind = Kind::Text;
    arg.m_text = text;
    return arg;
}

Arg Arg::Absent()
{
    Arg arg;
    arg.m_kind = Kind::Absent;
    return arg;
}

Arg Arg::Output(const OutSlot &slot)
{
    Arg arg;
    arg.m_kind = Kind::Output;
    arg.m_slot = &slot;
    arg.m_integer = static_cast<long long>(reinterpret_cast<std::uintptr_t>(slot.Target()));
    return arg;
}

Arg Arg::Written(long long value)
{
    Arg arg;
    arg.m_kind = Kind::Written;
    arg.m_integer = value;
    return arg;
}

ArgValue Arg::Value() const
{
    switch (m_kind) {
    case Kind::Text: return ArgValue::Text(m_text);
    case Kind::Absent: return ArgValue::Text(nullptr);
    case Kind::Integer:
    case Kind::Unsigned:
    case Kind::Output:
    case Kind::Written: break;
    }
    return ArgValue::Integer(m_integer);
}

std::string Arg::Logged() const
{
    switch (m_kind) {
    case Kind::Integer: return std::to_string(m_integer);
    case Kind::Unsigned: return std::to_string(static_cast<unsigned long long>(m_integer));
    case Kind::Text: return QuoteText(m_text);
    case Kind::Absent: return "NULL";
    case Kind::Written: return "->" + std::to_string(m_integer);
    case Kind::Output: break;
    }
    return m_slot->Logged();
}

std::string FormatCall(const std::string &name, std::initializer_list<Arg> args)
{
    std::string line = name + "(";
    const char *separator = "";
    for (const Arg &arg : args) {
        line += separator + arg.Logged();
        separator = ", ";
    }
    return line + ")";
}

std::string FormatCall(const std::string &name, std::initializer_list<Arg> args, int result)
{
    return FormatCall(name, args) + " = " + std::to_string(result);
}
