#pragma once
// A drawing target with no window behind it: the benchmarks lay out and draw
// on an image device, at the default size level, and nothing scrolls or
// repaints.
#include "foundation/DrawTarget.h"

class BenchScreen : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect&, bool) override {}
    void ShowTargetRect(const Rect&) override {}
};
