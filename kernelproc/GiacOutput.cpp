#include "kernelproc/GiacOutput.h"

#include "kernelproc/GiacNames.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>

namespace kernelproc {

using wire::Expr;

namespace {

// Giac keeps type bits in the low bits of its machine reals, so only about 14
// digits are good; more would show noise (1.5e20 read back as 1.49999999999999e20).
constexpr int kDoubleDigits = 14;
constexpr int kMaxDepth = 512;

class Reader {
public:
    Reader(const giac::context* context, const OutputOptions& options) : context_(context), options_(options) {}

    // Giac prints a word in place of an integer of too many digits to show.
    Expr bigInteger(const giac::gen& g) const
    {
        std::string text = g.print(context_);
        if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos)
            throw ForeignAnswer("the answer is an integer of about " +
                                std::to_string(mpz_sizeinbase(*g._ZINTptr, 10)) + " digits, too many to show");
        return Expr::integerText(std::move(text));
    }

    Expr read(const giac::gen& g, int depth = 0)
    {
        if (depth > kMaxDepth)
            throw ForeignAnswer("the answer is nested more than " + std::to_string(kMaxDepth) + " levels deep");
        switch (g.type) {
        case giac::_INT_:
            if (g.subtype == giac::_INT_BOOLEAN)
                return Expr::symbol(g.val ? "True" : "False");
            return Expr::integer(g.val);
        case giac::_ZINT:
            return bigInteger(g);
        case giac::_DOUBLE_:
            return Expr::realText(wire::formatReal(g._DOUBLE_val, kDoubleDigits));
        case giac::_REAL:
            return realText(g.print(context_));
        case giac::_FRAC:
            return fraction(g, depth);
        case giac::_CPLX:
            return Expr::function("Complex", {read(*g._CPLXptr, depth + 1), read(*(g._CPLXptr + 1), depth + 1)});
        case giac::_IDNT:
            return identifier(g._IDNTptr->id_name);
        case giac::_SYMB:
            return symbolic(g, depth);
        case giac::_VECT:
            if (g.subtype == giac::_SEQ__VECT && g._VECTptr->empty())
                return Expr::symbol("Null");
            return vector(*g._VECTptr, depth);
        case giac::_STRNG:
            return Expr::string(*g._STRNGptr);
        default: throw ForeignAnswer("the answer holds a value Giac keeps in a form of its own");
        }
    }

private:
    // 1/n as Rational[1, n], the sign on the numerator.
    static Expr reciprocal(const Expr& n)
    {
        if (!n.text.empty() && n.text[0] == '-')
            return Expr::function("Rational", {Expr::integer(-1), Expr::integerText(n.text.substr(1))});
        return Expr::function("Rational", {Expr::integer(1), n});
    }

    static Expr realText(std::string text)
    {
        if (auto plus = text.find("e+"); plus != std::string::npos)
            text.erase(plus + 1, 1);
        return Expr::realText(text);
    }

    Expr fraction(const giac::gen& g, int depth)
    {
        Expr num = read(g._FRACptr->num, depth + 1);
        Expr den = read(g._FRACptr->den, depth + 1);
        bool integers = num.type == wire::kTokenInteger && den.type == wire::kTokenInteger;
        return Expr::function(integers ? "Rational" : "Divide", {num, den});
    }

    static Expr identifier(const std::string& name)
    {
        if (name == "pi")
            return Expr::symbol("Pi");
        if (name == "e")
            return Expr::symbol("e");
        if (name == "euler_gamma")
            return Expr::symbol("EulerGamma");
        if (name == "infinity")
            return Expr::function("DirectedInfinity", {});
        if (name == "undef")
            return Expr::symbol("Indeterminate");
        std::string decoded = decodeSymbol(name);
        if (decoded.empty())
            throw ForeignAnswer("the answer holds Giac's own name " + name);
        if (decoded.find('[') != std::string::npos) {
            // A subscripted or accented variable that travelled as one identifier.
            try {
                return wire::parseFullForm(decoded);
            } catch (const std::invalid_argument&) {
            }
        }
        return Expr::symbol(decoded);
    }

    std::vector<Expr> arguments(const giac::gen& feuille, int depth, bool spread)
    {
        std::vector<Expr> out;
        if (feuille.type == giac::_VECT && (spread || feuille.subtype == giac::_SEQ__VECT)) {
            for (const giac::gen& a : *feuille._VECTptr)
                out.push_back(read(a, depth + 1));
        } else {
            out.push_back(read(feuille, depth + 1));
        }
        return out;
    }

    static bool isNumber(const Expr& e)
    {
        return e.type == wire::kTokenInteger || e.type == wire::kTokenReal;
    }

    static Expr infinity() { return Expr::function("DirectedInfinity", {}); }

    static bool isExactNumber(const Expr& e)
    {
        return e.type == wire::kTokenInteger || e.hasHead("Rational", 2) || e.hasHead("Complex", 2);
    }

    // Giac turns x < 3 into 3 > x; the number goes back to the right.
    static Expr greater(bool orEqual, std::vector<Expr> sides)
    {
        bool swap = sides.size() == 2 && (isNumber(sides[0]) || isExactNumber(sides[0]))
                    && !(isNumber(sides[1]) || isExactNumber(sides[1]));
        if (swap) {
            std::swap(sides[0], sides[1]);
            return Expr::function(orEqual ? "LessEqual" : "Less", std::move(sides));
        }
        return Expr::function(orEqual ? "GreaterEqual" : "Greater", std::move(sides));
    }

    // The bits of a real's mantissa an equation compares: a machine real
    // (Giac's double, or a real of no more digits than a double holds) counts
    // the 53 of a double, a real of many digits the bits it was given; an
    // exact number (2/3, Pi, Sqrt[2]) has no last bit (0). Nothing for what is
    // not a number.
    std::optional<long> comparedBits(const giac::gen& g) const
    {
        constexpr long kMachineBits = 53;
        switch (g.type) {
        case giac::_INT_:
            return g.subtype == giac::_INT_BOOLEAN ? std::nullopt : std::optional<long>(0);
        case giac::_ZINT:
            return 0;
        case giac::_FRAC:
            return comparedBits(g._FRACptr->num) == 0L && comparedBits(g._FRACptr->den) == 0L ? std::optional<long>(0)
                                                                                               : std::nullopt;
        case giac::_DOUBLE_:
            return std::isfinite(g._DOUBLE_val) ? std::optional<long>(kMachineBits) : std::nullopt;
        case giac::_REAL:
            if (!mpfr_regular_p(g._REALptr->inf) && !mpfr_zero_p(g._REALptr->inf))
                return std::nullopt;
            return std::max<long>(kMachineBits, long(mpfr_get_prec(g._REALptr->inf)));
        case giac::_CPLX: {
            const std::optional<long> re = comparedBits(*g._CPLXptr);
            const std::optional<long> im = comparedBits(*(g._CPLXptr + 1));
            if (!re || !im)
                return std::nullopt;
            return !*re || !*im ? std::max(*re, *im) : std::min(*re, *im);
        }
        case giac::_IDNT:
        case giac::_SYMB: {
            const giac::gen approximate = giac::evalf_double(g, 1, context_);
            const bool real = approximate.type == giac::_DOUBLE_ && std::isfinite(approximate._DOUBLE_val);
            const bool complex = approximate.type == giac::_CPLX && comparedBits(approximate).has_value();
            return real || complex ? std::optional<long>(0) : std::nullopt;
        }
        default:
            return std::nullopt;
        }
    }

    // Two numbers, at least one of them real, are equal when they differ only
    // in the last seven bits of the less precise: a machine real equals every
    // number within 2^-46 of its size (1 and 1.00000000000001, 0.1 + 0.2 and
    // 0.30000000000000004), a real of 30 digits only those within its own
    // last bits. Nothing for exact numbers and for what is not a number.
    std::optional<bool> sameNumber(const giac::gen& a, const giac::gen& b) const
    {
        constexpr long kTolerantBits = 7;
        const std::optional<long> bitsA = comparedBits(a);
        const std::optional<long> bitsB = comparedBits(b);
        if (!bitsA || !bitsB || (!*bitsA && !*bitsB))
            return std::nullopt;
        const long bits = !*bitsA ? *bitsB : !*bitsB ? *bitsA : std::min(*bitsA, *bitsB);
        // Far more bits than compared, so that converting an exact side does not decide it.
        const int working = int(std::max(*bitsA, *bitsB) + 64);
        giac::gen x;
        giac::gen y;
        try {
            x = giac::accurate_evalf(a, working);
            y = giac::accurate_evalf(b, working);
        } catch (const std::runtime_error&) {
            return std::nullopt;   // a constant Giac computes only as a machine real
        }
        const giac::gen difference = giac::abs(x - y, context_);
        const giac::gen size = giac::max(giac::abs(x, context_), giac::abs(y, context_), context_);
        const giac::gen tolerance = size * giac::pow(giac::gen(2), giac::gen(int(kTolerantBits - bits)), context_);
        return giac::is_greater(tolerance, difference, context_);
    }

    // The two sides of an equation Giac holds, as Giac's values.
    static std::optional<std::pair<giac::gen, giac::gen>> sidesOf(const giac::gen& sides)
    {
        if (sides.type != giac::_VECT || sides._VECTptr->size() != 2)
            return std::nullopt;
        return std::pair(sides._VECTptr->front(), sides._VECTptr->back());
    }

    // The same expression on both sides is equal to itself; numbers decide
    // an equation, reals to the bits they hold (see sameNumber).
    Expr equation(std::vector<Expr> sides, const std::optional<std::pair<giac::gen, giac::gen>>& values) const
    {
        if (sides.size() != 2)
            return Expr::function("Equal", std::move(sides));
        if (sides[0] == sides[1])
            return Expr::symbol("True");
        if (values) {
            if (std::optional<bool> same = sameNumber(values->first, values->second))
                return Expr::symbol(*same ? "True" : "False");
        }
        if (isExactNumber(sides[0]) && isExactNumber(sides[1]))
            return Expr::symbol("False");
        return Expr::function("Equal", std::move(sides));
    }

    // Unequal of two sides kept for their numbers to be compared here: the
    // opposite of their equation, where that is decided.
    Expr unequal(std::vector<Expr> sides, const std::optional<std::pair<giac::gen, giac::gen>>& values) const
    {
        Expr equal = equation(sides, values);
        if (equal.isSymbol("True") || equal.isSymbol("False"))
            return Expr::symbol(equal.isSymbol("True") ? "False" : "True");
        return Expr::function("Unequal", std::move(sides));
    }

    // An integer or a rational as numerator and denominator, when both fit.
    static bool asFraction(const Expr& e, long long& num, long long& den)
    {
        try {
            if (e.type == wire::kTokenInteger) {
                num = std::stoll(e.text);
                den = 1;
                return true;
            }
            if (e.hasHead("Rational", 2) && e.arg(0).type == wire::kTokenInteger && e.arg(1).type == wire::kTokenInteger) {
                num = std::stoll(e.arg(0).text);
                den = std::stoll(e.arg(1).text);
                return den > 0;
            }
        } catch (const std::exception&) {
        }
        return false;
    }

    static Expr fractionExpr(long long num, long long den)
    {
        if (den == 1)
            return Expr::integer(num);
        return Expr::function("Rational", {Expr::integer(num), Expr::integer(den)});
    }

    // Numeric factors lead a product, as in 1/4 Pi, and exact ones are
    // multiplied out (2 * 1/3 x is 2/3 x).
    static Expr coefficientFirst(Expr product)
    {
        if (!product.hasHead("Times"))
            return product;
        std::stable_partition(product.parts.begin() + 1, product.parts.end(),
                              [](const Expr& f) { return isNumber(f) || isExactNumber(f); });
        long long num = 1;
        long long den = 1;
        std::size_t merged = 0;
        for (std::size_t i = 0; i < product.argCount(); ++i) {
            long long n = 0;
            long long d = 1;
            if (!asFraction(product.arg(i), n, d))
                break;
            long long g1 = std::gcd(n, den);
            long long g2 = std::gcd(num, d);
            long long nextNum = 0;
            long long nextDen = 0;
            if (g1 == 0 || g2 == 0 || __builtin_mul_overflow(num / g2, n / g1, &nextNum)
                || __builtin_mul_overflow(den / g1, d / g2, &nextDen))
                break;
            num = nextNum;
            den = nextDen;
            ++merged;
        }
        if (merged < 2)
            return product;
        product.parts.erase(product.parts.begin() + 1, product.parts.begin() + 1 + long(merged));
        if (num == 0)
            return Expr::integer(0);
        if (num != 1 || den != 1 || product.argCount() == 0)
            product.parts.insert(product.parts.begin() + 1, fractionExpr(num, den));
        return product.argCount() == 1 ? product.arg(0) : product;
    }

    static Expr negate(Expr e)
    {
        if (e == infinity())
            return Expr::function("Times", {Expr::integer(-1), Expr::symbol("Infinity")});
        if (isNumber(e)) {
            if (!e.text.empty() && e.text[0] == '-')
                e.text.erase(0, 1);
            else
                e.text.insert(0, "-");
            return e;
        }
        if (e.hasHead("Rational", 2) && isNumber(e.arg(0))) {
            e.arg(0) = negate(e.arg(0));
            return e;
        }
        if (e.hasHead("Times") && e.argCount() > 0 && e.arg(0).hasHead("Rational", 2)) {
            e.arg(0) = negate(e.arg(0));
            return e;
        }
        if (e.hasHead("Times") && e.argCount() > 0 && isNumber(e.arg(0))) {
            e.arg(0) = negate(e.arg(0));
            if (e.arg(0).type == wire::kTokenInteger && e.arg(0).text == "1")
                e.parts.erase(e.parts.begin() + 1);
            return e.argCount() == 1 ? e.arg(0) : e;
        }
        if (e.hasHead("Times")) {
            e.parts.insert(e.parts.begin() + 1, Expr::integer(-1));
            return e;
        }
        return Expr::function("Times", {Expr::integer(-1), std::move(e)});
    }

    static Expr flattened(const char* head, std::vector<Expr> args)
    {
        std::vector<Expr> flat;
        for (Expr& a : args) {
            if (a.hasHead(head)) {
                for (std::size_t i = 0; i < a.argCount(); ++i)
                    flat.push_back(std::move(a.arg(i)));
            } else {
                flat.push_back(std::move(a));
            }
        }
        return Expr::function(head, std::move(flat));
    }

    // x^(1/n) as a root; x^(-1/n) as its reciprocal.
    static Expr power(Expr base, Expr exponent)
    {
        if (exponent.hasHead("Rational", 2) && exponent.arg(0).type == wire::kTokenInteger) {
            const std::string& num = exponent.arg(0).text;
            if (num == "1" || num == "-1") {
                Expr root = Expr::function("VXRadical", {std::move(base), exponent.arg(1)});
                return num == "1" ? root : Expr::function("Power", {std::move(root), Expr::integer(-1)});
            }
        }
        // Giac's power of a list of rows is the kernel's MatrixPower (the editor's VXMatrix keeps Power).
        const bool matrixPower = base.hasHead("List") && isMatrix(base);
        return Expr::function(matrixPower ? "MatrixPower" : "Power", {std::move(base), std::move(exponent)});
    }

    Expr vector(const giac::vecteur& items, int depth)
    {
        std::vector<Expr> out;
        for (const giac::gen& item : items)
            out.push_back(read(item, depth + 1));
        Expr list = Expr::function("List", std::move(out));
        // A matrix goes back as the program's matrices travel: its rows as arguments.
        if (options_.matrices && isMatrix(list)) {
            list.parts.front() = Expr::symbol("VXMatrix");
            return list;
        }
        return list;
    }

    static bool isMatrix(const Expr& list)
    {
        if (list.argCount() == 0 || !list.arg(0).hasHead("List"))
            return false;
        std::size_t columns = list.arg(0).argCount();
        for (std::size_t i = 0; i < list.argCount(); ++i) {
            if (!list.arg(i).hasHead("List") || list.arg(i).argCount() != columns || columns == 0)
                return false;
        }
        return true;
    }

    Expr piecewise(std::vector<Expr> args)
    {
        // cond1, value1, cond2, value2, ..., [default]
        std::vector<Expr> pieces;
        std::size_t i = 0;
        for (; i + 1 < args.size(); i += 2)
            pieces.push_back(Expr::function("List", {args[i + 1], args[i]}));
        if (i < args.size())
            pieces.push_back(Expr::function("List", {args[i], Expr::symbol("vxOtherwise")}));
        return Expr::function("VXSplit", std::move(pieces));
    }

    // The logarithm of an integer of more digits than a machine real holds
    // that is a power, k Log[b] with the smallest base: an integral's
    // Log[10^300] reads as 300 Log[10], not as 301 digits.
    static std::optional<Expr> logOfPower(const mpz_t n)
    {
        constexpr size_t kShownDigits = 15;
        constexpr size_t kSearchedDigits = 10000;
        const size_t digits = mpz_sizeinbase(n, 10);
        if (mpz_sgn(n) <= 0 || digits <= kShownDigits || digits > kSearchedDigits || !mpz_perfect_power_p(n))
            return std::nullopt;
        mpz_t base;
        mpz_init(base);
        unsigned long k = mpz_sizeinbase(n, 2);
        while (k > 2 && mpz_root(base, n, k) == 0)
            --k;
        if (k == 2)
            mpz_sqrt(base, n);
        std::string text(mpz_sizeinbase(base, 10) + 2, '\0');
        mpz_get_str(text.data(), 10, base);
        text.resize(text.find('\0'));
        mpz_clear(base);
        return Expr::function("Times", {Expr::integer(long(k)), Expr::function("Log", {Expr::integerText(text)})});
    }

    Expr symbolic(const giac::gen& g, int depth)
    {
        const std::string name = g._SYMBptr->sommet.ptr()->s;
        const giac::gen& feuille = g._SYMBptr->feuille;
        bool unary = !(feuille.type == giac::_VECT && feuille.subtype == giac::_SEQ__VECT);
        // Sums and products may hold their terms in a vector of any kind.
        bool nary = name == "+" || name == "*" || name == "and" || name == "or";
        std::vector<Expr> args = arguments(feuille, depth, nary);
        if (args.empty())
            return Expr::function(kernelHead(name), {});

        if (name == "+" && args.size() == 1)
            return args[0] == infinity() ? Expr::symbol("Infinity") : args[0];
        if (name == "+")
            return flattened("Plus", std::move(args));
        if (name == "*")
            return coefficientFirst(flattened("Times", std::move(args)));
        if (name == "-" && unary)
            return negate(std::move(args[0]));
        if (name == "-" && args.size() == 2)
            return Expr::function("Plus", {args[0], negate(args[1])});
        if (name == "inv" && args[0].type == wire::kTokenInteger)
            return reciprocal(args[0]);
        if (name == "inv")
            return Expr::function("Power", {std::move(args[0]), Expr::integer(-1)});
        if (name == "^" && args.size() == 2)
            return power(std::move(args[0]), std::move(args[1]));
        if (name == "sqrt")
            return Expr::function("VXRadical", {std::move(args[0]), Expr::integer(2)});
        if (name == "exp" && args[0] == Expr::integer(1))
            return Expr::symbol("e");
        if (name == "exp")
            return Expr::function("Power", {Expr::symbol("e"), std::move(args[0])});
        if (name == "log10")
            return Expr::function("Log", {Expr::integer(10), std::move(args[0])});
        if (name == "ln" && unary && feuille.type == giac::_ZINT)
            if (std::optional<Expr> multiple = logOfPower(*feuille._ZINTptr))
                return std::move(*multiple);
        if (name == "=")
            return equation(std::move(args), sidesOf(feuille));
        if (name == "==")
            return Expr::function("Equal", std::move(args));
        if (name == "!=")
            return Expr::function("Unequal", std::move(args));
        if (name == "<")
            return Expr::function("Less", std::move(args));
        if (name == "<=")
            return Expr::function("LessEqual", std::move(args));
        if (name == ">" || name == ">=")
            return greater(name == ">=", std::move(args));
        if (name == "and")
            return flattened("And", std::move(args));
        if (name == "or")
            return flattened("VXOr", std::move(args));
        if (name == "not")
            return Expr::function("Not", std::move(args));
        if (name == "piecewise" || name == "when")
            return piecewise(std::move(args));
        if (name == "of" && !args.empty()) {
            Expr head = std::move(args[0]);
            std::vector<Expr> rest(std::make_move_iterator(args.begin() + 1), std::make_move_iterator(args.end()));
            if (rest.size() == 1 && rest[0].hasHead("List") && feuille.type == giac::_VECT
                && feuille._VECTptr->back().type == giac::_VECT && feuille._VECTptr->back().subtype == giac::_SEQ__VECT) {
                Expr seq = std::move(rest[0]);
                rest.assign(seq.parts.begin() + 1, seq.parts.end());
            }
            if (auto derivative = derivativeOperator(head, rest.size()))
                return Expr::function(std::move(*derivative), std::move(rest));
            const auto values = feuille.type == giac::_VECT ? sidesOf(feuille._VECTptr->back()) : std::nullopt;
            if (head.isSymbol("Equal"))   // an equation sent as an argument of an undefined function
                return equation(std::move(rest), values);
            if (head.isSymbol("Unequal"))
                return unequal(std::move(rest), values);
            return Expr::function(std::move(head), std::move(rest));
        }
        if (name == "diff" && args.size() == 3 && args[2].type == wire::kTokenInteger)
            return Expr::function("D", {args[0], Expr::function("List", {args[1], args[2]})});
        if (name == "diff")
            return Expr::function("D", std::move(args));
        if (name == "integrate" || name == "int")
            return rangeForm("Integrate", std::move(args));
        if (name == "sum")
            return rangeForm("Sum", std::move(args));
        if (name == "product")
            return rangeForm("Product", std::move(args));
        if (name == "limit")
            return Expr::function("Limit", {args[0], Expr::function("Rule", {args.size() > 1 ? args[1] : Expr::symbol("x"), args.size() > 2 ? args[2] : Expr::integer(0)})});
        if (name == "abs")
            return Expr::function("Abs", std::move(args));
        if (name == "factorial" || name == "!")
            return Expr::function("Factorial", std::move(args));
        if ((name == "surd" && args.size() == 2) || (name == "NTHROOT" && args.size() == 2)) {
            // surd(x, n) and NTHROOT(n, x) are the real n-th root of x.
            const bool rootFirst = name == "surd";
            return Expr::function("VXRadical", {args[rootFirst ? 0 : 1], args[rootFirst ? 1 : 0]});
        }
        // The kernel's order of arguments where Giac's differs: the branch of
        // ProductLog first, the end point of the incomplete Beta first.
        if (name == "LambertW" && args.size() == 2)
            return Expr::function("ProductLog", {std::move(args[1]), std::move(args[0])});
        if (name == "Beta" && args.size() == 3)
            return Expr::function("Beta", {std::move(args[2]), std::move(args[0]), std::move(args[1])});
        if (name == "Psi" && args.size() == 2)
            return Expr::function("PolyGamma", {args[1], args[0]});
        if (name == "Psi")
            return Expr::function("PolyGamma", std::move(args));
        if (name == "D" || (name == "order_size" && options_.series))
            return Expr::function(name, std::move(args)); // taken apart by the caller
        return Expr::function(kernelHead(name), std::move(args));
    }

    // The kernel's head for a function of Giac's; none for Giac's own
    // functions, such as the bounded_function of a limit that does not exist.
    static std::string kernelHead(const std::string& name)
    {
        std::string head = kernelFunctionFor(name);
        if (name == "bounded_function")
            throw ForeignAnswer("the limit does not exist: the expression stays bounded without settling on a value");
        if (head.empty())
            throw ForeignAnswer("the answer needs Giac's own function " + name + ", which has no form here");
        return head;
    }

    // Giac's derivative operators D(f) and D(f, i) (by argument i, from 0),
    // nested, as the kernel's Derivative[n1, n2, ...][f].
    static std::optional<Expr> derivativeOperator(const Expr& head, std::size_t argCount)
    {
        std::vector<long long> orders(std::max<std::size_t>(argCount, 1), 0);
        const Expr* f = &head;
        bool any = false;
        while (f->hasHead("D") && (f->argCount() == 1 || f->argCount() == 2)) {
            std::size_t which = 0;
            if (f->argCount() == 2) {
                if (f->arg(1).type != wire::kTokenInteger)
                    return std::nullopt;
                which = std::size_t(std::stoll(f->arg(1).text));
                if (which >= orders.size())
                    return std::nullopt;
            }
            ++orders[which];
            any = true;
            f = &f->arg(0);
        }
        if (!any || !f->isSymbol())
            return std::nullopt;
        std::vector<Expr> counts;
        for (long long n : orders)
            counts.push_back(Expr::integer(n));
        return Expr::function(Expr::function("Derivative", std::move(counts)), {*f});
    }

    // integrate(f, x, a, b) -> Integrate[f, List[x, a, b]]
    static Expr rangeForm(const char* head, std::vector<Expr> args)
    {
        if (args.size() == 4)
            return Expr::function(head, {args[0], Expr::function("List", {args[1], args[2], args[3]})});
        return Expr::function(head, std::move(args));
    }

    const giac::context* context_;
    OutputOptions options_;
};

bool holdsTruthValue(const giac::gen& g)
{
    if (g.type == giac::_INT_)
        return g.subtype == giac::_INT_BOOLEAN;
    if (g.type == giac::_SYMB)
        return holdsTruthValue(g._SYMBptr->feuille);
    if (g.type == giac::_VECT)
        return std::any_of(g._VECTptr->begin(), g._VECTptr->end(),
                           [](const giac::gen& a) { return holdsTruthValue(a); });
    return false;
}

giac::gen truthAsSymbol(const giac::gen& g)
{
    if (g.type == giac::_INT_ && g.subtype == giac::_INT_BOOLEAN)
        return giac::gen(giac::identificateur(encodeSymbol(g.val ? "True" : "False")));
    if (g.type == giac::_SYMB && holdsTruthValue(g._SYMBptr->feuille))
        return giac::symbolic(g._SYMBptr->sommet, truthAsSymbol(g._SYMBptr->feuille));
    if (g.type == giac::_VECT && holdsTruthValue(g)) {
        giac::vecteur items;
        for (const giac::gen& a : *g._VECTptr)
            items.push_back(truthAsSymbol(a));
        return giac::gen(items, g.subtype);
    }
    return g;
}

} // namespace

giac::gen keepTruthValues(const giac::gen& value)
{
    if ((value.type != giac::_SYMB && value.type != giac::_VECT) || !holdsTruthValue(value))
        return value;
    return truthAsSymbol(value);
}

Expr fromGiac(const giac::gen& value, const giac::context* context, const OutputOptions& options)
{
    return Reader(context, options).read(value);
}

} // namespace kernelproc
