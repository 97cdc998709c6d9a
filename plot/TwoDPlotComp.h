#pragma once
// A 2-D plot ("2Plt"): its items are a curve set whose first curve is the
// axes and whose further curves are the kernel's, one for each function,
// drawn into the picture through the plot's geometry (the picture less the
// axes' margins).
//
// Record: x maximum, x minimum, x name, y maximum, y minimum, y name, the
// function-line count (16-bit) and the lines, the curve set (16-bit list
// count, 0 without a set, then the lists), the left, top, right and bottom
// margins (16-bit each).
#include "plot/PlotComp.h"

class PlotCurveSet;
class TwoDPlotNode;

class TwoDPlotComp : public PlotComp {
public:
    TwoDPlotComp();
    ~TwoDPlotComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_2Plt; }
    // The plot command: VXTwoDPlot[{f...}, {x, xmin, xmax}, {y, ymin, ymax}].
    ExprNode* BuildNode() override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    // Graphics become the axes and the kernel's curves; any other answer,
    // or more curves than the plot can store, keeps the curves the plot had.
    bool SetResult(ExprNode* answer) override;
    bool OnOptions() override;
    // The axes alone, for the current ranges; the kernel's curves go.
    void ResetToAxes();

    const PlotCurveSet* GetCurves() const { return m_curves.get(); }
    // The margins as stored: pixels at the resolution the axes were built at.
    const PlotMargins& GetMargins() const { return m_margins; }
    // Where points go in a picture drawn at the drawing context's resolution.
    PlotGeometry GetGeometry() const;

    // A new plot from a command the kernel answered, with its graphics.
    static TextComp* FromNode(TwoDPlotNode& node);

protected:
    void SetDefaultSize() override;
    HENHMETAFILE RenderPicture() override;

private:
    void BuildAxes();
    void TakeMargins(const PlotMargins& margins);
    PlotMargins MarginsAtResolution() const;

    std::unique_ptr<PlotCurveSet> m_curves;
    PlotMargins m_margins;
    // The resolution the margins are pixels of (0 until known: a file's
    // margins are taken as the screen's that first draws them).
    int m_marginResX = 0;
    int m_marginResY = 0;
};
