#include "kernel/KernelServices.h"

#include "kernel/KernelRowBuilder.h"
#include "kernel/NameTable.h"

void InstallKernelServices()
{
    RegisterNameTable();
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
}
