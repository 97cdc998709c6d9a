#include "kernel/PowerNodes.h"

#include "kernel/FunctionNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/NodeSupport.h"

#include "foundation/Str255.h"
#include "math/BracketComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/RadicalComp.h"

#include <cmath>

namespace {

bool Both(const ExprNode* a, const ExprNode* b, bool (ExprNode::*test)() const)
{
    return a && b && (a->*test)() && (b->*test)();
}

double ValueOf(const ExprNode* node)
{
    return node ? node->GetRealValue() : 0.0;
}

void PutOrNull(const ExprNode* node, MLINK link, int mode)
{
    nodes::PutOrNull(node, link, mode, false);
}

void PutPlainOrNull(const ExprNode* node, MLINK link)
{
    nodes::PutOrNull(node, link, 0, true);
}

} // namespace

// ---- power ----

PowerNode::PowerNode(ExprNode* exponent) : FixedNode(2)
{
    SetPart(0, exponent);
}

PowerNode::PowerNode(const SourceRange& range, ExprNode* exponent) : FixedNode(range, 2)
{
    SetPart(0, exponent);
}

PowerNode::PowerNode(ExprNode* exponent, ExprNode* base, bool keepPower) : FixedNode(2), m_keepPower(keepPower)
{
    SetPart(0, exponent);
    SetPart(1, base);
}

void PowerNode::AppendChild(ExprNode* node)
{
    if (!node)
        return;
    SetPart(1, node);
    if (node->HasRange()) {
        if (!HasRange()) {
            CopyRangeOf(*node);
            return;
        }
        int end = std::max(GetSourceRange().end, node->GetSourceRange().end);
        Range().start = node->GetSourceRange().start;
        Range().end = end;
    }
}

void PowerNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXPower", 2);
    PutOrNull(Base(), link, mode);
    PutOrNull(Exponent(), link, mode);
}

void PowerNode::PutPlainForm(MLINK link) const
{
    if (Base() && Base()->GetTag() == TypeTag("matN")) {
        if (IsBuiltinSymbol(Exponent(), Entry::Transpose)) {
            MLPutFunction(link, "Transpose", 1);
            Base()->PutPlainForm(link);
            return;
        }
        MLPutFunction(link, "MatrixPower", 2);
    } else {
        MLPutFunction(link, "Power", 2);
    }
    PutPlainOrNull(Base(), link);
    PutPlainOrNull(Exponent(), link);
}

void PowerNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level >= Level::PowerBase, [&](CompList& target) {
        if (Base())
            Base()->BuildComponents(target, Level::PowerBase);
        target.Append(new ExponentComp(nodes::Built(Exponent(), Level::Operand)));
    });
}

// The power of a function's value never stands on the argument alone: a
// function the name table knows is raised at its name, as it is typed and
// shown ("sin" squared, then x), any other call in brackets. A primed name
// (f') takes the power beside its primes.
void PowerNode::WriteMathML(MathMLOutput& writer)
{
    auto* call = dynamic_cast<FunctionNode*>(Base());
    if (!call || dynamic_cast<PrimeDerivativeNode*>(call->Head())) {
        writer.Open("msup");
        nodes::WriteChild(writer, Base());
        nodes::WriteChild(writer, Exponent());
        writer.Close("msup");
        return;
    }
    if (AsSymbol(call->Head()) && call->Head()->GetTokenCode() == Token::Function) {
        writer.Open("mrow");
        writer.Open("msup");
        call->Head()->WriteMathML(writer);
        nodes::WriteChild(writer, Exponent());
        writer.Close("msup");
        nodes::WriteMo(writer, "&ApplyFunction;");
        nodes::WriteChild(writer, call->Argument());
        writer.Close("mrow");
        return;
    }
    writer.Open("msup");
    writer.StartFencedWith("(", ")");
    call->WriteMathML(writer);
    writer.EndFenced();
    nodes::WriteChild(writer, Exponent());
    writer.Close("msup");
}

bool PowerNode::NormalizeFractions(ExprNode*& num, ExprNode*& den)
{
    nodes::NormalizeInPlace(Part(0));
    nodes::NormalizeInPlace(Part(1));
    if (!KeepsPower() && Exponent() && Base() && Exponent()->TakeSign() == 1) {
        num = new IntegerNode(1);
        if (Exponent()->IsOne()) {
            den = TakePart(1);
        } else {
            auto* power = new PowerNode(TakePart(0));
            power->AppendChild(TakePart(1));
            den = power;
        }
        return true;
    }
    return ExprNode::NormalizeFractions(num, den);
}

bool PowerNode::IsNumericFactor() const
{
    return Both(Exponent(), Base(), &ExprNode::IsNumericFactor);
}

bool PowerNode::IsNumericExpr() const
{
    return Both(Exponent(), Base(), &ExprNode::IsNumericExpr);
}

double PowerNode::GetRealValue() const
{
    return std::pow(ValueOf(Base()), ValueOf(Exponent()));
}

void PowerNode::ReplaceChild(ExprNode* old, ExprNode* replacement)
{
    bool base = old && old == Base();
    FixedNode::ReplaceChild(old, replacement);
    if (base && replacement && replacement->HasRange() && replacement->GetSourceRange().end > GetSourceRange().end)
        Range().end = replacement->GetSourceRange().end;
}

ExprNode* PowerNode::FindChildAt(const DocPosition& position)
{
    if (nodes::Contains(Exponent(), position))
        return Exponent();
    if (!nodes::Contains(Base(), position))
        return nullptr;
    if (Base()->GetTag() == TypeTag("funN"))
        return Base()->FindChildAt(position);
    return Base();
}

int PowerNode::GetTokenCode() const
{
    return Base() ? Token::Operand : Token::Superscript;
}

// ---- quotient ----

DivideNode::DivideNode(ExprNode* numerator, ExprNode* denominator) : FixedNode(2)
{
    SetPart(1, numerator);
    SetPart(0, denominator);
}

DivideNode::DivideNode(const SourceRange& range, ExprNode* numerator, ExprNode* denominator) : FixedNode(range, 2)
{
    SetPart(1, numerator);
    SetPart(0, denominator);
}

void DivideNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXDivide", 2);
    PutOrNull(Numerator(), link, mode);
    PutOrNull(Denominator(), link, mode);
}

void DivideNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, "Divide", 2);
    PutPlainOrNull(Numerator(), link);
    PutPlainOrNull(Denominator(), link);
}

void DivideNode::BuildComponents(CompList& list, int level)
{
    auto* fraction = new FractionComp(nodes::Built(Numerator(), Level::Operand),
                                      nodes::Built(Denominator(), Level::Operand));
    if (level >= Level::PowerBase) {
        auto items = std::make_unique<CompArray>();
        items->Append(fraction);
        nodes::AppendParen(list, std::move(items));
    } else {
        list.Append(fraction);
    }
}

void DivideNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mfrac");
    nodes::WriteChild(writer, Numerator());
    nodes::WriteChild(writer, Denominator());
    writer.Close("mfrac");
}

int DivideNode::TakeSign()
{
    int sign = Numerator() ? Numerator()->TakeSign() : 0;
    return sign != 0 || !Denominator() ? sign : Denominator()->TakeSign();
}

bool DivideNode::IsNumericFactor() const
{
    return Both(Denominator(), Numerator(), &ExprNode::IsNumericFactor);
}

bool DivideNode::IsNumericExpr() const
{
    return Both(Denominator(), Numerator(), &ExprNode::IsNumericExpr) && Denominator()->GetRealValue() != 0.0;
}

double DivideNode::GetRealValue() const
{
    return ValueOf(Numerator()) / ValueOf(Denominator());
}

int DivideNode::GetTermOrderKey() const
{
    return Numerator() ? Numerator()->GetTermOrderKey() : 0;
}

void DivideNode::GetText(Str255& out)
{
    Str255 part;
    out = Str255();
    if (Numerator()) {
        Numerator()->GetText(part);
        out.Append(part);
    }
    out.AppendChar('/');
    if (Denominator()) {
        Denominator()->GetText(part);
        out.Append(part);
    }
}

// ---- radical ----

RadicalNode::RadicalNode(ExprNode* radicand, ExprNode* index) : FixedNode(2)
{
    SetPart(0, radicand);
    SetPart(1, index);
}

RadicalNode::RadicalNode(const SourceRange& range, ExprNode* radicand, ExprNode* index) : FixedNode(range, 2)
{
    SetPart(0, radicand);
    SetPart(1, index);
}

void RadicalNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXRadical", 2);
    PutOrNull(Radicand(), link, mode);
    if (Index())
        Index()->PutPackageForm(link, mode);
    else
        MLPutLongInteger(link, 2);
}

void RadicalNode::PutPlainForm(MLINK link) const
{
    if (!Index()) {
        MLPutFunction(link, "Sqrt", 1);
        PutPlainOrNull(Radicand(), link);
        return;
    }
    MLPutFunction(link, "Power", 2);
    PutPlainOrNull(Radicand(), link);
    MLPutFunction(link, "Divide", 2);
    MLPutLongInteger(link, 1);
    Index()->PutPlainForm(link);
}

void RadicalNode::BuildComponents(CompList& list, int)
{
    bool squareIndex = Index() && Index()->GetTag() == TypeTag("intN") && Index()->GetIntegerValue() == 2;
    std::unique_ptr<CompArray> index;
    if (Index() && !squareIndex)
        index = nodes::Built(Index(), Level::Whole);
    list.Append(new RadicalComp(nodes::Built(Radicand(), Level::Whole), std::move(index)));
}

void RadicalNode::WriteMathML(MathMLOutput& writer)
{
    const char* element = Index() ? "mroot" : "msqrt";
    writer.Open(element);
    nodes::WriteChild(writer, Radicand());
    nodes::WriteChild(writer, Index());
    writer.Close(element);
}

bool RadicalNode::IsNumericFactor() const
{
    return Radicand() && Radicand()->IsNumericFactor() && (!Index() || Index()->IsNumericFactor());
}

bool RadicalNode::IsNumericExpr() const
{
    return Radicand() && Radicand()->IsNumericExpr() && (!Index() || Index()->IsNumericExpr());
}

double RadicalNode::GetRealValue() const
{
    return Index() ? std::pow(ValueOf(Radicand()), 1.0 / ValueOf(Index())) : std::sqrt(ValueOf(Radicand()));
}

// ---- group ----

GroupNode::GroupNode(ExprNode* child, bool round) : FixedNode(1), m_round(round ? 1 : 0)
{
    SetPart(0, child);
}

GroupNode::GroupNode(const SourceRange& range, ExprNode* child, bool round) : FixedNode(range, 1), m_round(round ? 1 : 0)
{
    SetPart(0, child);
}

void GroupNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    PutOrNull(Child(), link, mode);
}

void GroupNode::PutPlainForm(MLINK link) const
{
    PutPlainOrNull(Child(), link);
}

void GroupNode::BuildComponents(CompList& list, int level)
{
    if (level == Level::Top) {
        if (Child())
            Child()->BuildComponents(list, Level::Group);
        return;
    }
    auto items = nodes::Built(Child(), Level::Group);
    if (m_round)
        nodes::AppendParen(list, std::move(items));
    else
        list.Append(new BracketComp(std::move(items)));
}

void GroupNode::WriteMathML(MathMLOutput& writer)
{
    writer.StartFencedWith("(", ")");
    nodes::WriteChild(writer, Child());
    writer.EndFenced();
}

bool GroupNode::IsNumericFactor() const
{
    return Child() && Child()->IsNumericFactor();
}

bool GroupNode::IsSimpleArgument() const
{
    return Child() && Child()->IsSimpleArgument();
}

bool GroupNode::IsNumericExpr() const
{
    return Child() && Child()->IsNumericExpr();
}

double GroupNode::GetRealValue() const
{
    return ValueOf(Child());
}

void GroupNode::GetText(Str255& out)
{
    Str255 inner;
    if (Child())
        Child()->GetText(inner);
    out = Str255(m_round ? "(" : "[");
    out.Append(inner);
    out.AppendChar(m_round ? ')' : ']');
}

void GroupNode::Flatten()
{
    while (auto* inner = dynamic_cast<GroupNode*>(Child())) {
        if (inner->m_round != m_round)
            break;
        ExprNode* grandchild = inner->TakeChild();
        SetPart(0, grandchild);
    }
    if (Child())
        Child()->Flatten();
}

int GroupNode::GetTokenCode() const
{
    return m_round ? Token::ParenGroup : Token::ArgumentGroup;
}

int GroupNode::GetItemCount() const
{
    return Child() ? Child()->GetItemCount() : 0;
}
