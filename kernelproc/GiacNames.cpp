#include "kernelproc/GiacNames.h"

#include <algorithm>

#include <cctype>
#include <utility>

namespace kernelproc {

namespace {

struct NamePair {
    const char* kernel;
    const char* giac;
};

// Heads that translate one to one: the kernel's function applied to the same
// arguments is Giac's function.
constexpr NamePair kFunctions[] = {
    {"Sin", "sin"}, {"Cos", "cos"}, {"Tan", "tan"}, {"Cot", "cot"}, {"Sec", "sec"}, {"Csc", "csc"},
    {"ArcSin", "asin"}, {"ArcCos", "acos"}, {"ArcTan", "atan"}, {"ArcCot", "acot"}, {"ArcSec", "asec"},
    {"ArcCsc", "acsc"}, {"Sinh", "sinh"}, {"Cosh", "cosh"}, {"Tanh", "tanh"}, {"Coth", "coth"},
    {"Sech", "sech"}, {"Csch", "csch"}, {"ArcSinh", "asinh"}, {"ArcCosh", "acosh"}, {"ArcTanh", "atanh"},
    {"Exp", "exp"}, {"Abs", "abs"}, {"Sign", "sign"}, {"Floor", "floor"}, {"Ceiling", "ceil"},
    {"Round", "round"}, {"Gamma", "Gamma"}, {"Beta", "Beta"}, {"Erf", "erf"}, {"Erfc", "erfc"},
    {"Zeta", "Zeta"}, {"BesselJ", "BesselJ"}, {"BesselY", "BesselY"}, {"BesselI", "BesselI"},
    {"BesselK", "BesselK"}, {"Factorial", "factorial"}, {"Binomial", "comb"}, {"Conjugate", "conj"},
    {"Re", "re"}, {"Im", "im"}, {"Arg", "arg"}, {"Max", "max"}, {"Min", "min"}, {"GCD", "gcd"},
    {"LCM", "lcm"}, {"Det", "det"}, {"Inverse", "inv"}, {"Transpose", "tran"}, {"Cross", "cross"},
    {"ExpIntegralEi", "Ei"}, {"LogIntegral", "Li"}, {"SinIntegral", "Si"},
    {"CosIntegral", "Ci"}, {"ProductLog", "LambertW"}, {"Simplify", "simplify"}, {"FullSimplify", "simplify"},
    {"Expand", "expand"}, {"Factor", "factor"}, {"Together", "ratnormal"}, {"Cancel", "normal"},
    {"Apart", "partfrac"}, {"TrigExpand", "texpand"}, {"TrigReduce", "tlin"}, {"Eigenvalues", "eigenvals"},
    {"Tr", "trace"}, {"Length", "size"}, {"Total", "sum"}, {"IdentityMatrix", "idn"},
    {"Prime", "ithprime"}, {"EulerPhi", "euler"}, {"PrimeQ", "isprime"}, {"FactorInteger", "ifactors"},
    {"Numerator", "numer"}, {"Denominator", "denom"}, {"UnitStep", "Heaviside"},
    {"DiracDelta", "Dirac"}, {"MatrixPower", "pow"}, {"Norm", "l2norm"}, {"LaplaceTransform", "laplace"}, {"FourierTransform", "fourier"}, {"Quotient", "iquo"},
};

bool isPlainChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool isKnownConstant(std::string_view name)
{
    static const char* const names[] = {"Pi", "E", "e", "I", "i", "Infinity", "ComplexInfinity", "Indeterminate",
                                        "True", "False", "EulerGamma", "GoldenRatio", "Degree", "Null",
                                        "Direction", "vxOtherwise", "Constant", "Greater", "vxDefaultVar"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

std::string_view plainHead(std::string_view head)
{
    if (head.size() > 2 && head.substr(0, 2) == "VX")
        return head.substr(2);
    return head;
}

std::string giacFunctionFor(std::string_view head)
{
    std::string_view plain = plainHead(head);
    for (const auto& pair : kFunctions) {
        if (plain == pair.kernel)
            return pair.giac;
    }
    return {};
}

std::string kernelFunctionFor(std::string_view giacName)
{
    if (giacName == "ln")
        return "Log";
    for (const auto& pair : kFunctions) {
        if (giacName == pair.giac)
            return pair.kernel;   // the first spelling listed is the one answered
    }
    return {};
}

std::string encodeSymbol(std::string_view name)
{
    static const char* digits = "0123456789abcdef";
    std::string out = "qv_";
    for (char c : name) {
        if (isPlainChar(c)) {
            out += c;
        } else {
            auto u = static_cast<unsigned char>(c);
            out += '_';
            out += digits[u >> 4];
            out += digits[u & 15];
        }
    }
    // Giac reads a name ending in _d, _f, _i, _l, _s or _v as a typed variable
    // (a string for _s), so Laplace in s failed: such a name gets a closing "_",
    // which no escape leaves at the end.
    if (name.size() == 1 && std::string_view("dfilsv").find(name[0]) != std::string_view::npos)
        out += '_';
    return out;
}

std::string encodeBoundSymbol(std::string_view name, unsigned long serial)
{
    return "qvb" + std::to_string(serial) + encodeSymbol(name).substr(3);
}

std::string decodeSymbol(std::string_view identifier)
{
    std::size_t start = 3;
    if (identifier.substr(0, 3) == "qvb") {
        // qvb<serial><name>: a name never begins with a digit
        while (start < identifier.size() && std::isdigit(static_cast<unsigned char>(identifier[start])))
            ++start;
        if (start == 3)
            return {};
    } else if (identifier.substr(0, 3) != "qv_") {
        return {};
    }
    if (identifier.size() > start + 1 && identifier.back() == '_')
        identifier.remove_suffix(1);
    if (identifier.size() <= start)
        return {};
    std::string out;
    for (std::size_t i = start; i < identifier.size(); ++i) {
        char c = identifier[i];
        if (c == '_' && i + 2 < identifier.size() && hexValue(identifier[i + 1]) >= 0 && hexValue(identifier[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(identifier[i + 1]) * 16 + hexValue(identifier[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace kernelproc
