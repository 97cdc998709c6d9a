#pragma once
// Start-up and exit services of subsystems that are not in the program yet.
// The application calls each at its place in the start-up and exit order;
// each does nothing until its subsystem arrives and fills it in here:
//   FillKernelNameTable                  - the kernel name table (529 names)
//   RegisterDrawingMakers, FreeDrawingMakers - drawings
//   InstallClipboardWriters              - Copy as MathML and Copy as SVG
// (The Bezier tables of drawings are filled by drawing/CurveShape.h.)
#include "drawing/CurveShape.h"

void FillKernelNameTable();
void RegisterDrawingMakers();
void FreeDrawingMakers();
void InstallClipboardWriters();
