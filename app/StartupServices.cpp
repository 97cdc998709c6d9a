#include "app/StartupServices.h"

#include "app/PileWindow.h"
#include "drawing/DrawingMakers.h"
#include "kernel/KernelServices.h"

void FillKernelNameTable()
{
    InstallKernelServices();
}

void RegisterDrawingMakers()
{
    gPilePane = gPileWindow;
    FillDrawingMakers();
}

void FreeDrawingMakers()
{
    ClearDrawingMakers();
}
