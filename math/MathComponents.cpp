#include "math/MathComponents.h"

#include "foundation/ComponentFactory.h"
#include "math/CalculusComponents.h"
#include "math/FractionAndDelimiterComponents.h"
#include "math/GridAndObjectComponents.h"
#include "math/RefComponents.h"

void RegisterMathComponents()
{
    RegisterComponentClasses();
    RegisterFractionAndDelimiterComponents();
    RegisterCalculusComponents();
    RegisterGridAndObjectComponents();
    RegisterRefComponents();
}
