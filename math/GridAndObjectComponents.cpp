#include "math/GridAndObjectComponents.h"

#include "foundation/ComponentFactory.h"
#include "math/EquationSetComp.h"
#include "math/HyperlinkComp.h"
#include "math/MatrixComp.h"
#include "math/PictureComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/TableComp.h"

void RegisterGridAndObjectComponents()
{
    ComponentRegistry::Register(tag_Matr, ComponentCodecFor<MatrixComp>());
    ComponentRegistry::Register(tag_Tabl, ComponentCodecFor<TableComp>());
    ComponentRegistry::Register(tag_eqSt, ComponentCodecFor<EquationSetComp>());
    ComponentRegistry::Register(tag_splF, ComponentCodecFor<SplitDefinitionComp>());
    ComponentRegistry::Register(tag_Link, ComponentCodecFor<HyperlinkComp>());
    ComponentRegistry::Register(tag_Meta, ComponentCodecFor<PictureComp>());
}
