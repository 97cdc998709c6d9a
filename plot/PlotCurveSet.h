#pragma once
// The curves of a 2-D plot picture, each a list of plot items; also the
// axes and grid that drawings show and the curve of a plot in a drawing.
// Curves are built one at a time between BeginCurve and EndCurve.
//
// Record: the list count (16-bit), then each list: its item count (32-bit)
// and the item records. Items of kinds this program does not read are
// skipped.
#include "plot/PlotItems.h"
#include "plot/PlotItems3D.h"

#include <cstdint>
#include <memory>
#include <vector>

class DocReader;
class DocWriter;
class ExprNode;
class MathMLOutput;
class PlotTransform;
class SvgStroke;
class ThreeDPlotComp;
struct Collection3d;

using PlotItemList = std::vector<std::unique_ptr<PlotItem>>;

class PlotCurveSet {
public:
    // The record counts the curves in 16 bits: a set of more cannot be stored.
    static constexpr int kMaxCurves = INT16_MAX;

    PlotCurveSet() = default;
    PlotCurveSet(const PlotCurveSet& other);
    PlotCurveSet& operator=(const PlotCurveSet&) = delete;

    void BeginCurve();
    // Ignored while no curve is open.
    void AddItem(std::unique_ptr<PlotItem> item);
    // Answers the number of curves; nothing happens while none is open.
    int EndCurve();

    // Turns a kernel Graphics answer into curves, one for each element of its
    // content (lines, points and texts; anything else adds nothing). Answers
    // 0 when the node is no Graphics (nothing is built), 1 when its content
    // is empty, else the number of curves.
    int BuildFromGraphics(const ExprNode* answer);
    // Turns a kernel Graphics3D (or Graphics) answer into curves, one for
    // each element of its content, or a SurfaceGraphics answer into one curve
    // holding its surface: rows run along y and columns along x over the
    // bounds' x and y ranges. Anything else adds nothing. Answers false, and
    // adds nothing, for a surface whose rows are not all as long as its first.
    bool BuildFromResult3D(const ExprNode* answer, const PlotBounds3D& bounds);
    // Draws every item through the transform (a drawing's, or a plot's geometry).
    void ApplyAll(const PlotTransform& transform) const;
    void WriteSVGAll(MathMLOutput& writer, const PlotTransform& transform, const SvgStroke& stroke) const;
    // True at the first curve with an item hit.
    bool HitTest(const DPoint& point, const PlotTransform& transform) const;

    // ---- 3-D scenes ----
    // Puts the curve at the 0-based position, replacing the one there, or
    // appends it when the position lies beyond the last curve.
    void SetCurve(int index, PlotItemList curve);
    // Every 3-D item's drawing behind the patches, then in front of them.
    void DrawBack3D(const ThreeDPlotComp& plot) const;
    void DrawFront3D(const ThreeDPlotComp& plot) const;
    // The renderer's collection of the patch items: one group for each
    // curve that holds one; null when no curve does. The caller disposes it.
    Collection3d* MakeCollection(const ThreeDPlotComp& plot) const;

    int GetCurveCount() const { return static_cast<int>(m_curves.size()); }
    bool FitsRecord() const { return GetCurveCount() <= kMaxCurves; }
    const PlotItemList& GetCurve(int i) const { return m_curves[static_cast<size_t>(i)]; }

    // The list count first. A set that does not fit its record is refused
    // (CFormatException) rather than stored as something else.
    void Write(DocWriter& writer) const;
    // The lists after a count the owner read: of 2-D items, or of 3-D items.
    void Read(DocReader& reader, int listCount);
    void Read3D(DocReader& reader, int listCount);

private:
    void AddGraphicsPrimitives(const ExprNode* element);
    void AddGraphics3DPrimitives(const ExprNode* element);
    bool AddSurface(const ExprNode* heights, const PlotBounds3D& bounds);
    void ReadLists(DocReader& reader, int listCount, int dimensions);

    std::vector<PlotItemList> m_curves;
    std::unique_ptr<PlotItemList> m_open;
};

// The message shown for a surface whose rows differ in length.
extern const char* const kUnevenSurfaceMessage;
// The message shown for an answer of more curves than a plot can store.
extern const char* const kTooManyCurvesMessage;

// Lets the archive read the 2-D plot items.
void RegisterPlotItems2D();
