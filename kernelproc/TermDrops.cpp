#include "kernelproc/TermDrops.h"

#include "kernelproc/CalculationCodes.h"
#include "kernelproc/TermEdits.h"

#include <algorithm>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kDepthLimit = 512;

bool occursIn(const Expr& e, const Expr& pattern, int depth = 0)
{
    if (e == pattern)
        return true;
    if (depth > kDepthLimit)
        return false;
    return std::any_of(e.parts.begin(), e.parts.end(), [&](const Expr& p) { return occursIn(p, pattern, depth + 1); });
}

Expr replaced(const Expr& e, const Expr& pattern, const Expr& replacement, int depth = 0)
{
    if (e == pattern)
        return replacement;
    Expr copy = e;
    if (depth <= kDepthLimit) {
        for (Expr& p : copy.parts)
            p = replaced(p, pattern, replacement, depth + 1);
    }
    return copy;
}

// Substitution of one side of the source equation by the other where it
// occurs in the target: the pressed side is the one replaced, the left when
// the whole equation was pressed; the other way round when only that occurs.
void offerSubstitution(const Expr& target, const MarkedTerms& source, std::vector<TermOffer>& out)
{
    const Expr& left = leftSide(source.clean);
    const Expr& right = rightSide(source.clean);
    const bool rightPressed = source.mover && !source.mover->empty() && source.mover->front() != 0;
    const Expr* pattern = rightPressed ? &right : &left;
    const Expr* replacement = rightPressed ? &left : &right;
    if (!occursIn(target, *pattern))
        std::swap(pattern, replacement);
    if (!occursIn(target, *pattern) || isNumber(*pattern))
        return;
    out.push_back({kDropSubstitute, "Substitute for " + shortText(*pattern, "the equation's side"),
                   replaced(target, *pattern, *replacement)});
}

void offerEquationSums(const Expr& target, const Expr& source, std::vector<TermOffer>& out)
{
    out.push_back({kDropAddEquations, "Add the equations",
                   relation(sumOf(leftSide(target), leftSide(source)), "Equal",
                            sumOf(rightSide(target), rightSide(source)))});
    out.push_back({kDropSubtractEquation, "Subtract the equation",
                   relation(sumOf(leftSide(target), negated(leftSide(source))), "Equal",
                            sumOf(rightSide(target), negated(rightSide(source))))});
}

} // namespace

std::vector<TermOffer> dropMeanings(const Expr& markedTarget, const Expr& markedSource)
{
    const Expr target = withoutTermMarkers(markedTarget);
    const MarkedTerms source = findMarkedTerms(markedSource);
    std::vector<TermOffer> meanings;
    if (isEquation(source.clean)) {
        offerSubstitution(target, source, meanings);
        if (isEquation(target))
            offerEquationSums(target, source.clean, meanings);
    } else if (twoSidedRelation(source.clean).empty() && target.isSymbol() && !source.clean.hasHead("List")) {
        meanings.push_back({kDropValueForLetter,
                            "Put " + shortText(source.clean, "the expression") + " in place of " +
                                shortText(target, "the letter"),
                            source.clean});
    }
    return meanings;
}

Expr evaluateDrop(const Expr& target, const Expr& source)
{
    std::vector<Expr> offers;
    for (const TermOffer& meaning : dropMeanings(target, source))
        offers.push_back(offer(meaning.code, meaning.text, kPlaceNewParagraphWhole));
    return offerList(offers);
}

Expr drop(int code, const Expr& target, const Expr& source)
{
    for (TermOffer& meaning : dropMeanings(target, source)) {
        if (meaning.code == code)
            return inAnswerSpelling(meaning.result);
    }
    return Expr::symbol("$Failed");
}

} // namespace kernelproc
