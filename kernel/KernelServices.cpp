#include "kernel/KernelServices.h"

#include "kernel/NameTable.h"

void InstallKernelServices()
{
    RegisterNameTable();
}
