#include "kernel/AccentNode.h"

#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/MathLinkCharConv.h"
#include "kernel/NodeSupport.h"

#include "math/AccentComp.h"

#include <string>

namespace {

struct AccentForms {
    unsigned char kind;
    const char* package;
    const char* plain;
    const char* mathml;
    const char* symbolSuffix;   // the marker of an accented symbol, or null
};

constexpr AccentForms kForms[] = {
    {AccentCode::Hat, "VXOverHat", "OverHat", "^", "$vxhat"},
    {AccentCode::Dot, "VXOverDot", "OverDot", ".", nullptr},
    {AccentCode::Tilde, "VXOverTilde", "OverTilde", "~", "$vxtilde"},
    {AccentCode::DoubleDot, "VXDoubleOverDot", "OverscriptBox", "..", nullptr},
    {AccentCode::Vector, "VXOverVector", "OverVector", "&#8640;", nullptr},
};

const AccentForms* FormsOf(unsigned char kind)
{
    for (const AccentForms& forms : kForms)
        if (forms.kind == kind)
            return &forms;
    return nullptr;
}

} // namespace

AccentNode::AccentNode(ExprNode* child, unsigned char kind) : FixedNode(1), m_kind(kind)
{
    SetPart(0, child);
}

AccentNode::AccentNode(const SourceRange& range, ExprNode* child, unsigned char kind)
    : FixedNode(range, 1), m_kind(kind)
{
    SetPart(0, child);
    if (child && child->HasRange() && SourceRange::SameOwner(range, child->GetSourceRange()))
        Range().start = child->GetSourceRange().start;
}

void AccentNode::PutPackageForm(MLINK link, int mode) const
{
    nodes::PutMarker(*this, link, mode);
    const AccentForms* forms = FormsOf(m_kind);
    if (!forms || !Child()) {
        if (Child())
            Child()->PutPackageForm(link, mode);
        else
            MLPutSymbol(link, "Null");
        return;
    }
    const SymbolNode* symbol = AsSymbol(Child());
    if (forms->symbolSuffix && symbol && !dynamic_cast<const ErrorNode*>(symbol)) {
        std::string name = symbol->IsBuiltin() ? symbol->Name() : MathLinkCharConv::MakeLinkString(symbol->Name().c_str(), true);
        MLPutSymbol(link, (name + forms->symbolSuffix).c_str());
        return;
    }
    MLPutFunction(link, forms->package, 1);
    Child()->PutPackageForm(link, mode);
}

void AccentNode::PutPlainForm(MLINK link) const
{
    const AccentForms* forms = FormsOf(m_kind);
    if (!forms || !Child()) {
        if (Child())
            Child()->PutPlainForm(link);
        else
            MLPutSymbol(link, "Null");
        return;
    }
    bool doubleDot = m_kind == AccentCode::DoubleDot;
    MLPutFunction(link, forms->plain, doubleDot ? 2 : 1);
    Child()->PutPlainForm(link);
    if (doubleDot)
        MLPutString(link, "..");
}

void AccentNode::BuildComponents(CompList& list, int)
{
    list.Append(new AccentComp(nodes::Built(Child(), Level::Sum), m_kind));
}

void AccentNode::WriteMathML(MathMLOutput& writer)
{
    const AccentForms* forms = FormsOf(m_kind);
    writer.Open("mover");
    nodes::WriteChild(writer, Child());
    // An unknown accent code keeps its place with an empty operator.
    nodes::WriteMo(writer, forms ? forms->mathml : "");
    writer.Close("mover");
}

bool AccentNode::IsNumericFactor() const
{
    return Child() && Child()->IsNumericFactor();
}
