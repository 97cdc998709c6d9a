#pragma once
// Pushes a size step on the drawing context's size stack for the length of a
// scope, and pops it again also when the scope is left by an exception.
#include "foundation/DrawContext.h"

class SizeStepScope {
public:
    explicit SizeStepScope(int step) { gDrawContext.PushSize(step); }
    ~SizeStepScope() { gDrawContext.PopSize(); }
    SizeStepScope(const SizeStepScope&) = delete;
    SizeStepScope& operator=(const SizeStepScope&) = delete;
};
