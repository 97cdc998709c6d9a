#include "kernel/TShuffleAction.h"

#include "kernel/KernelLink.h"

ExprNode* TShuffleAction::Compute()
{
    KernelLink* link = KernelLink::Get();
    if (!link || !Part())
        return nullptr;
    return link->Shuffle(GetKernelMode(), Part());
}
