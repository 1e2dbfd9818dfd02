// The test script: directives that make entry points answer as a test needs.
// Its format is described in README.md.
#pragma once

#include "Texts.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// An argument as a call passed it, for matching. A text argument may be null.
struct ArgValue {
    bool isText;
    long long integer;
    const wchar_t *text;

    static ArgValue Integer(long long value) { return {false, value, nullptr}; }
    static ArgValue Text(const wchar_t *value) { return {true, 0, value}; }
};

struct ArgPattern {
    enum class Kind { Any, Integer, Text, Null } kind;
    long long integer;
    std::wstring text;

    bool Matches(const ArgValue &value) const;
};

struct ResultRule {
    std::string entryPoint;
    std::vector<ArgPattern> args; // fewer than the call has: the rest match anything
    int code;
};

struct TextKey {
    TextKind kind;
    int id; // 0 but for strings

    bool operator<(const TextKey &other) const;
};

struct ConsumeRule {
    unsigned long long message;
    std::optional<unsigned long long> wParam;
};

enum class MenuOverride { None, Null, Invalid };

struct Script {
    std::vector<ResultRule> results;
    std::map<TextKey, int> sizes;
    std::map<TextKey, std::wstring> texts;
    std::set<TextKey> unterminated;
    std::optional<std::pair<int, int>> mainSize;
    bool nullMainWindow = false;
    bool nullStatusWindow = false;
    bool staleMainWindow = false; // a handle of a window that is gone
    bool staleStatusWindow = false;
    MenuOverride menu = MenuOverride::None;
    std::vector<ConsumeRule> consume;
    std::optional<int> printTime;
    bool noSplash = false;
    bool keepWindows = false;
    bool countHandles = false; // read when the library is loaded
    std::set<std::string> faults; // entry points that write through a null pointer
    std::vector<int> unreadableLines; // 1-based

    // The code of the last result line that matches the call, if any.
    std::optional<int> ResultFor(const std::string &entryPoint, const std::vector<ArgValue> &args) const;
    bool Consumes(unsigned long long message, unsigned long long wParam) const;
};

Script ParseScript(const std::string &utf8);
