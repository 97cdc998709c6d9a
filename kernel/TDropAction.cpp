#include "kernel/TDropAction.h"

#include "foundation/ExprNode.h"
#include "kernel/KernelLink.h"

TDropAction::TDropAction(const DocSelection& selection, int kernelMode, int placement, ExprNode* whole,
                         const ExprNode* part, ExprNode* source)
    : TCalculationAction(selection, kernelMode, placement, whole, part), m_source(source)
{}

TDropAction::~TDropAction() = default;

ExprNode* TDropAction::Compute()
{
    KernelLink* link = KernelLink::Get();
    if (!link || !Part() || !m_source)
        return nullptr;
    return link->Drop(GetKernelMode(), Part(), m_source.get());
}
