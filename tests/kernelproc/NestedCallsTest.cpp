// Calls nested deep, evaluated a level at a time, against a stand-in kernel
// that rewrites Mod[a, n] as Giac does, holding a twice, and leaves anything
// else as it is. (What the real kernel answers is in the calculation corpus.)
#include "kernelproc/NestedCalls.h"

#include <gtest/gtest.h>

#include <map>

using namespace kernelproc;
using wire::Expr;
using wire::parseFullForm;

namespace {

Expr call(const char* head, std::vector<Expr> args)
{
    return Expr::function(head, std::move(args));
}

class StandInKernel {
public:
    Expr evaluate(const Expr& e)
    {
        ++asked;
        return rewritten(e);
    }
    Expr hold(const Expr& value)
    {
        const Expr unknown = Expr::symbol("held " + std::to_string(values_.size() + 1));
        values_.emplace(unknown.text, value);
        return unknown;
    }
    Expr restore(const Expr& e) const
    {
        if (auto found = values_.find(e.text); e.isSymbol() && found != values_.end())
            return found->second;
        Expr out = e;
        for (Expr& part : out.parts)
            part = restore(part);
        return out;
    }
    NestedCalls nested()
    {
        return NestedCalls([this](const Expr& e) { return evaluate(e); }, [this](const Expr& v) { return hold(v); },
                           [this](const Expr& e) { return restore(e); });
    }

    int asked = 0;

private:
    static Expr rewritten(const Expr& e)
    {
        Expr out = e;
        for (std::size_t i = 0; i < out.argCount(); ++i)
            out.arg(i) = rewritten(out.arg(i));
        if (out.hasHead("Mod", 2)) {
            const Expr& a = out.arg(0);
            const Expr& n = out.arg(1);
            return call("Plus",
                        {a,
                         call("Times",
                              {call("Times", {Expr::integer(-1), n}),
                               call("Floor", {call("Times", {a, call("Power", {n, Expr::integer(-1)})})})})});
        }
        return out;
    }

    std::map<std::string, Expr> values_;
};

// Mod[Mod[... Mod[inner, 3] ..., 3], 3], depth deep.
Expr nestedMod(const Expr& inner, int depth)
{
    Expr e = inner;
    for (int i = 0; i < depth; ++i)
        e = call("Mod", {e, Expr::integer(3)});
    return e;
}

} // namespace

TEST(NestedCalls, EachLevelIsAskedOnceAndALevelThatWouldDoubleStaysAsWritten)
{
    const Expr x = Expr::symbol("x");
    for (int depth : {3, 10, 20}) {
        StandInKernel kernel;
        NestedCalls nested = kernel.nested();
        const Expr answer = kernel.restore(nested.reduced(nestedMod(x, depth)));
        // The innermost two levels are one request, as the kernel would answer it whole.
        StandInKernel whole;
        const Expr expected = nestedMod(whole.evaluate(nestedMod(x, 2)), depth - 2);
        EXPECT_TRUE(nested.wholly()) << depth;
        EXPECT_EQ(wire::toFullForm(answer), wire::toFullForm(expected)) << depth;
        EXPECT_LE(kernel.asked, 2 * depth) << depth;
    }
}

TEST(NestedCalls, ConstructsThatReadTheirArgumentsFormSeeItWhole)
{
    const Expr deep = nestedMod(Expr::symbol("k"), 6);
    const std::pair<Expr, bool> cases[] = {
        {call("Plus", {deep, Expr::integer(1)}), true},
        {call("List", {deep, Expr::symbol("y")}), true},
        {call("Simplify", {deep}), false},
        {call("Sum", {deep, parseFullForm("List[k, 1, 3]")}), false},
        {call("D", {deep, Expr::symbol("k")}), false},
        {nestedMod(Expr::symbol("k"), 2), false},
    };
    for (const auto& [request, reduced] : cases) {
        StandInKernel kernel;
        const Expr shallow = kernel.nested().reduced(request);
        EXPECT_EQ(shallow != request, reduced) << wire::toFullForm(request);
        EXPECT_EQ(kernel.asked > 0, reduced) << wire::toFullForm(request);
    }
    EXPECT_EQ(functionDepth(parseFullForm("Plus[Sin[Plus[Cos[x], 1]], List[Abs[y]]]")), 2);
}
