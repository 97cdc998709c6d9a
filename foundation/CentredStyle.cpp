#include "foundation/CentredStyle.h"

#include "foundation/ParagraphLayout.h"

void CentredStyle::Place(ParagraphComp& paragraph, const IntPoint& point)
{
    ParagraphLayout::Place(*this, paragraph, point, ParagraphLayout::Alignment::centred);
}
