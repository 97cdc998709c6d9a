#include "kernelproc/CodeParser.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr std::size_t kMaxCodeLength = 100000;
// Brackets of every kind nest this deep; the kernel's own limits on an
// expression's depth leave room for the operators between them.
constexpr int kMaxBrackets = 120;
// Operators nest this deep (a chain of signs, powers or rules).
constexpr int kMaxNesting = 2000;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    Expr parseAll()
    {
        std::vector<Expr> statements;
        bool endsWithSemicolon = false;   // "a; b;" answers Null, as the kernel does
        skipSpace(true);
        while (pos_ < text_.size()) {
            statements.push_back(assignment());
            skipSpace(false);
            endsWithSemicolon = accept(";");
            if (endsWithSemicolon || accept("\n")) {
                skipSpace(true);
                continue;
            }
            if (pos_ < text_.size())
                fail("an operator or the end was expected");
        }
        if (statements.empty())
            return Expr::symbol("Null");
        if (endsWithSemicolon)
            statements.push_back(Expr::symbol("Null"));
        if (statements.size() == 1)
            return statements.front();
        return Expr::function("CompoundExpression", std::move(statements));
    }

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        if (pos_ >= text_.size())
            throw CodeParseError(what + " at the end");
        throw CodeParseError(what + " at character " + std::to_string(pos_ + 1));
    }

    // Spaces and tabs always; line breaks too where a statement cannot end.
    void skipSpace(bool lineBreaks)
    {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || (lineBreaks && text_[pos_] == '\n')))
            ++pos_;
    }

    bool peek(std::string_view token) const { return text_.substr(pos_, token.size()) == token; }

    bool accept(std::string_view token)
    {
        if (!peek(token))
            return false;
        pos_ += token.size();
        return true;
    }

    void expect(std::string_view token)
    {
        skipSpace(true);
        if (accept(token))
            return;
        std::string what(1, '"');
        what.append(token).append("\" was expected");
        fail(what);
    }

    // One more level of `count` while it lives; beyond `limit` levels the code is refused.
    class Level {
    public:
        Level(Parser& parser, int& count, int limit, const char* what) : count_(count)
        {
            if (++count_ > limit)
                parser.fail(std::string(what) + " are nested more than " + std::to_string(limit) + " deep");
        }
        ~Level() { --count_; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

    private:
        int& count_;
    };
    // A level of the grammar's rules (a chain of signs, powers or rules nests too).
    Level nest() { return Level(*this, depth_, kMaxNesting, "operators"); }
    // A level of brackets, from the opening to the closing one.
    Level bracket() { return Level(*this, brackets_, kMaxBrackets, "brackets"); }

    Expr assignment()
    {
        const Level level = nest();
        Expr left = rule();
        skipSpace(false);
        if (accept(":=")) {
            skipSpace(true);
            return Expr::function("SetDelayed", {left, assignment()});
        }
        if (peek("=") && !peek("==")) {
            ++pos_;
            skipSpace(true);
            return Expr::function("Set", {left, assignment()});
        }
        return left;
    }

    Expr rule()
    {
        const Level level = nest();
        Expr left = relation();
        skipSpace(false);
        if (accept("->")) {
            skipSpace(true);
            return Expr::function("Rule", {left, rule()});
        }
        return left;
    }

    // a == b == c is one chain Equal[a, b, c]; a chain of different
    // relations, a < b <= c, is Inequality[a, Less, b, LessEqual, c].
    Expr relation()
    {
        static const std::pair<const char*, const char*> operators[] = {
            {"==", "Equal"}, {"!=", "Unequal"}, {"<=", "LessEqual"}, {">=", "GreaterEqual"}, {"<", "Less"},
            {">", "Greater"}};
        std::vector<Expr> sides{sum()};
        std::vector<const char*> heads;
        for (;;) {
            skipSpace(false);
            const char* head = nullptr;
            for (const auto& [token, name] : operators) {
                if (peek(token) && !peek("->")) {
                    pos_ += std::string_view(token).size();
                    head = name;
                    break;
                }
            }
            if (!head)
                break;
            skipSpace(true);
            heads.push_back(head);
            sides.push_back(sum());
        }
        if (heads.empty())
            return std::move(sides.front());
        if (std::all_of(heads.begin(), heads.end(), [&](const char* h) { return h == heads.front(); }))
            return Expr::function(heads.front(), std::move(sides));
        std::vector<Expr> chain{std::move(sides.front())};
        for (std::size_t i = 0; i < heads.size(); ++i) {
            chain.push_back(Expr::symbol(heads[i]));
            chain.push_back(std::move(sides[i + 1]));
        }
        return Expr::function("Inequality", std::move(chain));
    }

    Expr sum()
    {
        Expr left = product();
        for (;;) {
            skipSpace(false);
            if (peek("->"))
                return left;
            if (accept("+")) {
                skipSpace(true);
                left = Expr::function("Plus", {left, product()});
            } else if (accept("-")) {
                skipSpace(true);
                left = Expr::function("Plus", {left, Expr::function("Times", {Expr::integer(-1), product()})});
            } else {
                return left;
            }
        }
    }

    bool startsOperand() const
    {
        if (pos_ >= text_.size())
            return false;
        const char c = text_[pos_];
        return std::isalnum(static_cast<unsigned char>(c)) || c == '(' || c == '{' || c == '"' || c == '.' ||
               static_cast<unsigned char>(c) >= 0x80;
    }

    Expr product()
    {
        Expr left = unary();
        for (;;) {
            skipSpace(false);
            if (accept("*")) {
                skipSpace(true);
                left = Expr::function("Times", {left, unary()});
            } else if (accept("/")) {
                skipSpace(true);
                left = Expr::function("Times", {left, Expr::function("Power", {unary(), Expr::integer(-1)})});
            } else if (startsOperand()) {
                left = Expr::function("Times", {left, unary()});
            } else {
                return left;
            }
        }
    }

    Expr unary()
    {
        const Level level = nest();
        skipSpace(true);
        if (accept("-")) {
            Expr operand = unary();
            if (operand.type == wire::kTokenInteger || operand.type == wire::kTokenReal) {
                operand.text = std::string(1, '-').append(operand.text);
                return operand;
            }
            return Expr::function("Times", {Expr::integer(-1), operand});
        }
        if (accept("+"))
            return unary();
        return power();
    }

    Expr power()
    {
        Expr base = postfix();
        skipSpace(false);
        if (accept("^")) {
            skipSpace(true);
            return Expr::function("Power", {base, unary()});
        }
        return base;
    }

    Expr postfix()
    {
        Expr e = primary();
        while (peek("[")) {
            const Level inBrackets = bracket();
            ++pos_;
            e = Expr::function(e, arguments("]"));
        }
        return e;
    }

    std::vector<Expr> arguments(std::string_view close)
    {
        std::vector<Expr> items;
        skipSpace(true);
        if (accept(close))
            return items;
        for (;;) {
            items.push_back(assignment());
            skipSpace(true);
            if (accept(close))
                return items;
            if (!accept(","))
                fail(std::string("\",\" or \"").append(close).append("\" was expected"));
            skipSpace(true);
        }
    }

    Expr primary()
    {
        const Level level = nest();
        skipSpace(true);
        if (pos_ >= text_.size())
            fail("an operand was expected");
        const char c = text_[pos_];
        if (peek("(")) {
            const Level inBrackets = bracket();
            ++pos_;
            skipSpace(true);
            Expr inner = assignment();
            expect(")");
            return inner;
        }
        if (peek("{")) {
            const Level inBrackets = bracket();
            ++pos_;
            return Expr::function("List", arguments("}"));
        }
        if (c == '"')
            return stringLiteral();
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.')
            return number();
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '$' || static_cast<unsigned char>(c) >= 0x80)
            return name();
        fail("\"" + visibleCode(text_.substr(pos_, 1)) + "\" cannot begin an operand");
    }

    Expr number()
    {
        const std::size_t start = pos_;
        bool point = false;
        while (pos_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
            if (text_[pos_] == '.') {
                if (point)
                    fail("a number has two decimal points");
                point = true;
            }
            ++pos_;
        }
        std::string digits(text_.substr(start, pos_ - start));
        if (digits == ".")
            fail("a number was expected");
        return point ? Expr::realText(digits) : Expr::integerText(digits);
    }

    Expr name()
    {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '$' ||
                                       static_cast<unsigned char>(text_[pos_]) >= 0x80))
            ++pos_;
        Expr symbol = Expr::symbol(std::string(text_.substr(start, pos_ - start)));
        if (accept("_"))
            return Expr::function("Pattern", {symbol, Expr::function("Blank", {})});
        return symbol;
    }

    Expr stringLiteral()
    {
        ++pos_;
        std::string value;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            if (text_[pos_] == '\\' && pos_ + 1 < text_.size())
                ++pos_;
            value += text_[pos_++];
        }
        if (!accept("\""))
            fail("a string is not closed");
        return Expr::string(std::move(value));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    int brackets_ = 0;
};

} // namespace

std::string visibleCode(std::string_view text)
{
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            shown += "\\0";
        } else if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7f) {
            constexpr char kHex[] = "0123456789abcdef";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xf];
        } else {
            shown += c;
        }
    }
    return shown;
}

Expr parseCode(std::string_view text)
{
    if (text.size() > kMaxCodeLength)
        throw CodeParseError("it has " + std::to_string(text.size()) + " characters, and at most " +
                             std::to_string(kMaxCodeLength) + " are read");
    return Parser(text).parseAll();
}

} // namespace kernelproc
