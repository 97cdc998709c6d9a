#include "kernelproc/DrawTerm.h"

#include "kernelproc/GiacNames.h"
#include "kernelproc/PlotFunction.h"
#include "kernelproc/TermFunctions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string_view>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kDepthLimit = 256;
// How much of a leaf an error shows.
constexpr std::size_t kShownLength = 60;

using Unary = double (*)(double);

struct UnaryRule {
    std::string_view name;
    Unary f;
    Unary df;
};

double sign(double x)
{
    return (x > 0) - (x < 0);
}

const UnaryRule kUnary[] = {
    {"Sin", [](double x) { return std::sin(x); }, [](double x) { return std::cos(x); }},
    {"Cos", [](double x) { return std::cos(x); }, [](double x) { return -std::sin(x); }},
    {"Tan", [](double x) { return std::tan(x); }, [](double x) { return 1 / (std::cos(x) * std::cos(x)); }},
    {"Sec", sec, [](double x) { return sec(x) * std::tan(x); }},
    {"Csc", csc, [](double x) { return -csc(x) * cot(x); }},
    {"Cot", cot, [](double x) { return -csc(x) * csc(x); }},
    {"Exp", [](double x) { return std::exp(x); }, [](double x) { return std::exp(x); }},
    {"Log", [](double x) { return std::log(x); }, [](double x) { return 1 / x; }},
    {"Sqrt", [](double x) { return std::sqrt(x); }, [](double x) { return 0.5 / std::sqrt(x); }},
    {"ArcSin", [](double x) { return std::asin(x); }, [](double x) { return 1 / std::sqrt(1 - x * x); }},
    {"ArcCos", [](double x) { return std::acos(x); }, [](double x) { return -1 / std::sqrt(1 - x * x); }},
    {"ArcTan", [](double x) { return std::atan(x); }, [](double x) { return 1 / (1 + x * x); }},
    {"Sinh", [](double x) { return std::sinh(x); }, [](double x) { return std::cosh(x); }},
    {"Cosh", [](double x) { return std::cosh(x); }, [](double x) { return std::sinh(x); }},
    {"Tanh", [](double x) { return std::tanh(x); }, [](double x) { return 1 / (std::cosh(x) * std::cosh(x)); }},
    {"Abs", [](double x) { return std::fabs(x); }, sign},
};

const UnaryRule* unaryNamed(std::string_view name)
{
    for (const UnaryRule& u : kUnary)
        if (u.name == name)
            return &u;
    return nullptr;
}

} // namespace

struct DrawTerm::Node {
    enum Kind { constant, variable, sum, product, power, divide, unary };
    Kind kind = constant;
    double value = 0; // a constant's value; after a pass, the node's value
    int slot = -1;    // a variable's place in the term's variable list
    const UnaryRule* f = nullptr;
    std::vector<Node> args;

    bool isConstant() const { return kind == constant; }

    double eval(const std::vector<double>& x, const std::vector<int>& variables)
    {
        switch (kind) {
        case constant: return value;
        case variable: return value = x[std::size_t(variables[std::size_t(slot)])];
        case sum:
            value = 0;
            for (Node& a : args)
                value += a.eval(x, variables);
            return value;
        case product:
            value = 1;
            for (Node& a : args)
                value *= a.eval(x, variables);
            return value;
        case power: {
            const double b = args[0].eval(x, variables);
            return value = realPower(b, args[1].eval(x, variables));
        }
        case divide: {
            const double n = args[0].eval(x, variables);
            return value = n / args[1].eval(x, variables);
        }
        case unary: return value = f->f(args[0].eval(x, variables));
        }
        return value = std::nan("");
    }

    // A bound on the rounding in this node's value as last evaluated: what
    // its arguments bring, through the node's slope, and one rounding of its
    // own for each operation. A variable brings the rounding of its value.
    double rounding() const
    {
        constexpr double unit = std::numeric_limits<double>::epsilon();
        double brought = 0;
        double sizes = 0;
        switch (kind) {
        case constant: return 0;
        case variable: return unit * std::fabs(value);
        case sum:
            for (const Node& a : args) {
                brought += a.rounding();
                sizes += std::fabs(a.value);
            }
            return brought + unit * sizes;
        case product:
            for (std::size_t i = 0; i < args.size(); ++i) {
                double others = 1;
                for (std::size_t j = 0; j < args.size(); ++j)
                    if (j != i)
                        others *= std::fabs(args[j].value);
                brought += args[i].rounding() * others;
            }
            return brought + unit * double(args.size()) * std::fabs(value);
        case power: {
            const double b = args[0].value, e = args[1].value;
            brought = args[0].rounding() * std::fabs(e == 0 ? 0 : e * realPower(b, e - 1));
            if (!args[1].isConstant())
                brought += args[1].rounding() * std::fabs(value * std::log(std::fabs(b)));
            return brought + unit * std::fabs(value);
        }
        case divide:
            return (args[0].rounding() + std::fabs(value) * args[1].rounding()) / std::fabs(args[1].value) +
                unit * std::fabs(value);
        case unary: return std::fabs(f->df(args[0].value)) * args[0].rounding() + unit * std::fabs(value);
        }
        return std::nan("");
    }

    // Adds adjoint times the partial of this node to each variable's slot in
    // `partials`; eval has run on the same values.
    void backward(double adjoint, std::vector<double>& partials) const
    {
        switch (kind) {
        case constant: return;
        case variable: partials[std::size_t(slot)] += adjoint; return;
        case sum:
            for (const Node& a : args)
                a.backward(adjoint, partials);
            return;
        case product:
            for (std::size_t i = 0; i < args.size(); ++i) {
                if (args[i].isConstant())
                    continue;
                double others = 1;
                for (std::size_t j = 0; j < args.size(); ++j)
                    if (j != i)
                        others *= args[j].value;
                args[i].backward(adjoint * others, partials);
            }
            return;
        case power: {
            const double b = args[0].value, e = args[1].value;
            if (!args[0].isConstant())
                args[0].backward(adjoint * (e == 0 ? 0 : e * realPower(b, e - 1)), partials);
            if (!args[1].isConstant() && b > 0)
                args[1].backward(adjoint * value * std::log(b), partials);
            return;
        }
        case divide: {
            const double d = args[1].value;
            args[0].backward(adjoint / d, partials);
            if (!args[1].isConstant())
                args[1].backward(-adjoint * value / d, partials);
            return;
        }
        case unary: args[0].backward(adjoint * f->df(args[0].value), partials); return;
        }
    }
};

namespace {

using Node = DrawTerm::Node;

Node constantNode(double v)
{
    Node n;
    n.value = v;
    return n;
}

struct Compiler {
    const DrawTerm::Resolve& resolve;
    std::vector<int> variables;
    std::string error;

    std::optional<Node> leaf(const Expr& e)
    {
        if (e.isSymbol("Pi"))
            return constantNode(std::numbers::pi);
        if (e.isSymbol("E") || e.isSymbol("e"))
            return constantNode(std::numbers::e);
        if (e.isSymbol("Degree"))
            return constantNode(std::numbers::pi / 180);
        if (e.type == wire::kTokenInteger || e.type == wire::kTokenReal)
            if (std::optional<double> v = numericValue(e))
                return constantNode(*v);
        std::optional<DrawTerm::Leaf> found = resolve(e);
        if (!found) {
            std::string leaf = wire::toFullForm(e);
            if (leaf.size() > kShownLength)
                leaf = leaf.substr(0, kShownLength) + "...";
            error = "the equations use " + leaf + ", which is no number and no variable";
            return std::nullopt;
        }
        if (found->variable < 0)
            return constantNode(found->value);
        Node n;
        n.kind = Node::variable;
        auto at = std::find(variables.begin(), variables.end(), found->variable);
        n.slot = int(at - variables.begin());
        if (at == variables.end())
            variables.push_back(found->variable);
        return n;
    }

    std::optional<Node> compound(Node::Kind kind, const Expr& e, int depth)
    {
        Node n;
        n.kind = kind;
        for (std::size_t i = 0; i < e.argCount(); ++i) {
            std::optional<Node> a = compile(e.arg(i), depth + 1);
            if (!a)
                return std::nullopt;
            n.args.push_back(std::move(*a));
        }
        return n;
    }

    std::optional<Node> compile(const Expr& e, int depth)
    {
        if (depth > kDepthLimit) {
            error = "an equation is nested too deeply";
            return std::nullopt;
        }
        const std::string_view head = headOf(e);
        if (!e.isFunction() || head == "DrawVar" || head == "DrawValue")
            return leaf(e);
        const std::size_t n = e.argCount();
        if ((head == "Plus" || head == "Times") && n > 0)
            return compound(head == "Plus" ? Node::sum : Node::product, e, depth);
        if ((head == "Power" && n == 2) || (head == "Divide" && n == 2) || (head == "Rational" && n == 2))
            return compound(head == "Power" ? Node::power : Node::divide, e, depth);
        if (head == "Radical" && n == 1)
            return compile(Expr::function("Sqrt", {e.arg(0)}), depth + 1);
        if (head == "Radical" && n == 2) {
            // The n-th root of x is x to the power 1/n.
            return compile(Expr::function("Power", {e.arg(0), Expr::function("Divide", {Expr::integer(1), e.arg(1)})}),
                           depth + 1);
        }
        if (head == "Log" && n == 2)
            return compile(
                Expr::function("Divide", {Expr::function("Log", {e.arg(1)}), Expr::function("Log", {e.arg(0)})}),
                depth + 1);
        if (const UnaryRule* rule = unaryNamed(head); rule && n == 1) {
            std::optional<Node> node = compound(Node::unary, e, depth);
            if (node)
                node->f = rule;
            return node;
        }
        error = "the equations use " + std::string(head.empty() ? "a compound head" : head) +
            ", which the solver cannot compute";
        return std::nullopt;
    }
};

} // namespace

std::optional<std::pair<Expr, Expr>> equationSides(const Expr& e)
{
    if (e.hasHead("Equal", 2))
        return std::make_pair(e.arg(0), e.arg(1));
    if (e.hasHead("VXInequality", 3) && e.arg(1).isSymbol("Equal"))
        return std::make_pair(e.arg(0), e.arg(2));
    return std::nullopt;
}

DrawTerm::DrawTerm(std::shared_ptr<Node> root, std::vector<int> variables)
    : root_(std::move(root)), variables_(std::move(variables))
{}

std::optional<DrawTerm> DrawTerm::compile(const Expr& e, const Resolve& resolve, std::string& error)
{
    Expr residual = e;
    if (auto sides = equationSides(e))
        residual = Expr::function("Plus", {sides->first, Expr::function("Times", {Expr::integer(-1), sides->second})});
    Compiler compiler{resolve, {}, {}};
    std::optional<Node> root = compiler.compile(residual, 0);
    if (!root) {
        error = compiler.error;
        return std::nullopt;
    }
    return DrawTerm(std::make_shared<Node>(std::move(*root)), std::move(compiler.variables));
}

double DrawTerm::value(const std::vector<double>& x) const
{
    return root_->eval(x, variables_);
}

double DrawTerm::rounding() const
{
    return root_->rounding();
}

double DrawTerm::gradient(const std::vector<double>& x, std::vector<std::pair<int, double>>& partials) const
{
    const double v = root_->eval(x, variables_);
    std::vector<double> slots(variables_.size(), 0.0);
    root_->backward(1.0, slots);
    partials.clear();
    for (std::size_t i = 0; i < variables_.size(); ++i)
        partials.emplace_back(variables_[i], std::isfinite(slots[i]) ? slots[i] : 0.0);
    return v;
}

} // namespace kernelproc
