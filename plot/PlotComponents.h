#pragma once
// Registers the 2-D plot component ("2Plt") with the component factory, its
// items with the archive's readers, and the plot made from a plot command the
// kernel answers; does nothing after the first call.
void RegisterPlotComponents();
