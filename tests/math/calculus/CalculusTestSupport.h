#pragma once
// The calculus component tests place their paragraphs with the row's origin
// at (20, 100).
#include "support/math/MathTestSupport.h"

#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DrawContext.h"
#include "foundation/LinkRemap.h"
#include "foundation/MemoryStream.h"
#include "foundation/SizeStepScope.h"
#include "math/IntegralComp.h"
#include "math/LimitComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/ProductComp.h"
#include "math/RadicalComp.h"
#include "math/SumComp.h"
#include "math/TagVarComp.h"
#include "math/TotalDerivativeComp.h"
#include "platform/Exceptions.h"

class CalculusTest : public MathTest {
protected:
    CalculusTest() { paragraphOrigin = IntPoint(20, 100); }
};
