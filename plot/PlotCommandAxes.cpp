#include "plot/PlotCommandAxes.h"

#include "kernel/CompositeNode.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSupport.h"

namespace {

std::string NameOf(const ExprNode* node)
{
    auto* symbol = dynamic_cast<const SymbolNode*>(node);
    if (!symbol)
        return {};
    return symbol->IsBuiltin() ? std::string(gBuiltinNames[symbol->Builtin()].display) : symbol->FreeText();
}

} // namespace

namespace plot {

ExprNode* NameNode(const std::string& name)
{
    const int entry = TheNameTable().FindRange(name.data(), name.data() + name.size());
    return entry > 0 ? new SymbolNode(entry) : new SymbolNode(name);
}

PlotAxisParameters AxisOf(const ExprNode* range, const char* defaultName)
{
    PlotAxisParameters axis{defaultName, -1, 1};
    auto* list = dynamic_cast<const CompositeNode*>(range);
    if (!list)
        return axis;
    if (const ExprNode* name = list->ChildAt(1); name && name->GetTag() == tag_symN)
        axis.name = NameOf(name);
    if (const ExprNode* minimum = list->ChildAt(2))
        axis.minimum = minimum->GetRealValue();
    if (const ExprNode* maximum = list->ChildAt(3))
        axis.maximum = maximum->GetRealValue();
    return axis;
}

} // namespace plot
