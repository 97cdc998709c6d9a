#include "foundation/ParagraphStyle.h"

#include "foundation/Str255.h"

void ParagraphStyle::LabelText(const EquationNumber&, Str255& out) const
{
    out.Clear();
}

void ParagraphStyle::ReferenceText(const EquationNumber&, Str255& out, bool) const
{
    out.Clear();
}
