#include "mathlink/Expr.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace wire {

Expr Expr::atom(int type, std::string text)
{
    Expr e;
    e.type = type;
    e.text = std::move(text);
    return e;
}

Expr Expr::function(Expr head, std::vector<Expr> args)
{
    Expr e;
    e.type = kTokenFunction;
    e.parts.reserve(args.size() + 1);
    e.parts.push_back(std::move(head));
    for (auto& a : args)
        e.parts.push_back(std::move(a));
    return e;
}

Expr Expr::function(std::string head, std::vector<Expr> args)
{
    return function(symbol(std::move(head)), std::move(args));
}

Expr Expr::real(double value)
{
    return atom(kTokenReal, formatReal(value));
}

bool Expr::hasHead(std::string_view name) const
{
    return isFunction() && parts.front().isSymbol(name);
}

bool Expr::hasHead(std::string_view name, std::size_t argCount) const
{
    return hasHead(name) && parts.size() == argCount + 1;
}

namespace {

std::string normalisedReal(std::string text)
{
    std::string mantissa = text;
    std::string exponent;
    if (auto e = text.find('e'); e != std::string::npos) {
        mantissa = text.substr(0, e);
        exponent = text.substr(e + 1);
        if (!exponent.empty() && exponent.front() == '+')
            exponent.erase(0, 1);
        while (exponent.size() > 1 && exponent.front() == '0')
            exponent.erase(0, 1);
        if (exponent.size() > 2 && exponent[0] == '-' && exponent[1] == '0')
            exponent.erase(1, 1);
    }
    if (mantissa.find('.') == std::string::npos)
        mantissa += '.';
    return exponent.empty() ? mantissa : mantissa + "e" + exponent;
}

} // namespace

std::string formatReal(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return normalisedReal(std::string(buffer, result.ptr));
}

std::string formatReal(double value, int significantDigits)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significantDigits);
    std::string text(buffer, result.ptr);
    // Shortest of the two: the rounded text can only be shorter, but never loses a short exact value.
    std::string shortest = formatReal(value);
    std::string rounded = normalisedReal(text);
    return rounded.size() < shortest.size() ? rounded : shortest;
}

bool writeExpr(PacketWriter& writer, const Expr& expr)
{
    if (expr.type != kTokenFunction)
        return writer.putAtom(expr.type, expr.text);
    if (expr.parts.empty() || !writer.putFunction(static_cast<uint32_t>(expr.parts.size() - 1)))
        return false;
    for (const Expr& part : expr.parts) {
        if (!writeExpr(writer, part))
            return false;
    }
    return true;
}

bool readExpr(PacketReader& reader, Expr& expr, int depthLimit)
{
    return readExprOrWhy(reader, expr, depthLimit) == ExprRead::ok;
}

ExprRead readExprOrWhy(PacketReader& reader, Expr& expr, int depthLimit)
{
    if (depthLimit <= 0)
        return ExprRead::tooDeep;
    int type = reader.peekType();
    if (type == kTokenError)
        return ExprRead::malformed;
    expr.type = type;
    expr.parts.clear();
    expr.text.clear();
    if (type != kTokenFunction)
        return reader.getAtom(type, expr.text) ? ExprRead::ok : ExprRead::malformed;
    uint32_t count = 0;
    if (!reader.getArgCount(count))
        return ExprRead::malformed;
    for (uint64_t i = 0; i <= count; ++i) {
        Expr part;
        if (ExprRead read = readExprOrWhy(reader, part, depthLimit - 1); read != ExprRead::ok)
            return read;
        expr.parts.push_back(std::move(part));
    }
    return ExprRead::ok;
}

// ---- full-form text

namespace {

void appendQuoted(std::string& out, const std::string& text)
{
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    out += '"';
}

void appendFullForm(std::string& out, const Expr& e)
{
    switch (e.type) {
    case kTokenString:
        appendQuoted(out, e.text);
        return;
    case kTokenFunction:
        appendFullForm(out, e.parts.front());
        out += '[';
        for (std::size_t i = 1; i < e.parts.size(); ++i) {
            if (i > 1)
                out += ", ";
            appendFullForm(out, e.parts[i]);
        }
        out += ']';
        return;
    default:
        out += e.text;
    }
}

class FullFormParser {
public:
    explicit FullFormParser(std::string_view text) : text_(text) {}

    Expr parseAll()
    {
        Expr e = parseExpr(0);
        skipBlanks();
        if (pos_ != text_.size())
            fail("unexpected text");
        return e;
    }

private:
    [[noreturn]] void fail(const char* what) const
    {
        throw std::invalid_argument(std::string(what) + " at " + std::to_string(pos_) + " in: " + std::string(text_));
    }

    void skipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n'))
            ++pos_;
    }

    static bool isSymbolChar(char c, bool first)
    {
        auto u = static_cast<unsigned char>(c);
        return std::isalpha(u) || c == '$' || c == '`' || u >= 0x80 || (!first && std::isdigit(u));
    }

    Expr parseExpr(int depth)
    {
        if (depth > 4096)
            fail("nesting too deep");
        Expr e = parseAtom();
        skipBlanks();
        while (pos_ < text_.size() && text_[pos_] == '[') {
            ++pos_;
            std::vector<Expr> args;
            skipBlanks();
            if (pos_ < text_.size() && text_[pos_] == ']') {
                ++pos_;
            } else {
                for (;;) {
                    args.push_back(parseExpr(depth + 1));
                    skipBlanks();
                    if (pos_ >= text_.size())
                        fail("missing ]");
                    char c = text_[pos_++];
                    if (c == ']')
                        break;
                    if (c != ',')
                        fail("expected , or ]");
                }
            }
            e = Expr::function(std::move(e), std::move(args));
            skipBlanks();
        }
        return e;
    }

    Expr parseAtom()
    {
        skipBlanks();
        if (pos_ >= text_.size())
            fail("missing expression");
        char c = text_[pos_];
        if (c == '"')
            return parseString();
        if (c == '-' || c == '.' || std::isdigit(static_cast<unsigned char>(c)))
            return parseNumber();
        if (!isSymbolChar(c, true))
            fail("unexpected character");
        std::size_t start = pos_;
        while (pos_ < text_.size() && isSymbolChar(text_[pos_], false))
            ++pos_;
        return Expr::symbol(std::string(text_.substr(start, pos_ - start)));
    }

    Expr parseString()
    {
        std::string out;
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c == '\\' && pos_ < text_.size()) {
                c = text_[pos_++];
                if (c == 'n')
                    c = '\n';
            }
            out += c;
        }
        if (pos_ >= text_.size())
            fail("unterminated string");
        ++pos_;
        return Expr::string(std::move(out));
    }

    Expr parseNumber()
    {
        std::size_t start = pos_;
        if (text_[pos_] == '-')
            ++pos_;
        bool real = false;
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (std::isdigit(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '.' || c == 'e' || c == 'E') {
                real = true;
                ++pos_;
                if ((c == 'e' || c == 'E') && pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+'))
                    ++pos_;
            } else {
                break;
            }
        }
        std::string digits(text_.substr(start, pos_ - start));
        if (digits == "-" || digits == ".")
            fail("bad number");
        return real ? Expr::realText(digits) : Expr::integerText(digits);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::string toFullForm(const Expr& expr)
{
    std::string out;
    appendFullForm(out, expr);
    return out;
}

Expr parseFullForm(std::string_view text)
{
    return FullFormParser(text).parseAll();
}

} // namespace wire
