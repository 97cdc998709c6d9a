#include "app/StartupServices.h"

void FillKernelNameTable() {}

void InitBezierTables() {}

void RegisterDrawingMakers() {}

void FreeDrawingMakers() {}
