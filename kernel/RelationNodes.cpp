#include "kernel/RelationNodes.h"

#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSupport.h"

#include "foundation/Str255.h"
#include "math/AbsValueComp.h"

#include <algorithm>
#include <cmath>

namespace {

void BuildSeparated(CompList& list, ExprNode* first, int level, const char* separator, bool textFace)
{
    for (ExprNode* child = first; child; child = child->next) {
        if (child != first) {
            for (const char* p = separator; *p; ++p)
                textFace ? nodes::AppendTextChar(list, static_cast<unsigned char>(*p))
                         : nodes::AppendMathChar(list, static_cast<unsigned char>(*p));
        }
        child->BuildComponents(list, level);
    }
}

void WriteSeparated(MathMLOutput& writer, ExprNode* first, const char* separator)
{
    writer.Open("mrow");
    for (ExprNode* child = first; child; child = child->next) {
        if (child != first)
            nodes::WriteMo(writer, separator);
        child->WriteMathML(writer);
    }
    writer.Close("mrow");
}

} // namespace

// ---- relations ----

CompositeNode* RelationNode::NewWithFirstClone() const
{
    return new RelationNode(m_first ? m_first->Clone() : nullptr);
}

void RelationNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXInequality", m_count);
    PutChildren(link, mode);
}

void RelationNode::PutPlainForm(MLINK link) const
{
    if (m_count == 3 && IsBuiltinSymbol(m_first->next, Entry::Equal)) {
        MLPutFunction(link, "Equal", 2);
        m_first->PutPlainForm(link);
        m_first->next->next->PutPlainForm(link);
        return;
    }
    MLPutFunction(link, "Inequality", m_count);
    PutPlainChildren(link);
}

void RelationNode::BuildComponents(CompList& list, int level)
{
    nodes::BuildMaybeWrapped(list, level > Level::Operand, [&](CompList& target) {
        for (ExprNode* child = m_first; child; child = child->next)
            child->BuildComponents(target, Level::Operand);
    });
}

void RelationNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mrow");
    bool operand = true;
    for (ExprNode* child = m_first; child; child = child->next, operand = !operand) {
        const SymbolNode* symbol = AsSymbol(child);
        if (!operand && symbol && symbol->IsBuiltin())
            nodes::WriteMo(writer, gBuiltinNames[symbol->Builtin()].mathml);
        else
            child->WriteMathML(writer);
    }
    writer.Close("mrow");
}

// ---- sequences ----

CompositeNode* SequenceNode::NewWithFirstClone() const
{
    return new SequenceNode(m_first ? m_first->Clone() : nullptr);
}

void SequenceNode::BuildComponents(CompList& list, int level)
{
    BuildSeparated(list, m_first, std::min(level, int(Level::Whole)), ",", false);
}

void SequenceNode::WriteMathML(MathMLOutput& writer)
{
    WriteSeparated(writer, m_first, ",");
}

bool SequenceNode::IsNumericFactor() const
{
    for (ExprNode* child = m_first; child; child = child->next)
        if (!child->IsNumericFactor())
            return false;
    return true;
}

bool SequenceNode::IsSimpleArgument() const
{
    return m_count == 1 && m_first->IsSimpleArgument();
}

void SequenceNode::GetText(Str255& out)
{
    out = Str255();
    for (ExprNode* child = m_first; child; child = child->next) {
        if (child != m_first)
            out.AppendChar(',');
        Str255 part;
        child->GetText(part);
        out.Append(part);
    }
}

// ---- points ----

PointNode* PointNode::FromSequence(const SourceRange& range, SequenceNode* sequence)
{
    auto* point = new PointNode(range);
    for (ExprNode* child = sequence->DetachChildren(); child;) {
        ExprNode* following = child->next;
        child->next = nullptr;
        point->Chain(child);
        child = following;
    }
    delete sequence;
    return point;
}

CompositeNode* PointNode::NewWithFirstClone() const
{
    return new PointNode(m_first ? m_first->Clone() : nullptr);
}

void PointNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "QVPoint", m_count);
    PutChildren(link, mode);
}

void PointNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, "QVPoint", m_count);
    PutPlainChildren(link);
}

void PointNode::BuildComponents(CompList& list, int level)
{
    nodes::AppendMathChar(list, '(');
    BuildSeparated(list, m_first, level, ",", false);
    nodes::AppendMathChar(list, ')');
}

void PointNode::WriteMathML(MathMLOutput& writer)
{
    writer.StartFencedWith("(", ")");
    CompositeNode::WriteMathML(writer);
    writer.EndFenced();
}

// ---- or ----

CompositeNode* OrNode::NewWithFirstClone() const
{
    return new OrNode(m_first ? m_first->Clone() : nullptr);
}

void OrNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, "VXOr", m_count);
    PutChildren(link, mode);
}

void OrNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, "Or", m_count);
    PutPlainChildren(link);
}

void OrNode::BuildComponents(CompList& list, int level)
{
    BuildSeparated(list, m_first, std::min(level, int(Level::Whole)), " or ", false);
}

void OrNode::WriteMathML(MathMLOutput& writer)
{
    WriteSeparated(writer, m_first, "or");
}

// ---- absolute value ----

AbsNode::AbsNode(ExprNode* child) : FixedNode(1)
{
    SetPart(0, child);
}

AbsNode::AbsNode(const SourceRange& range, ExprNode* child) : FixedNode(range, 1)
{
    SetPart(0, child);
}

bool AbsNode::OfMatrix() const
{
    return Child() && Child()->GetTag() == TypeTag("matN");
}

void AbsNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, OfMatrix() ? "VXDet" : "VXAbs", 1);
    if (Child())
        Child()->PutPackageForm(link, mode);
    else
        MLPutSymbol(link, "Null");
}

void AbsNode::PutPlainForm(MLINK link) const
{
    MLPutFunction(link, OfMatrix() ? "Det" : "Abs", 1);
    if (Child())
        Child()->PutPlainForm(link);
    else
        MLPutSymbol(link, "Null");
}

void AbsNode::BuildComponents(CompList& list, int)
{
    list.Append(new AbsValueComp(nodes::Built(Child(), Level::Sum)));
}

void AbsNode::WriteMathML(MathMLOutput& writer)
{
    writer.StartFencedWith("|", "|");
    if (OfMatrix())
        static_cast<MatrixNode*>(Child())->WriteTable(writer);
    else
        nodes::WriteChild(writer, Child());
    writer.EndFenced();
}

bool AbsNode::IsNumericFactor() const
{
    return Child() && Child()->IsNumericFactor();
}

bool AbsNode::IsNumericExpr() const
{
    return Child() && Child()->IsNumericExpr();
}

double AbsNode::GetRealValue() const
{
    return Child() ? std::fabs(Child()->GetRealValue()) : 0.0;
}

void AbsNode::GetText(Str255& out)
{
    Str255 inner;
    if (Child())
        Child()->GetText(inner);
    out = Str255("|");
    out.Append(inner);
    out.AppendChar('|');
}
