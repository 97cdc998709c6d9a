#pragma once
// Registers the 2-D and 3-D plot components ("2Plt", "3Plt") with the component factory, its
// items with the archive's readers, and the plot made from a plot command the
// kernel answers; does nothing after the first call.
void RegisterPlotComponents();
