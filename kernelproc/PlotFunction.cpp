#include "kernelproc/PlotFunction.h"

#include "kernelproc/GiacNames.h"
#include "kernelproc/TermFunctions.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kDepthLimit = 512;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double sech(double x)
{
    return 1 / std::cosh(x);
}
double csch(double x)
{
    return 1 / std::sinh(x);
}
double coth(double x)
{
    return 1 / std::tanh(x);
}
double arcsec(double x)
{
    return std::acos(1 / x);
}
double arccsc(double x)
{
    return std::asin(1 / x);
}
double arccot(double x)
{
    return x == 0 ? std::numbers::pi / 2 : std::atan(1 / x);
}
double arcsech(double x)
{
    return std::acosh(1 / x);
}
double arccsch(double x)
{
    return std::asinh(1 / x);
}
double arccoth(double x)
{
    return std::atanh(1 / x);
}
double unitStep(double x)
{
    return std::isnan(x) ? x : (x >= 0 ? 1 : 0);
}
double factorial(double x)
{
    return std::tgamma(x + 1);
}
double sign(double x)
{
    return std::isnan(x) ? x : (x > 0) - (x < 0);
}
double roundHalfEven(double x)
{
    return std::nearbyint(x);
}
double logOne(double x)
{
    return std::log(x);
}

using Unary = double (*)(double);

struct UnaryName {
    std::string_view name;
    Unary f;
};

const UnaryName kUnary[] = {
    {"Sin", static_cast<Unary>(std::sin)},
    {"Cos", static_cast<Unary>(std::cos)},
    {"Tan", static_cast<Unary>(std::tan)},
    {"Sec", sec},
    {"Csc", csc},
    {"Cot", cot},
    {"Sinh", static_cast<Unary>(std::sinh)},
    {"Cosh", static_cast<Unary>(std::cosh)},
    {"Tanh", static_cast<Unary>(std::tanh)},
    {"Sech", sech},
    {"Csch", csch},
    {"Coth", coth},
    {"ArcSin", static_cast<Unary>(std::asin)},
    {"ArcCos", static_cast<Unary>(std::acos)},
    {"ArcTan", static_cast<Unary>(std::atan)},
    {"ArcSec", arcsec},
    {"ArcCsc", arccsc},
    {"ArcCot", arccot},
    {"ArcSinh", static_cast<Unary>(std::asinh)},
    {"ArcCosh", static_cast<Unary>(std::acosh)},
    {"ArcTanh", static_cast<Unary>(std::atanh)},
    {"ArcSech", arcsech},
    {"ArcCsch", arccsch},
    {"ArcCoth", arccoth},
    {"Exp", static_cast<Unary>(std::exp)},
    {"Abs", static_cast<Unary>(std::fabs)},
    {"Floor", static_cast<Unary>(std::floor)},
    {"Ceiling", static_cast<Unary>(std::ceil)},
    {"Round", roundHalfEven},
    {"UnitStep", unitStep},
    {"Gamma", static_cast<Unary>(std::tgamma)},
    {"Factorial", factorial},
    {"Erf", static_cast<Unary>(std::erf)},
    {"Erfc", static_cast<Unary>(std::erfc)},
    {"Sqrt", static_cast<Unary>(std::sqrt)},
    {"Sign", sign},
};

Unary unaryNamed(std::string_view name)
{
    for (const UnaryName& u : kUnary)
        if (u.name == name)
            return u.f;
    return nullptr;
}

std::optional<double> constantNamed(std::string_view name)
{
    if (name == "Pi")
        return std::numbers::pi;
    if (name == "E" || name == "e")
        return std::numbers::e;
    if (name == "Infinity")
        return std::numeric_limits<double>::infinity();
    if (name == "EulerGamma")
        return std::numbers::egamma;
    if (name == "GoldenRatio")
        return std::numbers::phi;
    if (name == "Degree")
        return std::numbers::pi / 180;
    return std::nullopt;
}

// The comparison a relation symbol names, as a code; 0 for none.
int comparisonCode(std::string_view name)
{
    static const std::string_view names[] = {"Equal", "Unequal", "Less", "LessEqual", "Greater", "GreaterEqual"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        if (names[i] == name)
            return int(i) + 1;
    return 0;
}

bool compare(int code, double a, double b)
{
    switch (code) {
    case 1: return a == b;
    case 2: return a != b;
    case 3: return a < b;
    case 4: return a <= b;
    case 5: return a > b;
    case 6: return a >= b;
    default: return false;
    }
}

} // namespace

struct PlotFunction::Node {
    enum Kind { constant, variable, sum, product, power, divide, unary, logBase, mod, radical, chain, piecewise };
    Kind kind = constant;
    double value = 0;
    Unary f = nullptr;
    std::vector<Node> args;
    std::vector<int> comparisons; // a chain's relation codes, between its terms

    double eval(double x) const
    {
        switch (kind) {
        case constant: return value;
        case variable: return x;
        case sum: {
            double s = 0;
            for (const Node& a : args)
                s += a.eval(x);
            return s;
        }
        case product: {
            double p = 1;
            for (const Node& a : args)
                p *= a.eval(x);
            return p;
        }
        case power: return realPower(args[0].eval(x), args[1].eval(x));
        case divide: return args[0].eval(x) / args[1].eval(x);
        case unary: return f(args[0].eval(x));
        case logBase: return std::log(args[1].eval(x)) / std::log(args[0].eval(x));
        case mod: {
            const double a = args[0].eval(x), m = args[1].eval(x);
            return a - m * std::floor(a / m);
        }
        case radical: return realPower(args[0].eval(x), 1 / args[1].eval(x));
        case chain: {
            for (std::size_t i = 0; i < comparisons.size(); ++i)
                if (!compare(comparisons[i], args[i].eval(x), args[i + 1].eval(x)))
                    return 0;
            return 1;
        }
        case piecewise:
            // Pairs of value and condition; a missing condition is "otherwise".
            for (std::size_t i = 0; i + 1 < args.size(); i += 2)
                if (args[i + 1].eval(x) != 0)
                    return args[i].eval(x);
            return kNaN;
        }
        return kNaN;
    }
};

namespace {

using Node = PlotFunction::Node;

struct Compiler {
    const std::string& variable;
    const std::map<std::string, double>& values;
    std::vector<std::string>& unknowns;
    bool failed = false;

    Node leaf(double v)
    {
        Node n;
        n.value = v;
        return n;
    }

    Node fail()
    {
        failed = true;
        return leaf(kNaN);
    }

    Node withArgs(Node::Kind kind, const Expr& e, int depth)
    {
        Node n;
        n.kind = kind;
        for (std::size_t i = 0; i < e.argCount(); ++i)
            n.args.push_back(compile(e.arg(i), depth + 1));
        return n;
    }

    Node symbol(const Expr& e)
    {
        if (e.text == variable) {
            Node n;
            n.kind = Node::variable;
            return n;
        }
        if (auto found = values.find(e.text); found != values.end())
            return leaf(found->second);
        if (std::optional<double> c = constantNamed(e.text))
            return leaf(*c);
        if (std::find(unknowns.begin(), unknowns.end(), e.text) == unknowns.end())
            unknowns.push_back(e.text);
        return fail();
    }

    Node compile(const Expr& e, int depth)
    {
        if (depth > kDepthLimit)
            return fail();
        if (e.type == wire::kTokenInteger || e.type == wire::kTokenReal) {
            char* end = nullptr;
            const double v = std::strtod(e.text.c_str(), &end);
            return end && *end == '\0' ? leaf(v) : fail();
        }
        if (e.isSymbol())
            return symbol(e);
        if (!e.isFunction())
            return fail();
        const std::string_view head = headOf(e);
        const std::size_t n = e.argCount();
        if (head == "Plus" && n > 0)
            return withArgs(Node::sum, e, depth);
        if (head == "Times" && n > 0)
            return withArgs(Node::product, e, depth);
        if (head == "Power" && n == 2)
            return withArgs(Node::power, e, depth);
        if ((head == "Divide" || head == "Rational") && n == 2)
            return withArgs(Node::divide, e, depth);
        if (head == "Radical" && (n == 1 || n == 2)) {
            Node r = withArgs(Node::radical, e, depth);
            if (n == 1)
                r.args.push_back(leaf(2));
            return r;
        }
        if (head == "Log" && n == 1) {
            Node l = withArgs(Node::unary, e, depth);
            l.f = logOne;
            return l;
        }
        if (head == "Log" && n == 2)
            return withArgs(Node::logBase, e, depth);
        if (head == "Mod" && n == 2)
            return withArgs(Node::mod, e, depth);
        if ((head == "Hold" || head == "Group") && n == 1)
            return compile(e.arg(0), depth + 1);
        if (head == "Split" || head == "Piecewise")
            return piecewise(e, depth);
        if (head == "Inequality")
            return chain(e, depth);
        if (int code = comparisonCode(head); code && n == 2) {
            Node c = withArgs(Node::chain, e, depth);
            c.comparisons.push_back(code);
            return c;
        }
        if (Unary f = unaryNamed(head); f && n == 1) {
            Node u = withArgs(Node::unary, e, depth);
            u.f = f;
            return u;
        }
        return fail();
    }

    // Inequality[a, Less, b, LessEqual, c, ...]
    Node chain(const Expr& e, int depth)
    {
        Node c;
        c.kind = Node::chain;
        if (e.argCount() % 2 == 0)
            return fail();
        for (std::size_t i = 0; i < e.argCount(); ++i) {
            if (i % 2 == 0) {
                c.args.push_back(compile(e.arg(i), depth + 1));
                continue;
            }
            const int code = e.arg(i).isSymbol() ? comparisonCode(e.arg(i).text) : 0;
            if (!code)
                return fail();
            c.comparisons.push_back(code);
        }
        return c;
    }

    // Split[{value, condition}, ..., {value, vxOtherwise}]
    Node piecewise(const Expr& e, int depth)
    {
        Node p;
        p.kind = Node::piecewise;
        for (std::size_t i = 0; i < e.argCount(); ++i) {
            const Expr& c = e.arg(i);
            if (!c.hasHead("List", 2))
                return fail();
            p.args.push_back(compile(c.arg(0), depth + 1));
            if (c.arg(1).isSymbol("vxOtherwise") || c.arg(1).isSymbol("True"))
                p.args.push_back(leaf(1));
            else
                p.args.push_back(compile(c.arg(1), depth + 1));
        }
        return p;
    }
};

// The symbol a sum, product, integral or table runs over: bound inside it.
const Expr* boundSymbol(const Expr& e)
{
    const std::string_view head = headOf(e);
    if ((head != "Sum" && head != "Product" && head != "Integrate" && head != "Table") || e.argCount() < 2)
        return nullptr;
    const Expr& rangeForm = e.arg(1);
    if (rangeForm.isSymbol())
        return &rangeForm;
    return rangeForm.hasHead("List") && rangeForm.argCount() > 0 && rangeForm.arg(0).isSymbol() ? &rangeForm.arg(0) : nullptr;
}

void collectParameters(const Expr& e, std::vector<std::string>& bound, std::vector<std::string>& out, int depth)
{
    if (depth > kDepthLimit)
        return;
    if (e.isSymbol()) {
        if (std::find(bound.begin(), bound.end(), e.text) == bound.end() && !isKnownConstant(e.text) &&
            e.text != "vxOtherwise" && comparisonCode(e.text) == 0 &&
            std::find(out.begin(), out.end(), e.text) == out.end())
            out.push_back(e.text);
        return;
    }
    const Expr* local = boundSymbol(e);
    if (local)
        bound.push_back(local->text);
    for (std::size_t i = 0; i < e.argCount(); ++i)
        collectParameters(e.arg(i), bound, out, depth + 1);
    if (local)
        bound.pop_back();
}

} // namespace

std::optional<PlotFunction> PlotFunction::compile(const Expr& f, const std::string& variable,
                                                  const std::map<std::string, double>& values,
                                                  std::vector<std::string>& unknowns)
{
    Compiler compiler{variable, values, unknowns};
    Node root = compiler.compile(f, 0);
    if (compiler.failed)
        return std::nullopt;
    return PlotFunction(std::make_shared<const Node>(std::move(root)));
}

double PlotFunction::operator()(double x) const
{
    return root_->eval(x);
}

std::vector<std::string> plotParameters(const Expr& f, const std::string& variable)
{
    std::vector<std::string> out;
    std::vector<std::string> bound{variable};
    collectParameters(f, bound, out, 0);
    return out;
}

std::optional<double> numericValue(const Expr& e)
{
    std::vector<std::string> unknowns;
    std::optional<PlotFunction> f = PlotFunction::compile(e, "", {}, unknowns);
    if (!f)
        return std::nullopt;
    return (*f)(0);
}

} // namespace kernelproc
