// The drawing as a component of a row: layout, placing, its picture,
// drawing, and the caret's way through its label texts.
#include "drawing/DiagramComp.h"
#include "drawing/PilePane.h"

#include "drawing/DiagramAxes.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/GroupConstraints.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawingKernelHooks.h"
#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/KeyCodes.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/TextOutBuffer.h"
#include "math/ExportElementWriters.h"
#include "platform/Exceptions.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotStyle.h"

#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

using namespace drawing;

namespace {

int ScaledExtent(int reference, int32_t units)
{
    return static_cast<int>(std::trunc(reference * units * kSizeUnit + 0.5));
}

} // namespace

// ---- layout ----

void DiagramComp::Measure()
{
    PlotStyle style;
    m_dc.SetZoom(style.GetScale());
    m_bounds = Rect(0, -ScaledExtent(style.GetScaledHeight(), m_height), ScaledExtent(style.GetScaledWidth(), m_width),
                    0);
    m_dc.SetWindowSize(m_bounds.right, -m_bounds.top);
    for (DrawLabel* label : m_labels)
        label->Relayout();
    m_pictureStale = true;
    m_needsLayout = 0;
}

void DiagramComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    m_dc.SetPixelOrigin(IntPoint(point.x + m_bounds.left, point.y + m_bounds.top));
    for (DrawLabel* label : m_labels)
        label->Layout();
    if (m_pictureStale)
        RebuildPicture();
}

bool DiagramComp::SetPixelSize(int width, int height)
{
    PlotStyle style;
    auto units = [](int pixels, int reference) {
        return reference > 0 ? std::trunc(static_cast<double>(pixels) * kReferenceSize / reference + 0.5) : 0.0;
    };
    const double h = units(height, style.GetScaledHeight());
    const double w = units(width, style.GetScaledWidth());
    if (!(h >= 1 && h <= INT16_MAX && w >= 1 && w <= INT16_MAX))
        return false;
    return SetSize(static_cast<int32_t>(w), static_cast<int32_t>(h));
}

void DiagramComp::Zoom(const IntPoint& device, double factor)
{
    if (!m_dc.ZoomAbout(device, factor))
        return;
    ComputePlots(PlotsDue::All);
    RebuildPicture();
}

void DiagramComp::Pan(int dx, int dy)
{
    m_dc.ScrollBy(dx, dy);
    ComputePlots(PlotsDue::All);
    RebuildPicture();
}

namespace {
// The band's line is drawn with a one-pixel pen centred on its edges; the
// repaint takes in the whole line and a pixel more for rounding.
constexpr int32_t kBandLineReach = 2;

Rect WithBandLine(Rect band)
{
    band.Deflate(-kBandLineReach, -kBandLineReach);
    return band;
}
} // namespace

void DiagramComp::ShowBand(const Rect& band)
{
    m_bandRepaint = band;
    if (m_bandVisible)
        Rect::Union(band, m_band, m_bandRepaint);
    m_bandRepaint = WithBandLine(m_bandRepaint);
    m_bandVisible = true;
    m_band = band;
    gDrawContext.InvalidateLogicalRect(m_bandRepaint);
}

void DiagramComp::HideBand()
{
    m_bandVisible = false;
    RebuildPicture();
    m_bandRepaint = WithBandLine(m_band);
    gDrawContext.InvalidateLogicalRect(m_bandRepaint);
}

void DiagramComp::ShowStroke(const std::vector<IntPoint>& stroke)
{
    m_stroke = stroke;
    InvalidateBox();
}

void DiagramComp::HideStroke()
{
    m_stroke.clear();
    InvalidateBox();
}

// ---- drawing ----

void DiagramComp::GetVisibleWorld(DPoint& topLeft, DPoint& bottomRight) const
{
    Rect box;
    const_cast<DiagramComp*>(this)->GetAbsBounds(box);
    topLeft = m_dc.ScreenToWorld(IntPoint(box.left, box.top));
    bottomRight = m_dc.ScreenToWorld(IntPoint(box.right, box.bottom));
}

void DiagramComp::SetShowAxes(bool show)
{
    m_showAxes = show;
    Changed();
}

void DiagramComp::SetShowGrid(bool show)
{
    m_showGrid = show;
    Changed();
}

// The grid in its own pen, then the axes as hairlines with labels in the
// plot font; a view without extent shows neither.
void DiagramComp::RenderFigures()
{
    DPoint topLeft, bottomRight;
    GetVisibleWorld(topLeft, bottomRight);
    if (m_showGrid) {
        if (!m_gridFigure)
            m_gridFigure = BuildGridFigure(topLeft, bottomRight);
        if (m_gridFigure) {
            m_dc.SetPen(m_gridThickness, m_gridColour, true);
            m_gridFigure->ApplyAll(m_dc);
            m_dc.SetPen(kDefaultPenStyle, kBlack, true);
        }
    }
    if (m_showAxes) {
        if (!m_axesFigure)
            m_axesFigure = BuildAxesFigure(topLeft, bottomRight);
        if (m_axesFigure) {
            gDrawContext.SelectPlainFont(PlotStyle().GetFontSize(), true);
            m_dc.SetPen(kThin, kBlack, true);
            m_axesFigure->ApplyAll(m_dc);
            m_dc.SetPen(kDefaultPenStyle, kBlack, true);
            gDrawContext.SelectCurrentFont();
        }
    }
}

// Each shape, then the constraints attached to it (a constraint on several
// shapes shows after each), so that a shape drawn later covers both; then
// what binds no listed shape (equations).
void DiagramComp::Render()
{
    m_dc.BeginPen();
    RenderFigures();
    NumberTickGroups(m_constraints);
    std::map<const DiagramShape*, std::vector<DrawConstraint*>> attached;
    std::vector<DrawConstraint*> unattached;
    for (DrawConstraint* constraint : m_constraints) {
        std::set<const DiagramShape*> tops;
        for (const DiagramItem* item : constraint->GetBoundItems()) {
            const auto* top = dynamic_cast<const DiagramShape*>(item);
            while (top && top->GetOwnerShape())
                top = top->GetOwnerShape();
            if (top)
                tops.insert(top);
        }
        for (const DiagramShape* top : tops)
            attached[top].push_back(constraint);
        if (tops.empty())
            unattached.push_back(constraint);
    }
    for (DiagramShape* shape : m_shapes) {
        shape->Draw(m_dc);
        if (auto found = attached.find(shape); found != attached.end())
            for (DrawConstraint* constraint : found->second)
                constraint->Draw(m_dc);
    }
    for (DrawConstraint* constraint : unattached)
        constraint->Draw(m_dc);
    m_dc.SetPen(kDefaultPenStyle, kBlack, true);
    for (DrawLabel* label : m_labels)
        label->Draw(m_dc);
    m_dc.EndPen();
}

HENHMETAFILE DiagramComp::RecordPicture(bool withFrame)
{
    Rect box;
    GetAbsBounds(box);
    gDrawContext.BeginMetafile(gDrawContext.GetTarget(), box);
    try {
        if (withFrame && m_showFrame)
            DrawFrame(box);
        else
            gDrawContext.FrameRectBk(box);
        Render();
    } catch (...) {
        DrawContext::DeleteMetafile(gDrawContext.EndMetafile());
        throw;
    }
    return gDrawContext.EndMetafile();
}

void DiagramComp::RebuildPicture()
{
    m_axesFigure.reset();
    m_gridFigure.reset();
    for (DrawLabel* label : m_labels) {
        label->Relayout();
        if (label->GetOwner())
            label->GetOwner()->PlaceLabel(m_dc);
    }
    DrawContext::DeleteMetafile(m_picture);
    m_picture = nullptr;
    m_pictureStale = false;
    Rect box;
    GetAbsBounds(box);
    box.Deflate(kFrameInset, kFrameInset);
    if (box.IsEmpty())
        return;
    // Drawings nested in labels record inside the outer recording; where the
    // drawing context cannot nest further the drawing is drawn directly.
    if (gDrawContext.GetDepth() >= DrawContext::kMaxLevels - 1)
        return;
    gDrawContext.BeginMetafile(gDrawContext.GetTarget(), box);
    try {
        gDrawContext.FrameRectBk(box);
        Render();
    } catch (...) {
        DrawContext::DeleteMetafile(gDrawContext.EndMetafile());
        throw;
    }
    m_picture = gDrawContext.EndMetafile();
}

void DiagramComp::Repaint()
{
    ComputePlots(std::exchange(m_allPlotsDue, false) ? PlotsDue::All : PlotsDue::Changed);
    RebuildPicture();
    InvalidateBox();
}

void DiagramComp::InvalidateBox()
{
    Rect box;
    GetAbsBounds(box);
    gDrawContext.InvalidateLogicalRect(box);
    // The pile pane shows this drawing's items and links: what changed here
    // (an undone constraint, a removed item) shows there too.
    if (gPilePane && gPilePane->ShownDiagram() == this)
        gPilePane->ShowPile(this);
}

// An active drawing shows its frame green on the screen; printed or recorded
// as a picture the frame is the document's, not a mark of editing.
void DiagramComp::DrawFrame(const Rect& box)
{
    if (m_active && !gDrawContext.IsPrinting() && !gDrawContext.IsRecording()) {
        gDrawContext.SelectPen(PS_SOLID, 1, kActiveGreen);
        gDrawContext.DrawRectangle(box);
        gDrawContext.RestorePen();
    } else {
        gDrawContext.DrawRectangle(box);
    }
}

// The frame is drawn last, over the picture: a print preview that scales
// the page down brings the picture's edge onto the frame's line.
void DiagramComp::Draw()
{
    Rect frame;
    GetAbsBounds(frame);
    Rect box = frame;
    box.Deflate(kFrameInset, kFrameInset);
    // A change since the last recording shows now, not at the next layout.
    if (m_pictureStale)
        RebuildPicture();
    if (!m_picture) {
        gDrawContext.SetClipRegion(box);
        Render();
        gDrawContext.ClearClipRegion();
    } else {
        if (gDrawContext.IsPrinting())
            box.Deflate(kFrameInset, kFrameInset);
        gDrawContext.PlayMetafile(m_picture, box);
        if (m_bandVisible) {
            gDrawContext.SelectPen(PS_SOLID, 1, kConstraintGrey);
            gDrawContext.DrawRectangle(m_band);
            gDrawContext.RestorePen();
        }
        DrawStroke(box);
    }
    if (m_showFrame)
        DrawFrame(frame);
}

void DiagramComp::DrawStroke(const Rect& box)
{
    if (m_stroke.size() < 2)
        return;
    gDrawContext.SetClipRegion(box);
    gDrawContext.SelectPen(PS_SOLID, 1, drawing::kBlack);
    gDrawContext.MoveTo(m_stroke.front());
    for (size_t i = 1; i < m_stroke.size(); ++i)
        gDrawContext.LineTo(m_stroke[i]);
    gDrawContext.RestorePen();
    gDrawContext.ClearClipRegion();
}

// ---- positions and label rows ----

void DiagramComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    for (DrawLabel* label : m_labels)
        if (label->HitText(point)) {
            label->GetText()->PositionFromPoint(out, point, nearest);
            return;
        }
    BoxComp::PositionFromPoint(out, point, nearest);
}

TextComp* DiagramComp::ComponentAt(const IntPoint& point)
{
    for (DrawLabel* label : m_labels)
        if (label->HitText(point))
            if (TextComp* comp = label->GetText()->ComponentAtPoint(point))
                return comp;
    return this;
}

int DiagramComp::LabelIndexOfRow(const CompList* row) const
{
    for (int i = 0; i < m_labels.GetCount(); ++i)
        if (m_labels.GetAt(i)->GetText() == row)
            return i;
    return -1;
}

CompList* DiagramComp::GetChild(int i) const
{
    return i >= 1 && i <= m_labels.GetCount() ? m_labels.GetAt(i - 1)->GetText() : nullptr;
}

int DiagramComp::GetChildCount() const
{
    return m_labels.GetCount();
}

int DiagramComp::IndexOfChild(const CompList* row) const
{
    return LabelIndexOfRow(row) + 1;
}

CompList* DiagramComp::GetListLeft(CompList* from)
{
    if (!from)
        return GetChild(m_labels.GetCount());
    const int i = LabelIndexOfRow(from);
    return i > 0 ? m_labels.GetAt(i - 1)->GetText() : nullptr;
}

CompList* DiagramComp::GetListRight(CompList* from)
{
    if (!from)
        return GetChild(1);
    const int i = LabelIndexOfRow(from);
    return i >= 0 && i + 1 < m_labels.GetCount() ? m_labels.GetAt(i + 1)->GetText() : nullptr;
}

void DiagramComp::GetEntryPosition(DocPosition& out)
{
    out = DocPosition();
    out.SetObject(this);
}

void DiagramComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    for (DrawLabel* label : m_labels)
        label->GetText()->SetSizeStep(step);
}

int DiagramComp::MapKey(DocPosition& position, int key, bool shift, bool ctrl)
{
    // Backspace deletes the drawing's selection rather than a character.
    if (key == KeyCode::kBackspace)
        return EditCode::kDelete;
    return BoxComp::MapKey(position, key, shift, ctrl);
}

ExprNode* DiagramComp::BuildNode()
{
    return MakeDiagramNode(this);
}

void DiagramComp::WriteText(TextOutBuffer& out) const
{
    out.WriteString("Diagram");
}

void DiagramComp::WriteLaTeX(LaTeXWriter& writer)
{
    constexpr int kScreenDpi = 96;
    HENHMETAFILE picture = RecordPicture(false);
    writer.WriteString("\\fbox{$");
    if (auto* objects = dynamic_cast<LaTeXObjectWriter*>(&writer))
        objects->WritePicture(m_bounds.Width() * kPointsPerInch / kScreenDpi,
                              m_bounds.Height() * kPointsPerInch / kScreenDpi, picture);
    DrawContext::DeleteMetafile(picture);
    writer.WriteString("$} ");
}
