#include "app/StartupServices.h"

void FillKernelNameTable() {}

void RegisterDrawingMakers() {}

void FreeDrawingMakers() {}
