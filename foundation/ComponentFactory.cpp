#include "foundation/ComponentFactory.h"

#include "foundation/CharBlockComp.h"

#include <algorithm>

const std::array<TypeTag, 29> kFactoryTags = {
    tag_chBk, tag_Prod, tag_Sum,  tag_AbsV, tag_brcG, tag_parG, tag_parD, tag_totD, tag_Expo, tag_Frac,
    tag_eqSt, tag_Matr, tag_Tabl, tag_splF, tag_Inte, tag_Limt, tag_Miss, tag_Over, tag_OvSc, tag_Meta,
    tag_2Plt, tag_3Plt, tag_Sqrt, tag_Subs, tag_Ref,  tag_Link, tag_TagV, tag_Draw, tag_VDsp,
};

TextComp* TextComp::CreateFromTag(TypeTag tag)
{
    if (std::find(kFactoryTags.begin(), kFactoryTags.end(), tag) == kFactoryTags.end())
        return nullptr;
    return CreateComponentFromTag(tag);
}

void RegisterComponentClasses()
{
    static const bool registered = [] {
        if (!ComponentRegistry::Find(tag_chBk))
            ComponentRegistry::Register(tag_chBk, ComponentCodecFor<CharBlockComp>());
        return true;
    }();
    (void)registered;
}
