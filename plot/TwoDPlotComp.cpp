#include "plot/TwoDPlotComp.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/LinkRemap.h"
#include "kernel/CompositeNode.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/NameTable.h"
#include "kernel/NodeSupport.h"
#include "kernel/PlotNodes.h"
#include "platform/Exceptions.h"
#include "plot/PlotAxes.h"
#include "plot/PlotCommandAxes.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotStyle.h"

using plot::NameNode;

TwoDPlotComp::TwoDPlotComp() = default;

TwoDPlotComp::~TwoDPlotComp() = default;

TextComp* TwoDPlotComp::Clone(LinkRemap& remap)
{
    auto* copy = new TwoDPlotComp;
    copy->CopyPlotFrom(*this, remap);
    if (m_curves)
        copy->m_curves = std::make_unique<PlotCurveSet>(*m_curves);
    copy->m_margins = m_margins;
    copy->m_marginResX = m_marginResX;
    copy->m_marginResY = m_marginResY;
    return copy;
}

// ---- the kernel ----

ExprNode* TwoDPlotComp::BuildNode()
{
    auto* node = new TwoDPlotNode;
    node->SetXRange(NameNode(m_xName), new RealNode(m_ranges.xMin), new RealNode(m_ranges.xMax));
    node->SetYRange(NameNode(m_yName), new RealNode(m_ranges.yMin), new RealNode(m_ranges.yMax));
    for (CompList* line : m_lines)
        node->AddFunction(line->BuildNode());
    return node;
}

bool TwoDPlotComp::SetResult(ExprNode* answer)
{
    std::unique_ptr<ExprNode> owned(answer);
    m_problem.clear();
    auto* graphics = dynamic_cast<GraphicsNode*>(answer);
    if (!graphics || !graphics->IsTwoDimensional())
        return false;
    auto curves = std::make_unique<PlotCurveSet>();
    const PlotMargins margins = ::BuildAxes(*curves, m_ranges);
    curves->BuildFromGraphics(graphics);
    if (!curves->FitsRecord()) {
        m_problem = kTooManyCurvesMessage;
        return false;
    }
    m_curves = std::move(curves);
    TakeMargins(margins);
    DropPicture();
    Invalidate();
    return true;
}

void TwoDPlotComp::ResetToAxes()
{
    m_curves = std::make_unique<PlotCurveSet>();
    BuildAxes();
    DropPicture();
    Invalidate();
}

bool TwoDPlotComp::OnOptions()
{
    std::vector<PlotAxisParameters> axes = GetXYAxes();
    if (!AskPlotParameters(axes) || axes.size() < 2)
        return false;
    SetXYAxes(axes);
    ResetToAxes();
    return true;
}

TextComp* TwoDPlotComp::FromNode(TwoDPlotNode& node)
{
    auto plot = std::make_unique<TwoDPlotComp>();
    plot->TakeLinesAndAxes(node);
    if (node.Extra())
        plot->SetResult(node.TakeExtra());
    return plot.release();
}

// ---- picture ----

PlotGeometry TwoDPlotComp::GetGeometry() const
{
    return PlotGeometry(m_ranges, MarginsAtResolution(), m_pictureWidth, m_pictureHeight);
}

void TwoDPlotComp::BuildAxes()
{
    TakeMargins(::BuildAxes(*m_curves, m_ranges));
}

void TwoDPlotComp::TakeMargins(const PlotMargins& margins)
{
    m_margins = margins;
    m_marginResX = gDrawContext.GetResolutionX();
    m_marginResY = gDrawContext.GetResolutionY();
}

// The picture's size follows the resolution it is drawn at; its margins
// must too, or a printer's picture, many times the screen's in pixels, keeps
// the screen's few pixels of margin and cuts its outer labels.
PlotMargins TwoDPlotComp::MarginsAtResolution() const
{
    const int resX = gDrawContext.GetResolutionX(), resY = gDrawContext.GetResolutionY();
    if (m_marginResX <= 0 || m_marginResY <= 0 || (resX == m_marginResX && resY == m_marginResY))
        return m_margins;
    auto scale = [](int pixels, int to, int from) { return int(int64_t(pixels) * to / from); };
    PlotMargins margins;
    margins.left = scale(m_margins.left, resX, m_marginResX);
    margins.right = scale(m_margins.right, resX, m_marginResX);
    margins.top = scale(m_margins.top, resY, m_marginResY);
    margins.bottom = scale(m_margins.bottom, resY, m_marginResY);
    return margins;
}

void TwoDPlotComp::SetDefaultSize()
{
    PlotStyle style(m_smallest);
    m_pictureWidth = style.GetPlotWidth2D();
    m_pictureHeight = style.GetPlotHeight2D();
}

HENHMETAFILE TwoDPlotComp::RenderPicture()
{
    if (!m_curves) {
        m_curves = std::make_unique<PlotCurveSet>();
        BuildAxes();
    }
    if (m_marginResX <= 0 && !gDrawContext.IsPrinting()) {
        m_marginResX = gDrawContext.GetResolutionX();
        m_marginResY = gDrawContext.GetResolutionY();
    }
    SetDefaultSize();
    return RecordPicture([this] {
        PlotStyle(m_smallest).SelectFont(true);
        m_curves->ApplyAll(GetGeometry());
        gDrawContext.SelectCurrentFont();
    });
}

// ---- file record ----

void TwoDPlotComp::Write(DocWriter& writer)
{
    WriteAxis(writer, m_ranges.xMax, m_ranges.xMin, m_xName);
    WriteAxis(writer, m_ranges.yMax, m_ranges.yMin, m_yName);
    WriteLines(writer);
    if (m_curves)
        m_curves->Write(writer);
    else
        writer.WriteShort(0);
    writer.WriteShort(static_cast<int16_t>(m_margins.left));
    writer.WriteShort(static_cast<int16_t>(m_margins.top));
    writer.WriteShort(static_cast<int16_t>(m_margins.right));
    writer.WriteShort(static_cast<int16_t>(m_margins.bottom));
}

void TwoDPlotComp::Read(DocReader& reader)
{
    ReadAxis(reader, m_ranges.xMax, m_ranges.xMin, m_xName);
    ReadAxis(reader, m_ranges.yMax, m_ranges.yMin, m_yName);
    ReadLines(reader);
    const int16_t lists = reader.ReadShort();
    m_curves.reset();
    if (lists > 0) {
        m_curves = std::make_unique<PlotCurveSet>();
        m_curves->Read(reader, lists);
    }
    m_margins.left = reader.ReadShort();
    m_margins.top = reader.ReadShort();
    m_margins.right = reader.ReadShort();
    m_margins.bottom = reader.ReadShort();
    m_marginResX = m_marginResY = 0;
    DropPicture();
    m_needsLayout = 1;
}
