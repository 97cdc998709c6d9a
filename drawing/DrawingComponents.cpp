#include "drawing/DrawingComponents.h"

#include "drawing/CircleShape.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/VertexShape.h"
#include "foundation/ArchiveRegistry.h"
#include "foundation/ComponentFactory.h"

namespace {

template <class T>
ArchiveItem* Make()
{
    return new T;
}

} // namespace

void RegisterDrawingComponents()
{
    static const bool registered = [] {
        RegisterComponentClasses();
        ComponentRegistry::Register(tag_Draw, ComponentCodecFor<DiagramComp>());
        ComponentRegistry::Register(tag_VDsp, ComponentCodecFor<DrawValueComp>());
        ArchiveRegistry::RegisterShape(tag_Vert, &Make<VertexShape>);
        ArchiveRegistry::RegisterShape(tag_Circ, &Make<CircleShape>);
        ArchiveRegistry::RegisterSharedRef(SharedRefKind::Variable, &Make<DrawVariable>, tag_null);
        ArchiveRegistry::RegisterSharedRef(SharedRefKind::Vertex, &Make<VertexShape>, tag_Vert);
        return true;
    }();
    (void)registered;
}
