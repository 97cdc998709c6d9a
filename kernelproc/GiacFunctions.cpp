#include "kernelproc/GiacFunctions.h"

#include "kernelproc/GiacInput.h"
#include "kernelproc/GiacNames.h"
#include "kernelproc/ListShapes.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr std::size_t kAny = SIZE_MAX;

// How many arguments a function takes, and whether it applies to each
// element of a list argument (f[{a, b}, c] is {f[a, c], f[b, c]}).
struct Signature {
    const char* name;
    std::size_t least;
    std::size_t most;
    bool listable;
};

constexpr Signature kSignatures[] = {
    {"Sin", 1, 1, true}, {"Cos", 1, 1, true}, {"Tan", 1, 1, true}, {"Cot", 1, 1, true}, {"Sec", 1, 1, true},
    {"Csc", 1, 1, true}, {"ArcSin", 1, 1, true}, {"ArcCos", 1, 1, true}, {"ArcTan", 1, 2, true},
    {"ArcCot", 1, 1, true}, {"ArcSec", 1, 1, true}, {"ArcCsc", 1, 1, true}, {"Sinh", 1, 1, true},
    {"Cosh", 1, 1, true}, {"Tanh", 1, 1, true}, {"Coth", 1, 1, true}, {"Sech", 1, 1, true}, {"Csch", 1, 1, true},
    {"ArcSinh", 1, 1, true}, {"ArcCosh", 1, 1, true}, {"ArcTanh", 1, 1, true}, {"Exp", 1, 1, true},
    {"Abs", 1, 1, true}, {"Sign", 1, 1, true}, {"Floor", 1, 2, true}, {"Ceiling", 1, 2, true},
    {"Round", 1, 2, true}, {"Gamma", 1, 3, true}, {"Beta", 2, 3, true}, {"Erf", 1, 2, true}, {"Erfc", 1, 1, true},
    {"Zeta", 1, 2, true}, {"BesselJ", 2, 2, true}, {"BesselY", 2, 2, true}, {"BesselI", 2, 2, true},
    {"BesselK", 2, 2, true}, {"Factorial", 1, 1, true}, {"Binomial", 2, 2, true}, {"Conjugate", 1, 1, true},
    {"Re", 1, 1, true}, {"Im", 1, 1, true}, {"Arg", 1, 1, true}, {"Max", 0, kAny, false}, {"Min", 0, kAny, false},
    {"GCD", 0, kAny, true}, {"LCM", 0, kAny, true}, {"Det", 1, 1, false}, {"Inverse", 1, 1, false},
    {"Transpose", 1, 1, false}, {"Cross", 1, 2, false}, {"ExpIntegralEi", 1, 1, true},
    {"LogIntegral", 1, 1, true}, {"SinIntegral", 1, 1, true}, {"CosIntegral", 1, 1, true},
    {"ProductLog", 1, 2, true}, {"Simplify", 1, 1, false}, {"FullSimplify", 1, 1, false}, {"Expand", 1, 1, false},
    {"Factor", 1, 1, false}, {"Together", 1, 1, false}, {"Cancel", 1, 1, false}, {"Apart", 1, 2, false},
    {"TrigExpand", 1, 1, false}, {"TrigReduce", 1, 1, false}, {"Eigenvalues", 1, 1, false}, {"Tr", 1, 1, false},
    {"Total", 1, 1, false}, {"IdentityMatrix", 1, 1, false}, {"Prime", 1, 1, true}, {"EulerPhi", 1, 1, true},
    {"PrimeQ", 1, 1, true}, {"FactorInteger", 1, 1, true}, {"Numerator", 1, 1, true},
    {"Denominator", 1, 1, true}, {"UnitStep", 1, kAny, true}, {"DiracDelta", 1, kAny, true},
    {"MatrixPower", 2, 2, false}, {"Norm", 1, 2, false}, {"LaplaceTransform", 3, 3, false},
    {"FourierTransform", 3, 3, false}, {"Quotient", 2, 3, true},
};

const Signature* signatureOf(std::string_view head)
{
    for (const Signature& s : kSignatures) {
        if (head == s.name)
            return &s;
    }
    return nullptr;
}

std::string counted(std::size_t n)
{
    return std::to_string(n) + (n == 1 ? " argument" : " arguments");
}

// "1", "1 or 2", "2 to 4", "at least 1".
std::string takes(const Signature& s)
{
    if (s.least == s.most)
        return std::to_string(s.least);
    if (s.most == kAny)
        return "at least " + std::to_string(s.least);
    const char* between = s.most == s.least + 1 ? " or " : " to ";
    return std::to_string(s.least) + between + std::to_string(s.most);
}

bool isInteger(const Expr& e)
{
    return e.type == wire::kTokenInteger;
}

// A number written out: 2, 2.5, 1/2, 1 + 2 I.
bool isNumber(const Expr& e)
{
    return isInteger(e) || e.type == wire::kTokenReal || e.hasHead("Rational", 2) || e.hasHead("Complex", 2);
}

// A number written out or as arithmetic of numbers: 1/3 typed is Times[1, Power[3, -1]].
bool isWrittenNumber(const Expr& e, int depth = 0)
{
    if (isNumber(e))
        return true;
    static const char* const arithmetic[] = {"Plus", "Times", "Power", "Divide", "Minus", "Subtract"};
    const bool numeric = e.isFunction() && e.head().isSymbol() && depth < 8 &&
        std::any_of(std::begin(arithmetic), std::end(arithmetic), [&](const char* h) { return e.hasHead(h); });
    return numeric &&
        std::all_of(e.parts.begin() + 1, e.parts.end(), [depth](const Expr& p) { return isWrittenNumber(p, depth + 1); });
}

bool isZero(const Expr& e)
{
    const bool number = isInteger(e) || e.type == wire::kTokenReal;
    return number && e.text.substr(0, e.text.find_first_of("eE")).find_first_of("123456789") == std::string::npos;
}

bool isNegative(const Expr& e)
{
    return !e.text.empty() && e.text.front() == '-';
}

// The value of an integer written out small enough to count terms up to.
std::optional<long long> smallInteger(const Expr& e)
{
    constexpr long long kLargest = 10000;
    if (!isInteger(e))
        return std::nullopt;
    try {
        const long long n = std::stoll(e.text);
        return n >= -kLargest && n <= kLargest ? std::optional(n) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// An identifier no other part of a request holds, read back as `name` in Giac's messages.
std::string freshVariable(std::string_view name)
{
    static std::atomic<unsigned long> serial{0};
    return encodeBoundSymbol(name, ++serial);
}

// Giac's test that a value is a number, real or complex.
std::string numberTest(const std::string& value)
{
    const std::string type = "type(evalf(" + value + "))";
    return "(" + type + "==DOM_FLOAT or " + type + "==DOM_COMPLEX)";
}

void flattenInto(const Expr& e, Expr& flat)
{
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        if (e.arg(i).hasHead("List"))
            flattenInto(e.arg(i), flat);
        else
            flat.parts.push_back(e.arg(i));
    }
}

// Det[{{1, 2, 3}, {4, 5, 6}}] and Transpose[{1, 2, 3}] are refused; a list
// only a computation yields is left to Giac.
void requireMatrix(std::string_view head, const Expr& arg, bool square)
{
    const std::string needs = std::string(head) + " needs a " + (square ? "square " : "") + "matrix, not ";
    if (isNumber(arg))
        throw TranslationError(needs + "the number " + wire::toFullForm(arg));
    std::optional<ListShape> shape = literalShape(arg);
    if (!shape)
        return;
    const bool fits = square ? isSquareMatrix(*shape) : shape->length == 0 || shape->rowLength.has_value();
    if (!fits)
        throw TranslationError(needs + describe(*shape));
}

} // namespace

std::string GiacFunctions::text(const Expr& e)
{
    return input_.arithmeticOperand(e);
}

std::string GiacFunctions::arguments(const Expr& e)
{
    std::string out;
    for (std::size_t i = 0; i < e.argCount(); ++i)
        out += (i ? "," : "") + text(e.arg(i));
    return out;
}

std::string GiacFunctions::keptAsWritten(const Expr& e)
{
    return encodeSymbol(plainHead(e.head().text)) + "(" + arguments(e) + ")";
}

std::string GiacFunctions::keptWith(const Expr& e, const std::vector<std::string>& values)
{
    std::string out;
    for (const std::string& v : values)
        out += (out.empty() ? "" : ",") + v;
    return encodeSymbol(plainHead(e.head().text)) + "(" + out + ")";
}

std::optional<std::string> GiacFunctions::translate(const Expr& e)
{
    const std::string_view head = plainHead(e.head().text);
    const Signature* signature = signatureOf(head);
    if (!signature)
        return std::nullopt;
    const std::size_t n = e.argCount();
    if (n < signature->least || n > signature->most)
        throw TranslationError(std::string(head) + " is called with " + counted(n) + "; it takes " + takes(*signature));
    if (signature->listable) {
        if (std::optional<std::string> list = threaded(e))
            return list;
    }
    return meaning(head, e);
}

std::optional<std::string> GiacFunctions::threaded(const Expr& e)
{
    std::optional<std::size_t> length;
    std::vector<const Expr*> operands;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        operands.push_back(&e.arg(i));
        if (e.arg(i).hasHead("List"))
            length = e.arg(i).argCount();
    }
    if (!length)
        return std::nullopt;
    requireEqualLengths(operands, e);
    Expr list = Expr::function("List", {});
    for (std::size_t k = 0; k < *length; ++k) {
        std::vector<Expr> args;
        for (const Expr* operand : operands)
            args.push_back(operand->hasHead("List") ? operand->arg(k) : *operand);
        list.parts.push_back(Expr::function(e.head(), std::move(args)));
    }
    return text(list);
}

std::optional<std::string> GiacFunctions::meaning(std::string_view head, const Expr& e)
{
    const std::size_t n = e.argCount();
    if ((head == "Round" || head == "Floor" || head == "Ceiling") && n == 2)
        return multiple(head, e);
    if (head == "ArcTan" && n == 2)
        return angle(e);
    if (head == "ProductLog" && n == 2) {
        // The branch comes first; Giac's LambertW takes it second and reads branch 0 as none.
        if (isZero(e.arg(0)))
            return "LambertW(" + text(e.arg(1)) + ")";
        if (isInteger(e.arg(0)))
            return "LambertW(" + text(e.arg(1)) + "," + text(e.arg(0)) + ")";
        // A branch that is no integer keeps the call as written: Giac would fail.
        return GiacInput::once({text(e.arg(0)), text(e.arg(1))}, [&](const std::vector<std::string>& v) {
            return "when(type(" + v[0] + ")==DOM_INT,LambertW(" + v[1] + "," + v[0] + ")," + keptWith(e, v) + ")";
        });
    }
    if (head.starts_with("Bessel") && n == 2) {
        // Giac's Bessel functions take an order that is a natural number; of
        // any other order the call stays as written.
        return GiacInput::once({text(e.arg(0)), text(e.arg(1))}, [&](const std::vector<std::string>& v) {
            return "when(type(" + v[0] + ")==DOM_INT and " + v[0] + ">=0," + giacFunctionFor(head) + "(" + v[0] + "," +
                v[1] + ")," + keptWith(e, v) + ")";
        });
    }
    if (head == "Erf" && n == 2)   // from z0 to z1
        return "(erf(" + text(e.arg(1)) + ")-erf(" + text(e.arg(0)) + "))";
    if (head == "Gamma" && n == 3) {   // from z0 to z1
        return GiacInput::once({text(e.arg(0))}, [&](const std::vector<std::string>& a) {
            return "(Gamma(" + a[0] + "," + text(e.arg(1)) + ")-Gamma(" + a[0] + "," + text(e.arg(2)) + "))";
        });
    }
    if (head == "Beta" && n == 3)   // Beta[z, a, b] is Giac's Beta(a, b, z)
        return "Beta(" + text(e.arg(1)) + "," + text(e.arg(2)) + "," + text(e.arg(0)) + ")";
    if (head == "Zeta" && n == 2)
        return hurwitzZeta(e);
    if (head == "DiracDelta" && n > 1) {
        Expr product = Expr::function("Times", {});
        for (std::size_t i = 0; i < n; ++i)
            product.parts.push_back(Expr::function(e.head(), {e.arg(i)}));
        return text(product);
    }
    if (head == "DiracDelta" && isZero(e.arg(0)))
        return keptAsWritten(e);   // Giac's is infinite there
    if ((head == "Max" || head == "Min") &&
        std::any_of(e.parts.begin() + 1, e.parts.end(), [](const Expr& a) { return a.hasHead("List"); })) {
        Expr flat = Expr::function(e.head(), {});
        flattenInto(e, flat);
        return text(flat);
    }
    if (head == "Arg") {
        // Of a number its angle; Giac takes an unknown for real, where the kernel keeps Arg[x].
        return GiacInput::once({text(e.arg(0))}, [&](const std::vector<std::string>& z) {
            return "when(" + numberTest(z[0]) + ",arg(" + z[0] + ")," + keptWith(e, z) + ")";
        });
    }
    if (head == "Total" && !e.arg(0).isFunction())
        return text(e.arg(0));
    if (head == "Norm" && n == 2)
        return norm(e);
    if (std::optional<std::string> number = numberTheory(head, e))
        return number;
    return matrices(head, e);
}

std::optional<std::string> GiacFunctions::numberTheory(std::string_view head, const Expr& e)
{
    const Expr& x = e.arg(0);
    if (head == "PrimeQ") {   // -3 is as prime as 3; 2.0, 7/2 and x are no primes
        return GiacInput::once({text(x)}, [](const std::vector<std::string>& v) {
            return "when(type(" + v[0] + ")==DOM_INT,isprime(abs(" + v[0] + ")),false)";
        });
    }
    if (head == "Prime" && isNumber(x) && (!isInteger(x) || isZero(x) || isNegative(x)))
        throw TranslationError("Prime[n] needs a positive integer n");
    if (head == "EulerPhi") {
        if (isNumber(x) && !isInteger(x))
            throw TranslationError("EulerPhi[n] needs an integer n");
        return "euler(abs(" + text(x) + "))";
    }
    if (head == "FactorInteger")
        return factorPairs(e);
    if (head == "GCD" || head == "LCM") {
        for (std::size_t i = 0; i < e.argCount(); ++i) {
            if (e.arg(i).type == wire::kTokenReal)
                throw TranslationError(std::string(head) + " needs exact numbers, not " + e.arg(i).text);
        }
    }
    if (head == "Numerator" || head == "Denominator")
        return fractionPart(head == "Numerator", e);
    return std::nullopt;
}

std::optional<std::string> GiacFunctions::matrices(std::string_view head, const Expr& e)
{
    if (head == "Transpose" && e.arg(0).hasHead("List", 0))
        return "[]";
    if (head == "Det" || head == "Inverse" || head == "Eigenvalues" || head == "MatrixPower" || head == "Transpose") {
        const bool square = head != "Transpose";
        requireMatrix(head, e.arg(0), square);
        // A matrix the kernel could not compute holds the call around it, with the reason.
        const std::string matrix = text(e.arg(0));
        if (input_.isHeld(matrix))
            throw TranslationError(std::string(head) + " needs a " + (square ? "square " : "") + "matrix, and " +
                                   wire::toFullForm(e.arg(0)) + " has no value");
        const std::string giac = giacFunctionFor(head);
        if (head == "MatrixPower")
            return giac + "(" + matrix + "," + text(e.arg(1)) + ")";
        if (head != "Det" && head != "Eigenvalues")
            return giac + "(" + matrix + ")";
        // Of anything but a list (an unknown m) the call stays as written, where
        // Giac would fail. Giac's eigenvalues are a sequence: they go in a list
        // of their own rather than into the list around them.
        const std::string open = head == "Det" ? "" : "[";
        const std::string close = head == "Det" ? "" : "]";
        return GiacInput::once({matrix}, [&](const std::vector<std::string>& m) {
            return "when(type(" + m[0] + ")==DOM_LIST," + open + giac + "(" + m[0] + ")" + close + "," + keptWith(e, m) + ")";
        });
    }
    if (head == "IdentityMatrix" && isNumber(e.arg(0)) &&
        (!isInteger(e.arg(0)) || isZero(e.arg(0)) || isNegative(e.arg(0))))
        throw TranslationError("IdentityMatrix[n] needs a positive integer n");
    if (head == "Tr")
        return trace(e);
    if (head == "Cross")
        return cross(e);
    return std::nullopt;
}

std::string GiacFunctions::multiple(std::string_view head, const Expr& e)
{
    // Round[x, a] is the multiple of a nearest to x: a Round[x/a].
    if (isZero(e.arg(1)))
        throw TranslationError(std::string(head) + "[x, a] needs a multiple a other than 0");
    const std::string giac = head == "Round" ? "round" : head == "Floor" ? "floor" : "ceil";
    return GiacInput::once({text(e.arg(0)), text(e.arg(1))}, [&](const std::vector<std::string>& v) {
        return "((" + v[1] + ")*" + giac + "((" + v[0] + ")/(" + v[1] + ")))";
    });
}

std::string GiacFunctions::angle(const Expr& e)
{
    // ArcTan[x, y] is the angle of the point (x, y), undefined at the origin.
    if (isZero(e.arg(0)) && isZero(e.arg(1)) && isInteger(e.arg(0)) && isInteger(e.arg(1)))
        return "undef";
    const auto real = [](const std::string& v) { return "type(evalf(" + v + "))==DOM_FLOAT"; };
    return GiacInput::once({text(e.arg(0)), text(e.arg(1))}, [&](const std::vector<std::string>& v) {
        const std::string& x = v[0];
        const std::string& y = v[1];
        // Of unknowns, a formula that holds for real x other than 0: the angle is
        // ArcTan[y/x] to the right of the axis, Pi more above it and on it, Pi
        // less below it; on the axis, x = 0, it points up or down as y does.
        const std::string formula =
            "atan(" + y + "/" + x + ")+pi/2*(1-sign(" + x + "))*(1+2*sign(" + y + "-abs(" + y + ")))";
        return "when(" + real(x) + " and " + real(y) + ",arg(" + x + "+" + y + "*i),when(" + x + "==0,pi/2*sign(" + y +
            ")," + formula + "))";
    });
}

std::string GiacFunctions::hurwitzZeta(const Expr& e)
{
    // Zeta[s, a] is the sum of (k + a)^-s over k from 0, any term with k + a = 0
    // left out, continued to every s other than 1 as Zeta[s] is. Giac's
    // Zeta(s, n) is a derivative, and its sum diverges for s < 1.
    const Expr& s = e.arg(0);
    const Expr& a = e.arg(1);
    if (!isWrittenNumber(s) || !isWrittenNumber(a))
        return keptAsWritten(e);
    if (s.type == wire::kTokenReal || a.type == wire::kTokenReal)   // of reals, the value of the exact numbers, as a real
        return "evalf(" + hurwitzZeta(Expr::function(e.head(), {exactNumber(s), exactNumber(a)})) + ")";
    if (isInteger(s) && s.text == "1")
        return "infinity";   // a pole for every a
    const std::optional<long long> shift = smallInteger(a);
    const std::optional<long long> order = smallInteger(s);
    const std::string j = freshVariable("k");
    if (shift) {
        // Zeta[s] less the terms from 1 to a - 1, or more those from a to -1.
        return GiacInput::once({text(s)}, [&](const std::vector<std::string>& v) {
            const std::string terms = "sum(" + j + "^(-" + v[0] + ")," + j + ",";
            // eval: Giac's Zeta(0) is an expression that would not be added to as a number.
            if (*shift == 0 || *shift == 1)
                return "eval(Zeta(" + v[0] + "))";
            if (*shift > 1)
                return "eval(Zeta(" + v[0] + ")-" + terms + "1," + std::to_string(*shift - 1) + "))";
            return "eval(Zeta(" + v[0] + ")+" + terms + std::to_string(*shift) + ",-1))";
        });
    }
    if (order && *order <= 0) {
        // At s = -n, -B(n + 1, a)/(n + 1) with the Bernoulli polynomial B.
        const std::string m = std::to_string(1 - *order);
        return "(-subst(bernoulli(" + m + "," + j + ")," + j + "," + text(a) + ")/" + m + ")";
    }
    if (order && *order >= 2 && !(isInteger(a) && isNegative(a)))
        return "simplify(sum(1/(" + j + "+(" + text(a) + "))^(" + text(s) + ")," + j + ",0,inf))";
    throw TranslationError("Zeta[s, a] is computed for an integer s or an integer a");
}

std::string GiacFunctions::factorPairs(const Expr& e)
{
    // The pairs {p, k} of the prime factors, -1 first for a negative number;
    // 0, 1 and -1 are their own factor.
    const Expr& n = e.arg(0);
    if (n.type == wire::kTokenReal)
        throw TranslationError("FactorInteger needs an exact number, not " + n.text);
    if (isInteger(n) && (n.text == "0" || n.text == "1" || n.text == "-1"))
        return "[[" + text(n) + ",1]]";
    return "list2mat(ifactors(" + text(n) + "),2)";
}

std::string GiacFunctions::fractionPart(bool numerator, const Expr& e)
{
    // A sum is its own numerator; Giac would bring it over a common denominator first.
    return GiacInput::once({text(e.arg(0))}, [&](const std::vector<std::string>& value) {
        const std::string& v = value[0];
        return "when(sommet(" + v + ")==_plus," + (numerator ? v : "1") + "," + (numerator ? "numer(" : "denom(") + v +
            "))";
    });
}

std::string GiacFunctions::trace(const Expr& e)
{
    // The sum of the diagonal, of a matrix that need not be square; of a list, its sum.
    std::optional<std::vector<const Expr*>> rows = literalElements(e.arg(0));
    if (!rows)
        return "trace(" + text(e.arg(0)) + ")";
    Expr sum = Expr::function("Plus", {});
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const Expr& row = *(*rows)[i];
        if (!row.hasHead("List"))
            sum.parts.push_back(row);
        else if (i < row.argCount())
            sum.parts.push_back(row.arg(i));
    }
    return text(sum);
}

std::string GiacFunctions::norm(const Expr& e)
{
    // Norm[v, p]: the p-th root of the sum of |v_i|^p; the largest |v_i| for p = Infinity.
    const Expr& v = e.arg(0);
    const Expr& p = e.arg(1);
    if (isNumber(v))
        return "abs(" + text(v) + ")";
    std::optional<ListShape> shape = literalShape(v);
    if (!shape)
        return keptAsWritten(e);
    if (shape->rowLength) {
        if (!(isInteger(p) && p.text == "2"))
            throw TranslationError("Norm[m, p] of a matrix is computed for p = 2 only");
        return "l2norm(" + text(v) + ")";
    }
    if (p.isSymbol("Infinity"))
        return "maxnorm(" + text(v) + ")";
    const std::string power = "(" + text(p) + ")";
    return "(sum(abs(" + text(v) + ").^" + power + "))^(1/" + power + ")";
}

std::string GiacFunctions::cross(const Expr& e)
{
    // Cross[{x, y}] is {-y, x}; Cross[u, v] of vectors of three.
    const std::size_t length = e.argCount() == 1 ? 2 : 3;
    bool written = true;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        std::optional<ListShape> shape = literalShape(e.arg(i));
        if (isNumber(e.arg(i)) || (shape && (shape->rowLength || shape->length != length)))
            throw TranslationError("Cross of " + counted(e.argCount()) + " needs vectors of " + std::to_string(length) +
                                   ", not " + (shape ? describe(*shape) : wire::toFullForm(e.arg(i))));
        written = written && shape && e.arg(i).hasHead("List");
    }
    if (e.argCount() == 2)
        return "cross(" + arguments(e) + ")";
    if (!written)
        return keptAsWritten(e);
    const Expr& v = e.arg(0);
    return "[-(" + text(v.arg(1)) + ")," + text(v.arg(0)) + "]";
}

void GiacFunctions::checkShapes(const Expr& e)
{
    if (!e.head().isSymbol())
        return;
    const std::string_view head = plainHead(e.head().text);
    std::vector<const Expr*> operands;
    for (std::size_t i = 0; i < e.argCount(); ++i)
        operands.push_back(&e.arg(i));
    // The editor's matrices multiply as matrices; only lists multiply element by element.
    const bool matrixProduct = (head == "Times" || head == "Power" || head == "Divide") && hasMatrixOperand(e);
    const bool elementwise = head == "Plus" || head == "Subtract" || head == "Times" || head == "Power" ||
        head == "Divide" || head == "Mod" || head == "Log";
    if (elementwise && !matrixProduct)
        requireEqualLengths(operands, e);
    for (std::size_t i = 0; head == "Dot" && i + 1 < operands.size(); ++i) {
        std::optional<ListShape> a = literalShape(*operands[i]);
        std::optional<ListShape> b = literalShape(*operands[i + 1]);
        if (a && b && a->rowLength.value_or(a->length) != b->length)
            throw TranslationError("Tensors " + wire::toFullForm(*operands[i]) + " and " +
                                   wire::toFullForm(*operands[i + 1]) + " have incompatible shapes");
    }
}

std::string GiacFunctions::unequal(const Expr& e)
{
    const std::size_t n = e.argCount();
    if (n < 2)
        return "true";
    std::vector<std::string> values;
    for (std::size_t i = 0; i < n; ++i)
        values.push_back(text(e.arg(i)));
    return GiacInput::once(values, [n](const std::vector<std::string>& sides) {
        std::string all;
        for (const std::string& side : sides)
            all += (all.empty() ? "" : ",") + side;
        // Giac's != takes any two different expressions for unequal numbers.
        std::string numbers = numberTest("normal(" + sides[0] + "-" + sides[1] + ")");
        if (n > 2) {
            numbers.clear();
            for (const std::string& side : sides)
                numbers += (numbers.empty() ? "" : " and ") + numberTest(side);
        }
        const std::string kept = encodeSymbol("Unequal") + "(" + all + ")";
        const std::string decided = "when(size(set[" + all + "])<" + std::to_string(n) + ",false,when(" + numbers +
            ",true," + kept + "))";
        if (n > 2)
            return decided;
        // Giac's set takes reals within its own tolerance for one: two sides of
        // which one is a real or a complex number are compared as the answer is read.
        const auto inexact = [](const std::string& side) {
            return "type(" + side + ")==DOM_FLOAT or type(" + side + ")==DOM_COMPLEX";
        };
        return "when(" + inexact(sides[0]) + " or " + inexact(sides[1]) + "," + kept + "," + decided + ")";
    });
}

} // namespace kernelproc
