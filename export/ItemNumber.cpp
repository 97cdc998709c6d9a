#include "export/ItemNumber.h"

#include "foundation/CompList.h"
#include "foundation/EquationLabel.h"
#include "foundation/ParagraphComp.h"
#include "foundation/Str255.h"

std::string ItemNumber(const CompList& row)
{
    const auto* paragraph = dynamic_cast<const ParagraphComp*>(row.GetOwner());
    if (!paragraph || paragraph->GetRow() != &row || !paragraph->GetLabel())
        return {};
    const Str255 label = paragraph->GetLabel()->GetText();
    return std::string(label.GetPtrAt(0), std::size_t(label.GetLength()));
}
