#include "app/StartupServices.h"

#include "kernel/KernelServices.h"

void FillKernelNameTable()
{
    InstallKernelServices();
}

void RegisterDrawingMakers() {}

void FreeDrawingMakers() {}
