#include "app/ElementCommands.h"

#include "drawing/DiagramComp.h"
#include "foundation/DocSelection.h"
#include "math/AbsValueComp.h"
#include "math/DifferentialComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/IntegralComp.h"
#include "math/LimitComp.h"
#include "math/ParenComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/RadicalComp.h"
#include "math/SubscriptComp.h"
#include "math/SumComp.h"
#include "math/TotalDerivativeComp.h"

TextComp* MakeElementComponent(UINT id)
{
    switch (id) {
    case ID_ELEMENT_FRACTION: return new FractionComp;
    case ID_ELEMENT_EXPONENT: return new ExponentComp;
    case ID_ELEMENT_SUBSCRIPT: return new SubscriptComp;
    case ID_ELEMENT_RADICAL: return new RadicalComp;
    case ID_ELEMENT_TOTAL_DERIVATIVE: return new TotalDerivativeComp;
    case ID_ELEMENT_PRIME: return new ExponentComp(int(ExponentComp::kPrime));
    case ID_ELEMENT_DOUBLE_PRIME: return new ExponentComp(int(ExponentComp::kDoublePrime));
    case ID_ELEMENT_PARTIAL_DERIVATIVE: return new PartialDerivativeComp(new PartialDifferentialComp);
    case ID_ELEMENT_INTEGRAL: return new IntegralComp;
    case ID_ELEMENT_SUMMATION: return new SumComp;
    case ID_ELEMENT_LIMIT: return new LimitComp;
    case ID_ELEMENT_GROUP: return new ParenComp;
    case ID_ELEMENT_ABSOLUTE_VALUE: return new AbsValueComp;
    case ID_ELEMENT_DRAWING: return new DiagramComp;
    default: return nullptr;
    }
}

bool IsElementRefusedAt(UINT id, const DocSelection& selection)
{
    // A drawing's labels hold text and values, not drawings of their own.
    return id == ID_ELEMENT_DRAWING && selection.FindEnclosing(tag_Draw) != nullptr;
}
