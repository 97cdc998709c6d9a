#include "kernelproc/GiacIntegration.h"

#include <cmath>
#include <complex>
#include <string>
#include <vector>

namespace kernelproc {

namespace {

bool containsIntegral(const giac::gen& g)
{
    if (g.type == giac::_SYMB) {
        const std::string name = g._SYMBptr->sommet.ptr()->s;
        if (name == "integrate" || name == "int")
            return true;
        return containsIntegral(g._SYMBptr->feuille);
    }
    if (g.type == giac::_VECT) {
        for (const giac::gen& item : *g._VECTptr) {
            if (containsIntegral(item))
                return true;
        }
    }
    return false;
}

bool isError(const giac::gen& g)
{
    return g.type == giac::_STRNG && g._STRNGptr->find("Error") != std::string::npos;
}

std::optional<giac::gen> tryIntegral(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    try {
        giac::gen F = giac::_integrate(giac::makesequence(f, x), context);
        if (isError(F) || containsIntegral(F))
            return std::nullopt;
        return F;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The sample points at which a derivative is compared when simplification is
// not conclusive; other unknowns take fixed unrelated values.
bool agreesAtSamples(const giac::gen& difference, const giac::gen& f, const giac::gen& x, giac::context* context)
{
    giac::vecteur names = *giac::_lname(difference, context)._VECTptr;
    static const double samples[] = {0.3712, 1.2893, 2.4417, -0.8151};
    static const double others[] = {0.713, 1.417, 0.377, 1.913, 0.59, 1.21};
    int compared = 0;
    for (double point : samples) {
        giac::vecteur from, to;
        std::size_t other = 0;
        for (const giac::gen& name : names) {
            from.push_back(name);
            to.push_back(name == x ? giac::gen(point) : giac::gen(others[other++ % 6]));
        }
        try {
            giac::gen d = giac::evalf(giac::subst(difference, from, to, false, context), 1, context);
            giac::gen v = giac::evalf(giac::subst(f, from, to, false, context), 1, context);
            std::complex<double> dv = giac::gen2complex_d(d), vv = giac::gen2complex_d(v);
            if (!std::isfinite(dv.real()) || !std::isfinite(dv.imag()) || !std::isfinite(vv.real()))
                continue;
            if (std::abs(dv) > 1e-7 * (1 + std::abs(vv)))
                return false;
            ++compared;
        } catch (const std::exception&) {
            continue;
        }
    }
    return compared >= 2;
}

} // namespace

bool differentiatesTo(const giac::gen& F, const giac::gen& f, const giac::gen& x, giac::context* context)
{
    try {
        giac::gen derivative = giac::derive(F, x, context);
        giac::gen difference = derivative - f;
        giac::gen simplified = giac::simplify(difference, context);
        if (giac::is_zero(simplified, context))
            return true;
        return agreesAtSamples(difference, f, x, context);
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<giac::gen> checkedAntiderivative(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    auto accept = [&](const std::optional<giac::gen>& F) { return F && differentiatesTo(*F, f, x, context); };
    std::optional<giac::gen> F = tryIntegral(f, x, context);
    if (accept(F))
        return F;
    // What a person tries next: a simpler form, the expanded form, trigonometric
    // products and powers rewritten as sums, powers and roots rewritten.
    for (const char* rewrite : {"simplify", "expand", "tlin", "tcollect", "texpand", "powexpand", "exp2pow",
                                "pow2exp", "trig2exp", "halftan"}) {
        try {
            giac::gen rewritten = giac::eval(giac::gen(std::string(rewrite) + "(" + f.print(context) + ")", context),
                                             1, context);
            if (isError(rewritten) || rewritten == f)
                continue;
            F = tryIntegral(rewritten, x, context);
            if (accept(F))
                return F;
        } catch (const std::exception&) {
        }
    }
    // A sum term by term, each term found its own way.
    giac::gen expanded = giac::expand(f, context);
    if (expanded.is_symb_of_sommet(giac::at_plus) && expanded._SYMBptr->feuille.type == giac::_VECT) {
        giac::gen total = 0;
        for (const giac::gen& term : *expanded._SYMBptr->feuille._VECTptr) {
            std::optional<giac::gen> part = checkedAntiderivative(term, x, context);
            if (!part)
                return std::nullopt;
            total = total + *part;
        }
        if (differentiatesTo(total, f, x, context))
            return total;
    }
    return std::nullopt;
}

} // namespace kernelproc
