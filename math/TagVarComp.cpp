#include "math/TagVarComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "math/RowForms.h"

TagVarComp::TagVarComp(std::unique_ptr<CompArray> content, int32_t tagNumber)
    : StructComp(std::move(content)), m_tagNumber(tagNumber)
{
}

TextComp* TagVarComp::Clone(LinkRemap& remap)
{
    auto* copy = new TagVarComp(m_first->CloneItems(remap), m_tagNumber);
    copy->SetSizeStep(m_sizeStep);
    return copy;
}

bool TagVarComp::IsEqual(const TextComp& other) const
{
    auto* tagVar = dynamic_cast<const TagVarComp*>(&other);
    return tagVar && tagVar->m_tagNumber == m_tagNumber && StructComp::IsEqual(other);
}

void TagVarComp::Measure()
{
    m_first->LayoutToContextWidth();
    m_bounds = m_first->GetRect();
    m_needsLayout = 0;
}

void TagVarComp::Draw()
{
    m_first->Draw();
}

void TagVarComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    TextComp::PositionFromPoint(out, point, nearest);
}

void TagVarComp::WriteLaTeX(LaTeXWriter& writer)
{
    RowForms::WritePlain(writer, *m_first);
}

void TagVarComp::WriteText(TextOutBuffer& out) const
{
    m_first->WriteTextAll(out);
}

void TagVarComp::Write(DocWriter& writer)
{
    m_first->Write(writer);
    writer.WriteLong(m_tagNumber);
}

void TagVarComp::Read(DocReader& reader)
{
    m_needsLayout = 1;
    m_first->Read(reader);
    m_tagNumber = reader.ReadLong();
}
