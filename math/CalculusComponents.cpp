#include "math/CalculusComponents.h"

#include "foundation/ComponentFactory.h"
#include "math/IntegralComp.h"
#include "math/LimitComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/ProductComp.h"
#include "math/RadicalComp.h"
#include "math/SumComp.h"
#include "math/TagVarComp.h"
#include "math/TotalDerivativeComp.h"

void RegisterCalculusComponents()
{
    RegisterComponentClasses();
    ComponentRegistry::Register(tag_Inte, ComponentCodecFor<IntegralComp>());
    ComponentRegistry::Register(tag_Sum, ComponentCodecFor<SumComp>());
    ComponentRegistry::Register(tag_Prod, ComponentCodecFor<ProductComp>());
    ComponentRegistry::Register(tag_Sqrt, ComponentCodecFor<RadicalComp>());
    ComponentRegistry::Register(tag_Limt, ComponentCodecFor<LimitComp>());
    ComponentRegistry::Register(tag_TagV, ComponentCodecFor<TagVarComp>());
    ComponentRegistry::Register(tag_totD, ComponentCodecFor<TotalDerivativeComp>());
    ComponentRegistry::Register(tag_parD, ComponentCodecFor<PartialDerivativeComp>());
}
