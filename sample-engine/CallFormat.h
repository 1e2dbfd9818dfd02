// The arguments of an entry-point call, as the script matches them and as the
// call log shows them: `Kel_Name(arg, arg, ...) = result`.
#pragma once

#include "Script.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

// An out-parameter: where the caller wants a value and whether one was written.
class OutSlot {
public:
    virtual ~OutSlot() = default;
    virtual const void *Target() const = 0;
    // "->value", "->?" when nothing was written.
    virtual std::string Logged() const = 0;
};

std::string LoggedValue(int value);
std::string LoggedValue(const void *handle); // unsigned decimal

template <class T>
class Out : public OutSlot {
public:
    explicit Out(T *target) : m_target(target) {}

    bool Missing() const { return m_target == nullptr; }
    void Set(T value)
    {
        if (!m_target)
            return;
        *m_target = value;
        m_value = value;
        m_written = true;
    }

    const void *Target() const override { return m_target; }
    std::string Logged() const override { return m_written ? "->" + LoggedValue(m_value) : "->?"; }

private:
    T *m_target;
    T m_value{};
    bool m_written = false;
};

// A caller's text buffer, which holds as many units as the engine reported.
class OutText : public OutSlot {
public:
    explicit OutText(wchar_t *buffer) : m_buffer(buffer) {}

    bool Missing() const { return m_buffer == nullptr; }
    // Writes count units, then a terminator when asked.
    void Write(const wchar_t *units, std::size_t count, bool terminate);

    const void *Target() const override { return m_buffer; }
    // NULL for a null buffer, else "->" and the text written, quoted.
    std::string Logged() const override;

private:
    wchar_t *m_buffer;
    std::size_t m_count = 0;
    bool m_written = false;
};

class Arg {
public:
    static Arg Integer(long long value);
    static Arg Unsigned(unsigned long long value);
    static Arg Address(std::uintptr_t value); // handles, hooks and pointers
    static Arg Text(const wchar_t *text);     // read when the call is logged
    static Arg Absent();                      // a field of a record that is not there
    static Arg Output(const OutSlot &slot);   // matched by its address
    static Arg Written(long long value);      // what a callee wrote: "->value"

    ArgValue Value() const;
    std::string Logged() const;

private:
    enum class Kind { Integer, Unsigned, Text, Absent, Output, Written };
    Kind m_kind = Kind::Integer;
    long long m_integer = 0;
    const wchar_t *m_text = nullptr;
    const OutSlot *m_slot = nullptr;
};

// "name(a, b)" and "name(a, b) = result".
std::string FormatCall(const std::string &name, std::initializer_list<Arg> args);
std::string FormatCall(const std::string &name, std::initializer_list<Arg> args, int result);
