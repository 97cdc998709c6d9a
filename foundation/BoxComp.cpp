#include "foundation/BoxComp.h"

#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/EditCodes.h"
#include "foundation/KeyCodes.h"

BoxComp::BoxComp(const BoxComp& other)
    : TextComp(), m_bounds(other.m_bounds), m_origin(other.m_origin), m_sizeStep(other.m_sizeStep)
{
}

void BoxComp::Invalidate()
{
    m_needsLayout = 1;
    if (m_owner)
        m_owner->ComponentChanged(this);
}

void BoxComp::GetAbsBounds(Rect& out) const
{
    out = m_bounds;
    out.Offset(m_origin);
}

bool BoxComp::HitTest(const IntPoint& point) const
{
    Rect bounds;
    GetAbsBounds(bounds);
    return bounds.Contains(point);
}

TextComp* BoxComp::ComponentAt(const IntPoint& point)
{
    return HitTest(point) ? this : nullptr;
}

void BoxComp::SetSizeStep(signed char step)
{
    m_needsLayout = 1;
    m_sizeStep = step;
}

TextComp* BoxComp::OwnerComponent() const
{
    return m_owner ? m_owner->GetOwner() : nullptr;
}

int BoxComp::MapKey(DocPosition& position, int key, bool shift, bool ctrl)
{
    switch (key) {
    case KeyCode::kBackspace: {
        int index = position.GetIndex();
        if (index <= 1)
            return EditCode::kPreviousField;
        CompList* row = position.GetList();
        TextComp* before = row ? row->GetAt(index - 1) : nullptr;
        return before && !IsNotChar(before->Tag()) ? EditCode::kDelete : EditCode::kSelectPrevious;
    }
    case KeyCode::kTab:
    case KeyCode::kReturn:
        return EditCode::kNextField;
    default: {
        TextComp* outer = OwnerComponent();
        return outer ? outer->MapKey(position, key, shift, ctrl) : 0;
    }
    }
}

bool BoxComp::IsCommandEnabled(int commandId, int extra) const
{
    TextComp* outer = OwnerComponent();
    return outer ? outer->IsCommandEnabled(commandId, extra) : TextComp::IsCommandEnabled(commandId, extra);
}
