#include "kernelproc/CalculationChoices.h"

#include "kernelproc/CalculationCodes.h"
#include "kernelproc/DrawingResults.h"
#include "kernelproc/GiacNames.h"

#include <algorithm>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kDepthLimit = 512;

// What one walk over the part finds.
struct Shape {
    bool calculus = false;       // an integral, derivative, sum, product or limit
    bool division = false;       // a denominator with an unknown in it
    bool powerOrProduct = false; // something to expand or factor
    bool matrix = false;
    bool tooDeep = false;
    std::vector<std::string> unknowns;
};

std::string_view headName(const Expr& e)
{
    return e.isFunction() && e.head().isSymbol() ? plainHead(e.head().text) : std::string_view();
}

bool isMatrixValue(const Expr& e)
{
    if (headName(e) == "Matrix")
        return true;
    return e.hasHead("List") && e.argCount() > 0 &&
           std::all_of(e.parts.begin() + 1, e.parts.end(), [](const Expr& row) { return row.hasHead("List"); });
}

void merge(Shape& shape, const Shape& part)
{
    shape.calculus = shape.calculus || part.calculus;
    shape.division = shape.division || part.division;
    shape.powerOrProduct = shape.powerOrProduct || part.powerOrProduct;
    shape.matrix = shape.matrix || part.matrix;
    shape.tooDeep = shape.tooDeep || part.tooDeep;
    for (const std::string& unknown : part.unknowns) {
        if (std::find(shape.unknowns.begin(), shape.unknowns.end(), unknown) == shape.unknowns.end())
            shape.unknowns.push_back(unknown);
    }
}

void walk(const Expr& e, const ChoiceContext& context, Shape& shape, int depth)
{
    if (depth > kDepthLimit) {
        shape.tooDeep = true;
        return;
    }
    if (e.isSymbol()) {
        if (!isKnownConstant(e.text) && !(context.constants && context.constants->count(e.text)) &&
            std::find(shape.unknowns.begin(), shape.unknowns.end(), e.text) == shape.unknowns.end())
            shape.unknowns.push_back(e.text);
        return;
    }
    if (!e.isFunction())
        return;
    std::string_view head = headName(e);
    if (head == "Integrate" || head == "D" || head == "Dt" || head == "Sum" || head == "Product" || head == "Limit")
        shape.calculus = true;
    if (head == "Power" || head == "Times" || head == "Divide")
        shape.powerOrProduct = true;
    if (isMatrixValue(e))
        shape.matrix = true;
    const bool negativePower = head == "Power" && e.argCount() == 2 && e.arg(1).type == wire::kTokenInteger &&
                               !e.arg(1).text.empty() && e.arg(1).text[0] == '-';
    const std::size_t unknownsBefore = shape.unknowns.size();
    const bool fraction = head == "Divide" && e.argCount() == 2;
    // A chain's relation signs, Inequality[a, Less, b], are no unknowns.
    const bool chain = head == "Inequality";
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        if (chain && i % 2 == 1)
            continue;
        if (fraction && i == 1) {
            // The denominator is walked on its own, once: its unknowns
            // count even where the numerator has them too.
            Shape denominator;
            walk(e.arg(1), context, denominator, depth + 1);
            shape.division = shape.division || !denominator.unknowns.empty();
            merge(shape, denominator);
        } else {
            walk(e.arg(i), context, shape, depth + 1);
        }
    }
    if (negativePower && shape.unknowns.size() > unknownsBefore)
        shape.division = true;
}

// The marked part, its parent and whether it is the whole; the whole when nothing is marked.
struct Marked {
    const Expr* part = nullptr;
    const Expr* parent = nullptr;
};

bool findMover(const Expr& e, const Expr* parent, Marked& found, int depth)
{
    if (depth > kDepthLimit || !e.isFunction())
        return false;
    if (e.hasHead("VXMover", 1)) {
        found = {&e.arg(0), parent};
        return true;
    }
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        if (findMover(e.arg(i), &e, found, depth + 1))
            return true;
    }
    return false;
}

bool isNumericConstant(const Expr& e)
{
    static const char* const names[] = {"Pi", "E", "e", "EulerGamma", "GoldenRatio", "Degree"};
    return e.isSymbol() && std::find(std::begin(names), std::end(names), e.text) != std::end(names);
}

bool isSingleLetter(const Expr& e)
{
    return e.isSymbol() && e.text.size() == 1 && e.text[0] >= 'A' && e.text[0] <= 'z';
}

} // namespace

std::vector<std::string> unknownsOf(const Expr& e, const std::set<std::string>* constants)
{
    ChoiceContext context;
    context.constants = constants;
    Shape shape;
    walk(e, context, shape, 0);
    return shape.unknowns;
}

bool isRelation(const Expr& e)
{
    std::string_view head = headName(e);
    static const char* const relations[] = {"Equal", "Unequal", "Less", "LessEqual", "Greater", "GreaterEqual",
                                            "Inequality", "EqnSet"};
    if (std::find(std::begin(relations), std::end(relations), head) != std::end(relations))
        return true;
    return e.hasHead("List") && e.argCount() > 0 && std::all_of(e.parts.begin() + 1, e.parts.end(), [](const Expr& p) {
               return headName(p) == "Equal";
           });
}

std::vector<CalculationChoice> calculationChoices(const Expr& whole, const ChoiceContext& context)
{
    Marked marked;
    const bool hasMover = findMover(whole, nullptr, marked, 0);
    if (!hasMover)
        marked.part = &whole;
    const Expr& part = *marked.part;
    std::vector<CalculationChoice> choices;
    // Inside a drawing, a label's point, points, vector or function can be
    // added to the drawing; nothing else is offered there.
    if (whole.hasHead("VXDrawing")) {
        if (hasMover && drawingResultKind(part))
            choices.push_back({kCalcAddToDrawing, "Add to drawing", kPlaceDrawing});
        return choices;
    }
    const bool isWhole = marked.parent == nullptr;
    const bool isSide = marked.parent && isRelation(*marked.parent);
    if (isSingleLetter(part)) {
        const bool constant = context.constants && context.constants->count(part.text);
        if (constant)
            choices.push_back({kCalcTreatAsVariable, "Treat " + part.text + " as variable", kPlaceUncheckConstant});
        else
            choices.push_back({kCalcTreatAsConstant, "Treat " + part.text + " as constant", kPlaceCheckConstant});
        return choices;
    }
    // An answer equal to the part follows "=" when the part is a whole formula
    // or its last side (the formula goes on), and replaces the part anywhere else.
    const Expr* lastSide = isSide ? &marked.parent->arg(marked.parent->argCount() - 1) : nullptr;
    const bool isLastSide = lastSide && lastSide->hasHead("VXMover", 1) && &lastSide->arg(0) == &part;
    const int equalPlacement = isWhole || isLastSide ? kPlaceEquals : kPlaceReplacePart;
    auto offer = [&](int code, std::string label, int placement) {
        if (choices.size() < static_cast<std::size_t>(kMaxChoices))
            choices.push_back({code, std::move(label), placement});
    };
    if (part.type == wire::kTokenInteger) {
        offer(kCalcFactor, "Factor", equalPlacement);
        offer(kCalcNumeric, "Numeric value", equalPlacement);
        return choices;
    }
    if (part.type == wire::kTokenReal || isNumericConstant(part)) {
        offer(kCalcNumeric, "Numeric value", equalPlacement);
        return choices;
    }
    if (!part.isFunction())
        return choices;
    Shape shape;
    walk(part, context, shape, 0);
    if (shape.tooDeep)
        return choices;
    const std::string& x = context.defaultVariable;
    const bool hasX = std::find(shape.unknowns.begin(), shape.unknowns.end(), x) != shape.unknowns.end();
    if (isRelation(part)) {
        if (!shape.unknowns.empty())
            offer(kCalcSolve, "Solve", kPlaceNewParagraph);
        offer(kCalcSimplify, "Simplify", kPlaceNewParagraph);
        offer(kCalcExpand, "Expand", kPlaceNewParagraph);
        offer(kCalcFactor, "Factor", kPlaceNewParagraph);
        return choices;
    }
    if (shape.calculus || shape.unknowns.empty())
        offer(kCalcEvaluate, "Evaluate", equalPlacement);
    if (shape.matrix) {
        offer(kCalcDeterminant, "Determinant", kPlaceNewParagraph);
        offer(kCalcInverse, "Inverse", kPlaceNewParagraph);
        offer(kCalcTranspose, "Transpose", kPlaceNewParagraph);
        offer(kCalcEigenvalues, "Eigenvalues", kPlaceNewParagraph);
    }
    if (shape.unknowns.empty()) {
        offer(kCalcNumeric, "Numeric value", equalPlacement);
        offer(kCalcFactor, "Factor", equalPlacement);
        return choices;
    }
    offer(kCalcSimplify, "Simplify", equalPlacement);
    if (shape.powerOrProduct)
        offer(kCalcExpand, "Expand", equalPlacement);
    offer(kCalcFactor, "Factor", equalPlacement);
    if (shape.division) {
        offer(kCalcPartialFractions, "Partial fractions", equalPlacement);
        offer(kCalcTogether, "Combine fractions", equalPlacement);
    }
    offer(kCalcNumeric, "Numeric value", equalPlacement);
    if (hasX || shape.unknowns.size() == 1) {
        const std::string& by = hasX ? x : shape.unknowns.front();
        offer(kCalcDifferentiate, "Differentiate by " + by, kPlaceNewParagraph);
        offer(kCalcIntegrate, "Integrate by " + by, kPlaceNewParagraph);
    }
    if (shape.unknowns.size() == 1 && !shape.matrix)
        offer(kCalcPlot, "Plot", kPlaceNewParagraph);
    if (hasX) {
        offer(kCalcLaplace, "Laplace transform", kPlaceNewParagraph);
        offer(kCalcFourier, "Fourier transform", kPlaceNewParagraph);
    }
    return choices;
}

Expr choiceList(const std::vector<CalculationChoice>& choices)
{
    Expr list = Expr::function("List", {});
    for (const CalculationChoice& c : choices)
        list.parts.push_back(
            Expr::function("List", {Expr::integer(c.code), Expr::string(c.label), Expr::integer(c.placement)}));
    if (choices.empty())
        list.parts.push_back(Expr::function("List", {Expr::integer(0), Expr::string(""), Expr::integer(0)}));
    return list;
}

} // namespace kernelproc
