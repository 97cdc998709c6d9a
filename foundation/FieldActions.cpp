#include "foundation/FieldActions.h"

#include "foundation/EquationLabel.h"
#include "foundation/LinkTarget.h"
#include "foundation/ParagraphComp.h"

namespace {

bool IsPlace(const DocPosition& position)
{
    return position.GetKind() != DocPosition::kNone;
}

} // namespace

void TPreviousFieldAction::Compute()
{
    const DocPosition place = m_current.GetStart().PreviousField();
    if (IsPlace(place))
        SetCaret(place);
}

void TNextFieldAction::Compute()
{
    const DocPosition place = m_current.GetEnd().NextField();
    if (IsPlace(place))
        SetCaret(place);
}

void TLeaveAfterAction::Compute()
{
    const DocPosition place = DocPosition::After(m_current.GetStart().FindEnclosing(tag_null));
    if (IsPlace(place))
        SetCaret(place);
}

void TLeaveBeforeAction::Compute()
{
    const DocPosition place = m_current.GetStart().BeforeEnclosing();
    if (IsPlace(place))
        SetCaret(place);
}

void TGoToReferenceAction::Compute()
{
    auto* link = dynamic_cast<TargetLink*>(m_reference);
    auto* label = link ? dynamic_cast<EquationLabel*>(link->GetTarget()) : nullptr;
    ParagraphComp* target = label ? label->GetOwner() : nullptr;
    if (!target || !target->GetOwnerList())
        return;
    // Only a paragraph of the document this view shows can be selected here.
    ParagraphComp* own = m_reference->GetParagraph();
    if (own && own->GetOwnerList() != target->GetOwnerList())
        return;
    m_current = DocSelection::SelectContent(target);
}
