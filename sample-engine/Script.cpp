#include "Script.h"

#include "EngineInterface.h"
#include "Escape.h"

#include <limits>

namespace {
const char *const kEntryPoints[] = {
#define KEL_NAME(name, params) #name,
    KEL_ENTRY_POINTS(KEL_NAME)
#undef KEL_NAME
};

struct Token {
    enum class Kind { Word, Quoted, Equals } kind;
    std::string word;
    std::wstring text;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool Tokenize(const std::string &line, std::vector<Token> &tokens)
{
    for (std::size_t i = 0; i < line.size();) {
        if (IsBlank(line[i])) {
            ++i;
        } else if (line[i] == '=') {
            tokens.push_back({Token::Kind::Equals, "=", {}});
            ++i;
        } else if (line[i] == '"') {
            Token token{Token::Kind::Quoted, {}, {}};
            if (!ReadQuotedText(line, i, token.text))
                return false;
            tokens.push_back(token);
        } else {
            std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i]) && line[i] != '=' && line[i] != '"')
                ++i;
            tokens.push_back({Token::Kind::Word, line.substr(start, i - start), {}});
        }
    }
    return true;
}

// Signed decimal, or hexadecimal after 0x.
bool ParseInteger(const std::string &text, long long &value)
{
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    bool negative = !hex && !text.empty() && text[0] == '-';
    std::size_t i = hex ? 2 : (negative || (!text.empty() && text[0] == '+')) ? 1 : 0;
    if (i >= text.size() || text.size() - i > (hex ? 16u : 19u))
        return false;
    unsigned long long magnitude = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9' ? c - '0'
                    : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                  : -1;
        if (digit < 0)
            return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(digit);
    }
    if (!hex && magnitude > static_cast<unsigned long long>(std::numeric_limits<long long>::max()))
        return false;
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

// A 32-bit value: signed, or unsigned up to 0xFFFFFFFF read as its bit pattern.
bool ParseInt32(const std::string &text, int &value)
{
    long long wide = 0;
    if (!ParseInteger(text, wide) || wide < std::numeric_limits<int>::min() || wide > 0xFFFFFFFFLL)
        return false;
    value = static_cast<int>(static_cast<unsigned long long>(wide) & 0xFFFFFFFFu);
    return true;
}

bool ParseBounded(const std::string &text, long long smallest, long long largest, int &value)
{
    long long wide = 0;
    if (!ParseInteger(text, wide) || wide < smallest || wide > largest)
        return false;
    value = static_cast<int>(wide);
    return true;
}

class LineParser {
public:
    LineParser(const std::vector<Token> &tokens, Script &script) : m_tokens(tokens), m_script(script) {}

    bool Parse()
    {
        std::string directive;
        if (!Word(directive))
            return false;
        if (directive == "result")
            return Result();
        if (directive == "size" || directive == "text" || directive == "unterminated")
            return TextDirective(directive);
        if (directive == "mainsize") {
            std::pair<int, int> size;
            if (!Bounded(1, 10000, size.first) || !Bounded(1, 10000, size.second) || !AtEnd())
                return false;
            m_script.mainSize = size;
            return true;
        }
        if (directive == "window") {
            std::string which;
            std::string how;
            bool main = Word(which) && which == "main";
            if ((!main && which != "status") || !Word(how) || (how != "null" && how != "stale") || !AtEnd())
                return false;
            if (how == "null")
                (main ? m_script.nullMainWindow : m_script.nullStatusWindow) = true;
            else
                (main ? m_script.staleMainWindow : m_script.staleStatusWindow) = true;
            return true;
        }
        if (directive == "menu") {
            std::string which;
            if (!Word(which) || (which != "null" && which != "invalid") || !AtEnd())
                return false;
            m_script.menu = which == "null" ? MenuOverride::Null : MenuOverride::Invalid;
            return true;
        }
        if (directive == "consume")
            return Consume();
        if (directive == "printtime") {
            int ms = 0;
            if (!Bounded(0, 3600000, ms) || !AtEnd())
                return false;
            m_script.printTime = ms;
            return true;
        }
        if (directive == "nosplash") {
            m_script.noSplash = true;
            return AtEnd();
        }
        if (directive == "keepwindows") {
            m_script.keepWindows = true;
            return AtEnd();
        }
        if (directive == "fault") {
            std::string name;
            if (!EntryPoint(name) || !AtEnd())
                return false;
            m_script.faults.insert(name);
            return true;
        }
        if (directive == "counthandles") {
            m_script.countHandles = true;
            return AtEnd();
        }
        return false;
    }

private:
    bool AtEnd() const { return m_next == m_tokens.size(); }
    const Token *Next(Token::Kind kind)
    {
        if (AtEnd() || m_tokens[m_next].kind != kind)
            return nullptr;
        return &m_tokens[m_next++];
    }
    bool Word(std::string &word)
    {
        const Token *token = Next(Token::Kind::Word);
        if (token)
            word = token->word;
        return token != nullptr;
    }
    bool Keyword(const char *keyword)
    {
        std::string word;
        return Word(word) && word == keyword;
    }
    bool Equals() { return Next(Token::Kind::Equals) != nullptr; }
    bool Int32(int &value)
    {
        std::string word;
        return Word(word) && ParseInt32(word, value);
    }
    bool Bounded(long long smallest, long long largest, int &value)
    {
        std::string word;
        return Word(word) && ParseBounded(word, smallest, largest, value);
    }

    bool EntryPoint(std::string &name)
    {
        if (!Word(name))
            return false;
        bool known = false;
        for (const char *entryPoint : kEntryPoints)
            known = known || name == entryPoint;
        return known;
    }

    bool Result()
    {
        ResultRule rule{{}, {}, 0};
        if (!EntryPoint(rule.entryPoint))
            return false;
        while (!AtEnd() && m_tokens[m_next].kind != Token::Kind::Equals) {
            const Token &token = m_tokens[m_next++];
            ArgPattern pattern{ArgPattern::Kind::Any, 0, {}};
            if (token.kind == Token::Kind::Quoted) {
                pattern.kind = ArgPattern::Kind::Text;
                pattern.text = token.text;
            } else if (token.word == "NULL") {
                pattern.kind = ArgPattern::Kind::Null;
            } else if (token.word != "*") {
                pattern.kind = ArgPattern::Kind::Integer;
                if (!ParseInteger(token.word, pattern.integer))
                    return false;
            }
            rule.args.push_back(pattern);
        }
        if (!Equals() || !Int32(rule.code) || !AtEnd())
            return false;
        m_script.results.push_back(rule);
        return true;
    }

    // size|text|unterminated version|catalog|string <id> ...
    bool TextDirective(const std::string &directive)
    {
        std::string kind;
        if (!Word(kind))
            return false;
        TextKey key{TextKind::String, 0};
        if (kind == "version")
            key.kind = TextKind::Version;
        else if (kind == "catalog")
            key.kind = TextKind::Catalog;
        else if (kind != "string" || !Int32(key.id))
            return false;

        if (directive == "unterminated") {
            m_script.unterminated.insert(key);
            return AtEnd();
        }
        if (!Equals())
            return false;
        if (directive == "size") {
            int size = 0;
            if (!Int32(size) || !AtEnd())
                return false;
            m_script.sizes[key] = size;
            return true;
        }
        const Token *text = Next(Token::Kind::Quoted);
        if (!text || !AtEnd())
            return false;
        m_script.texts[key] = text->text;
        return true;
    }

    bool Consume()
    {
        std::string word;
        long long message = 0, wParam = 0;
        if (!Word(word) || !ParseInteger(word, message) || message < 0 || message > 0xFFFFFFFFLL)
            return false;
        ConsumeRule rule{static_cast<unsigned long long>(message), std::nullopt};
        if (!AtEnd()) {
            if (!Word(word) || !ParseInteger(word, wParam) || !AtEnd())
                return false;
            rule.wParam = static_cast<unsigned long long>(wParam);
        }
        m_script.consume.push_back(rule);
        return true;
    }

    const std::vector<Token> &m_tokens;
    Script &m_script;
    std::size_t m_next = 0;
};
} // namespace

bool ArgPattern::Matches(const ArgValue &value) const
{
    switch (kind) {
    case Kind::Any: return true;
    case Kind::Integer: return !value.isText && value.integer == integer;
    case Kind::Text: return value.isText && value.text && text == value.text;
    case Kind::Null: return value.isText ? value.text == nullptr : value.integer == 0;
    }
    return false;
}

bool TextKey::operator<(const TextKey &other) const
{
    return kind != other.kind ? kind < other.kind : id < other.id;
}

std::optional<int> Script::ResultFor(const std::string &entryPoint, const std::vector<ArgValue> &args) const
{
    std::optional<int> code;
    for (const ResultRule &rule : results) {
        if (rule.entryPoint != entryPoint || rule.args.size() > args.size())
            continue;
        bool matches = true;
        for (std::size_t i = 0; matches && i < rule.args.size(); ++i)
            matches = rule.args[i].Matches(args[i]);
        if (matches)
            code = rule.code;
    }
    return code;
}

bool Script::Consumes(unsigned long long message, unsigned long long wParam) const
{
    for (const ConsumeRule &rule : consume) {
        if (rule.message == message && (!rule.wParam || *rule.wParam == wParam))
            return true;
    }
    return false;
}

Script ParseScript(const std::string &utf8)
{
    Script script;
    std::size_t start = utf8.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (int number = 1; start <= utf8.size(); ++number) {
        std::size_t end = utf8.find('\n', start);
        std::string line = utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos && line[first] != '#') {
            std::vector<Token> tokens;
            Script attempt = script; // a line that cannot be read changes nothing
            if (Tokenize(line, tokens) && LineParser(tokens, attempt).Parse())
                script = std::move(attempt);
            else
                script.unreadableLines.push_back(number);
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return script;
}
