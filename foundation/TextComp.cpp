#include "foundation/TextComp.h"

#include "foundation/RowNodeBuilder.h"

#include "foundation/CompList.h"
#include "foundation/DocPosition.h"

void TextComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    CompList* owner = GetOwner();
    if (!owner) {
        out = DocPosition();
        return;
    }
    int index = owner->Find(this);
    if (nearest) {
        Rect bounds;
        GetAbsBounds(bounds);
        int middle = (bounds.left + bounds.right) / 2;
        if (point.x > middle)
            ++index;
    }
    out = DocPosition(owner, index);
}

bool TextComp::IsEqual(const TextComp& other) const
{
    return Tag() == other.Tag() && GetChar() == other.GetChar();
}

ParagraphComp* TextComp::GetParagraph() const
{
    CompList* owner = GetOwner();
    TextComp* holder = owner ? owner->GetOwner() : nullptr;
    return holder ? holder->GetParagraph() : nullptr;
}

void TextComp::GetEntryPosition(DocPosition& out)
{
    CompList* owner = GetOwner();
    out = owner ? DocPosition(owner, owner->Find(this) + 1) : DocPosition();
}

int TextComp::IndexInOwner() const
{
    CompList* owner = GetOwner();
    return owner ? owner->Find(this) : 0;
}

ExprNode* TextComp::BuildNode()
{
    RowNodeBuilder* builder = RowNodeBuilder::Get();
    return builder ? builder->BuildComponentNode(*this) : nullptr;
}
