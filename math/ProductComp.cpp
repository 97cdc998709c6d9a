#include "math/ProductComp.h"

#include "foundation/LaTeXWriter.h"

TextComp* ProductComp::Clone(LinkRemap& remap)
{
    auto* copy = new ProductComp(Upper()->CloneItems(remap), Lower()->CloneItems(remap));
    copy->SetSizeStep(GetSizeStep());
    return copy;
}

void ProductComp::WriteLaTeXCommand(LaTeXWriter& writer) const
{
    writer.WriteString("\\prod");
}
