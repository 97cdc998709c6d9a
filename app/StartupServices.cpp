#include "app/StartupServices.h"

#include "drawing/DrawingMakers.h"
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
