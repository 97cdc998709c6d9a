#include "app/StartupServices.h"

#include "kernel/KernelServices.h"

void FillKernelNameTable()
{
    InstallKernelServices();
}

void InitBezierTables() {}

void RegisterDrawingMakers() {}

void FreeDrawingMakers() {}
