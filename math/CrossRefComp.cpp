#include "math/CrossRefComp.h"

#include "math/ExportElementWriters.h"

#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/ExprNode.h"
#include "foundation/EquationLabel.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/SizeStepScope.h"
#include "foundation/FontManager.h"
#include "foundation/TextOutBuffer.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kReferenceFamily = 0;

DocumentModel* DocumentOf(const TextComp& comp)
{
    ParagraphComp* paragraph = comp.GetParagraph();
    return paragraph ? paragraph->GetDocument() : nullptr;
}

// The paragraphs whose content a reference is expanding into an expression
// node right now: a reference to its own equation, or equations that refer
// to each other, stop there instead of expanding without end.
std::vector<ParagraphComp*>& ParagraphsBeingBuilt()
{
    static std::vector<ParagraphComp*> building;
    return building;
}

} // namespace

CrossRefComp::CrossRefComp(EquationLabel* label) : TargetLink(label)
{
    // Not in any row yet: the text takes the same-document form.
    if (ParagraphComp* target = label ? label->GetOwner() : nullptr) {
        m_number = target->GetId();
        Str255 text;
        label->GetReferenceText(text, false);
        m_text.Assign(text);
    }
}

CrossRefComp::CrossRefComp(int32_t number, const Str31& text) : m_number(number), m_text(text) {}

CrossRefComp::CrossRefComp(const CrossRefComp& other)
    : BoxComp(other), TargetLink(), m_number(other.m_number), m_text(other.m_text)
{
}

EquationLabel* CrossRefComp::GetLabel() const
{
    return static_cast<EquationLabel*>(GetTarget());
}

Str255 CrossRefComp::GetTextString() const
{
    Str255 out;
    for (int i = 0; i < m_text.GetLength(); ++i)
        out.AppendChar(m_text.GetAt(i));
    return out;
}

void CrossRefComp::UpdateText()
{
    EquationLabel* label = GetLabel();
    ParagraphComp* target = label ? label->GetOwner() : nullptr;
    if (!target)
        return;
    // A label whose paragraph has left the document (cut, or being deleted)
    // keeps the text the reference shows until it is back.
    DocumentModel* own = DocumentOf(*this);
    if (own && !target->GetDocument())
        return;
    bool sameDocument = own == target->GetDocument();
    m_number = sameDocument ? target->GetId() : -target->GetId();
    Str255 text;
    label->GetReferenceText(text, !sameDocument);
    m_text.Assign(text);
}

ParagraphComp* CrossRefComp::GetTargetParagraph()
{
    if (!GetLabel() && m_number > 0) {
        ParagraphComp* own = GetParagraph();
        ParagraphList* paragraphs = own ? own->GetOwnerList() : nullptr;
        ParagraphComp* target = paragraphs ? paragraphs->FindById(m_number) : nullptr;
        // A paragraph whose style no longer has a label leaves the reference
        // unlinked with its last text.
        if (target && target->GetLabel())
            SetTarget(target->GetLabel());
    }
    EquationLabel* label = GetLabel();
    return label ? label->GetOwner() : nullptr;
}

TextComp* CrossRefComp::Clone(LinkRemap& remap)
{
    auto* copy = new CrossRefComp(*this);
    EquationLabel* label = GetLabel();
    if (!label && m_number > 0 && GetTargetParagraph())
        label = GetLabel();
    if (label) {
        copy->Attach(label);
        remap.AddLink(label, copy);
    }
    return copy;
}

void CrossRefComp::Measure()
{
    GetTargetParagraph();
    UpdateText();
    SizeStepScope size(m_sizeStep);
    int savedFamily = gDrawContext.GetFontFamily();
    gDrawContext.SetFontFamily(kReferenceFamily);
    gDrawContext.GetTextExtent(GetTextString(), m_bounds);
    gDrawContext.SetFontFamily(savedFamily);
    m_needsLayout = 0;
}

void CrossRefComp::Draw()
{
    SizeStepScope size(m_sizeStep);
    int savedFamily = gDrawContext.GetFontFamily();
    gDrawContext.SetFontFamily(kReferenceFamily);
    gDrawContext.MoveTo(m_origin);
    gDrawContext.DrawString(GetTextString());
    gDrawContext.SetFontFamily(savedFamily);
}

bool CrossRefComp::IsEqual(const TextComp& other) const
{
    auto* reference = dynamic_cast<const CrossRefComp*>(&other);
    return reference && reference->m_text == m_text;
}

ExprNode* CrossRefComp::BuildNode()
{
    ParagraphComp* target = GetTargetParagraph();
    if (!target || !target->IsEquationStyle())
        return nullptr;
    auto& building = ParagraphsBeingBuilt();
    if (std::find(building.begin(), building.end(), target) != building.end())
        return nullptr;
    building.push_back(target);
    struct Leave {
        std::vector<ParagraphComp*>& list;
        ~Leave() { list.pop_back(); }
    } leave{building};
    ExprNode* node = target->GetRow()->BuildNode();
    // The node stands for this reference: an answer replaces the reference,
    // never the equation it points at.
    if (node && GetOwner()) {
        SourceRange place;
        int index = GetOwner()->Find(this);
        place.SetParagraphRange(GetOwner(), index, index + 1);
        node->SetRange(place);
    }
    return node;
}

// A reference is written as one while its equation stands in the reference's
// own list of paragraphs; one left unlinked (its equation deleted, or in
// another document) writes the text it shows, never the label name that
// another equation may bear by now.
bool CrossRefComp::TargetsOwnList()
{
    ParagraphComp* target = m_number > 0 ? GetTargetParagraph() : nullptr;
    ParagraphComp* own = GetParagraph();
    return target && own && target->GetLabel() == GetLabel() && target->GetOwnerList() &&
        target->GetOwnerList() == own->GetOwnerList();
}

void CrossRefComp::WriteLaTeX(LaTeXWriter& writer)
{
    if (TargetsOwnList()) {
        Str255 number;
        GetLabel()->GetLaTeXName(number);
        if (auto* objects = dynamic_cast<LaTeXObjectWriter*>(&writer)) {
            objects->WriteReference(number, GetTextString());
            return;
        }
        writer.WriteString("\\ref{");
        writer.WriteString(number.CStr());
        writer.WriteString("}");
        return;
    }
    // A reference whose target is gone shows the text it was read with.
    const Str255 text = GetTextString();
    writer.WriteText(std::string_view(text.GetPtrAt(0), text.GetLength()), LaTeXPlace::kText);
}

void CrossRefComp::WriteText(TextOutBuffer& out) const
{
    Str255 text = GetTextString();
    text.MapHighChars();
    for (int i = 0; i < text.GetLength(); ++i)
        out.WriteCode(static_cast<unsigned char>(text.GetAt(i)), FontManager::kTextFace);
}

void CrossRefComp::Write(DocWriter& writer)
{
    UpdateText();
    writer.WriteLong(m_number);
    writer.WriteByte(static_cast<uint8_t>(m_text.GetLength()));
    for (int i = 0; i < m_text.GetLength(); ++i)
        writer.WriteByte(static_cast<uint8_t>(m_text.GetAt(i)));
}

void CrossRefComp::Read(DocReader& reader)
{
    m_number = reader.ReadLong();
    // The length byte may claim up to 255 characters: all of them are read,
    // so the record stays aligned, and the first 31 are kept (the text is
    // remade from the label once the reference finds it).
    int length = reader.ReadByte();
    char buffer[256];
    reader.ReadBytes(buffer, length);
    m_text.Clear();
    for (int i = 0; i < std::min(length, static_cast<int>(Str31::kCapacity)); ++i)
        m_text.AppendChar(buffer[i]);
}

void CrossRefComp::TargetGone()
{
    UpdateText();
    TargetLink::TargetGone();
}

namespace {

int LinkReferencesInRow(CompList& row)
{
    int linked = 0;
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp* comp = row.GetAt(i);
        if (comp->Tag() == tag_Ref) {
            auto* reference = static_cast<CrossRefComp*>(comp);
            reference->GetTargetParagraph();
            linked += reference->GetLabel() ? 1 : 0;
        }
        for (int child = 1; child <= comp->GetChildCount(); ++child)
            if (CompList* nested = comp->GetChild(child))
                linked += LinkReferencesInRow(*nested);
    }
    return linked;
}

} // namespace

int LinkCrossReferences(ParagraphList& paragraphs)
{
    int linked = 0;
    for (int i = 1; i <= paragraphs.GetCount(); ++i)
        linked += LinkReferencesInRow(*paragraphs.GetAt(i)->GetRow());
    return linked;
}
