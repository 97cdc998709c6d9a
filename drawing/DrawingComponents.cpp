#include "drawing/DrawingComponents.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/PlotShape.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/ArchiveRegistry.h"
#include "foundation/ComponentFactory.h"
#include "plot/PlotCurveSet.h"

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
        ArchiveRegistry::RegisterShape(tag_Segm, &Make<SegmentShape>);
        ArchiveRegistry::RegisterShape(tag_BCrv, &Make<CurveShape>);
        ArchiveRegistry::RegisterShape(tag_Tria, &Make<TriangleShape>);
        ArchiveRegistry::RegisterShape(tag_Quad, &Make<RectangleShape>);
        ArchiveRegistry::RegisterShape(tag_Poly, &Make<PolygonShape>);
        ArchiveRegistry::RegisterShape(tag_Plot, &Make<PlotShape>);
        ArchiveRegistry::RegisterSharedRef(SharedRefKind::Variable, &Make<DrawVariable>, tag_null);
        ArchiveRegistry::RegisterSharedRef(SharedRefKind::Vertex, &Make<VertexShape>, tag_Vert);
        ArchiveRegistry::RegisterSharedRef(SharedRefKind::Segment, &Make<SegmentShape>, tag_Segm);
        ArchiveRegistry::RegisterSharedRef(SharedRefKind::Curve, &Make<CurveShape>, tag_BCrv);
        ArchiveRegistry::RegisterSharedRef(SharedRefKind::PlotShape, &Make<PlotShape>, tag_Plot);
        RegisterPlotItems2D();
        InitBezierTables();
        return true;
    }();
    (void)registered;
}
