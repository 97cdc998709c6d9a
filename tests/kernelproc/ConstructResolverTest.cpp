// Where the kernel's own constructs are resolved in a request, without Giac:
// a stand-in integral is held when its integrand holds `bad` (or `across`
// while it depends on an integral around it), Giac's when it depends on a
// variable bound around it, and `v` otherwise; Part and Length answer
// `part`, and are held when they hold `gone`; a range {k, {values}} takes
// the values listed, and no other range is numbers.
#include "kernelproc/ConstructResolver.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

using kernelproc::ConstructResolver;
using wire::Expr;
using wire::parseFullForm;

namespace {

bool holds(const Expr& e, const char* name)
{
    if (e.isSymbol(name))
        return true;
    for (const Expr& p : e.parts) {
        if (holds(p, name))
            return true;
    }
    return false;
}

ConstructResolver standIn()
{
    return ConstructResolver(
        [](const Expr& integral, bool bound, const std::vector<Expr>& outer) {
            if (holds(integral.arg(0), "bad") || (holds(integral.arg(0), "across") && !outer.empty()))
                return ConstructResolver::Outcome::hold();
            return bound ? ConstructResolver::Outcome::toGiac() : ConstructResolver::Outcome::of(Expr::symbol("v"));
        },
        [](const Expr& request) {
            return holds(request, "gone") ? ConstructResolver::Outcome::hold()
                                          : ConstructResolver::Outcome::of(Expr::symbol("part"));
        },
        [](const Expr& range) -> std::optional<std::vector<Expr>> {
            if (!range.hasHead("List", 2) || !range.arg(1).hasHead("List"))
                return std::nullopt;
            return std::vector<Expr>(range.arg(1).parts.begin() + 1, range.arg(1).parts.end());
        });
}

} // namespace

TEST(ConstructResolver, ResolvesEachConstructWhereverItStands)
{
    const struct {
        const char* request;
        const char* resolved; // "held" where a placeholder stands, "whole" where the request is held whole
        bool wholly;
    } cases[] = {
        {"Times[2, Integrate[bad, List[x, -1, 1]]]", "Times[2, held]", false},
        {"List[Integrate[x, List[x, 0, 1]], Equal[Integrate[bad, List[x, -1, 1]], 0]]", "List[v, Equal[held, 0]]",
         false},
        {"Integrate[Times[x, y], List[x, 0, 1]]", "v", true},
        {"N[Integrate[bad, List[x, 0, Pi]]]", "N[held]", false},
        // A held construct that depends on the variable of a construct around it holds that one too.
        {"Integrate[Integrate[bad, List[x, -1, y]], List[y, 0, 1]]", "whole", true},
        {"D[Integrate[bad, List[x, -1, y]], y]", "whole", true},
        {"Solve[Equal[Integrate[bad, List[t, -1, a]], 1], a]", "whole", true},
        {"Sum[Integrate[bad, List[x, -1, 1]], List[k, 1, 3]]", "Sum[held, List[k, 1, 3]]", false},
        {"Sum[Integrate[Power[x, k], List[x, 0, 1]], List[k, 1, 3]]",
         "Sum[Integrate[Power[x, k], List[x, 0, 1]], List[k, 1, 3]]", false},
        {"Plus[Part[List[a, b], 2], Length[f[a, b]]]", "Plus[part, part]", false},
        {"Part[List[a, b], Times[1, Power[2, -1]]]", "part", true},
        {"Plus[Part[List[gone, b], 3], Length[f[a]]]", "Plus[held, part]", false},
        {"Table[Part[List[gone, b], 3], List[k, 2]]", "Table[held, List[k, 2]]", false},
        {"Part[List[gone, b], 3]", "whole", true},
        {"VXPart[List[a, b], 2]", "part", true},
        {"Table[Part[List[a, k], 2], List[k, 2]]", "Table[Part[List[a, k], 2], List[k, 2]]", false},
        {"Part[List[a, b], n]", "Part[List[a, b], n]", false},
        {"Part[List[a, b], List[1, 2]]", "Part[List[a, b], List[1, 2]]", false},
        {"Hold[Integrate[bad, List[x, -1, 1]]]", "Hold[Integrate[bad, List[x, -1, 1]]]", false},
        // Over values, term by term: a table keeps each term, a sum with a term held is held whole.
        {"Table[Integrate[Times[x, k], List[x, 0, 1]], List[k, List[bad, 2]]]", "List[held, v]", false},
        {"Sum[Integrate[Times[x, k], List[x, 0, 1]], List[k, List[bad, 2]]]", "whole", true},
        {"Sum[Integrate[Times[x, k], List[x, 0, 1]], List[k, List[1, 2]]]", "Plus[v, v]", false},
        {"Table[Integrate[Times[x, k, j], List[x, 0, 1]], List[k, List[1]], List[j, List[bad, 2]]]",
         "List[List[held, v]]", false},
        {"Table[Integrate[Times[x, k], List[x, 0, 1]], List[k, 1, n]]",
         "Table[Integrate[Times[x, k], List[x, 0, 1]], List[k, 1, n]]", false},
        // Inside an integral, what the inner one makes of the outer range.
        {"Integrate[Integrate[Times[across, y], List[x, 0, 1]], List[y, 0, 1]]", "whole", true},
        {"Integrate[Integrate[across, List[x, 0, 1]], List[y, 0, 1]]", "v", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request);
        ConstructResolver constructs = standIn();
        const Expr request = parseFullForm(c.request);
        const Expr resolved = constructs.resolve(request);
        EXPECT_EQ(constructs.wholly(), c.wholly);
        if (std::string(c.resolved) == "whole") {
            EXPECT_TRUE(resolved.isSymbol());
            EXPECT_EQ(constructs.restore(resolved), request);
            continue;
        }
        // Each placeholder comes back as the construct was written.
        Expr shown = resolved;
        if (holds(parseFullForm(c.resolved), "held")) {
            std::function<Expr(const Expr&)> named = [&](const Expr& e) -> Expr {
                if (e.isSymbol() && constructs.restore(e) != e)
                    return Expr::symbol("held");
                Expr out = e;
                for (std::size_t i = 0; i < out.argCount(); ++i)
                    out.arg(i) = named(out.arg(i));
                return out;
            };
            shown = named(resolved);
            EXPECT_FALSE(holds(constructs.restore(resolved), "held"));
        }
        EXPECT_EQ(wire::toFullForm(shown), c.resolved);
    }
}

TEST(ConstructResolver, NamesTheVariablesEachConstructBinds)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"Sum[f, List[k, 1, n], List[j, 2]]", {"k", "j"}},
        {"VXIntegrate[f, x]", {"x"}},
        {"D[f, x, List[y, 2]]", {"x", "y"}},
        {"Limit[f, Rule[t, 0]]", {"t"}},
        {"Series[f, List[x, 0, 3]]", {"x"}},
        {"Solve[f, List[x, y]]", {"x", "y"}},
        {"Table[f, List[3]]", {}},
        {"Plus[x, y]", {}},
    };
    for (const auto& [request, names] : cases)
        EXPECT_EQ(kernelproc::boundVariables(parseFullForm(request)), names) << request;
}
