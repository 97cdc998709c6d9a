#include "kernel/OperatorNodes.h"

#include "kernel/CompositeNode.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSupport.h"
#include "kernel/RelationNodes.h"
#include "kernel/SumProductNodes.h"

#include "foundation/Str255.h"
#include "math/ConjugateComp.h"
#include "math/ExponentComp.h"
#include "math/LimitComp.h"
#include "math/ProductComp.h"
#include "math/SubscriptComp.h"
#include "math/SumComp.h"
#include "math/TagVarComp.h"

#include <cmath>

namespace {

constexpr unsigned char kBang = 33;
constexpr int kLargestFactorial = 170;   // 171! is beyond a double

using nodes::PutOrNull;

void PutOne(MLINK link, const char* head, const ExprNode* child, int mode, bool plain)
{
    MLPutFunction(link, head, 1);
    PutOrNull(child, link, mode, plain);
}

void BuildSides(CompList& list, ExprNode* left, ExprNode* right, int level, unsigned char op)
{
    if (left)
        left->BuildComponents(list, level);
    nodes::AppendMathChar(list, ' ');
    nodes::AppendMathChar(list, op);
    nodes::AppendMathChar(list, ' ');
    if (right)
        right->BuildComponents(list, level);
}

void WriteInfix(MathMLOutput& writer, ExprNode* left, const char* op, ExprNode* right)
{
    writer.Open("mrow");
    nodes::WriteChild(writer, left);
    nodes::WriteMo(writer, op);
    nodes::WriteChild(writer, right);
    writer.Close("mrow");
}

void StartAt(ExprNode& node, const ExprNode* child)
{
    if (child && child->HasRange()) {
        if (node.HasRange())
            node.Range().start = child->GetSourceRange().start;
        else
            node.CopyRangeOf(*child);
    }
}

void EndAt(ExprNode& node, const ExprNode* child)
{
    if (child && child->HasRange() && node.HasRange())
        node.Range().end = child->GetSourceRange().end;
}

// The limit's approach as MathML: a rule is left, an arrow, and the right
// side, where a direction mark shows as a superscript sign on its point.
void WriteApproach(MathMLOutput& writer, ExprNode* approach)
{
    auto* rule = dynamic_cast<RuleNode*>(approach);
    if (!rule) {
        nodes::WriteChild(writer, approach);
        return;
    }
    writer.Open("mrow");
    nodes::WriteChild(writer, rule->Left());
    nodes::WriteMo(writer, "&#x2192;");
    if (auto* direction = dynamic_cast<DirectionRuleNode*>(rule->Right())) {
        writer.Open("msup");
        nodes::WriteChild(writer, direction->Point());
        nodes::WriteMo(writer, direction->Direction() == 0 ? "+" : "-");
        writer.Close("msup");
    } else {
        nodes::WriteChild(writer, rule->Right());
    }
    writer.Close("mrow");
}

} // namespace

void AttachOperand(ExprNode*& operand, ExprNode* node)
{
    if (!node)
        return;
    node->next = nullptr;
    if (!operand) {
        operand = node;
        return;
    }
    if (auto* product = dynamic_cast<ProductNode*>(operand)) {
        if (auto* inner = dynamic_cast<BigOperatorNode*>(product->GetLastChild()))
            inner->AppendChild(node);
        else
            product->AppendChild(node);
        return;
    }
    if (auto* inner = dynamic_cast<BigOperatorNode*>(operand)) {
        inner->AppendChild(node);
        return;
    }
    auto* product = new ProductNode(operand);
    product->AppendChild(node);
    operand = product;
}

// ---- factorial ----

FactorialNode::FactorialNode(ExprNode* child) : FixedNode(1)
{
    SetPart(0, child);
}

FactorialNode::FactorialNode(const SourceRange& range, ExprNode* child) : FixedNode(range, 1)
{
    SetPart(0, child);
    StartAt(*this, child);
}

void FactorialNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXFactorial", 1);
    PutOrNull(Child(), link, mode, false);
}

void FactorialNode::PutPlainForm(MLINK link) const
{
    PutOne(link, "Factorial", Child(), 0, true);
}

void FactorialNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level >= Level::PowerBase, [&](CompList& target) {
        if (Child())
            Child()->BuildComponents(target, Level::Power);
        nodes::AppendMathChar(target, kBang);
    });
}

void FactorialNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mrow");
    nodes::WriteChild(writer, Child());
    nodes::WriteMo(writer, "!");
    writer.Close("mrow");
}

bool FactorialNode::IsNumericFactor() const
{
    return Child() && Child()->IsNumericFactor();
}

bool FactorialNode::IsNumericExpr() const
{
    return Child() && Child()->IsNumericExpr();
}

double FactorialNode::GetRealValue() const
{
    int n = Child() ? Child()->GetIntegerValue() : 0;
    if (n > kLargestFactorial)
        return HUGE_VAL;
    double value = 1.0;
    for (int k = 2; k <= n; ++k)
        value *= k;
    return value;
}

void FactorialNode::GetText(Str255& out)
{
    out = Str255();
    if (Child())
        Child()->GetText(out);
    out.AppendChar('!');
}

// ---- conjugate ----

ConjugateNode::ConjugateNode(ExprNode* child) : FixedNode(1)
{
    SetPart(0, child);
}

ConjugateNode::ConjugateNode(const SourceRange& range, ExprNode* child) : FixedNode(range, 1)
{
    SetPart(0, child);
}

void ConjugateNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutOne(link, "VXConjugate", Child(), mode, false);
}

void ConjugateNode::PutPlainForm(MLINK link) const
{
    PutOne(link, "Conjugate", Child(), 0, true);
}

void ConjugateNode::BuildComponents(CompList& list, int)
{
    list.Append(new ConjugateComp(nodes::Built(Child(), Level::Sum)));
}

void ConjugateNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mover");
    nodes::WriteChild(writer, Child());
    nodes::WriteMo(writer, "_");
    writer.Close("mover");
}

bool ConjugateNode::IsNumericFactor() const
{
    return Child() && Child()->IsNumericFactor();
}

bool ConjugateNode::IsSimpleArgument() const
{
    return Child() && Child()->IsSimpleArgument();
}

// ---- direction of a limit ----

DirectionRuleNode::DirectionRuleNode(const SourceRange& range, int direction)
    : FixedNode(range, 1), m_direction(direction)
{
}

DirectionRuleNode::DirectionRuleNode(ExprNode* point, int direction) : FixedNode(1), m_direction(direction)
{
    SetPart(0, point);
    if (point && point->HasRange())
        CopyRangeOf(*point);
}

void DirectionRuleNode::AppendChild(ExprNode* node)
{
    SetPart(0, node);
    StartAt(*this, node);
}

void DirectionRuleNode::PutPackageForm(MLINK link, int mode) const
{
    if (mode == 2)
        nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "Rule", 2);
    MLPutSymbol(link, "Direction");
    MLPutLongInteger(link, m_direction == 1 ? 1 : -1);
}

void DirectionRuleNode::BuildComponents(CompList& list, int)
{
    if (Point())
        Point()->BuildComponents(list, Level::PowerBase);
    CompList sign;
    nodes::AppendMathChar(sign, m_direction == 0 ? '+' : '-');
    list.Append(new ExponentComp(nodes::Take(sign)));
}

int DirectionRuleNode::GetTokenCode() const
{
    return Token::Direction;
}

// ---- tagged variable ----

TagVarNode::TagVarNode(ExprNode* content, ExprNode* number) : FixedNode(2)
{
    SetPart(0, content);
    SetPart(1, number);
}

TagVarNode::TagVarNode(const SourceRange& range, ExprNode* content, ExprNode* number) : FixedNode(range, 2)
{
    SetPart(0, content);
    SetPart(1, number);
}

void TagVarNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXTagVar", 2);
    PutOrNull(Content(), link, mode, false);
    PutOrNull(Number(), link, mode, false);
}

void TagVarNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, "VXTagVar", 2);
    PutOrNull(Content(), link, 0, true);
    PutOrNull(Number(), link, 0, true);
}

void TagVarNode::BuildComponents(CompList& list, int level)
{
    list.Append(new TagVarComp(nodes::Built(Content(), level), Number() ? Number()->GetIntegerValue() : 0));
}

void TagVarNode::WriteMathML(MathMLOutput& writer)
{
    nodes::WriteChild(writer, Content());
}

bool TagVarNode::IsNumericFactor() const
{
    return Content() && Content()->IsNumericFactor();
}

bool TagVarNode::IsSimpleArgument() const
{
    return Content() && Content()->IsSimpleArgument();
}

// ---- two-sided nodes ----

BinaryNode::BinaryNode(ExprNode* left, ExprNode* right, const char* packageHead, const char* plainHead)
    : FixedNode(2), m_packageHead(packageHead), m_plainHead(plainHead)
{
    SetPart(0, left);
    SetPart(1, right);
}

BinaryNode::BinaryNode(const SourceRange& range, ExprNode* left, ExprNode* right, const char* packageHead,
                       const char* plainHead)
    : FixedNode(range, 2), m_packageHead(packageHead), m_plainHead(plainHead)
{
    SetPart(0, left);
    SetPart(1, right);
}

void BinaryNode::PutHeadAndSides(MLINK link, int mode, const char* head) const
{
    MLPutFunction(link, head, 2);
    PutOrNull(Left(), link, mode, false);
    PutOrNull(Right(), link, mode, false);
}

void BinaryNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, m_plainHead, 2);
    PutOrNull(Left(), link, 0, true);
    PutOrNull(Right(), link, 0, true);
}

void RuleNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutHeadAndSides(link, mode, "Rule");
}

void RuleNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level == Level::Rule, [&](CompList& target) {
        BuildSides(target, Left(), Right(), Level::Operand, MathChar::Arrow);
    });
}

void RuleNode::WriteMathML(MathMLOutput& writer)
{
    WriteApproach(writer, this);
}

void CrossNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutHeadAndSides(link, mode, m_packageHead);
}

void CrossNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level >= Level::CrossDot, [&](CompList& target) {
        BuildSides(target, Left(), Right(), Level::CrossDot, MathChar::Cross);
    });
}

void CrossNode::WriteMathML(MathMLOutput& writer)
{
    WriteInfix(writer, Left(), "&#x2A2F;", Right());
}

void DotNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutHeadAndSides(link, mode, m_packageHead);
}

void DotNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level >= Level::CrossDot, [&](CompList& target) {
        BuildSides(target, Left(), Right(), Level::CrossDot, MathChar::Dot);
    });
}

void DotNode::WriteMathML(MathMLOutput& writer)
{
    WriteInfix(writer, Left(), "&#x00B7;", Right());
}

void ModNode::AppendChild(ExprNode* node)
{
    if (!Left()) {
        SetPart(0, node);
        StartAt(*this, node);
    } else {
        SetPart(1, node);
        EndAt(*this, node);
    }
}

void ModNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutHeadAndSides(link, mode, m_packageHead);
}

// The row reads "mod" as binding tighter than a sum and looser than a
// product, from the left: a side that is a sum, starts with a sign or is a
// mod itself, and a mod that is a factor, are put in parentheses, so that
// the row reads back as the node it shows.
void ModNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level >= Level::CrossDot, [&](CompList& target) {
        BuildSide(target, Left());
        nodes::AppendMathChar(target, ' ');
        nodes::AppendTextChars(target, "mod");
        nodes::AppendMathChar(target, ' ');
        BuildSide(target, Right());
    });
}

void ModNode::BuildSide(CompList& list, ExprNode* side)
{
    if (!side)
        return;
    std::unique_ptr<CompArray> built = nodes::Built(side, Level::CrossDot);
    const TextComp* first = built->GetCount() > 0 ? built->GetAt(1) : nullptr;
    if (first && first->GetChar() == '-')
        nodes::AppendParen(list, std::move(built));
    else
        list.InsertAllAt(std::move(built), list.GetCount() + 1);
}

void ModNode::WriteMathML(MathMLOutput& writer)
{
    WriteInfix(writer, Left(), "mod", Right());
}

int ModNode::GetTokenCode() const
{
    return Left() || Right() ? Token::Operand : Token::Mod;
}

// ---- subscript ----

SubscriptNode::SubscriptNode(const SourceRange& range, ExprNode* subscript) : FixedNode(range, 2)
{
    SetPart(1, subscript);
}

SubscriptNode::SubscriptNode(ExprNode* base, ExprNode* subscript) : FixedNode(2)
{
    SetPart(0, base);
    SetPart(1, subscript);
}

void SubscriptNode::AppendChild(ExprNode* node)
{
    SetPart(0, node);
    StartAt(*this, node);
}

void SubscriptNode::PutForm(MLINK link, int mode, bool plain) const
{
    int items = Subscript() ? Subscript()->GetItemCount() : 1;
    MLPutFunction(link, plain ? "Subscript" : "VXSubscript", items + 1);
    PutOrNull(Base(), link, mode, plain);
    if (Subscript())
        nodes::PutItems(Subscript(), link, mode, plain);
    else
        MLPutSymbol(link, "Null");
}

void SubscriptNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutForm(link, mode, false);
}

void SubscriptNode::PutPlainForm(MLINK link) const
{
    PutForm(link, 0, true);
}

void SubscriptNode::BuildComponents(CompList& list, int)
{
    if (Base())
        Base()->BuildComponents(list, Level::PowerBase);
    list.Append(new SubscriptComp(nodes::Built(Subscript(), Level::Operand)));
}

void SubscriptNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("msub");
    nodes::WriteChild(writer, Base());
    nodes::WriteChild(writer, Subscript());
    writer.Close("msub");
}

bool SubscriptNode::IsConstantSubscript() const
{
    const SymbolNode* base = AsSymbol(Base());
    return base && base->IsFreeNamed("C");
}

int SubscriptNode::GetTermOrderKey() const
{
    if (!IsConstantSubscript())
        return 0;
    constexpr int kOtherConstant = 1000;
    return Subscript() && Subscript()->GetTag() == TypeTag("intN") ? Subscript()->GetIntegerValue() : kOtherConstant;
}

void SubscriptNode::GetText(Str255& out)
{
    Str255 part;
    out = Str255();
    if (Base())
        Base()->GetText(out);
    out.AppendChar('_');
    if (Subscript()) {
        Subscript()->GetText(part);
        out.Append(part);
    }
}

void SubscriptNode::CollectConstantIndices(ExprNode& list)
{
    if (Base())
        Base()->CollectConstantIndices(list);
    // The list gets copies: it owns its children, the indices stay here.
    if (IsConstantSubscript() && Subscript() && FindReplaceSubscript() != this)
        list.AppendChild(Subscript()->Clone());
    if (Subscript())
        Subscript()->CollectConstantIndices(list);
}

ExprNode* SubscriptNode::FindReplaceSubscript()
{
    return IsBuiltinSymbol(Subscript(), Entry::ReplSub) ? this : nullptr;
}

int SubscriptNode::GetTokenCode() const
{
    return Base() ? Token::Operand : Token::Subscript;
}

// ---- limit ----

LimitNode::LimitNode(const SourceRange& range, ExprNode* approach) : FixedNode(range, 2)
{
    SetPart(1, approach);
}

LimitNode::LimitNode(ExprNode* operand, ExprNode* approach, int direction) : FixedNode(2), m_direction(direction)
{
    SetPart(0, operand);
    SetPart(1, approach);
}

void LimitNode::AppendChild(ExprNode* node)
{
    if (!node)
        return;
    AttachOperand(Part(0), node);
    EndAt(*this, node);
}

void LimitNode::PutForm(MLINK link, int mode, bool plain) const
{
    const char* head = plain ? "Limit" : "VXLimit";
    auto* rule = dynamic_cast<RuleNode*>(Approach());
    auto* direction = rule ? dynamic_cast<DirectionRuleNode*>(rule->Right()) : nullptr;
    if (!direction) {
        MLPutFunction(link, head, 2);
        PutOrNull(Operand(), link, mode, plain);
        PutOrNull(Approach(), link, mode, plain);
        return;
    }
    MLPutFunction(link, head, 3);
    PutOrNull(Operand(), link, mode, plain);
    MLPutFunction(link, "Rule", 2);
    PutOrNull(rule->Left(), link, mode, plain);
    PutOrNull(direction->Point(), link, mode, plain);
    direction->PutPackageForm(link, mode);
}

void LimitNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutForm(link, mode, false);
}

void LimitNode::PutPlainForm(MLINK link) const
{
    PutForm(link, 0, true);
}

void LimitNode::BuildComponents(CompList& list, int level)
{
    auto* rule = dynamic_cast<RuleNode*>(Approach());
    if (m_direction != 0 && rule && !dynamic_cast<DirectionRuleNode*>(rule->Right()))
        rule->SetRight(new DirectionRuleNode(rule->TakeRight(), m_direction == 2 ? 1 : 0));
    nodes::BuildMaybeWrapped(list, level >= Level::Product, [&](CompList& target) {
        target.Append(new LimitComp(nodes::Built(Approach(), Level::Operand)));
        if (Operand())
            Operand()->BuildComponents(target, Level::Power);
    });
}

void LimitNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mrow");
    writer.Open("munder");
    writer.WriteTextElement("mi", "lim");
    WriteApproach(writer, Approach());
    writer.Close("munder");
    nodes::WriteChild(writer, Operand());
    writer.Close("mrow");
}

ExprNode* LimitNode::FindChildAt(const DocPosition& position)
{
    if (nodes::Contains(Approach(), position))
        return Approach();
    return nodes::Contains(Operand(), position) ? Operand() : nullptr;
}

int LimitNode::GetTokenCode() const
{
    return Operand() ? Token::Operand : Token::BigOperator;
}

// ---- sums and products with bounds ----

BigOperatorNode::BigOperatorNode(const SourceRange& range, SymbolNode* op, ExprNode* lower, ExprNode* upper)
    : FixedNode(range, 4)
{
    SetPart(1, lower);
    SetPart(2, upper);
    SetPart(3, op);
}

const SymbolNode* BigOperatorNode::Operator() const
{
    return AsSymbol(Part(3));
}

void BigOperatorNode::SetBounds(ExprNode* lower)
{
    auto* list = dynamic_cast<ListNode*>(lower);
    if (!list || list->Count() < 3) {
        SetPart(1, lower);
        return;
    }
    ExprNode* variable = list->DetachChildren();
    ExprNode* start = variable->next;
    ExprNode* upper = start->next;
    ExprNode* rest = upper->next;
    variable->next = start->next = upper->next = nullptr;
    delete rest;
    delete list;
    auto* relation = new RelationNode(variable);
    relation->AppendChild(new SymbolNode(Entry::Equal));
    relation->AppendChild(start);
    SetPart(1, relation);
    SetPart(2, upper);
}

void BigOperatorNode::AppendChild(ExprNode* node)
{
    if (!node)
        return;
    AttachOperand(Part(0), node);
    EndAt(*this, node);
}

void BigOperatorNode::PutForm(MLINK link, int mode, bool plain) const
{
    const SymbolNode* op = Operator();
    int entry = op && op->IsBuiltin() ? op->Builtin() : Entry::Sum;
    MLPutFunction(link, plain ? gBuiltinNames[entry].plain : gBuiltinNames[entry].package, 2);
    PutOrNull(Body(), link, mode, plain);
    auto* relation = dynamic_cast<RelationNode*>(Lower());
    if (Upper() && relation && relation->Count() >= 3) {
        MLPutFunction(link, "List", 3);
        PutOrNull(relation->ChildAt(1), link, mode, plain);
        PutOrNull(relation->ChildAt(3), link, mode, plain);
        PutOrNull(Upper(), link, mode, plain);
    } else {
        PutOrNull(Lower(), link, mode, plain);
    }
}

void BigOperatorNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutForm(link, mode, false);
}

void BigOperatorNode::PutPlainForm(MLINK link) const
{
    PutForm(link, 0, true);
}

void BigOperatorNode::BuildComponents(CompList& list, int level)
{
    bool product = IsBuiltinSymbol(Part(3), Entry::Product);
    nodes::BuildMaybeWrapped(list, level >= Level::Product, [&](CompList& target) {
        auto lower = nodes::Built(Lower(), Level::Operand);
        auto upper = nodes::Built(Upper(), Level::Operand);
        if (product)
            target.Append(new ProductComp(std::move(upper), std::move(lower)));
        else
            target.Append(new SumComp(std::move(upper), std::move(lower)));
        if (Body())
            Body()->BuildComponents(target, Level::Product);
    });
}

void BigOperatorNode::WriteMathML(MathMLOutput& writer)
{
    const SymbolNode* op = Operator();
    const char* sign = gBuiltinNames[op && op->IsBuiltin() ? op->Builtin() : Entry::Sum].mathml;
    const char* element = Upper() ? "munderover" : "munder";
    writer.Open("mrow");
    writer.Open(element);
    nodes::WriteMo(writer, sign);
    nodes::WriteChild(writer, Lower());
    nodes::WriteChild(writer, Upper());
    writer.Close(element);
    nodes::WriteChild(writer, Body());
    writer.Close("mrow");
}

ExprNode* BigOperatorNode::FindChildAt(const DocPosition& position)
{
    for (int part : {2, 1, 3, 0})
        if (nodes::Contains(Part(part), position))
            return Part(part);
    return nullptr;
}

int BigOperatorNode::GetTokenCode() const
{
    return Body() ? Token::Operand : Token::BigOperator;
}
