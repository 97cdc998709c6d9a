#pragma once
// Registers the drawing's component classes ("Draw", "VDsp") with the
// component factory and its shapes and variables with the archive's
// readers; does nothing after the first call.
void RegisterDrawingComponents();
