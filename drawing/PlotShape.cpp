#include "drawing/PlotShape.h"
#include "drawing/CurveConstraints.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramDC.h"
#include "drawing/DrawLabel.h"
#include "drawing/ItemCopyMap.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/LinkRemap.h"
#include "platform/Exceptions.h"
#include "plot/PlotCurveSet.h"
#include "foundation/DrawContext.h"
#include "kernel/KernelLink.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/PlotNodes.h"

PlotShape::PlotShape() : m_function(new CompList) {}

PlotShape::PlotShape(CompList* function, bool usesVariables)
    : m_function(function ? function : new CompList), m_usesVariables(usesVariables)
{
}

PlotShape::~PlotShape()
{
    delete m_label;
    delete m_function;
}

DiagramItem* PlotShape::HitTest(const DPoint& point, const DiagramDC& dc)
{
    return m_curves && m_curves->HitTest(point, dc) ? this : nullptr;
}

void PlotShape::Draw(DiagramDC& dc)
{
    if (!m_visible || !m_curves)
        return;
    const bool selected = IsSelected();
    if (selected)
        dc.Highlight();
    dc.SetPen(m_penStyle, m_penColour, true);
    m_curves->ApplyAll(dc);
    if (selected)
        dc.Unhighlight();
}

DrawLabel* PlotShape::MakeLabel(DiagramComp* diagram)
{
    delete m_label;
    m_label = new DrawLabel(this, diagram, m_function->Clone());
    if (diagram)
        PlaceLabel(diagram->GetDC());
    return m_label;
}

void PlotShape::SetLabel(DrawLabel* label)
{
    m_label = label;
    if (label)
        label->SetOwner(this);
}

void PlotShape::PlaceLabel(const DiagramDC& dc)
{
    if (m_label)
        m_label->SetAnchor(dc.WindowCentre());
}

ItemArray<DrawLabel> PlotShape::GetLabels() const
{
    ItemArray<DrawLabel> labels;
    if (m_label)
        labels.Add(m_label);
    return labels;
}

DiagramShape* PlotShape::Clone(ItemCopyMap& map)
{
    LinkRemap local;
    LinkRemap& remap = map.GetRemap() ? *map.GetRemap() : local;
    auto* copy = new PlotShape(m_function->CloneWithRemap(remap), m_usesVariables);
    if (m_label)
        copy->SetLabel(m_label->Clone(map));
    if (m_curves)
        copy->m_curves = std::make_unique<PlotCurveSet>(*m_curves);
    copy->m_penStyle = m_penStyle;
    copy->m_penColour = m_penColour;
    copy->m_pending = m_pending;
    copy->m_inSystem = m_inSystem;
    copy->m_visible = m_visible;
    map.AddItem(this, copy);
    return copy;
}

ShapeStyle PlotShape::GetStyle() const
{
    ShapeStyle style;
    style.penStyle = m_penStyle;
    style.lineColour = m_penColour;
    return style;
}

void PlotShape::SetStyle(const ShapeStyle& style)
{
    m_penStyle = style.penStyle;
    m_penColour = style.lineColour;
}

void PlotShape::SetCurves(std::unique_ptr<PlotCurveSet> curves)
{
    m_curves = std::move(curves);
}

void PlotShape::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    m_function->Write(writer);
    writer.WriteByte(m_usesVariables ? 1 : 0);
    if (m_curves)
        m_curves->Write(writer);
    else
        writer.WriteShort(0);
    writer.WriteByte(m_label ? 1 : 0);
    if (m_label)
        m_label->Write(writer);
    writer.WriteShort(static_cast<int16_t>(m_penStyle));
    writer.WriteColor(m_penColour);
    writer.WriteByte(m_pending ? 1 : 0);
    writer.WriteByte(m_inSystem ? 1 : 0);
}

void PlotShape::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_function->Read(reader);
    m_usesVariables = reader.ReadBool();
    const int16_t lists = reader.ReadShort();
    if (lists < 0)
        throw CFormatException("A plot's curve count is damaged");
    if (lists > 0) {
        m_curves = std::make_unique<PlotCurveSet>();
        m_curves->Read(reader, lists);
    }
    if (reader.ReadBool())
        SetLabel(DrawLabel::ReadFor(this, reader, context));
    m_penStyle = reader.ReadShort();
    m_penColour = reader.ReadColor();
    m_pending = reader.ReadBool();
    m_inSystem = reader.ReadBool();
}

DrawConstraint* PlotShape::MakeAttachConstraint(VertexShape* vertex)
{
    return new PointOnPlotConstraint(this, vertex);
}

ExprNode* PlotShape::CopyFunction() const
{
    // Building a node does not change the row.
    return const_cast<CompList*>(m_function)->BuildNode();
}

PlotShape::Computed PlotShape::Compute(double xmin, double ymax, double xmax, double ymin, ExprNode* rules,
                                       ExprNode* x, ExprNode* y)
{
    const Computed computed = Recompute(xmin, ymax, xmax, ymin, rules, x, y);
    if (computed == Computed::Refused)
        ShowMessageOrBeep(kRefusedAnswer);
    return computed;
}

PlotShape::Computed PlotShape::Recompute(double xmin, double ymax, double xmax, double ymin, ExprNode* rules,
                                         ExprNode* x, ExprNode* y)
{
    std::unique_ptr<ExprNode> ownedRules(rules);
    std::unique_ptr<ExprNode> xSymbol(x);
    std::unique_ptr<ExprNode> ySymbol(y);
    KernelLink* link = KernelLink::Get();
    if (!link || !link->IsReady()) {
        m_pending = true;
        return Computed::Pending;
    }
    auto range = [](std::unique_ptr<ExprNode>& symbol, double low, double high) {
        auto* list = new ListNode(symbol.release());
        list->AppendChild(new RealNode(low));
        list->AppendChild(new RealNode(high));
        return list;
    };
    TwoDPlotNode command(new ListNode(CopyFunction()), range(xSymbol, xmin, xmax), range(ySymbol, ymin, ymax),
                         nullptr);
    std::unique_ptr<ExprNode> answer(link->ResolvePlot(&command, ownedRules.get()));
    auto curves = std::make_unique<PlotCurveSet>();
    if (!answer || curves->BuildFromGraphics(answer.get()) == 0 || !curves->FitsRecord()) {
        // A failed computation, or one of more curves than the drawing can
        // store, is no empty curve: the old one stays, and the plot waits to
        // be computed again.
        m_pending = true;
        m_refused = true;
        return Computed::Refused;
    }
    m_curves = std::move(curves);
    m_pending = false;
    m_refused = false;
    return Computed::Done;
}
