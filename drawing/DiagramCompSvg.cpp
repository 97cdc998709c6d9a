// The drawing's SVG: the form of the SVG copy and of drawings in the XHTML
// export.
#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/SvgOutput.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/IntPoint.h"
#include "kernel/MathMLOutput.h"
#include "kernel/MathLinkCharConv.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotItems.h"

namespace {

// The axes in a black pen of the thin style.
class AxesStroke : public SvgStroke {
public:
    void WriteStroke(MathMLOutput& writer, bool filled) const override
    {
        ShapeStyle style{1, drawing::kBlack, drawing::kWhite, false};
        if (filled) {
            style.fillColour = style.lineColour;
            style.filled = true;
            svg::FillStroke(writer, style);
        } else {
            svg::Stroke(writer, style);
        }
    }
};

} // namespace

// The SVG works at pixel origin (0, 0); the axes come from the figure the
// last rendering built (a drawing never rendered has none and writes none).
void DiagramComp::WriteSVG(MathMLOutput& writer)
{
    int width = m_bounds.Width();
    int height = m_bounds.Height();
    if (width <= 0 || height <= 0) {
        width = m_width;
        height = m_height;
    }
    const IntPoint saved = m_dc.SwapPixelOrigin(IntPoint(0, 0));
    svg::Start(writer, m_dc, width, height);
    if (m_showAxes && m_axesFigure)
        m_axesFigure->WriteSVGAll(writer, m_dc, AxesStroke());
    for (const DiagramShape* shape : m_shapes)
        shape->WriteSVG(writer, m_dc);
    for (const DrawConstraint* constraint : m_constraints)
        constraint->WriteSVG(writer, m_dc);
    for (const DrawLabel* label : m_labels)
        label->WriteSVG(writer, m_dc);
    svg::End(writer, m_dc);
    m_dc.SetPixelOrigin(saved);
}

void DiagramComp::WriteXhtml(XMLWriter& writer)
{
    auto* output = dynamic_cast<MathMLOutput*>(&writer);
    if (!output)
        return;
    output->StartElement("p", true);
    output->WriteAttribute("class", "eqn");
    output->EndPendingTag(true);
    WriteSVG(*output);
    output->Close("p");
}

void DrawLabel::WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const
{
    if (!m_shown || !m_text)
        return;
    const IntPoint position = dc.WorldToScreen(m_frameTopLeft);
    const int pointSize = gDrawContext.GetFontSize();
    if (auto* rows = dynamic_cast<svg::LabelRowWriter*>(&writer)) {
        rows->WriteLabelRow(position, dc.WorldToScreen(m_frameBottomRight), *m_text, pointSize);
        return;
    }
    writer.WriteIndent();
    writer.StartElement("text", false);
    writer.WriteIntAttribute("x", position.x);
    writer.WriteIntAttribute("y", position.y);
    writer.WriteAttribute("style", svg::FontSize(pointSize).c_str());
    writer.EndPendingTag(false);
    for (int i = 1; i <= m_text->GetCount(); ++i)
        if (const unsigned char code = m_text->GetAt(i)->GetChar())
            writer.WriteEscapedChar(MathLinkCharConv::CharToUnicodeA(code));
    writer.EndElement("text", false);
    writer.NewLine();
}
