#pragma once
// The calculus component tests place their paragraphs with the row's origin
// at (20, 100).
#include "support/math/MathTestSupport.h"

class CalculusTest : public MathTest {
protected:
    CalculusTest() { paragraphOrigin = IntPoint(20, 100); }
};
