#include "kernel/ComponentNodes.h"

#include "kernel/AccentNode.h"
#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/OperatorNodes.h"
#include "kernel/PowerNodes.h"
#include "kernel/RelationNodes.h"

#include "foundation/CompList.h"
#include "math/AbsValueComp.h"
#include "math/AccentComp.h"
#include "math/BigOperatorComp.h"
#include "math/BracketComp.h"
#include "math/ConjugateComp.h"
#include "math/DifferentialComp.h"
#include "math/EquationSetComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/GridColumn.h"
#include "math/IntegralComp.h"
#include "math/LimitComp.h"
#include "math/MatrixComp.h"
#include "math/ParenComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/PictureComp.h"
#include "math/PlaceholderComp.h"
#include "math/RadicalComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/SubscriptComp.h"
#include "math/TableComp.h"
#include "math/TagVarComp.h"
#include "math/TotalDerivativeComp.h"

#include <string>

namespace {

constexpr unsigned char kPlus = 43;
constexpr unsigned char kMinus = 45;

SourceRange PlaceOf(TextComp& comp)
{
    SourceRange range;
    CompList* owner = comp.GetOwner();
    int index = owner ? owner->Find(&comp) : 0;
    range.SetParagraphRange(owner, index, index + 1);
    return range;
}

ExprNode* RowNode(CompList* row)
{
    return row ? row->BuildNode() : new ErrorNode;
}

bool IsEmpty(const CompList* row)
{
    return !row || row->GetCount() == 0;
}

ExprNode* RowNodeOrNull(CompList* row)
{
    return IsEmpty(row) ? nullptr : RowNode(row);
}

unsigned char CharOf(const CompList& row, int i)
{
    TextComp* comp = row.GetAt(i);
    return comp && !TextComp::IsNotChar(comp->Tag()) ? comp->GetChar() : 0;
}

// An exponent is a power waiting for its base, a limit's side or prime marks.
ExprNode* ExponentNode(ExponentComp& exponent, const SourceRange& range)
{
    CompList& script = *exponent.Script();
    if (script.GetCount() == 0)
        return new PowerNode(range, RowNode(&script));
    unsigned char first = CharOf(script, 1);
    if (first != 0) {
        if (script.GetCount() == 1 && (first == kPlus || first == kMinus))
            return new DirectionRuleNode(range, first == kPlus ? 0 : 1);
        int primes = 0;
        for (int i = 1; i <= script.GetCount(); ++i) {
            unsigned char c = CharOf(script, i);
            if (c == MathChar::Prime) {
                primes += 1;
            } else if (c == MathChar::DoublePrime) {
                primes += 2;
            } else {
                primes = 0;
                break;
            }
        }
        if (primes > 0) {
            SourceRange marks;
            marks.SetParagraphRange(&script, 1, script.GetCount() + 1);
            return new PrimeDerivativeNode(range, new IntegerNode(marks, primes));
        }
    }
    ExprNode* node = RowNode(&script);
    if (auto* group = dynamic_cast<GroupNode*>(node); group && group->IsRound()) {
        ExprNode* order = group->TakeChild();
        delete group;
        return new PrimeDerivativeNode(range, order);
    }
    return new PowerNode(range, node);
}

// A differential item: the variable, or the pair {variable, order}.
ExprNode* DifferentialNode(DifferentialComp& item)
{
    CompList* variableRow = item.VariableRow();
    ExprNode* variable = RowNode(variableRow);
    SourceRange place;
    place.SetParagraphRange(variableRow, 1, variableRow ? variableRow->GetCount() + 1 : 1);
    variable->SetRange(place);
    if (IsEmpty(item.OrderRow()))
        return variable;
    auto* pair = new ListNode(place);
    pair->AppendChild(variable);
    pair->AppendChild(RowNode(item.OrderRow()));
    pair->SetRange(place);
    return pair;
}

ExprNode* DerivativeNodeOf(DerivativeComp& derivative, int kind, const SourceRange& range)
{
    SequenceNode* variables = nullptr;
    for (int i = 1; i <= derivative.GetVariableCount(); ++i) {
        DifferentialComp* item = derivative.GetVariable(i);
        if (!item)
            continue;
        ExprNode* node = DifferentialNode(*item);
        if (!variables)
            variables = new SequenceNode(node);
        else
            variables->AppendChild(node);
    }
    auto* node = new DerivativeNode(range, kind, variables, RowNodeOrNull(derivative.NumeratorOrder()));
    if (!IsEmpty(derivative.Operand()))
        node->AppendChild(RowNode(derivative.Operand()));
    return node;
}

SourceRange GridLines(GridComp& grid, int first, bool columns)
{
    SourceRange range;
    range.SetKind2(&grid, first, first + 1, columns ? 1 : 0);
    return range;
}

ExprNode* MatrixNodeOf(MatrixComp& matrix, const SourceRange& range)
{
    auto* node = new MatrixNode(range);
    for (int r = 1; r <= matrix.GetRowCount(); ++r) {
        auto* row = new ListNode(GridLines(matrix, r, false));
        for (int c = 1; c <= matrix.GetColumnCount(); ++c)
            row->AppendChild(RowNode(matrix.GetCell(c, r)));
        row->SetRange(GridLines(matrix, r, false));
        node->AppendChild(row);
    }
    node->SetRange(range);
    return node;
}

ExprNode* TableNodeOf(TableComp& table, const SourceRange& range)
{
    auto* node = new TableNode(range);
    for (int c = 1; c <= table.GetColumnCount(); ++c) {
        auto* column = new ColumnNode(GridLines(table, c, true));
        for (int r = 1; r <= table.GetRowCount(); ++r)
            column->AppendChild(RowNode(table.GetCell(c, r)));
        column->SetRange(GridLines(table, c, true));
        node->AppendChild(column);
    }
    node->SetRange(range);
    return node;
}

ExprNode* EquationSetNodeOf(EquationSetComp& set, const SourceRange& range)
{
    auto* node = new EqnSetNode(range);
    for (int r = 1; r <= set.GetRowCount(); ++r)
        node->AppendChild(RowNode(set.GetCell(1, r)));
    node->SetRange(range);
    return node;
}

ExprNode* SplitNodeOf(SplitDefinitionComp& split, const SourceRange& range)
{
    auto* node = new SplitNode(range);
    for (int r = 1; r <= split.GetRowCount(); ++r) {
        auto* pair = new ListNode(GridLines(split, r, false));
        pair->AppendChild(RowNode(split.GetCell(1, r)));
        pair->AppendChild(RowNode(split.GetCell(2, r)));
        pair->SetRange(GridLines(split, r, false));
        node->AppendChild(pair);
    }
    node->SetRange(range);
    return node;
}

} // namespace

ExprNode* BuildComponentNode(TextComp& comp)
{
    SourceRange range = PlaceOf(comp);
    if (auto* fraction = dynamic_cast<FractionComp*>(&comp)) {
        auto* quotient = new DivideNode(range, RowNode(fraction->Numerator()), RowNode(fraction->Denominator()));
        // The brackets an inline fraction shows before a script are a group
        // for every reader of the tree (MathML draws them).
        if (fraction->IsScripted() && fraction->IsInline())
            return new GroupNode(range, quotient, true);
        return quotient;
    }
    if (auto* subscript = dynamic_cast<SubscriptComp*>(&comp))
        return new SubscriptNode(range, RowNode(subscript->Script()));
    if (auto* exponent = dynamic_cast<ExponentComp*>(&comp))
        return ExponentNode(*exponent, range);
    if (auto* abs = dynamic_cast<AbsValueComp*>(&comp))
        return new AbsNode(range, RowNode(abs->Content()));
    if (auto* bracket = dynamic_cast<BracketComp*>(&comp))
        return new GroupNode(range, RowNode(bracket->Content()), false);
    if (auto* paren = dynamic_cast<ParenComp*>(&comp))
        return new GroupNode(range, RowNode(paren->Content()), true);
    if (auto* conjugate = dynamic_cast<ConjugateComp*>(&comp))
        return new ConjugateNode(range, RowNode(conjugate->Content()));
    if (auto* accent = dynamic_cast<AccentComp*>(&comp))
        return new AccentNode(range, RowNode(accent->Content()), accent->GetAccentChar());
    if (dynamic_cast<PlaceholderComp*>(&comp))
        return new SymbolNode(range, std::string("missing"));
    if (auto* integral = dynamic_cast<IntegralComp*>(&comp)) {
        bool definite = !IsEmpty(integral->Upper()) && !IsEmpty(integral->Lower());
        return new IntegralNode(range, definite ? RowNode(integral->Upper()) : nullptr,
                                definite ? RowNode(integral->Lower()) : nullptr, RowNode(integral->Integrand()),
                                RowNode(integral->Variable()));
    }
    if (auto* big = dynamic_cast<BigOperatorComp*>(&comp))
        return new BigOperatorNode(range, new SymbolNode(range, big->GetSymbolIndex()), RowNode(big->Lower()),
                                   RowNodeOrNull(big->Upper()));
    if (auto* radical = dynamic_cast<RadicalComp*>(&comp))
        return new RadicalNode(range, RowNode(radical->Radicand()), RowNodeOrNull(radical->Index()));
    if (auto* limit = dynamic_cast<LimitComp*>(&comp))
        return new LimitNode(range, RowNode(limit->Approach()));
    if (auto* tag = dynamic_cast<TagVarComp*>(&comp))
        return new TagVarNode(range, RowNode(tag->GetChild(1)), new IntegerNode(tag->GetTagNumber()));
    if (auto* total = dynamic_cast<TotalDerivativeComp*>(&comp))
        return DerivativeNodeOf(*total, DerivativeNode::kTotal, range);
    if (auto* partial = dynamic_cast<PartialDerivativeComp*>(&comp))
        return DerivativeNodeOf(*partial, DerivativeNode::kPartial, range);
    if (auto* matrix = dynamic_cast<MatrixComp*>(&comp))
        return MatrixNodeOf(*matrix, range);
    if (auto* table = dynamic_cast<TableComp*>(&comp))
        return TableNodeOf(*table, range);
    if (auto* set = dynamic_cast<EquationSetComp*>(&comp))
        return EquationSetNodeOf(*set, range);
    if (auto* split = dynamic_cast<SplitDefinitionComp*>(&comp))
        return SplitNodeOf(*split, range);
    if (dynamic_cast<PictureComp*>(&comp))
        return new SymbolNode(range, std::string("picture"));
    return nullptr;
}
