#include "math/RefComponents.h"

#include "foundation/ComponentFactory.h"
#include "foundation/ComponentRegistry.h"
#include "foundation/CrossRefMaker.h"
#include "math/CrossRefComp.h"

void RegisterRefComponents()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    ComponentRegistry::Register(tag_Ref, ComponentCodecFor<CrossRefComp>());
    SetCrossRefMaker([](EquationLabel* label) -> TextComp* { return new CrossRefComp(label); });
}
