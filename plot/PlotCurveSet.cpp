#include "plot/PlotCurveSet.h"

#include "foundation/ArchiveRegistry.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/Str255.h"
#include "kernel/CompositeNode.h"
#include "kernel/LeafNodes.h"
#include "kernel/PlotNodes.h"
#include "platform/Exceptions.h"

#include <cmath>
#include <string>

namespace {

// An item record: kind and length.
constexpr int32_t kMinItemRecord = 8;

template <class T>
ArchiveItem* Make()
{
    return new T;
}

// A point {x, y} from a kernel list; anything else is (0, 0).
DPoint PointOf(const ExprNode* node)
{
    auto* list = node && node->GetTag() == tag_lisN ? static_cast<const CompositeNode*>(node) : nullptr;
    if (!list)
        return {};
    const ExprNode* x = list->ChildAt(1);
    const ExprNode* y = list->ChildAt(2);
    return {x ? x->GetRealValue() : 0.0, y ? y->GetRealValue() : 0.0};
}

// The points of a kernel list, each read by pointOf.
template <class Point>
std::vector<Point> PointsOf(const ExprNode* node, Point (*pointOf)(const ExprNode*))
{
    std::vector<Point> points;
    if (node && node->GetTag() == tag_lisN)
        for (const ExprNode* p = static_cast<const CompositeNode*>(node)->First(); p; p = p->next)
            points.push_back(pointOf(p));
    return points;
}

std::vector<DPoint> PointsOf(const ExprNode* node) { return PointsOf(node, PointOf); }

// A point {x, y, z} from a kernel list: a missing element, or one that is
// no number, gives 0; anything else is (0, 0, 0).
Point3D Point3DOf(const ExprNode* node)
{
    auto* list = node && node->GetTag() == tag_lisN ? static_cast<const CompositeNode*>(node) : nullptr;
    if (!list)
        return {};
    const auto value = [list](int i) {
        const ExprNode* e = list->ChildAt(i);
        const double v = e ? e->GetRealValue() : 0.0;
        return std::isfinite(v) ? v : 0.0;
    };
    return {value(1), value(2), value(3)};
}

std::vector<Point3D> Points3DOf(const ExprNode* node) { return PointsOf(node, Point3DOf); }

const CompositeNode* ListOf(const ExprNode* node)
{
    return node && node->GetTag() == tag_lisN ? static_cast<const CompositeNode*>(node) : nullptr;
}

// The characters of a text: a string's own, else those its components show.
std::string PlainTextOf(ExprNode* node)
{
    if (!node)
        return {};
    if (auto* string = dynamic_cast<const StringNode*>(node))
        return string->Text();
    std::unique_ptr<CompList> row(node->ToCompList());
    Str255 text;
    row->GetPlainText(text);
    return std::string(text.GetText(), static_cast<size_t>(text.GetLength()));
}

// The item classes and the point reader of 2-D and of 3-D primitives.
struct Items2D {
    using Line = PlotLine;
    using Polyline = PlotPolyline;
    using Point = PlotPoint;
    using Text = PlotText;
    static DPoint PointFrom(const ExprNode* node) { return PointOf(node); }
    static std::vector<DPoint> PointsFrom(const ExprNode* node) { return PointsOf(node); }
};

struct Items3D {
    using Line = PlotLine3D;
    using Polyline = PlotPolyline3D;
    using Point = PlotPoint3D;
    using Text = PlotText3D;
    static Point3D PointFrom(const ExprNode* node) { return Point3DOf(node); }
    static std::vector<Point3D> PointsFrom(const ExprNode* node) { return Points3DOf(node); }
};

// A line of two points becomes a line, of any other count a polyline; a
// point and a text their items; anything else adds nothing.
template <class Items>
void AddPrimitive(PlotCurveSet& set, const ExprNode* element)
{
    const TypeTag tag = element->GetTag();
    if (tag == tag_linN) {
        auto points = Items::PointsFrom(static_cast<const GraphicsLineNode*>(element)->Points());
        if (points.size() == 2)
            set.AddItem(std::make_unique<typename Items::Line>(points[0], points[1]));
        else
            set.AddItem(std::make_unique<typename Items::Polyline>(std::move(points)));
    } else if (tag == tag_poiN) {
        set.AddItem(std::make_unique<typename Items::Point>(
            Items::PointFrom(static_cast<const GraphicsPointNode*>(element)->Point())));
    } else if (tag == tag_texN) {
        auto* text = static_cast<const GraphicsTextNode*>(element);
        set.AddItem(
            std::make_unique<typename Items::Text>(Items::PointFrom(text->Position()), PlainTextOf(text->Text())));
    }
}

} // namespace

PlotCurveSet::PlotCurveSet(const PlotCurveSet& other)
{
    for (const PlotItemList& curve : other.m_curves) {
        PlotItemList copy;
        for (const auto& item : curve)
            copy.push_back(item->Clone());
        m_curves.push_back(std::move(copy));
    }
}

void PlotCurveSet::BeginCurve()
{
    m_open = std::make_unique<PlotItemList>();
}

void PlotCurveSet::AddItem(std::unique_ptr<PlotItem> item)
{
    if (m_open)
        m_open->push_back(std::move(item));
}

int PlotCurveSet::EndCurve()
{
    if (m_open) {
        m_curves.push_back(std::move(*m_open));
        m_open.reset();
    }
    return GetCurveCount();
}

int PlotCurveSet::BuildFromGraphics(const ExprNode* answer)
{
    auto* graphics = dynamic_cast<const GraphicsNode*>(answer);
    if (!graphics)
        return 0;
    const ExprNode* content = graphics->Content();
    if (!content || content->GetTag() != tag_lisN) {
        if (!content)
            return 1;
        BeginCurve();
        AddGraphicsPrimitives(content);
        return EndCurve();
    }
    const ExprNode* first = static_cast<const CompositeNode*>(content)->First();
    if (!first)
        return 1;
    for (const ExprNode* element = first; element; element = element->next) {
        BeginCurve();
        AddGraphicsPrimitives(element);
        EndCurve();
    }
    return GetCurveCount();
}

void PlotCurveSet::AddGraphicsPrimitives(const ExprNode* element)
{
    if (element->GetTag() == tag_lisN) {
        for (const ExprNode* child = static_cast<const CompositeNode*>(element)->First(); child; child = child->next)
            AddGraphicsPrimitives(child);
    } else {
        AddPrimitive<Items2D>(*this, element);
    }
}

bool PlotCurveSet::BuildFromResult3D(const ExprNode* answer, const PlotBounds3D& bounds)
{
    if (auto* surface = dynamic_cast<const SurfaceGraphicsNode*>(answer))
        return AddSurface(surface->Heights(), bounds);
    auto* graphics = dynamic_cast<const GraphicsNode*>(answer);
    if (!graphics)
        return true;
    if (const CompositeNode* content = ListOf(graphics->Content()))
        for (const ExprNode* element = content->First(); element; element = element->next) {
            BeginCurve();
            AddGraphics3DPrimitives(element);
            EndCurve();
        }
    return true;
}

// Row r lies at y minimum + r steps, column c at x minimum + c steps: the
// steps are added up from the minimum, so that a single row or column lies
// at the minimum instead of dividing by zero.
bool PlotCurveSet::AddSurface(const ExprNode* heights, const PlotBounds3D& bounds)
{
    const CompositeNode* rows = ListOf(heights);
    const CompositeNode* first = rows ? ListOf(rows->First()) : nullptr;
    if (!first || first->GetChildCount() == 0)
        return true;
    const int rowCount = rows->GetChildCount();
    const int columnCount = first->GetChildCount();
    for (const ExprNode* row = rows->First(); row; row = row->next)
        if (!ListOf(row) || row->GetChildCount() != columnCount)
            return false;
    const double xStep = columnCount > 1 ? (bounds.maximum.x - bounds.minimum.x) / (columnCount - 1) : 0;
    const double yStep = rowCount > 1 ? (bounds.maximum.y - bounds.minimum.y) / (rowCount - 1) : 0;
    std::vector<Point3D> points;
    points.reserve(static_cast<size_t>(rowCount) * static_cast<size_t>(columnCount));
    double y = bounds.minimum.y;
    for (const ExprNode* row = rows->First(); row; row = row->next, y += yStep) {
        double x = bounds.minimum.x;
        for (const ExprNode* z = ListOf(row)->First(); z; z = z->next, x += xStep) {
            const double height = z->GetRealValue();
            points.push_back({x, y, std::isfinite(height) ? height : 0.0});
        }
    }
    BeginCurve();
    AddItem(std::make_unique<PlotSurface3D>(rowCount, columnCount, std::move(points)));
    EndCurve();
    return true;
}

void PlotCurveSet::AddGraphics3DPrimitives(const ExprNode* element)
{
    const TypeTag tag = element->GetTag();
    if (tag == tag_lisN) {
        const ExprNode* first = static_cast<const CompositeNode*>(element)->First();
        if (first && first->GetTag() == tag_plyN) {
            PolygonSetBuilder polygons;
            for (const ExprNode* child = first; child; child = child->next)
                if (child->GetTag() == tag_plyN)
                    polygons.AddPolygon(Points3DOf(static_cast<const GraphicsPolygonNode*>(child)->Points()));
            AddItem(polygons.Build());
            return;
        }
        for (const ExprNode* child = first; child; child = child->next)
            AddGraphics3DPrimitives(child);
    } else {
        AddPrimitive<Items3D>(*this, element);
    }
}

void PlotCurveSet::WriteSVGAll(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const
{
    for (const PlotItemList& curve : m_curves)
        for (const auto& item : curve)
            item->WriteSVG(writer, transform, stroke);
}

void PlotCurveSet::ApplyAll(const PlotTransform& transform) const
{
    for (const PlotItemList& curve : m_curves)
        for (const auto& item : curve)
            item->DrawInDiagram(transform);
}

bool PlotCurveSet::HitTest(const DPoint& point, const PlotTransform& transform) const
{
    for (const PlotItemList& curve : m_curves)
        for (const auto& item : curve)
            if (item->HitTest(point, transform))
                return true;
    return false;
}

void PlotCurveSet::Write(DocWriter& writer) const
{
    if (!FitsRecord())
        throw CFormatException(kTooManyCurvesMessage);
    writer.WriteShort(static_cast<int16_t>(m_curves.size()));
    for (const PlotItemList& curve : m_curves) {
        writer.WriteLong(static_cast<int32_t>(curve.size()));
        for (const auto& item : curve)
            writer.WritePlotItem(*item);
    }
}

void PlotCurveSet::Read(DocReader& reader, int listCount)
{
    ReadLists(reader, listCount, 2);
}

void PlotCurveSet::Read3D(DocReader& reader, int listCount)
{
    ReadLists(reader, listCount, 3);
}

void PlotCurveSet::ReadLists(DocReader& reader, int listCount, int dimensions)
{
    for (int n = 0; n < listCount; ++n) {
        const int32_t count = reader.ReadCount(kMinItemRecord);
        PlotItemList curve;
        for (int32_t i = 0; i < count; ++i) {
            std::unique_ptr<ArchiveItem> item(dimensions == 3 ? reader.Read3DPlotItem() : reader.Read2DPlotItem());
            if (auto* plotItem = dynamic_cast<PlotItem*>(item.get())) {
                item.release();
                curve.emplace_back(plotItem);
            }
        }
        m_curves.push_back(std::move(curve));
    }
}

const char* const kUnevenSurfaceMessage = "The surface cannot be drawn: its rows of heights differ in length.";
const char* const kTooManyCurvesMessage = "The plot cannot be drawn: it has more than 32767 curves.";

void RegisterPlotItems2D()
{
    ArchiveRegistry::RegisterPlotItem(2, plot::kTickX, &Make<PlotTickX>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kTickY, &Make<PlotTickY>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kLine, &Make<PlotLine>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kPoint, &Make<PlotPoint>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kPolyline, &Make<PlotPolyline>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kText, &Make<PlotText>);
}
