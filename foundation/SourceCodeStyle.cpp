#include "foundation/SourceCodeStyle.h"

#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphLayout.h"

int SourceCodeStyle::GetSpaceAbove(const ParagraphComp* previous) const
{
    return previous && previous->GetStyleKind() == GetKind() ? 0 : Scaled(kCode);
}

void SourceCodeStyle::Place(ParagraphComp& paragraph, const IntPoint& point)
{
    ParagraphLayout::Place(*this, paragraph, point, ParagraphLayout::Alignment::sourceCode);
}
