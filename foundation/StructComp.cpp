#include "foundation/StructComp.h"

#include "foundation/DocPosition.h"

StructComp::StructComp() : m_first(new CompList)
{
    AdoptRow(m_first);
}

StructComp::StructComp(std::unique_ptr<CompArray> components) : m_first(new CompList(std::move(components)))
{
    AdoptRow(m_first);
}

StructComp::StructComp(const StructComp& other, LinkRemap& remap)
    : BoxComp(other), m_first(new CompList(other.m_first->CloneItems(remap)))
{
    AdoptRow(m_first);
}

StructComp::~StructComp()
{
    delete m_first;
}

void StructComp::AdoptRow(CompList* row)
{
    row->SetOwner(this, 1);
}

void StructComp::MarkDirty()
{
    for (int i = 1; i <= GetChildCount(); ++i)
        if (CompList* row = GetChild(i))
            row->InvalidateAll();
    m_needsLayout = 1;
}

void StructComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    m_first->SetOrigin(point);
}

void StructComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    for (int i = 1; i <= GetChildCount(); ++i) {
        CompList* row = GetChild(i);
        if (row && row->HitTest(point)) {
            row->PositionFromPoint(out, point, nearest);
            return;
        }
    }
    TextComp::PositionFromPoint(out, point, nearest);
}

TextComp* StructComp::ComponentAt(const IntPoint& point)
{
    for (int i = 1; i <= GetChildCount(); ++i) {
        CompList* row = GetChild(i);
        if (row && row->HitTest(point)) {
            TextComp* inner = row->ComponentAtPoint(point);
            return inner ? inner : this;
        }
    }
    return this;
}

bool StructComp::IsEqual(const TextComp& other) const
{
    if (Tag() != other.Tag())
        return false;
    for (int i = 1; i <= GetChildCount(); ++i) {
        CompList* mine = GetChild(i);
        CompList* theirs = other.GetChild(i);
        if (!mine || !theirs)
            return mine == theirs;
        if (!mine->IsEqual(*theirs))
            return false;
    }
    return true;
}

int StructComp::IndexOfChild(const CompList* row) const
{
    for (int i = 1; i <= GetChildCount(); ++i)
        if (GetChild(i) == row)
            return i;
    return 0;
}

void StructComp::Write(DocWriter& writer)
{
    m_first->Write(writer);
}

void StructComp::Read(DocReader& reader)
{
    m_first->Read(reader);
    m_needsLayout = 1;
}

void StructComp::GetEntryPosition(DocPosition& out)
{
    out = DocPosition(m_first, 1);
}

void StructComp::SetFontId(int fontId)
{
    for (int i = 1; i <= GetChildCount(); ++i)
        if (CompList* row = GetChild(i))
            row->SetFont(fontId, 1, row->GetCount() + 1);
}

void StructComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    for (int i = 1; i <= GetChildCount(); ++i)
        if (CompList* row = GetChild(i))
            row->SetSizeStep(step);
}
