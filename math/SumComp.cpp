#include "math/SumComp.h"

#include "foundation/LaTeXWriter.h"

TextComp* SumComp::Clone(LinkRemap& remap)
{
    auto* copy = new SumComp(Upper()->CloneItems(remap), Lower()->CloneItems(remap));
    copy->SetSizeStep(GetSizeStep());
    return copy;
}

void SumComp::WriteLaTeXCommand(LaTeXWriter& writer) const
{
    writer.WriteString("\\sum");
}
