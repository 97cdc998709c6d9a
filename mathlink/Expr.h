#pragma once
// (Kept free of C++20-only features: the kernel's Giac code includes it in C++17.)
// An expression as it travels over the link: an atom (string, symbol,
// integer or real, each kept as its text) or a function whose first part is
// the head and whose other parts are the arguments.
#include "mathlink/WireFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace wire {

struct Expr {
    int type = kTokenSymbol;
    std::string text;          // atoms only
    std::vector<Expr> parts;   // functions only: head, then the arguments

    static Expr symbol(std::string name) { return atom(kTokenSymbol, std::move(name)); }
    static Expr string(std::string text) { return atom(kTokenString, std::move(text)); }
    static Expr integer(long long value) { return atom(kTokenInteger, std::to_string(value)); }
    static Expr integerText(std::string digits) { return atom(kTokenInteger, std::move(digits)); }
    static Expr real(double value);
    static Expr realText(std::string digits) { return atom(kTokenReal, std::move(digits)); }
    static Expr atom(int type, std::string text);
    static Expr function(Expr head, std::vector<Expr> args);
    static Expr function(std::string head, std::vector<Expr> args);

    bool isFunction() const { return type == kTokenFunction; }
    bool isSymbol(std::string_view name) const { return type == kTokenSymbol && text == name; }
    bool isSymbol() const { return type == kTokenSymbol; }
    // True for a function whose head is the symbol `name`.
    bool hasHead(std::string_view name) const;
    bool hasHead(std::string_view name, std::size_t argCount) const;
    const Expr& head() const { return parts.front(); }
    std::size_t argCount() const { return isFunction() ? parts.size() - 1 : 0; }
    const Expr& arg(std::size_t i) const { return parts[i + 1]; }   // 0-based
    Expr& arg(std::size_t i) { return parts[i + 1]; }

    bool operator==(const Expr& other) const
    {
        return type == other.type && text == other.text && parts == other.parts;
    }
    bool operator!=(const Expr& other) const { return !(*this == other); }
};

// Shortest text that reads back as the same double, with an "e" exponent
// when one is needed ("2.", "0.5", "1.5e20", "-3.e-7").
std::string formatReal(double value);
// The same with at most `significantDigits` digits (rounded).
std::string formatReal(double value, int significantDigits);

bool writeExpr(PacketWriter& writer, const Expr& expr);
// How deep an expression read from the wire may nest: deeper ones are refused
// before they can exhaust the reader's stack.
constexpr int kMaxExprDepth = 4096;

// Reads one whole expression; false (with `expr` unspecified) on malformed data.
bool readExpr(PacketReader& reader, Expr& expr, int depthLimit = kMaxExprDepth);

// The same, telling an expression nested deeper than the limit apart from
// malformed data, so that the refusal can say which.
enum class ExprRead { ok, malformed, tooDeep };
ExprRead readExprOrWhy(PacketReader& reader, Expr& expr, int depthLimit = kMaxExprDepth);

// The full-form text of an expression: Plus[1, Times[2, x]], "text", 2.5e3.
std::string toFullForm(const Expr& expr);
// Reads full-form text; throws std::invalid_argument with the place of the fault.
Expr parseFullForm(std::string_view text);

} // namespace wire
