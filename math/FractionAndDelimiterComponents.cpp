#include "math/FractionAndDelimiterComponents.h"

#include "foundation/ComponentFactory.h"
#include "math/AbsValueComp.h"
#include "math/AccentComp.h"
#include "math/BracketComp.h"
#include "math/ConjugateComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/ParenComp.h"
#include "math/PlaceholderComp.h"
#include "math/SubscriptComp.h"

void RegisterFractionAndDelimiterComponents()
{
    RegisterComponentClasses();
    ComponentRegistry::Register(tag_Frac, ComponentCodecFor<FractionComp>());
    ComponentRegistry::Register(tag_Expo, ComponentCodecFor<ExponentComp>());
    ComponentRegistry::Register(tag_Subs, ComponentCodecFor<SubscriptComp>());
    ComponentRegistry::Register(tag_AbsV, ComponentCodecFor<AbsValueComp>());
    ComponentRegistry::Register(tag_brcG, ComponentCodecFor<BracketComp>());
    ComponentRegistry::Register(tag_parG, ComponentCodecFor<ParenComp>());
    ComponentRegistry::Register(tag_Over, ComponentCodecFor<ConjugateComp>());
    ComponentRegistry::Register(tag_OvSc, ComponentCodecFor<AccentComp>());
    ComponentRegistry::Register(tag_Miss, ComponentCodecFor<PlaceholderComp>());
}
