#include "drawing/MakerDialogs.h"

#include "kernel/KernelLink.h"

namespace {

MakerDialogs* gMakerDialogs = nullptr;

} // namespace

void InstallMakerDialogs(MakerDialogs* dialogs)
{
    gMakerDialogs = dialogs;
}

MakerDialogs* GetMakerDialogs()
{
    return gMakerDialogs;
}

bool IsKernelActive()
{
    const KernelLink* link = KernelLink::Get();
    return link && link->IsReady();
}
