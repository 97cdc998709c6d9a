#include "foundation/CrossRefMaker.h"

namespace {
CrossRefMakerFn gMaker = nullptr;
}

void SetCrossRefMaker(CrossRefMakerFn maker)
{
    gMaker = maker;
}

TextComp* MakeCrossRef(EquationLabel* label)
{
    return gMaker && label ? gMaker(label) : nullptr;
}
