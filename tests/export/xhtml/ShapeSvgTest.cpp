// The SVG of each kind of drawing shape, taken from the stored drawing of
// every shape kind: one element for the shape, then its vertices.
#include "XhtmlTestSupport.h"

#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramComp.h"
#include "drawing/PointConstraints.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/SvgOutput.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "support/export/EveryComponentDocument.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>

namespace {

class ShapeSvgTest : public ::testing::Test {
protected:
    ShapeSvgTest()
    {
        ParagraphList& list = document.Paragraphs();
        for (int i = 1; i <= list.GetCount() && !drawing; ++i)
            drawing = dynamic_cast<DiagramComp*>(list.GetAt(i)->GetRow()->GetAt(1));
    }

    template <class Shape>
    Shape* First(bool (*wanted)(const Shape&) = nullptr)
    {
        for (DiagramShape* shape : drawing->GetShapes())
            if (auto* found = dynamic_cast<Shape*>(shape); found && (!wanted || wanted(*found)))
                return found;
        return nullptr;
    }

    // The shape's SVG, written inside an open svg element.
    std::string Svg(const DiagramShape& shape)
    {
        StringStream out;
        XhtmlWriter writer(out);
        svg::Start(writer, drawing->GetDC(), 100, 100);
        shape.WriteSVG(writer, drawing->GetDC());
        svg::End(writer, drawing->GetDC());
        writer.Flush();
        const std::size_t start = out.text.find('\n') + 1;
        return out.text.substr(start, out.text.rfind("</svg>") - start);
    }

    // The element names in order, one a line.
    static std::string Elements(const std::string& svg)
    {
        std::string names;
        for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
            std::size_t end = at + 1;
            while (end < svg.size() && std::isalpha(static_cast<unsigned char>(svg[end])))
                ++end;
            if (end > at + 1)
                names += svg.substr(at + 1, end - at - 1) + " ";
        }
        return names;
    }

    // The text with every whole number, signed or not, written as "9".
    static std::string NumbersAsNine(const std::string& text)
    {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool sign = text[i] == '-' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]));
            if (!sign && !std::isdigit(static_cast<unsigned char>(text[i]))) {
                out += text[i];
                continue;
            }
            out += '9';
            ++i;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
                ++i;
            --i;
        }
        return out;
    }

    EveryComponentDocument document;
    DiagramComp* drawing = nullptr;
};

} // namespace

TEST_F(ShapeSvgTest, EachShapeWritesItsElementThenItsVertices)
{
    ASSERT_NE(drawing, nullptr);
    auto* curve = First<CurveShape>();
    ASSERT_NE(curve, nullptr);
    const std::string curveSvg = Svg(*curve);
    // The stored curve has an arrowhead at its end.
    EXPECT_EQ(Elements(curveSvg), "path path circle circle ") << curveSvg;
    EXPECT_NE(NumbersAsNine(curveSvg).find("d=\"M 9 9 C 9 9 9 9 9 9\""), std::string::npos) << curveSvg;

    auto* triangle = First<SidedShape>(+[](const SidedShape& s) { return s.GetSideCount() == 3; });
    ASSERT_NE(triangle, nullptr);
    const std::string triangleSvg = Svg(*triangle);
    EXPECT_EQ(Elements(triangleSvg), "polygon circle circle circle ");
    EXPECT_NE(NumbersAsNine(triangleSvg).find("points=\"9,9 9,9 9,9\""), std::string::npos) << triangleSvg;
    EXPECT_EQ(triangleSvg.find("fill=\"none\" />\n  <circle"), std::string::npos) << "the triangle is filled";

    auto* arrowed = First<SegmentShape>(+[](const SegmentShape& s) { return (s.GetPenStyle() & 0xC0) == 0xC0; });
    ASSERT_NE(arrowed, nullptr);
    EXPECT_EQ(Elements(Svg(*arrowed)), "line path path circle circle ");

    auto* polygon = First<PolygonShape>();
    ASSERT_NE(polygon, nullptr);
    const std::string polygonSvg = Svg(*polygon);
    EXPECT_EQ(polygonSvg.rfind("  <path d=\"M ", 0), 0u) << polygonSvg;
    EXPECT_EQ(Count(polygonSvg, "<path"), 1);
    EXPECT_EQ(Count(polygonSvg, "<circle"), polygon->GetVertexArray().GetCount());
}

TEST_F(ShapeSvgTest, HiddenShapesWriteNothing)
{
    ASSERT_NE(drawing, nullptr);
    auto* curve = First<CurveShape>();
    ASSERT_NE(curve, nullptr);
    VertexShape* start = curve->GetStart();
    start->HideVertex();
    EXPECT_EQ(Elements(Svg(*start)), "");
    EXPECT_EQ(Elements(Svg(*curve)), "path path circle ");
    start->ShowVertex();
}

// The marks the screen shows of an angle (its arc), of a circle's arc (the
// arc and its two radii) and of a tangency (the stroke across the touching
// point and the two along the tangent) are in the drawing's SVG.
TEST_F(ShapeSvgTest, AnglesArcsAndTangenciesWriteTheirMarks)
{
    std::map<std::string, int> seen;
    ParagraphList& list = document.Paragraphs();
    for (int i = 1; i <= list.GetCount(); ++i) {
        auto* diagram = dynamic_cast<DiagramComp*>(list.GetAt(i)->GetRow()->GetAt(1));
        if (!diagram)
            continue;
        for (const DrawConstraint* constraint : diagram->GetConstraints()) {
            const char* marks = dynamic_cast<const AngleConstraint*>(constraint)     ? "svg path "
                              : dynamic_cast<const ArcConstraint*>(constraint)       ? "svg path line line "
                              : dynamic_cast<const TangentConstraint*>(constraint)   ? "svg line line line "
                                                                                     : nullptr;
            if (!marks)
                continue;
            StringStream out;
            {
                XhtmlWriter writer(out);
                svg::Start(writer, diagram->GetDC(), 100, 100);
                constraint->WriteSVG(writer, diagram->GetDC());
                svg::End(writer, diagram->GetDC());
                writer.Flush();
            }
            EXPECT_EQ(Elements(out.text), marks) << out.text;
            ++seen[marks];
        }
    }
    EXPECT_EQ(seen.size(), 3u);
}
