#include "kernelproc/GiacInput.h"

#include "kernelproc/ConstructResolver.h"
#include "kernelproc/GiacFunctions.h"
#include "kernelproc/GiacNames.h"
#include "kernelproc/ListShapes.h"
#include "kernelproc/ListValues.h"
#include "kernelproc/LongProduct.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr std::size_t kMaxDepth = 256; // far beyond any formula; keeps the stack small
// A product of more factors than this is computed from its closed form.
constexpr long long kFewFactors = 10000;
// The significant digits of a machine real.
constexpr std::size_t kMachineDigits = 15;

// A product of two lists or more is taken element by element, unless one of
// its factors is the editor's matrix.
bool listProduct(const Expr& e)
{
    return !hasMatrixOperand(e) && std::count_if(e.parts.begin() + 1, e.parts.end(), isListValued) >= 2;
}

const char* relationOperator(std::string_view head)
{
    if (head == "Equal")
        return "=";
    if (head == "Unequal")
        return "!=";
    if (head == "Less")
        return "<";
    if (head == "LessEqual")
        return "<=";
    if (head == "Greater")
        return ">";
    if (head == "GreaterEqual")
        return ">=";
    return nullptr;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

bool validDigits(const std::string& text, bool real)
{
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool digit = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c)))
            digit = true;
        else if (!(real && (c == '.' || c == 'e' || c == 'E' || ((c == '-' || c == '+') && (text[i - 1] == 'e' || text[i - 1] == 'E')))))
            return false;
    }
    return digit;
}

// A real's digits in Giac's form: "3.14`20" carries a precision mark and
// "1.5*^20" the kernel's exponent mark; ".5" is 0.5.
std::string realDigits(const std::string& text)
{
    std::string digits = text.substr(0, text.find('`'));
    while (!digits.empty() && digits.back() == ' ')
        digits.pop_back();
    if (auto mark = digits.find("*^"); mark != std::string::npos)
        digits = digits.substr(0, mark).append("e").append(digits, mark + 2, std::string::npos);
    if (!digits.empty() && digits.front() == '.')
        digits = std::string("0").append(digits);
    return digits;
}

// A real written as d.ddd e E with its significant digits: 0.00012 is 1.2e-4.
std::string scientific(const std::string& real, std::size_t significant)
{
    const std::size_t mark = real.find_first_of("eE");
    long long exponent = 0;
    try {
        exponent = mark == std::string::npos ? 0 : std::stoll(real.substr(mark + 1));
    } catch (const std::exception&) {
        return real;   // an exponent beyond any real: Giac says so
    }
    std::string all;
    std::size_t point = std::string::npos;
    for (char c : real.substr(0, mark)) {
        if (c == '.')
            point = all.size();
        else if (std::isdigit(static_cast<unsigned char>(c)))
            all += c;
    }
    const std::size_t first = all.find_first_of("123456789");
    if (first == std::string::npos)
        return "0.0";
    if (point == std::string::npos)
        point = all.size();
    const std::string kept = all.substr(first, significant);
    exponent += static_cast<long long>(point) - static_cast<long long>(first) - 1;
    return (real[0] == '-' ? "-" : "") + kept.substr(0, 1) + "." + (kept.size() > 1 ? kept.substr(1) : "0") + "e" +
        std::to_string(exponent);
}

bool isOpaqueAtom(std::string_view head)
{
    static const char* const heads[] = {"VXSubscript", "Subscript", "VXTagVar", "VXDrawVar", "VXOverHat", "OverHat",
                                        "VXOverDot", "OverDot", "VXOverVector", "OverVector", "VXOverTilde",
                                        "OverTilde", "VXDoubleOverDot", "VXOverDoubleDot"};
    for (const char* h : heads) {
        if (head == h)
            return true;
    }
    return false;
}

bool isNumberOrInfinity(const Expr& e)
{
    if (e.type == wire::kTokenInteger || e.type == wire::kTokenReal || e.isSymbol("Infinity"))
        return true;
    return e.hasHead("Times", 2) && e.arg(0).type == wire::kTokenInteger && e.arg(1).isSymbol("Infinity");
}

bool isInteger(const Expr& e)
{
    return e.type == wire::kTokenInteger;
}

// A finite number written out: 1/2, 2.5, 10^3, Pi - 1; no unknown and no infinity.
bool isNumericBound(const Expr& e, int depth = 0)
{
    if (e.type == wire::kTokenInteger || e.type == wire::kTokenReal)
        return true;
    if (e.isSymbol())
        return e.isSymbol("Pi") || e.isSymbol("E") || e.isSymbol("e") || e.isSymbol("EulerGamma") ||
            e.isSymbol("GoldenRatio") || e.isSymbol("Degree");
    if (!e.isFunction() || !e.head().isSymbol() || e.hasHead("DirectedInfinity") || depth > 16)
        return false;
    return std::all_of(e.parts.begin() + 1, e.parts.end(), [depth](const Expr& p) { return isNumericBound(p, depth + 1); });
}

// A range such as {k, 1, 10, 0}, whose step never takes it to its end.
void refuseZeroStep(const Expr& range)
{
    if (!range.hasHead("List", 4))
        return;
    const Expr& step = range.arg(3);
    const bool number = step.type == wire::kTokenInteger || step.type == wire::kTokenReal;
    if (number && step.text.substr(0, step.text.find_first_of("eE")).find_first_of("123456789") == std::string::npos)
        throw TranslationError("the range " + wire::toFullForm(range) + " has a step of 0, so it never comes to its end");
}

bool isTruthValue(const Expr& e)
{
    return e.isSymbol("True") || e.isSymbol("False");
}

// A relation or a logical connective: its value is a truth value.
bool isLogical(const Expr& e)
{
    static const char* const logical[] = {"Not", "And", "Or", "Xor", "Equal", "Unequal", "Less", "LessEqual",
                                          "Greater", "GreaterEqual", "Inequality"};
    return e.isFunction() && e.head().isSymbol() && std::any_of(std::begin(logical), std::end(logical), [&](const char* head) {
               return plainHead(e.head().text) == head;
           });
}

// A head no one types: its argument's truth value is the kernel's symbol True or False.
constexpr const char* kTruthAsSymbol = "vx truth as symbol";

// Giac's truth value as the symbol True or False; any other value as it is.
std::string truthAsSymbol(const std::string& value)
{
    return GiacInput::once({value}, [](const std::vector<std::string>& v) {
        return "when(string(" + v[0] + ")==\"true\"," + encodeSymbol("True") + ",when(string(" + v[0] +
            ")==\"false\"," + encodeSymbol("False") + "," + v[0] + "))";
    });
}

// The variable a range runs over: x in {x, a, b} or {x, n}, or x alone.
const Expr* rangeVariable(const Expr& range)
{
    if (range.isSymbol())
        return &range;
    if (range.hasHead("List") && range.argCount() >= 2 && range.arg(0).isSymbol())
        return &range.arg(0);
    return nullptr;
}

} // namespace

// The variables of a construct, bound while it is translated.
class GiacInput::Binding {
public:
    explicit Binding(GiacInput& input) : input_(input), outer_(input.bound_.size()) {}
    ~Binding() { input_.bound_.resize(outer_); }
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    void add(const Expr* variable)
    {
        if (variable && variable->isSymbol())
            input_.bindName(variable->text);
    }

private:
    GiacInput& input_;
    std::size_t outer_;
};

void GiacInput::bind(const Expr& variables)
{
    if (variables.isSymbol())
        bindName(variables.text);
    for (std::size_t i = 0; variables.hasHead("List") && i < variables.argCount(); ++i) {
        if (variables.arg(i).isSymbol())
            bindName(variables.arg(i).text);
    }
}

void GiacInput::bindName(const std::string& name)
{
    static std::atomic<unsigned long> serial{0};
    bound_.emplace_back(name, encodeBoundSymbol(name, ++serial));
}

std::string GiacInput::once(const std::vector<std::string>& values, const Body& body)
{
    // A function of its own parameters, applied at once: Giac evaluates each
    // argument before the body reads it. The names are fresh, so that no
    // binding meets another nested in its value.
    static std::atomic<unsigned long> serial{0};
    std::vector<std::string> names;
    std::string parameters;
    std::string arguments;
    for (std::size_t i = 0; i < values.size(); ++i) {
        names.push_back("qvl" + std::to_string(++serial));
        parameters += (i ? "," : "") + names.back();
        arguments += (i ? "," : "") + values[i];
    }
    return "((" + parameters + ")->(" + body(names) + "))(" + arguments + ")";
}

// A call on the path of the translation while it is translated.
class GiacInput::Nesting {
public:
    Nesting(GiacInput& input, const Expr& e) : input_(input) { input.path_.push_back(&e); }
    ~Nesting() { input_.path_.pop_back(); }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    GiacInput& input_;
};

std::string GiacInput::translate(const Expr& expr)
{
    if (path_.size() >= kMaxDepth)
        throw NestedTooDeep("the expression is nested too deeply");
    Nesting nesting(*this, expr);
    try {
        return expr.isFunction() ? function(expr) : atom(expr);
    } catch (const NestedTooDeep&) {
        throw;
    } catch (const TranslationError& why) {
        std::optional<std::string> placeholder = held(expr, why);
        if (!placeholder)
            throw;
        heldTexts_.insert(*placeholder);
        return *placeholder;
    }
}

std::optional<std::string> GiacInput::held(const Expr& e, const TranslationError& why) const
{
    // What is translated as a whole is refused as a whole. A call that depends
    // on the variable of a sum, table, integral, solution... around it has no
    // value without that construct's, and an unknown in its range (its order,
    // its point) would change what it computes: the refusal goes on to the construct.
    if (!hold_ || !e.isFunction() || path_.size() < 2)
        return std::nullopt;
    std::vector<std::string> around;
    for (const auto& [name, identifier] : bound_)
        around.push_back(name);
    for (std::size_t i = 0; i + 1 < path_.size(); ++i) {
        const Expr& construct = *path_[i];
        if (isBindingConstruct(construct) && path_[i + 1] != &construct.arg(0))
            return std::nullopt;
        for (std::string& name : boundVariables(construct))
            around.push_back(std::move(name));
    }
    if (std::any_of(around.begin(), around.end(), [&](const std::string& name) { return holdsFree(e, name); }))
        return std::nullopt;
    return encodeSymbol(hold_(e, why));
}

std::string GiacInput::atom(const Expr& e)
{
    switch (e.type) {
    case wire::kTokenString:
        return quoted(e.text);
    case wire::kTokenInteger: {
        std::string digits = e.text;
        while (!digits.empty() && digits.front() == ' ')
            digits.erase(0, 1);
        if (!validDigits(digits, false))
            throw TranslationError("malformed integer " + e.text);
        return "(" + digits + ")";
    }
    case wire::kTokenReal:
        return real(e.text);
    default:
        return symbol(e.text);
    }
}

Expr exactNumber(const Expr& real)
{
    if (real.type != wire::kTokenReal)
        return real;
    const std::string digits = realDigits(real.text);
    const std::size_t e = digits.find_first_of("eE");
    long long scale = 0;   // the number is the digits over 10^scale
    try {
        scale = e == std::string::npos ? 0 : -std::stoll(digits.substr(e + 1));
    } catch (const std::exception&) {
        return real;
    }
    std::string integer;
    bool point = false;
    for (char c : digits.substr(0, e)) {
        if (c == '.')
            point = true;
        else if (std::isdigit(static_cast<unsigned char>(c)))
            integer += c, scale += point ? 1 : 0;
    }
    while (scale > 0 && integer.size() > 1 && integer.back() == '0')
        integer.pop_back(), --scale;
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    if (integer.empty() || scale > 4096 || scale < -4096)
        return real;
    if (scale < 0)
        integer.append(static_cast<std::size_t>(-scale), '0');
    if (!digits.empty() && digits[0] == '-')
        integer.insert(0, "-");
    if (scale <= 0)
        return Expr::integerText(integer);
    return Expr::function("Rational", {Expr::integerText(integer), Expr::integerText("1" + std::string(scale, '0'))});
}

bool containsReal(const Expr& e)
{
    if (e.type == wire::kTokenReal)
        return true;
    return std::any_of(e.parts.begin(), e.parts.end(), [](const Expr& p) { return containsReal(p); });
}

std::string GiacInput::real(const std::string& text)
{
    const std::string digits = realDigits(text);
    if (!validDigits(digits, true))
        throw TranslationError("malformed real " + text);
    // A real of up to 15 significant digits is a machine real; one of more
    // is read to the digits written, as the editor keeps them. Giac counts
    // leading zeros as digits, so such a real goes in scientific form.
    const std::string mantissa = digits.substr(0, digits.find_first_of("eE"));
    const std::size_t first = mantissa.find_first_of("123456789");
    std::size_t written = 0;
    std::size_t significant = 0;
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(mantissa[i]));
        written += digit ? 1 : 0;
        significant += digit && first != std::string::npos && i >= first ? 1 : 0;
    }
    if (significant > kMachineDigits)
        return "evalf(" + digits + "," + std::to_string(significant) + ")";
    if (written > kMachineDigits - 1)
        return "(" + scientific(digits, significant) + ")";
    return "(" + digits + ")";
}

std::string GiacInput::symbol(const std::string& name)
{
    for (auto it = bound_.rbegin(); it != bound_.rend(); ++it) {
        if (it->first == name)
            return it->second;
    }
    static const std::pair<const char*, const char*> constants[] = {
        {"Pi", "pi"}, {"E", "e"}, {"e", "e"}, {"I", "i"}, {"i", "i"}, {"Infinity", "inf"},
        {"\xE2\x88\x9E", "inf"},   // the plain form writes infinity as its character
        {"ComplexInfinity", "infinity"}, {"Indeterminate", "undef"},
        {"EulerGamma", "euler_gamma"}, {"GoldenRatio", "((1+sqrt(5))/2)"}, {"Degree", "(pi/180)"},
        {"Null", "NULL"},
    };
    for (const auto& [kernel, giac] : constants) {
        if (name == kernel)
            return giac;
    }
    if (name.empty())
        throw TranslationError("a symbol without a name");
    return encodeSymbol(name);
}

std::string GiacInput::args(const Expr& e, std::size_t from)
{
    std::string out;
    for (std::size_t i = from; i < e.argCount(); ++i) {
        if (i > from)
            out += ",";
        out += translate(e.arg(i));
    }
    return out;
}

std::string GiacInput::joined(const Expr& e, const char* op)
{
    if (e.argCount() == 0)
        return std::string(op) == ".+" ? "0" : "1";
    std::string out = "(";
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        if (i > 0)
            out += op;
        out += arithmeticOperand(e.arg(i));
    }
    return out + ")";
}

std::string GiacInput::truthOperand(const Expr& e)
{
    // True and False are Giac's truth values where logic reads them; elsewhere
    // they stay symbols, as f[True] and True + 1 do in the kernel.
    if (isTruthValue(e))
        return e.isSymbol("True") ? "true" : "false";
    return translate(e);
}

std::string GiacInput::logical(const Expr& e, const char* op)
{
    if (e.argCount() == 0)
        return std::string(op) == " and " ? "true" : "false";
    std::string out = "(";
    for (std::size_t i = 0; i < e.argCount(); ++i)
        out += (i ? op : "") + truthOperand(e.arg(i));
    return out + ")";
}

std::string GiacInput::function(const Expr& e, bool valuesIn)
{
    const Expr& headExpr = e.head();
    if (headExpr.isFunction())
        return compoundHead(e);
    if (!headExpr.isSymbol())
        throw TranslationError("a head that is not a symbol");
    std::string_view head = plainHead(headExpr.text);
    std::size_t n = e.argCount();
    auto need = [&](std::size_t low, std::size_t high) {
        if (n < low || n > high)
            throw TranslationError(std::string(headExpr.text) + " called with " + std::to_string(n) + " arguments");
    };

    if (std::optional<std::string> list = listForm(e, valuesIn))
        return *list;
    if (head == "Plus") // .+ adds a number to each element of a list, as the kernel does
        return joined(e, ".+");
    if (head == "Times") // lists multiply element by element, the editor's matrices as matrices
        return joined(e, listProduct(e) ? ".*" : "*");
    if (head == "Dot")   // Giac's product of vectors and matrices is the kernel's dot product
        return joined(e, "*");
    if (head == "Power") {
        need(2, 2);
        const char* op = isListValued(e.arg(0)) && !hasMatrixOperand(e) ? ").^(" : ")^(";
        return "((" + arithmeticOperand(e.arg(0)) + op + arithmeticOperand(e.arg(1)) + "))";
    }
    if (head == "Divide" || head == "Rational") {
        need(2, 2);
        const char* op = isListValued(e.arg(1)) && !hasMatrixOperand(e) ? ")./(" : ")/(";
        return "((" + arithmeticOperand(e.arg(0)) + op + arithmeticOperand(e.arg(1)) + "))";
    }
    if (head == "Subtract") {
        need(2, 2);
        return "((" + arithmeticOperand(e.arg(0)) + ").-(" + arithmeticOperand(e.arg(1)) + "))";
    }
    if (head == "Minus") {
        need(1, 1);
        return "(-(" + arithmeticOperand(e.arg(0)) + "))";
    }
    if (head == "Sqrt") {
        need(1, 1);
        return "sqrt(" + arithmeticOperand(e.arg(0)) + ")";
    }
    if (head == "Radical") {
        need(1, 2);
        if (n == 1 || (e.arg(1).type == wire::kTokenInteger && e.arg(1).text == "2"))
            return "sqrt(" + arithmeticOperand(e.arg(0)) + ")";
        return "surd(" + arithmeticOperand(e.arg(0)) + "," + arithmeticOperand(e.arg(1)) + ")";
    }
    if (head == "Complex") {
        need(2, 2);
        return "((" + translate(e.arg(0)) + ")+(" + translate(e.arg(1)) + ")*i)";
    }
    if (head == "Log") {
        need(1, 2);
        if (n == 1)
            return "ln(" + arithmeticOperand(e.arg(0)) + ")";
        return "simplify(ln(" + arithmeticOperand(e.arg(1)) + ")/ln(" + arithmeticOperand(e.arg(0)) + "))";
    }
    if (head == "Mod") {
        need(2, 2);
        return once({arithmeticOperand(e.arg(0)), arithmeticOperand(e.arg(1))}, [](const std::vector<std::string>& v) {
            return "((" + v[0] + ")-(" + v[1] + ")*floor((" + v[0] + ")/(" + v[1] + ")))";
        });
    }
    if (head == "List" || head == "EqnSet" || head == "Column")
        return "[" + args(e) + "]";
    if (headExpr.text == "Table")
        return table(e);
    if (head == "Matrix" || head == "Table") {
        // The program sends a matrix as its rows, VXMatrix[{1, 2}, {3, 4}];
        // one list of rows, VXMatrix[{{1, 2}, {3, 4}}], is read as well.
        sawMatrix_ = true;
        need(1, SIZE_MAX);
        const bool listOfRows =
            n == 1 && e.arg(0).hasHead("List") && e.arg(0).argCount() > 0 && e.arg(0).arg(0).hasHead("List");
        return listOfRows ? translate(e.arg(0)) : "[" + args(e) + "]";
    }
    if (head == "Part") {
        need(2, 2);
        const Expr& index = e.arg(1);
        if (index.type == wire::kTokenReal || index.hasHead("Rational") || index.hasHead("Complex"))
            throw TranslationError("Part " + wire::toFullForm(index) +
                                   " does not exist: parts are counted by integers");
        if (std::optional<Expr> picked = literalPart(e.arg(0), e.arg(1)))
            return translate(*picked);
        // Giac counts from 0, and from the end as the kernel does for a negative index.
        const bool fromEnd = e.arg(1).type == wire::kTokenInteger && e.arg(1).text.starts_with("-");
        return "((" + translate(e.arg(0)) + ")[(" + translate(e.arg(1)) + ")" + (fromEnd ? "" : "-1") + "])";
    }
    if (head == "Sort") {
        need(1, 2);
        std::string sorted = "sort(" + translate(e.arg(0)) + ")";
        if (n == 2 && e.arg(1).isSymbol("Greater"))
            return "revlist(" + sorted + ")";
        return sorted;
    }
    if (head == "Unequal")
        return GiacFunctions(*this).unequal(e);
    if (const char* op = relationOperator(head))
        return relation(op, e);
    if (head == "Inequality")
        return inequality(e);
    if (head == "Xor")
        return exclusiveOr(e);
    if (head == "And" || head == "Or")
        return logical(e, head == "And" ? " and " : " or ");
    if (head == "Not") {
        need(1, 1);
        return "(not(" + truthOperand(e.arg(0)) + "))";
    }
    if (head == "D" || head == "Dt")
        return derivative(e);
    if (head == "Integrate") {
        need(2, 2);
        return iterator(e.arg(0), e.arg(1), "integrate");
    }
    if (head == "Sum") {
        need(2, 2);
        return iterator(e.arg(0), e.arg(1), "sum");
    }
    if (head == "Product") {
        need(2, 2);
        return iterator(e.arg(0), e.arg(1), "product");
    }
    if (head == "Limit")
        return limit(e);
    if (head == "Series") {
        need(2, 2);
        const Expr& rangeForm = e.arg(1);
        if (!rangeForm.hasHead("List", 3))
            throw TranslationError("Series needs {variable, point, order}");
        Binding binding(*this);
        binding.add(rangeVariable(rangeForm));
        return "series(" + translate(e.arg(0)) + "," + args(rangeForm) + ")";
    }
    if (head == "N") {
        need(1, 2);
        return "evalf(" + args(e) + ")";
    }
    if (head == "Split")
        return split(e);
    if (head == "DirectedInfinity")
        return directedInfinity(e);
    if (head == "PolyGamma")
        return polyGamma(e);
    if (std::optional<std::string> mapped = GiacFunctions(*this).translate(e))
        return *mapped;
    if (std::string special = differentConvention(e); !special.empty())
        return special;
    if (isOpaqueAtom(headExpr.text))   // a subscripted or accented variable is one unknown
        return encodeSymbol(wire::toFullForm(e));
    if (head == "Hold" || head == "Literal" || head == "Mover" || head == "Target" || head == "Marker") {
        need(1, 1);
        return translate(e.arg(0));
    }
    if (headExpr.text == kTruthAsSymbol && n == 1)
        return truthAsSymbol(translate(e.arg(0)));
    std::string giac = giacFunctionFor(headExpr.text);
    if (!giac.empty())
        return giac + "(" + arithmeticArguments(e) + ")";
    // A free head: an undefined function of its arguments. Giac drops a lone
    // empty list there (f([]) is f), so {} goes as an unknown of its own.
    if (n == 1 && e.arg(0).hasHead("List", 0))
        return symbol(headExpr.text) + "(" + encodeSymbol(wire::toFullForm(e.arg(0))) + ")";
    return symbol(headExpr.text) + "(" + freeArguments(e) + ")";
}

std::string GiacInput::freeArguments(const Expr& e)
{
    // Giac takes an undefined function of an infinity or of undef for
    // undefined as a whole: such an argument, alone or in a list, goes as an
    // unknown of the kernel's name for it, so that f[Infinity], f[{Infinity}]
    // and f[0/0] stay calls. An equation, alone or in a list, Giac would drop
    // as an option: it goes as a call of Equal.
    const std::string infinity = encodeSymbol("Infinity");
    const std::string complexInfinity = encodeSymbol("DirectedInfinity[]");
    const std::string indeterminate = encodeSymbol("Indeterminate");
    std::string out;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        const Expr& a = e.arg(i);
        out += i ? "," : "";
        if (a.hasHead("Equal") || a.hasHead("VXEqual"))
            out += encodeSymbol("Equal") + "(" + args(a) + ")";
        else if (a.hasHead("List") || a.hasHead("VXEqnSet"))
            out += "[" + freeArguments(a) + "]";
        else if (a.isSymbol("Infinity") || a.isSymbol("\xE2\x88\x9E"))
            out += infinity;
        else if (a.isSymbol("Indeterminate"))
            out += indeterminate;
        else if (!a.isFunction())   // no other atom has an infinite value
            out += translate(a);
        else
            out += once({translate(a)}, [&](const std::vector<std::string>& v) {
                return "when(string(" + v[0] + ")==\"undef\"," + indeterminate + ",when(" + v[0] + "==inf," + infinity +
                    ",when(" + v[0] + "==-inf,-" + infinity + ",when(" + v[0] + "==infinity," + complexInfinity + "," +
                    v[0] + "))))";
            });
    }
    return out;
}

std::string GiacInput::arithmeticOperand(const Expr& e)
{
    // Giac counts a truth value as 1 or 0 in arithmetic and in the functions
    // of numbers; the kernel keeps True + 1 and Sqrt[True] as written, whether
    // True was written or computed (Not[False], 1 < 2, a table of them).
    if (e.hasHead("Table") && e.argCount() >= 2 && isLogical(e.arg(0))) {
        Expr symbols = e;
        symbols.arg(0) = Expr::function(kTruthAsSymbol, {e.arg(0)});
        return translate(symbols);
    }
    return isLogical(e) ? truthAsSymbol(translate(e)) : translate(e);
}

std::string GiacInput::arithmeticArguments(const Expr& e)
{
    std::string out;
    for (std::size_t i = 0; i < e.argCount(); ++i)
        out += (i ? "," : "") + arithmeticOperand(e.arg(i));
    return out;
}

std::string GiacInput::compoundHead(const Expr& e)
{
    // Derivative[n...][f][x...]: the derivatives of f at the arguments.
    const Expr& head = e.head();
    if (head.argCount() == 1 && head.head().hasHead("Derivative") && head.arg(0).isSymbol()) {
        const Expr& orders = head.head();
        if (orders.argCount() != e.argCount())
            throw TranslationError("Derivative orders do not match the arguments");
        std::string call;
        std::string text;
        for (std::size_t i = 0; i < e.argCount(); ++i) {
            std::string var = "qvd_" + std::to_string(i);
            call += (i ? "," : "") + var;
        }
        std::string known = giacFunctionFor(head.arg(0).text);
        text = (known.empty() ? symbol(head.arg(0).text) : known) + "(" + call + ")";
        for (std::size_t i = 0; i < e.argCount(); ++i)
            text = "diff(" + text + ",qvd_" + std::to_string(i) + "," + translate(orders.arg(i)) + ")";
        std::string subst = text;
        for (std::size_t i = 0; i < e.argCount(); ++i)
            subst = "subst(" + subst + ",qvd_" + std::to_string(i) + "=" + translate(e.arg(i)) + ")";
        return subst;
    }
    throw TranslationError("a compound head other than Derivative[n][f]");
}

std::string GiacInput::iterator(const Expr& body, const Expr& rangeForm, const char* giacName)
{
    const bool sum = std::string(giacName) == "sum";
    refuseZeroStep(rangeForm);
    if ((sum || std::string(giacName) == "product") && rangeForm.hasHead("List")) {
        if (std::optional<std::string> listed = overValues(body, rangeForm))
            return std::string(giacName) + "(" + *listed + ")";
        if (std::optional<std::string> stepped = steppedIteration(body, rangeForm, sum))
            return *stepped;
    }
    Binding binding(*this);
    binding.add(rangeVariable(rangeForm));
    std::string f = translate(body);
    if (rangeForm.isSymbol())
        return std::string(giacName) + "(" + f + "," + translate(rangeForm) + ")";
    if (rangeForm.hasHead("List", 3) && std::string(giacName) == "product" && rangeForm.arg(2).isSymbol("Infinity")) {
        // Giac has no infinite products: the limit of the partial products.
        Binding bound(*this);
        const Expr end = Expr::symbol("n");
        bound.add(&end);
        const std::string n = translate(end);
        return "limit(product(" + f + "," + translate(rangeForm.arg(0)) + "," + translate(rangeForm.arg(1)) + "," + n +
            ")," + n + ",inf)";
    }
    if (rangeForm.hasHead("List", 3)) {
        std::string text = std::string(giacName) + "(" + f + "," + args(rangeForm) + ")";
        // A closed form over a symbolic range reads best factored: n (n + 1) / 2.
        bool symbolicRange = !isNumberOrInfinity(rangeForm.arg(1)) || !isNumberOrInfinity(rangeForm.arg(2));
        return std::string(giacName) == "sum" && symbolicRange ? "factor(" + text + ")" : text;
    }
    if (rangeForm.hasHead("List", 2))
        return std::string(giacName) + "(" + f + "," + translate(rangeForm.arg(0)) + ",1," + translate(rangeForm.arg(1)) + ")";
    throw TranslationError(std::string("a malformed range in ") + giacName);
}

std::string GiacInput::table(const Expr& e)
{
    // Table[body, range...]: the first range varies slowest, so the last one
    // is the innermost sequence; a later range may depend on an earlier variable.
    if (e.argCount() < 2)
        throw TranslationError("Table needs an expression and a range such as {k, 1, 5}");
    Binding binding(*this);
    for (std::size_t i = 1; i < e.argCount(); ++i)
        binding.add(rangeVariable(e.arg(i)));
    std::string text = translate(e.arg(0));
    for (std::size_t i = e.argCount() - 1; i >= 1; --i)
        text = sequence(text, e.arg(i));
    return text;
}

std::optional<std::string> GiacInput::listForm(const Expr& e, bool valuesIn)
{
    const ListValues values(value_, boundNames());
    if (!valuesIn) {
        if (std::optional<Expr> known = values.withValues(e))
            return function(*known, true);
        if (std::optional<Expr> terms = values.termByTerm(e))
            return translate(*terms);
    }
    GiacFunctions::checkShapes(e);
    // Lists written out are combined here, element by element at every level:
    // Giac adds a list to a list inside a list as to a polynomial's coefficients.
    if (std::optional<Expr> list = elementwise(e)) {
        sawMatrix_ = sawMatrix_ || hasMatrixOperand(e);
        return translate(*list);
    }
    if (std::optional<Expr> rewritten = values.rewritten(e))
        return isTruthValue(*rewritten) ? truthOperand(*rewritten) : translate(*rewritten);
    return std::nullopt;
}

std::vector<std::string> GiacInput::boundNames() const
{
    std::vector<std::string> names;
    for (const auto& [name, identifier] : bound_)
        names.push_back(name);
    return names;
}

std::string GiacInput::sequence(const std::string& body, const Expr& range)
{
    // Giac's seq counts towards the end whatever the step says; a range
    // that ends before it starts is empty, as the kernel's is.
    auto guarded = [&](const std::string& empty, const std::string& seqArgs) {
        return "when(" + empty + ",[],seq(" + body + "," + seqArgs + "))";
    };
    if (!range.hasHead("List") || range.argCount() == 1) {
        const std::string count = translate(range.hasHead("List") ? range.arg(0) : range); // n copies
        return guarded("(" + count + ")<1", count);
    }
    const std::size_t n = range.argCount();
    if (!rangeVariable(range) || n > 4)
        throw TranslationError("a Table range must be {n}, {k, n}, {k, a, b}, {k, a, b, step} or {k, {values}}");
    refuseZeroStep(range);
    const std::string k = translate(range.arg(0));
    if (n == 2 && range.arg(1).hasHead("List")) // k takes each value in turn
        return "map(" + translate(range.arg(1)) + ",(" + k + ")->(" + body + "))";
    const std::string from = n == 2 ? "(1)" : translate(range.arg(1));
    const std::string to = translate(range.arg(n == 2 ? 1 : 2));
    // The step is always given: Giac's seq without one refuses a start that is not an integer.
    if (n < 4)
        return guarded("(" + to + ")<(" + from + ")", k + "," + from + "," + to + ",1");
    const std::string step = translate(range.arg(3));
    return guarded("floor(((" + to + ")-(" + from + "))/(" + step + "))<0", k + "," + from + "," + to + "," + step);
}

std::optional<std::string> GiacInput::overValues(const Expr& body, const Expr& range)
{
    // {k, {1, 3, 5}}: the list of body's values as k takes each value in turn.
    if (!range.hasHead("List", 2) || !range.arg(0).isSymbol() || !range.arg(1).hasHead("List"))
        return std::nullopt;
    const std::string values = translate(range.arg(1));
    Binding binding(*this);
    binding.add(&range.arg(0));
    const std::string k = bound_.back().second;
    return "map(" + values + ",(" + k + ")->(" + translate(body) + "))";
}

std::optional<std::string> GiacInput::steppedIteration(const Expr& body, const Expr& range, bool sum)
{
    // The kernel's k runs from the start by the step for as long as it does
    // not pass the end: k = a + s j for j = 0, 1, ..., floor((b - a)/s), and
    // no term at all when that is negative. Giac sums a reversed range by a
    // convention of its own (Sum[k, {k, 5, 1}] would be -9) and rounds a start
    // that is not an integer (Sum[1/k^2, {k, 1/2, Infinity}] would be Pi^2/6);
    // written in j, the sum keeps Giac's closed form for any numbers, written
    // out or not (10^9). Nothing for a range Giac counts as the kernel does.
    const std::size_t n = range.argCount();
    if (n < 3 || n > 4 || !rangeVariable(range) || !isNumericBound(range.arg(1)))
        return std::nullopt;
    const Expr& start = range.arg(1);
    const Expr& end = range.arg(2);
    const bool infinite = end.isSymbol("Infinity") || end.isSymbol("\xE2\x88\x9E");
    const bool symbolicEnd = !infinite && !isNumericBound(end);
    if (symbolicEnd && isInteger(start))
        return std::nullopt;
    if (n == 3 && isInteger(start) && (infinite || isInteger(end))) {
        try {
            if (!infinite && std::stoll(end.text) < std::stoll(start.text))
                return sum ? "0" : "1";
            // Giac multiplies a long product out factor by factor, and cannot hold a billion.
            if (infinite || sum || std::stoll(end.text) - std::stoll(start.text) < kFewFactors)
                return std::nullopt;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    // An infinite sum or product from a real is the real value of the exact one:
    // Giac finds no closed form for the terms of reals.
    const bool inexact = infinite && (start.type == wire::kTokenReal || (n == 4 && range.arg(3).type == wire::kTokenReal));
    const Expr first = inexact ? exactNumber(start) : start;
    const Expr stride = n == 4 ? (inexact ? exactNumber(range.arg(3)) : range.arg(3)) : Expr::integer(1);
    if (!sum && !infinite && !symbolicEnd)
        refuseLongProduct(body, range, first, stride);
    const std::string from = translate(first);
    const std::string step = translate(stride);
    const std::string last = infinite ? "inf" : "floor(((" + translate(end) + ")-(" + from + "))/(" + step + "))";
    Binding binding(*this);
    binding.add(&range.arg(0));
    const std::string j = bound_.back().second;
    bound_.emplace_back(range.arg(0).text, "((" + from + ")+(" + step + ")*" + j + ")");
    const std::string f = translate(body);
    const char* empty = sum ? "0" : "1";
    const std::string iterated = std::string(sum ? "sum(" : "product(") + f + "," + j + ",0,";
    if (symbolicEnd)   // the closed form, for an end that is not before the start
        return sum ? "factor(" + iterated + last + "))" : iterated + last + ")";
    if (!infinite && sum)
        return "when((" + last + ")<0," + empty + "," + iterated + last + "))";
    const Expr count = Expr::symbol("n");
    binding.add(&count);
    const std::string m = bound_.back().second;
    if (!infinite) {
        // A long product is its closed form in the number of factors, with that number put in.
        return "when((" + last + ")<0," + empty + ",when((" + last + ")<" + std::to_string(kFewFactors) + "," +
            iterated + last + "),subst(" + iterated + m + ")," + m + "," + last + ")))";
    }
    // A power of a negative number is split first, (-1)^(1/2 + j) = I (-1)^j:
    // Giac sums the power as written to a wrong value.
    const std::string term = "simplify(powexpand(" + f + "))";
    const std::string value = sum // an infinite sum from a fraction comes as PolyGamma of it: Pi^2/2 rather than PolyGamma[1, 1/2]
        ? "simplify(sum(" + term + "," + j + ",0,inf))"
        // Giac has no infinite products: the limit of the partial products.
        : "limit(product(" + f + "," + j + ",0," + m + ")," + m + ",inf)";
    return inexact ? "evalf(" + value + ")" : value;
}

void GiacInput::refuseLongProduct(const Expr& body, const Expr& range, const Expr& start, const Expr& step)
{
    // The number of factors, when it is known before Giac computes: the
    // factors may not depend on a variable bound around the product.
    if (!value_ || std::any_of(bound_.begin(), bound_.end(), [&](const auto& b) { return holdsFree(body, b.first); }))
        return;
    const auto call = [](const char* head, std::vector<Expr> args) { return Expr::function(head, std::move(args)); };
    const Expr span = call("Plus", {range.arg(2), call("Times", {Expr::integer(-1), start})});
    const Expr last = value_(call("Floor", {call("Times", {span, call("Power", {step, Expr::integer(-1)})})}), true);
    long long count = 0;
    try {
        count = last.type == wire::kTokenInteger ? std::stoll(last.text) + 1 : 0;
    } catch (const std::exception&) {
        return;   // beyond counting: Giac says why
    }
    if (count >= kFewFactors)
        LongProduct(value_).check(body, range.arg(0).text, start, step, count);
}

std::optional<Expr> GiacInput::literalPart(const Expr& whole, const Expr& index)
{
    // Part 0 is the head; the parts of a list written out are its elements,
    // counted from the end for a negative index.
    if (!isInteger(index) || !whole.isFunction())
        return std::nullopt;
    long long i = 0;
    try {
        i = std::stoll(index.text);
    } catch (const std::exception&) {
        throw TranslationError("Part " + index.text + " does not exist");
    }
    if (i == 0)
        return whole.head();
    if (!whole.hasHead("List"))
        return std::nullopt;
    const auto count = static_cast<long long>(whole.argCount());
    if (i > count || i < -count)
        throw TranslationError("Part " + index.text + " of a list of " + std::to_string(count) + " does not exist");
    return whole.arg(static_cast<std::size_t>(i > 0 ? i - 1 : count + i));
}

std::string GiacInput::exclusiveOr(const Expr& e)
{
    // Giac's xor answers 0 or 1, and 0 for two unknowns: only truth values,
    // written or computed (1 < 2), are decided here; what stays undecided
    // stays Xor as written.
    std::vector<std::string> values;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        if (!isTruthValue(e.arg(i)) && !isLogical(e.arg(i)))
            throw TranslationError("Xor is decided only for True and False");
        values.push_back(truthOperand(e.arg(i)));
    }
    if (values.empty())
        return "false";
    return once(values, [](const std::vector<std::string>& v) {
        std::string decided;
        std::string trues;
        std::string all;
        for (const std::string& value : v) {
            const std::string text = "string(" + value + ")";
            decided += (decided.empty() ? "" : " and ") + ("(" + text + "==\"true\" or " + text + "==\"false\")");
            trues += (trues.empty() ? "" : "+") + ("when(" + text + "==\"true\",1,0)");
            all += (all.empty() ? "" : ",") + value;
        }
        return "when(" + decided + ",irem(" + trues + ",2)==1," + encodeSymbol("Xor") + "(" + all + "))";
    });
}

std::string GiacInput::differentConvention(const Expr& e)
{
    // Functions whose Giac namesake means something else at an edge.
    const std::string_view head = plainHead(e.head().text);
    const std::size_t n = e.argCount();
    if (head == "UnitStep" && n >= 1) {
        // Giac's Heaviside is 1/2 at 0, UnitStep 1; several arguments multiply.
        std::string out = "(1";
        for (std::size_t i = 0; i < n; ++i) {
            out += "*" + once({translate(e.arg(i))}, [](const std::vector<std::string>& x) {
                return "Heaviside(" + x[0] + ")+((" + x[0] + ")==0)/2";
            });
        }
        return out + ")";
    }
    if (head == "Quotient" && (n == 2 || n == 3)) {
        // The floor of m/n (of (m - d)/n), where Giac's iquo truncates.
        const std::string m = n == 3 ? "(" + translate(e.arg(0)) + ")-(" + translate(e.arg(2)) + ")" : translate(e.arg(0));
        return "floor((" + m + ")/(" + translate(e.arg(1)) + "))";
    }
    if (head == "FourierTransform" && n == 3) {
        // The kernel's default transform is 1/Sqrt[2 Pi] times the integral of
        // f(t) E^(I w t); Giac's fourier integrates f(t) E^(-I w t).
        Binding binding(*this);
        binding.add(&e.arg(1));
        const std::string f = translate(e.arg(0));
        const std::string t = translate(e.arg(1));
        const std::string w = translate(e.arg(2));
        return "normal(subst(fourier(" + f + "," + t + ",qvw_),qvw_,-(" + w + "))/sqrt(2*pi))";
    }
    if ((head == "Max" || head == "Min") && (n == 0 || (n == 1 && e.arg(0).hasHead("List", 0))))
        return head == "Max" ? "(-inf)" : "inf";   // the bounds of nothing, where Giac has none
    if (head == "Zeta" && n == 1 && isInteger(e.arg(0)) && e.arg(0).text == "1")
        return "infinity";   // a pole without a direction, where Giac answers +infinity
    if (head == "Length" && n == 1 && !e.arg(0).isFunction())
        return "0";   // an atom has no parts
    return {};
}

std::string GiacInput::directedInfinity(const Expr& e)
{
    // The kernel's own infinities: no direction, or the direction's sign.
    if (e.argCount() == 0)
        return "infinity";
    if (e.argCount() == 1)
        return "((" + translate(e.arg(0)) + ")*inf)";
    throw TranslationError("DirectedInfinity takes at most one direction");
}

std::string GiacInput::polyGamma(const Expr& e)
{
    // PolyGamma[n, z] is Giac's Psi(z, n).
    if (e.argCount() == 1)
        return "Psi(" + translate(e.arg(0)) + ")";
    if (e.argCount() == 2)
        return "Psi(" + translate(e.arg(1)) + "," + translate(e.arg(0)) + ")";
    throw TranslationError("PolyGamma takes an order and an argument");
}

std::string GiacInput::derivative(const Expr& e)
{
    if (e.argCount() < 1)
        throw TranslationError("D without an expression");
    Binding binding(*this);
    for (std::size_t i = 1; i < e.argCount(); ++i)
        binding.add(rangeVariable(e.arg(i)));
    std::string text = translate(e.arg(0));
    if (e.argCount() == 1)
        return text;
    for (std::size_t i = 1; i < e.argCount(); ++i) {
        const Expr& v = e.arg(i);
        if (v.hasHead("List", 2))
            text = "diff(" + text + "," + translate(v.arg(0)) + "," + translate(v.arg(1)) + ")";
        else
            text = "diff(" + text + "," + translate(v) + ")";
    }
    return text;
}

std::string GiacInput::limit(const Expr& e)
{
    if (e.argCount() < 2 || e.argCount() > 3 || !e.arg(1).hasHead("Rule", 2))
        throw TranslationError("Limit needs an expression and a rule");
    const Expr& rule = e.arg(1);
    Binding binding(*this);
    binding.add(&rule.arg(0));
    std::string text = "limit(" + translate(e.arg(0)) + "," + translate(rule.arg(0)) + "," + translate(rule.arg(1));
    if (e.argCount() == 3) {
        const Expr& dir = e.arg(2);
        if (!dir.hasHead("Rule", 2) || !dir.arg(0).isSymbol("Direction"))
            throw TranslationError("Limit's third argument must be Direction -> 1 or -1");
        // Direction -> -1 approaches from above, Giac's +1.
        text += ",-(" + translate(dir.arg(1)) + ")";
    }
    return text + ")";
}

std::string GiacInput::relation(const std::string& op, const Expr& e)
{
    if (e.argCount() < 2)
        throw TranslationError("a relation needs two sides");
    // Lists of different lengths are not equal; Giac would pair each
    // element of one with the whole of the other.
    const auto lengths = [&](std::size_t i) {
        return e.arg(i).hasHead("List") ? std::optional(e.arg(i).argCount()) : std::nullopt;
    };
    if (op == "=" && e.argCount() == 2 && lengths(0) && lengths(1) && lengths(0) != lengths(1))
        return "false";
    std::string out = "(";
    for (std::size_t i = 0; i + 1 < e.argCount(); ++i) {
        if (i > 0)
            out += " and ";
        out += "(" + truthOperand(e.arg(i)) + ")" + op + "(" + truthOperand(e.arg(i + 1)) + ")";
    }
    return out + ")";
}

std::string GiacInput::inequality(const Expr& e)
{
    // a, Less, b, LessEqual, c, ...
    if (e.argCount() < 3 || e.argCount() % 2 == 0)
        throw TranslationError("a malformed inequality chain");
    std::string out = "(";
    for (std::size_t i = 0; i + 2 < e.argCount(); i += 2) {
        const Expr& opExpr = e.arg(i + 1);
        const char* op = opExpr.isSymbol() ? relationOperator(opExpr.text) : nullptr;
        if (!op)
            throw TranslationError("an unknown relation in an inequality chain");
        if (i > 0)
            out += " and ";
        if (opExpr.isSymbol("Unequal")) {
            out += GiacFunctions(*this).unequal(Expr::function("Unequal", {e.arg(i), e.arg(i + 2)}));
            continue;
        }
        out += "(" + truthOperand(e.arg(i)) + ")" + op + "(" + truthOperand(e.arg(i + 2)) + ")";
    }
    return out + ")";
}

std::string GiacInput::split(const Expr& e)
{
    // Split[{v1, c1}, {v2, c2}, ..., {v, vxOtherwise}]
    std::string out = "piecewise(";
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        const Expr& piece = e.arg(i);
        if (!piece.hasHead("List", 2))
            throw TranslationError("a split piece must be {value, condition}");
        if (i > 0)
            out += ",";
        if (piece.arg(1).isSymbol("vxOtherwise"))
            out += translate(piece.arg(0));
        else
            out += truthOperand(piece.arg(1)) + "," + translate(piece.arg(0));
    }
    return out + ")";
}

} // namespace kernelproc
