#include "kernelproc/TermShuffles.h"

#include "kernelproc/CalculationChoices.h"
#include "kernelproc/CalculationCodes.h"
#include "kernelproc/TermEdits.h"

#include <charconv>

namespace kernelproc {

using wire::Expr;

namespace {

std::optional<long long> integerValue(const Expr& e)
{
    long long value = 0;
    if (e.type != wire::kTokenInteger)
        return std::nullopt;
    auto [end, error] = std::from_chars(e.text.data(), e.text.data() + e.text.size(), value);
    if (error != std::errc() || end != e.text.data() + e.text.size())
        return std::nullopt;
    return value;
}

// The argument index of a relation's side, for Equal[a, b] and VXInequality[a, op, b] alike.
std::optional<int> sideOf(const Expr& relation, std::size_t argument)
{
    if (argument == 0)
        return 0;
    if (argument == relation.argCount() - 1)
        return 1;
    return std::nullopt;
}

// The signs an inequality may be multiplied by: an equation takes any
// factor but zero, an inequality only a number (a negative one turns it round).
std::optional<std::string> scaledRelation(const std::string& op, const Expr& factor)
{
    const int sign = numberSign(factor);
    if (isNumber(factor) && sign == 0)
        return std::nullopt;
    if (op == "Equal" || op == "Unequal")
        return op;
    if (sign == 0)
        return std::nullopt;
    return sign < 0 ? mirroredRelation(op) : op;
}

std::optional<TermOffer> acrossRelation(const MarkedTerms& t)
{
    const Expr& whole = t.clean;
    const std::string op = twoSidedRelation(whole);
    const TermPath& mover = *t.mover;
    if (op.empty() || mover.empty() || mover.size() > 2)
        return std::nullopt;
    const std::optional<int> from = sideOf(whole, mover[0]);
    if (!from)
        return std::nullopt;
    if (!t.target->empty()) {
        const std::optional<int> to = sideOf(whole, t.target->front());
        if (!to || *to == *from)
            return std::nullopt;
    }
    const Expr& side = *from == 0 ? leftSide(whole) : rightSide(whole);
    const Expr& other = *from == 0 ? rightSide(whole) : leftSide(whole);
    TermOffer move;
    Expr newSide, newOther;
    std::string newOp = op;
    const Expr* moved = &side;
    if (mover.size() == 1 || isSum(side)) {
        const std::size_t term = mover.size() == 2 ? mover[1] : 0;
        if (mover.size() == 2)
            moved = &side.arg(term);
        newSide = mover.size() == 2 ? withoutArgument(side, term) : Expr::integer(0);
        newOther = sumOf(other, negated(*moved));
        const bool negative = numberSign(*moved) < 0 || (isProduct(*moved) && numberSign(moved->arg(0)) < 0);
        move.code = kShuffleSubtractAcross;
        const char* words = isSum(*moved) ? "the terms" : "the term";
        move.text = negative ? "Add " + shortText(negated(*moved), words) + " to both sides"
                             : "Subtract " + shortText(*moved, words) + " from both sides";
    } else if (isProduct(side)) {
        moved = &side.arg(mover[1]);
        std::optional<std::string> scaled = scaledRelation(op, *moved);
        if (!scaled)
            return std::nullopt;
        newOp = *scaled;
        newSide = withoutArgument(side, mover[1]);
        newOther = quotientOf(other, *moved);
        move.code = kShuffleDivideAcross;
        move.text = "Divide both sides by " + shortText(*moved, "the factor");
    } else if (isQuotient(side) && mover[1] == 1) {
        moved = &side.arg(1);
        std::optional<std::string> scaled = scaledRelation(op, *moved);
        if (!scaled)
            return std::nullopt;
        newOp = *scaled;
        newSide = side.arg(0);
        newOther = productOf(*moved, other);
        move.code = kShuffleMultiplyAcross;
        move.text = "Multiply both sides by " + shortText(*moved, "the divisor");
    } else {
        return std::nullopt;
    }
    // The sides stay where they were; an operator turned round is read from the left.
    move.result = *from == 0 ? relation(newSide, newOp, newOther) : relation(newOther, newOp, newSide);
    return move;
}

std::optional<TermOffer> reorder(const MarkedTerms& t)
{
    const TermPath& mover = *t.mover;
    const TermPath& target = *t.target;
    if (mover.empty() || target.size() != mover.size() || !isChildPath(target, TermPath(mover.begin(), mover.end() - 1)))
        return std::nullopt;
    const TermPath parentPath(mover.begin(), mover.end() - 1);
    const Expr& parent = partAt(t.clean, parentPath);
    const std::size_t from = mover.back(), to = target.back();
    if ((!isSum(parent) && !isProduct(parent)) || from == to)
        return std::nullopt;
    TermOffer move;
    move.code = kShuffleReorder;
    move.text = isSum(parent) ? "Move the term here" : "Move the factor here";
    move.result = t.clean;
    Expr& changed = partAt(move.result, parentPath);
    Expr moved = changed.arg(from);
    changed.parts.erase(changed.parts.begin() + 1 + static_cast<std::ptrdiff_t>(from));
    changed.parts.insert(changed.parts.begin() + 1 + static_cast<std::ptrdiff_t>(to), std::move(moved));
    return move;
}

std::optional<TermOffer> distribute(const MarkedTerms& t)
{
    const TermPath& mover = *t.mover;
    const TermPath& target = *t.target;
    if (mover.empty() || target.size() != mover.size())
        return std::nullopt;
    const TermPath productPath(mover.begin(), mover.end() - 1);
    if (!isChildPath(target, productPath))
        return std::nullopt;
    const Expr& product = partAt(t.clean, productPath);
    const std::size_t factor = mover.back(), sum = target.back();
    if (!isProduct(product) || factor == sum || !isSum(product.arg(sum)))
        return std::nullopt;
    Expr spread = Expr::function("VXPlus", {});
    for (std::size_t i = 0; i < product.arg(sum).argCount(); ++i)
        spread.parts.push_back(productOf(product.arg(factor), product.arg(sum).arg(i)));
    Expr newProduct = product;
    newProduct.arg(sum) = spread;
    TermOffer move;
    move.code = kShuffleDistribute;
    move.text = "Multiply out " + shortText(product.arg(factor), "the factor");
    move.result = t.clean;
    partAt(move.result, productPath) = withoutArgument(newProduct, factor);
    return move;
}

// term / factor when the factor visibly divides the term.
std::optional<Expr> dividedBy(const Expr& term, const Expr& factor)
{
    if (term == factor)
        return Expr::integer(1);
    if (term == negated(factor))
        return Expr::integer(-1);
    const std::optional<long long> divisor = integerValue(factor);
    if (divisor && *divisor != 0) {
        if (std::optional<long long> value = integerValue(term); value && *value % *divisor == 0)
            return Expr::integer(*value / *divisor);
    }
    if (!isProduct(term))
        return std::nullopt;
    for (std::size_t i = 0; i < term.argCount(); ++i) {
        if (std::optional<Expr> rest = dividedBy(term.arg(i), factor)) {
            Expr quotient = term;
            quotient.arg(i) = *rest;
            if (*rest == Expr::integer(1))
                return withoutArgument(term, i);
            return quotient;
        }
    }
    return std::nullopt;
}

std::optional<TermOffer> factorOut(const MarkedTerms& t)
{
    const TermPath& mover = *t.mover;
    const TermPath& sumPath = *t.target;
    if (mover.size() < sumPath.size() + 1 || mover.size() > sumPath.size() + 2 ||
        !std::equal(sumPath.begin(), sumPath.end(), mover.begin()))
        return std::nullopt;
    const Expr& sum = partAt(t.clean, sumPath);
    const Expr& factor = partAt(t.clean, mover);
    if (!isSum(sum) || (mover.size() == sumPath.size() + 2 && !isProduct(sum.arg(mover[sumPath.size()]))))
        return std::nullopt;
    Expr rest = Expr::function("VXPlus", {});
    for (std::size_t i = 0; i < sum.argCount(); ++i) {
        std::optional<Expr> quotient = dividedBy(sum.arg(i), factor);
        if (!quotient)
            return std::nullopt;
        rest.parts.push_back(*quotient);
    }
    TermOffer move;
    move.code = kShuffleFactorOut;
    move.text = "Factor out " + shortText(factor, "the factor");
    move.result = t.clean;
    partAt(move.result, sumPath) = productOf(factor, rest);
    return move;
}

// A sum or product of one argument (x - 5 reads as x + (-5) with the -5 a
// product of one factor) stands for that argument, and the t of -1 t for
// the whole term: a path into them ends at them.
void liftOutOfSingletons(const Expr& e, TermPath& path)
{
    while (!path.empty()) {
        const Expr& parent = partAt(e, TermPath(path.begin(), path.end() - 1));
        const bool single = (isSum(parent) || isProduct(parent)) && parent.argCount() == 1;
        const bool negation =
            isProduct(parent) && parent.argCount() == 2 && path.back() == 1 && parent.arg(0) == Expr::integer(-1);
        if (!single && !negation)
            break;
        path.pop_back();
    }
}

} // namespace

std::optional<TermOffer> shuffleMove(const Expr& marked)
{
    MarkedTerms t = findMarkedTerms(marked);
    if (!t.mover || !t.target || t.mover->empty())
        return std::nullopt;
    liftOutOfSingletons(t.clean, *t.mover);
    liftOutOfSingletons(t.clean, *t.target);
    for (auto rule : {acrossRelation, distribute, reorder, factorOut}) {
        if (std::optional<TermOffer> move = rule(t))
            return move;
    }
    return std::nullopt;
}

namespace {

int shufflePlacement(const TermOffer& move, const Expr& marked)
{
    // A rearrangement that keeps a part equal to itself, of a part that is
    // no relation, leaves the placement open: the program then shows it in
    // its formula, or continues the equation with it (Shift). A move across
    // a relation, or a rearranged relation, makes no equal expression.
    const bool equal =
        move.code == kShuffleReorder || move.code == kShuffleDistribute || move.code == kShuffleFactorOut;
    return equal && !isRelation(withoutTermMarkers(marked)) ? kPlaceNewParagraph : kPlaceNewParagraphWhole;
}

} // namespace

Expr evaluateShuffle(const Expr& marked)
{
    std::optional<TermOffer> move = shuffleMove(marked);
    if (!move)
        return offerList({});
    return offerList({offer(move->code, move->text, shufflePlacement(*move, marked))});
}

Expr shuffle(int code, const Expr& marked)
{
    std::optional<TermOffer> move = shuffleMove(marked);
    if (!move || move->code != code)
        return Expr::symbol("$Failed");
    return inAnswerSpelling(move->result);
}

} // namespace kernelproc
