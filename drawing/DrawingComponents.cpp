#include "drawing/DrawingComponents.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"
#include "drawing/GroupConstraints.h"
#include "drawing/LineConstraints.h"
#include "drawing/PointConstraints.h"
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

void RegisterConstraintKinds()
{
    ArchiveRegistry::RegisterConstraint(tag_AngC, &Make<AngleConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_AttC, &Make<CoincidentConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_DstC, &Make<DistanceConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_FixC, &Make<FixedPointConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_MidC, &Make<MidpointConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_BezC, &Make<PointOnCurveConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_CirC, &Make<PointOnCircleConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_SegC, &Make<PointOnSegmentConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_ParC, &Make<ParallelConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_PerC, &Make<PerpendicularConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_RadC, &Make<RadiusConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_PltC, &Make<PointOnPlotConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_ArcC, &Make<ArcConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_crtC, &Make<CircleTangentConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_cutC, &Make<CurveTangentConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_pltC, &Make<PlotTangentConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_horC, &Make<HorizontalConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_vrtC, &Make<VerticalConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_slpC, &Make<SlopeConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_EqnC, &Make<EquationConstraint>);
    ArchiveRegistry::RegisterConstraint(tag_EqlC, &Make<EqualLengthConstraint>);
}

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
        RegisterConstraintKinds();
        RegisterPlotItems2D();
        InitBezierTables();
        return true;
    }();
    (void)registered;
}
