#include "drawing/GroupConstraints.h"

#include "drawing/ConstraintMarks.h"
#include "drawing/DiagramAxes.h"
#include "drawing/DiagramComp.h"
#include "drawing/DiagramDC.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/ExprNode.h"
#include "kernel/LeafNodes.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <utility>

using namespace marks;

// ---- equation ----

EquationConstraint::EquationConstraint(const DPoint& position, DrawLabel* label) : m_position(position)
{
    SetLabel(label);
}

void EquationConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteDouble(m_position.x);
    writer.WriteDouble(m_position.y);
    WriteLabel(writer);
}

void EquationConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_position.x = reader.ReadDouble();
    m_position.y = reader.ReadDouble();
    if (!std::isfinite(m_position.x) || !std::isfinite(m_position.y))
        throw CFormatException("An equation constraint's place is damaged");
    ReadLabel(reader, context);
}

DiagramItem* EquationConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    if (!m_label)
        return nullptr;
    const DPoint a = m_label->GetFrameTopLeft(), b = m_label->GetFrameBottomRight();
    const double reach = kHitReach * dc.GetBaseScale();
    const bool across = point.x >= a.x && point.x <= b.x;
    return across && point.y >= b.y - reach && point.y <= b.y + reach ? this : nullptr;
}

void EquationConstraint::HideVertex()
{
    m_visible = false;
    if (m_label)
        m_label->Hide();
}

void EquationConstraint::ShowVertex()
{
    m_visible = true;
    if (m_label)
        m_label->Show();
}

void EquationConstraint::DrawLabelDecoration(DiagramDC& dc)
{
    if (!m_visible || !m_label)
        return;
    const DPoint a = m_label->GetFrameTopLeft(), b = m_label->GetFrameBottomRight();
    const double below = b.y + kHitReach * dc.GetBaseScale();
    dc.SetConstraintPen(IsSelected());
    dc.Line({a.x, below}, {b.x, below});
}

void EquationConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible || !m_label)
        return;
    const DPoint a = m_label->GetFrameTopLeft(), b = m_label->GetFrameBottomRight();
    SvgLine(writer, dc, {a.x, a.y}, {b.x, a.y});
    SvgLine(writer, dc, {b.x, a.y}, {b.x, b.y});
    SvgLine(writer, dc, {b.x, b.y}, {a.x, b.y});
    SvgLine(writer, dc, {a.x, b.y}, {a.x, a.y});
}

DrawConstraint* EquationConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    auto* copy = new EquationConstraint(m_position, CopyLabel(map));
    copy->m_visible = m_visible;
    return copy;
}

namespace {

void CollectShown(const CompList& row, std::vector<const DrawVariable*>& shown)
{
    for (int i = 1; i <= row.GetCount(); ++i) {
        const TextComp* comp = row.GetAt(i);
        if (auto* value = dynamic_cast<const DrawValueComp*>(comp); value && value->GetVariable())
            shown.push_back(value->GetVariable());
        for (int child = 1; child <= comp->GetChildCount(); ++child)
            if (const CompList* inner = comp->GetChild(child))
                CollectShown(*inner, shown);
    }
}

} // namespace

bool EquationConstraint::CanCopy(const ItemCopyMap& map) const
{
    for (const DrawVariable* variable : GetUsedVariables()) {
        const DiagramComp* drawing = variable->GetOwner();
        if (!map.LookupVariable(variable) && !(drawing && drawing->GetVariables().Holds(variable)))
            return false;
    }
    return true;
}

std::vector<const DrawVariable*> EquationConstraint::GetUsedVariables() const
{
    std::vector<const DrawVariable*> shown;
    if (m_label && m_label->GetText())
        CollectShown(*m_label->GetText(), shown);
    return shown;
}

bool EquationConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    if (!m_label)
        return false;
    const DPoint a = m_label->GetFrameTopLeft(), b = m_label->GetFrameBottomRight();
    auto inside = [&](const DPoint& p) {
        return p.x >= std::min(topLeft.x, bottomRight.x) && p.x <= std::max(topLeft.x, bottomRight.x) &&
               p.y >= std::min(topLeft.y, bottomRight.y) && p.y <= std::max(topLeft.y, bottomRight.y);
    };
    return inside(a) && inside(b);
}

ExprNode* EquationConstraint::BuildEquationExpr(int, DiagramComp*) const
{
    return m_label && m_label->GetText() ? m_label->GetText()->BuildNode() : nullptr;
}

bool EquationConstraint::HasText() const
{
    return m_label && m_label->GetText() && m_label->GetText()->GetCount() > 0;
}

bool EquationConstraint::IsUsable() const
{
    if (!HasText())
        return false;
    const std::unique_ptr<ExprNode> node(BuildEquationExpr(0, nullptr));
    return node && !dynamic_cast<const ErrorNode*>(node.get());
}

bool EquationConstraint::NoteIgnored(Ignored reason)
{
    bool& told = reason == Ignored::Unfinished ? m_toldUnfinished
        : reason == Ignored::NoKernel          ? m_toldNoKernel
                                               : m_toldRefused;
    return !std::exchange(told, true);
}

// ---- equal length ----

EqualLengthConstraint::EqualLengthConstraint(std::vector<SegmentShape*> segments)
    : m_segments(std::move(segments))
{
    const double length =
        m_segments.empty() ? 0.0 : m_segments[0]->GetStart()->GetPoint().Distance(m_segments[0]->GetEnd()->GetPoint());
    m_length = new DrawVariable(length, false);
    BuildEquations();
}

EqualLengthConstraint::EqualLengthConstraint(std::vector<SegmentShape*> segments, DrawVariable* length, bool visible)
    : m_segments(std::move(segments)), m_length(length)
{
    m_visible = visible;
    BuildEquations();
}

EqualLengthConstraint::~EqualLengthConstraint() { delete m_length; }

void EqualLengthConstraint::BuildEquations()
{
    m_equations.clear();
    m_equations.reserve(m_segments.size());
    for (SegmentShape* segment : m_segments)
        m_equations.push_back(std::make_unique<DistanceEqn>(segment->GetStart(), segment->GetEnd(), m_length));
}

void EqualLengthConstraint::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteVariableRef(m_length);
    if (m_segments.size() > static_cast<size_t>(INT16_MAX))
        throw CException("An equal-length constraint holds too many segments to be stored");
    writer.WriteShort(static_cast<int16_t>(m_segments.size()));
    for (SegmentShape* segment : m_segments) {
        writer.WriteSharedObject(segment->GetStart());
        writer.WriteSharedObject(segment->GetEnd());
    }
}

namespace {

SegmentShape* SideOf(DiagramShape* shape, VertexShape* start, VertexShape* end)
{
    return shape ? dynamic_cast<SegmentShape*>(shape->FindSide(start, end)) : nullptr;
}

// The segment joining the two vertices: asked of the start's owner, then of
// the end's, then of the shapes the drawing has read (through an index, so a
// large file costs no quadratic time), since a vertex shared by two shapes
// is owned by only one of them.
SegmentShape* FindSegment(VertexShape* start, VertexShape* end, DiagramComp* diagram,
                          const std::set<const SegmentShape*>& taken)
{
    std::vector<SegmentShape*> joining;
    for (VertexShape* vertex : {start, end})
        if (SegmentShape* side = SideOf(vertex->GetOwnerShape(), start, end))
            joining.push_back(side);
    if (diagram)
        for (SegmentShape* segment : diagram->FindReadSegments(start, end))
            joining.push_back(segment);
    if (joining.empty())
        throw CFormatException("An equal-length constraint names two vertices that no segment joins");
    // Two shapes on the same corners join them twice: each naming of the
    // pair takes a segment not taken yet, and first one that runs the way the
    // record names its ends, as it was written (two triangles in opposite
    // turns join each pair of corners both ways).
    for (const bool sameWay : {true, false})
        for (SegmentShape* segment : joining)
            if (!taken.count(segment) && (!sameWay || (segment->GetStart() == start && segment->GetEnd() == end)))
                return segment;
    return joining.front();
}

} // namespace

void EqualLengthConstraint::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_length = DrawVariable::ReadOwned(reader);
    if (!m_length)
        throw CFormatException("An equal-length constraint names no variable");
    const int count = reader.ReadShort();
    std::set<const SegmentShape*> taken;
    for (int i = 0; i < count; ++i) {
        VertexShape* start = ReadBoundVertex(reader);
        VertexShape* end = ReadBoundVertex(reader);
        m_segments.push_back(FindSegment(start, end, static_cast<DiagramComp*>(context), taken));
        taken.insert(m_segments.back());
    }
    BuildEquations();
}

void EqualLengthConstraint::Ticks(const SegmentShape* segment, const DiagramDC& dc, int count, double reach,
                                  std::vector<DPoint>& points) const
{
    const DPoint s = segment->GetStart()->GetPoint(), e = segment->GetEnd()->GetPoint();
    const DPoint m = (s + e) * 0.5;
    const DPoint u = Unit(s - m);
    const DPoint h = DPoint(-u.y, u.x) * reach;
    const double b = dc.GetBaseScale();
    const int k = (m_tickCount - 1) / 2;
    DPoint p = m - u * (2.0 * b * k);
    for (int i = 0; i < count; ++i, p += u * (2.0 * b)) {
        points.push_back(p - h);
        points.push_back(p + h);
    }
}

DiagramItem* EqualLengthConstraint::HitTest(const DPoint& point, const DiagramDC& dc)
{
    for (SegmentShape* segment : m_segments) {
        const DPoint m = (segment->GetStart()->GetPoint() + segment->GetEnd()->GetPoint()) * 0.5;
        if (point.Distance(m) <= 4.0 * dc.GetBaseScale())
            return this;
    }
    return nullptr;
}

// At most four ticks on the screen.
void EqualLengthConstraint::Draw(DiagramDC& dc)
{
    if (!m_visible || m_tickCount <= 0)
        return;
    dc.SetConstraintPen(IsSelected());
    std::vector<DPoint> points;
    for (SegmentShape* segment : m_segments)
        Ticks(segment, dc, (m_tickCount - 1) % 4 + 1, 4.0 * dc.GetBaseScale(), points);
    for (size_t i = 0; i + 1 < points.size(); i += 2)
        dc.Line(points[i], points[i + 1]);
}

void EqualLengthConstraint::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_visible || m_tickCount <= 0)
        return;
    std::vector<DPoint> points;
    for (SegmentShape* segment : m_segments)
        Ticks(segment, dc, m_tickCount, 6.0 * dc.GetBaseScale(), points);
    for (size_t i = 0; i + 1 < points.size(); i += 2)
        SvgLine(writer, dc, points[i], points[i + 1]);
}

bool EqualLengthConstraint::CanCopy(const ItemCopyMap& map) const
{
    for (SegmentShape* segment : m_segments)
        if (!map.LookupItem(segment))
            return false;
    return true;
}

DrawConstraint* EqualLengthConstraint::Copy(ItemCopyMap& map)
{
    if (!CanCopy(map))
        return nullptr;
    std::vector<SegmentShape*> images;
    for (SegmentShape* segment : m_segments)
        images.push_back(Image(map, segment));
    return new EqualLengthConstraint(std::move(images), map.FindOrCloneVariable(m_length), m_visible);
}

int EqualLengthConstraint::SelectionCode() const
{
    int selected = 0;
    for (SegmentShape* segment : m_segments)
        selected += segment->IsSelected() ? 1 : 0;
    const int unselected = static_cast<int>(m_segments.size()) - selected;
    if (selected == 0)
        return 0;
    if (unselected == 0)
        return 5;
    if (selected >= 2 && unselected >= 2)
        return 1;
    if (selected == 1 && unselected >= 2)
        return 2;
    if (selected >= 2 && unselected == 1)
        return 3;
    return 4;
}

void EqualLengthConstraint::SetVariableTag(DiagramComp* diagram) { m_length->SetOwner(diagram); }

std::vector<const DiagramItem*> EqualLengthConstraint::GetBoundItems() const
{
    return {m_segments.begin(), m_segments.end()};
}

bool EqualLengthConstraint::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    const double left = std::min(topLeft.x, bottomRight.x), right = std::max(topLeft.x, bottomRight.x);
    const double low = std::min(topLeft.y, bottomRight.y), high = std::max(topLeft.y, bottomRight.y);
    for (SegmentShape* segment : m_segments) {
        const DPoint m = (segment->GetStart()->GetPoint() + segment->GetEnd()->GetPoint()) * 0.5;
        if (m.x < left || m.x > right || m.y < low || m.y > high)
            return false;
    }
    return !m_segments.empty();
}

ConstraintEqn* EqualLengthConstraint::GetEquation(int i) const
{
    return i >= 0 && i < GetEquationCount() ? m_equations[static_cast<size_t>(i)].get() : nullptr;
}

ExprNode* EqualLengthConstraint::BuildEquationExpr(int i, DiagramComp* context) const
{
    const ConstraintEqn* eqn = GetEquation(i);
    return eqn ? eqn->BuildExpr(nullptr, context) : nullptr;
}

bool EqualLengthConstraint::IsAttachedTo(const DiagramShape* shape) const
{
    for (SegmentShape* segment : m_segments) {
        const DiagramShape* owner = segment->GetOwnerShape();
        if ((owner ? owner : segment) == shape)
            return true;
    }
    return false;
}

void EqualLengthConstraint::AddSegments(const std::vector<SegmentShape*>& segments)
{
    m_segments.insert(m_segments.end(), segments.begin(), segments.end());
    BuildEquations();
}

std::vector<SegmentShape*> EqualLengthConstraint::SplitOff(bool selected)
{
    return SplitOffSegments([selected](const DiagramItem* segment) { return segment->IsSelected() == selected; });
}

std::vector<SegmentShape*> EqualLengthConstraint::SplitOffSegments(const std::function<bool(const DiagramItem*)>& test)
{
    std::vector<SegmentShape*> kept, split;
    for (SegmentShape* segment : m_segments)
        (test(segment) ? split : kept).push_back(segment);
    m_segments = std::move(kept);
    BuildEquations();
    return split;
}

std::vector<SegmentShape*> EqualLengthConstraint::SplitOffUnselected() { return SplitOff(false); }

std::vector<SegmentShape*> EqualLengthConstraint::SplitOffSelected() { return SplitOff(true); }

std::vector<SegmentShape*> EqualLengthConstraint::TakeSegments()
{
    std::vector<SegmentShape*> segments = std::move(m_segments);
    m_segments.clear();
    m_equations.clear();
    return segments;
}

void EqualLengthConstraint::OrderSegmentsLike(const std::vector<SegmentShape*>& order)
{
    std::vector<SegmentShape*> held = m_segments, model = order;
    std::sort(held.begin(), held.end());
    std::sort(model.begin(), model.end());
    if (held == model) {
        m_segments = order;
    } else {
        std::map<const SegmentShape*, size_t> rank;
        for (SegmentShape* segment : order)
            rank.emplace(segment, rank.size());
        const auto rankOf = [&rank](const SegmentShape* segment) {
            auto it = rank.find(segment);
            return it == rank.end() ? rank.size() : it->second;
        };
        std::stable_sort(m_segments.begin(), m_segments.end(),
                         [&](const SegmentShape* a, const SegmentShape* b) { return rankOf(a) < rankOf(b); });
    }
    BuildEquations();
}

bool EqualLengthConstraint::HasSegment(const SegmentShape* segment) const
{
    return std::find(m_segments.begin(), m_segments.end(), segment) != m_segments.end();
}

void NumberTickGroups(const ItemArray<DrawConstraint>& constraints)
{
    std::vector<EqualLengthConstraint*> groups;
    std::vector<std::vector<const void*>> segments;
    for (DrawConstraint* constraint : constraints)
        if (auto* equal = dynamic_cast<EqualLengthConstraint*>(constraint)) {
            groups.push_back(equal);
            segments.emplace_back(equal->GetSegments().begin(), equal->GetSegments().end());
        }
    const std::vector<int> ticks = TickGroups(segments);
    for (size_t i = 0; i < groups.size(); ++i)
        groups[i]->SetTickCount(ticks[i]);
}
