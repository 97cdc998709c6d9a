#include "app/StartupServices.h"

#include "app/CBaseView.h"
#include "drawing/DrawingMakers.h"
#include "export/XhtmlExport.h"
#include "kernel/KernelServices.h"

void FillKernelNameTable()
{
    InstallKernelServices();
}

void RegisterDrawingMakers()
{
    FillDrawingMakers();
}

void FreeDrawingMakers()
{
    ClearDrawingMakers();
}

void InstallClipboardWriters()
{
    InstallCopyWriters();
    CBaseView::SetCopyWritersAvailable(true, true);
}
