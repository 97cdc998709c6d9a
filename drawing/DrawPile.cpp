#include "drawing/DrawPile.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawConstraint.h"
#include "drawing/EdgeShape.h"
#include "drawing/LineConstraints.h"
#include "drawing/PilePane.h"
#include "drawing/PlotShape.h"
#include "drawing/PointConstraints.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionView.h"
#include "platform/draw/CBrush.h"
#include "platform/draw/CDC.h"
#include "platform/draw/CPen.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>

PilePane* gPilePane = nullptr;

namespace {

constexpr COLORREF kSelectedItemPen = RGB(221, 8, 7);
constexpr COLORREF kSelectedLinkPen = RGB(244, 153, 193);
constexpr COLORREF kLinkPen = RGB(193, 193, 193);
constexpr int kPaneRight = 144;

// Two periods of the icons' wave: the abscissa and angle of point k (1..31).
double WaveAngle(int k)
{
    return (k - 16) * 2 * std::numbers::pi / 15;
}

int WaveX(double angle)
{
    return pile::kCentreLeft + static_cast<int>(std::trunc((angle + 2 * std::numbers::pi) * 64 / (4 * std::numbers::pi)));
}

// The drawing contexts' pen for the scope's lifetime.
class PenScope {
public:
    PenScope(CDC& dc, COLORREF colour) : m_dc(dc), m_pen(PS_SOLID, 1, colour), m_old(dc.SelectObject(&m_pen)) {}
    ~PenScope() { m_dc.SelectObject(m_old); }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

private:
    CDC& m_dc;
    CPen m_pen;
    CPen* m_old;
};

COLORREF ItemPen(const DiagramShape* item)
{
    return item->IsSelected() ? kSelectedItemPen : drawing::kBlack;
}

bool Shows(const PileEntry& entry, int cell, const DiagramItem* a, const DiagramItem* b)
{
    const DiagramItem* item = entry.ItemIn(cell);
    return item && (item == a || item == b);
}

bool InBand(int y, int top)
{
    return top + 8 <= y && y <= top + 16;
}

// Whether the vertex defines the shape (an end of a side, a circle's
// centre): a vertex cannot lie on what it defines.
bool Defines(VertexShape* vertex, DiagramShape* shape)
{
    if (auto* edge = dynamic_cast<EdgeShape*>(shape))
        return edge->GetStart() == vertex || edge->GetEnd() == vertex;
    if (auto* circle = dynamic_cast<CircleShape*>(shape))
        return circle->GetCentre() == vertex;
    return false;
}

DrawConstraint* AttachConstraint(VertexShape* vertex, DiagramShape* other)
{
    if (!other || other == vertex || Defines(vertex, other))
        return nullptr;
    if (other->IsVertexShape())
        return new CoincidentConstraint(static_cast<VertexShape*>(other), vertex);
    return other->MakeAttachConstraint(vertex);
}

} // namespace

namespace pile {

int CellAt(int x)
{
    if (x < kCentreLeft)
        return -1;
    return x <= kCentreRight ? 0 : 1;
}

int AnchorX(int cell)
{
    return cell < 0 ? 20 : (cell == 0 ? 72 : 124);
}

} // namespace pile

DiagramShape* PileEntry::ItemIn(int cell) const
{
    return cell < 0 ? left : (cell == 0 ? centre : right);
}

PileEntry MakePileEntry(DiagramShape* shape)
{
    PileEntry entry;
    entry.centre = shape;
    if (shape && shape->IsVertexShape())
        if (DiagramShape* owner = shape->GetOwnerShape()) {
            auto* vertex = static_cast<VertexShape*>(shape);
            entry.left = owner->FirstSideAt(vertex);
            entry.right = owner->SecondSideAt(vertex);
        }
    return entry;
}

DrawPile::DrawPile(std::vector<PileEntry> entries, const std::vector<DrawConstraint*>& constraints,
                   DiagramComp* diagram, ActionView* view)
    : m_diagram(diagram), m_view(view)
{
    int row = 0;
    for (PileEntry& entry : entries) {
        entry.row = row++;
        m_entries.push_back(std::make_unique<PileEntry>(entry));
    }
    for (DrawConstraint* constraint : constraints) {
        AddLink(constraint, constraint->GetFirstItem(), constraint->GetSecondItem());
        if (constraint->IsTangent())
            AddLink(constraint, constraint->GetCurveItem(), constraint->GetSecondItem());
    }
}

DrawPile::~DrawPile() = default;

// Rows in order, in each the centre, left and right cells: the first cell
// showing either item is the source, the next one the target.
void DrawPile::AddLink(DrawConstraint* constraint, DiagramItem* a, DiagramItem* b)
{
    auto link = std::make_unique<PileLink>();
    link->constraint = constraint;
    for (const auto& entry : m_entries)
        for (int cell : {0, -1, 1}) {
            if (!Shows(*entry, cell, a, b))
                continue;
            if (!link->source) {
                link->source = entry.get();
                link->sourceCell = cell;
            } else if (!link->target) {
                link->target = entry.get();
                link->targetCell = cell;
            }
        }
    if (link->target)
        m_links.push_back(std::move(link));
}

PileEntry* DrawPile::EntryAtY(int y) const
{
    if (m_entries.empty())
        return nullptr;
    const int row = std::clamp(y / pile::kRowHeight, 0, GetEntryCount() - 1);
    return m_entries[static_cast<size_t>(row)].get();
}

bool DrawPile::HitEntry(const PileEntry& entry, int x, int y) const
{
    if (y < 0 || y / pile::kRowHeight != entry.row)
        return false;
    const int top = entry.row * pile::kRowHeight;
    if (x < pile::kCentreLeft || x >= pile::kCentreRight + 1) {
        const int cell = x < pile::kCentreLeft ? -1 : 1;
        return entry.ItemIn(cell) && InBand(y, top);
    }
    const DiagramShape* item = entry.centre;
    if (!item)
        return false;
    if (item->IsPlot() || item->IsSegment() || item->IsCurve())
        return InBand(y, top);
    const double d = std::hypot(x - 72.0, y - (top + 12.0));
    if (item->IsVertexShape())
        return d <= 4;
    if (item->IsCircle())
        return 4 <= d && d <= 12;
    return false;
}

bool DrawPile::HitLink(const PileLink& link, int x, int y) const
{
    const double x1 = pile::AnchorX(link.sourceCell), y1 = link.source->CentreY();
    const double x2 = pile::AnchorX(link.targetCell), y2 = link.target->CentreY();
    if (x1 == x2)
        return x1 - 4 <= x && x <= x1 + 4 && std::min(y1, y2) - 4 <= y && y <= std::max(y1, y2) + 4;
    const double dx = x2 - x1, dy = y2 - y1;
    const double t = ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy);
    if (t < 0 || t > 1)
        return false;
    const double ex = x - (x1 + t * dx), ey = y - (y1 + t * dy);
    return ex * ex + ey * ey < 1;
}

PileLink DrawPile::MakeAttachConstraint(PileEntry* source, int sourceCell, PileEntry* target, int targetCell) const
{
    PileLink link{nullptr, source, target, sourceCell, targetCell};
    auto vertexIn = [](PileEntry* entry, int cell) -> VertexShape* {
        if (cell != 0 || !entry->centre || !entry->centre->IsVertexShape())
            return nullptr;
        return static_cast<VertexShape*>(entry->centre);
    };
    if (VertexShape* vertex = vertexIn(source, sourceCell))
        link.constraint = AttachConstraint(vertex, target->ItemIn(targetCell));
    else if (VertexShape* vertex = vertexIn(target, targetCell))
        link.constraint = AttachConstraint(vertex, source->ItemIn(sourceCell));
    return link;
}

void DrawPile::OnMouseDown(int x, int y)
{
    m_startX = m_lastX = x;
    m_startY = m_lastY = y;
    m_draggingEntry = m_pressingLink = m_rubberLine = false;
    m_pressedEntry = nullptr;
    m_pressedLink = nullptr;
    for (const auto& entry : m_entries)
        if (HitEntry(*entry, x, y)) {
            m_pressedEntry = entry.get();
            m_pressedCell = pile::CellAt(x);
            m_draggingEntry = true;
            return;
        }
    for (const auto& link : m_links)
        if (IsLive(*link) && HitLink(*link, x, y)) {
            m_pressedLink = link.get();
            m_pressingLink = true;
            return;
        }
}

bool DrawPile::OnMouseMove(int x, int y)
{
    if (x == m_lastX && y == m_lastY)
        return false;
    m_lastX = x;
    m_lastY = y;
    m_rubberLine = m_draggingEntry && !HitEntry(*m_pressedEntry, x, y);
    return true;
}

bool DrawPile::OnMouseUp(int x, int y, bool extend)
{
    bool redraw = m_rubberLine;
    if (m_draggingEntry)
        redraw = EndEntryDrag(x, y, extend) || redraw;
    else if (m_pressingLink)
        redraw = EndLinkPress(x, y, extend) || redraw;
    m_draggingEntry = m_pressingLink = m_rubberLine = false;
    m_pressedEntry = nullptr;
    m_pressedLink = nullptr;
    return redraw;
}

bool DrawPile::EndEntryDrag(int x, int y, bool extend)
{
    PileEntry* source = EntryAtY(m_startY);
    PileEntry* target = EntryAtY(y);
    const int sourceCell = pile::CellAt(m_startX);
    const int targetCell = pile::CellAt(x);
    if (source == target) {
        if (sourceCell != targetCell)
            return false;
        if (DiagramShape* item = source->ItemIn(sourceCell)) {
            ActionViewScope scope(m_view);
            m_diagram->SelectShape(item, extend);
        }
        return true;
    }
    PileLink made = MakeAttachConstraint(source, sourceCell, target, targetCell);
    if (!made.constraint)
        return false;
    if (m_addConstraint) {
        m_addConstraint(made.constraint);
    } else {
        ActionViewScope scope(m_view);
        m_diagram->AddConstraint(made.constraint);
        m_diagram->SelectConstraint(made.constraint, false);
    }
    m_links.push_back(std::make_unique<PileLink>(made));
    return true;
}

bool DrawPile::EndLinkPress(int x, int y, bool extend)
{
    if (IsLive(*m_pressedLink) && HitLink(*m_pressedLink, x, y)) {
        ActionViewScope scope(m_view);
        m_diagram->SelectConstraint(m_pressedLink->constraint, extend);
    }
    return true;
}

bool DrawPile::IsCurrent() const
{
    std::set<const DiagramItem*> held;
    for (DiagramShape* shape : m_diagram->GetShapes()) {
        held.insert(shape);
        for (DiagramShape* part : shape->GetParts())
            held.insert(part);
        for (VertexShape* vertex : shape->GetVertices())
            held.insert(vertex);
    }
    for (const auto& entry : m_entries)
        for (const DiagramShape* item : {entry->left, entry->centre, entry->right})
            if (item && !held.contains(item))
                return false;
    return true;
}

bool DrawPile::IsLive(const PileLink& link) const
{
    return m_diagram->GetConstraints().Contains(link.constraint);
}

void DrawPile::Redraw(CDC& dc) const
{
    dc.FillSolidRect(CRect(0, 0, kPaneRight + 1, std::max(GetHeight(), 1) + pile::kRowHeight), drawing::kWhite);
    for (const auto& entry : m_entries)
        DrawEntry(dc, *entry);
    for (const auto& link : m_links)
        if (IsLive(*link))
            DrawLink(dc, *link);
    if (m_rubberLine) {
        PenScope pen(dc, kSelectedLinkPen);
        dc.MoveTo(m_startX, m_startY);
        dc.LineTo(m_lastX, m_lastY);
    }
}

void DrawPile::DrawEntry(CDC& dc, const PileEntry& entry) const
{
    const int y = entry.CentreY();
    if (entry.left) {
        PenScope pen(dc, ItemPen(entry.left));
        dc.MoveTo(0, y);
        dc.LineTo(pile::kCentreLeft, y);
    }
    if (entry.right) {
        PenScope pen(dc, ItemPen(entry.right));
        dc.MoveTo(pile::kCentreRight, y);
        dc.LineTo(kPaneRight, y);
    }
    const DiagramShape* item = entry.centre;
    if (!item)
        return;
    PenScope pen(dc, ItemPen(item));
    if (item->IsPlot() || item->IsCurve()) {
        std::vector<CPoint> points;
        for (int k = 1; k <= 31; ++k) {
            const double a = WaveAngle(k);
            const double dy = item->IsPlot() ? 8 * std::sin(a) : -8 * std::cos(a / 4);
            points.emplace_back(WaveX(a), y + static_cast<int>(std::trunc(dy)));
        }
        dc.Polyline(points.data(), static_cast<int>(points.size()));
    } else if (item->IsVertexShape()) {
        dc.Ellipse(69, y - 3, 75, y + 3);
    } else if (item->IsSegment()) {
        dc.MoveTo(pile::kCentreLeft, y);
        dc.LineTo(pile::kCentreRight, y);
    } else if (item->IsCircle()) {
        LOGBRUSH hollow{};
        hollow.lbStyle = BS_HOLLOW;
        CBrush brush;
        brush.CreateBrushIndirect(hollow);
        CBrush* old = dc.SelectObject(&brush);
        dc.Ellipse(72 - 8, y - 8, 72 + 8, y + 8);
        dc.SelectObject(old);
    }
}

void DrawPile::DrawLink(CDC& dc, const PileLink& link) const
{
    PenScope pen(dc, link.constraint->IsSelected() ? kSelectedLinkPen : kLinkPen);
    dc.MoveTo(pile::AnchorX(link.sourceCell), link.source->CentreY());
    dc.LineTo(pile::AnchorX(link.targetCell), link.target->CentreY());
}
