// The XHTML writer's paragraphs, runs, escaping and SVG primitives; every
// page written here is checked against its document type.
#include "WriterFixture.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramDC.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawingNodes.h"
#include "drawing/VertexShape.h"
#include "drawing/SvgOutput.h"
#include "foundation/DrawContext.h"
#include "foundation/FontIds.h"
#include "foundation/IntPoint.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Str255.h"
#include "math/FractionComp.h"
#include "math/HyperlinkComp.h"
#include "math/PictureComp.h"

#include <memory>
#include <sstream>

namespace {

constexpr int kTitle = 0, kParagraph = 3, kEnumerated = 4, kEquation = 5, kNumberedEquation = 6, kSource = 7;
constexpr int kItemized = 8, kSubItemized = 10;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Between(const std::string& text, const std::string& from, const std::string& to)
{
    const std::size_t a = text.find(from);
    const std::size_t b = text.find(to, a == std::string::npos ? 0 : a);
    return a == std::string::npos || b == std::string::npos ? std::string() : text.substr(a, b + to.size() - a);
}

class XhtmlWriterTest : public WriterFixture {};

} // namespace

TEST_F(XhtmlWriterTest, ANumberedEquationIsATableOfThreeCellsWithItsLabelEscaped)
{
    StringStream page;
    {
        XhtmlWriter writer(page, "t", "p", nullptr);
        writer.WriteProlog();
        CompList row;
        Append(row, "a+b", FontId::kMath);
        writer.WriteNumberedEquation(row, Str255("(1<2&3)"));
        writer.WriteTail();
    }
    EXPECT_EQ(XmlLintTextErrors(page.text, true), "");
    const std::string table = Between(page.text, "<table", "</table>");
    EXPECT_EQ(Count(table, "<td style=\"width: 10%\">"), 2);
    EXPECT_EQ(Count(table, "<td style=\"width: 80%\">"), 1);
    EXPECT_EQ(Count(table, "&nbsp;"), 1);
    EXPECT_NE(table.find("(1&lt;2&amp;3)"), std::string::npos);
    EXPECT_EQ(page.text.find("<p>\n  <table"), std::string::npos) << "a table never stands in a paragraph";
}

TEST_F(XhtmlWriterTest, SourceParagraphsShareOneBlockThatTheNextParagraphCloses)
{
    Paragraph(kSource, "int a = 1 < 2;", FontId::kCode);
    Paragraph(kSource, "return a & 1;", FontId::kCode);
    Paragraph(kParagraph, "after", FontId::kText);
    const std::string page = Page();
    EXPECT_EQ(XmlLintTextErrors(page, true), "");
    EXPECT_EQ(Count(page, "<pre>"), 1);
    EXPECT_NE(page.find("<pre>int a = 1 &lt; 2;\nreturn a &amp; 1;\n</pre>"), std::string::npos) << page;
    EXPECT_LT(page.find("</pre>"), page.find("after"));
}

TEST_F(XhtmlWriterTest, ASourceBlockAtTheEndIsClosedByTheTail)
{
    Paragraph(kSource, "x", FontId::kCode);
    const std::string page = Page();
    EXPECT_EQ(XmlLintTextErrors(page, true), "");
    EXPECT_LT(page.find("</pre>"), page.find("</body>"));
}

TEST_F(XhtmlWriterTest, SubListsAndEquationsBetweenItemsNestInsideTheOpenItem)
{
    Paragraph(kEnumerated, "one", FontId::kText);
    Paragraph(kSubItemized, "one a", FontId::kText);
    Paragraph(kSubItemized, "one b", FontId::kText);
    Paragraph(kEquation, "x=1", FontId::kMath);
    Paragraph(kEnumerated, "two", FontId::kText);
    Paragraph(kItemized, "three", FontId::kText);
    Paragraph(kEquation, "y=2", FontId::kMath);
    Paragraph(kParagraph, "after", FontId::kText);
    const std::string page = Page();
    EXPECT_EQ(XmlLintTextErrors(page, true), "") << page;
    EXPECT_EQ(Count(page, "<ol>"), 1);
    EXPECT_EQ(Count(page, "<ul>"), 2);
    EXPECT_EQ(Count(page, "<li>"), 5);
    // The equation stays in the open sub-item; the next item closes both.
    EXPECT_LT(page.find("one b"), page.find("<p class=\"eqn\">"));
    EXPECT_LT(page.find("<p class=\"eqn\">"), page.find("</ul>"));
    EXPECT_LT(page.find("</ul>"), page.find("two"));
    EXPECT_LT(page.find("</ol>"), page.find("three"));
    // An equation after a list's last item stands after the list.
    EXPECT_LT(page.rfind("</ul>"), page.rfind("<p class=\"eqn\">"));
}

TEST_F(XhtmlWriterTest, TheIndentStaysBetweenNoneAndSixtyTwoBlanks)
{
    StringStream out;
    {
        XhtmlWriter writer(out);
        for (int i = 0; i < 40; ++i)
            writer.Open("mrow");
        for (int i = 0; i < 45; ++i)
            writer.Close("mrow");
        writer.Open("mi");
        writer.Flush();
    }
    std::size_t deepest = 0;
    for (const std::string& line : Lines(out.text))
        deepest = std::max(deepest, line.find('<'));
    EXPECT_EQ(deepest, 62u);
    EXPECT_EQ(Lines(out.text).back(), "<mi>");
}

TEST_F(XhtmlWriterTest, ALongParagraphBreaksAtABlankFromColumn81WithoutBreakingWords)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word" + std::to_string(i) + " ";
    Paragraph(kParagraph, text, FontId::kText);
    const std::string body = Between(Page(), "<p>\n", "</p>");
    std::string joined;
    int lines = 0;
    for (const std::string& line : Lines(body)) {
        if (line.find('<') != std::string::npos)
            continue;
        ++lines;
        // Only the first blank from column 81 on ends a line.
        if (line.back() == ' ') {
            EXPECT_LT(line.rfind(' ', line.size() - 2), 80u) << line;
        }
        EXPECT_LT(line.find(' '), 80u) << line;
        joined += line;
    }
    EXPECT_GE(lines, 3);
    EXPECT_EQ(joined, text);
}

TEST_F(XhtmlWriterTest, TextBeforeALinkComesBeforeItAndALinkEndsAFormula)
{
    ParagraphComp* paragraph = Paragraph(kParagraph, "read ", FontId::kText);
    paragraph->GetRow()->Append(new HyperlinkComp(Str255("a.html#x"), Str255("this"), true));
    Append(*paragraph->GetRow(), " now ", FontId::kText);
    Append(*paragraph->GetRow(), "x+1", FontId::kMath);
    paragraph->GetRow()->Append(new HyperlinkComp(Str255("b.html"), Str255("that"), true));
    const std::string page = Page();
    EXPECT_NE(page.find("read <a href=\"a.html#x\">this</a> now "), std::string::npos);
    EXPECT_NE(page.find("</math><a href=\"b.html\">that</a>"), std::string::npos) << page;
    StringStream out;
    XhtmlWriter writer(out, "t", "p", nullptr);
    paragraphs->WriteMathML(writer);
    EXPECT_FALSE(writer.HasParseError());
}

TEST_F(XhtmlWriterTest, LongSourceLinesAreKeptWhole)
{
    const std::string line(40, 'a');
    Paragraph(kSource, line + " " + line + " " + line, FontId::kCode);
    EXPECT_NE(Page().find("<pre>" + line + " " + line + " " + line + "\n</pre>"), std::string::npos);
}

TEST_F(XhtmlWriterTest, RunsOfItalicBoldCodeAndMath)
{
    ParagraphComp* paragraph = Paragraph(kParagraph, "a ", FontId::kText);
    Append(*paragraph->GetRow(), "b", FontId::kItalic);
    Append(*paragraph->GetRow(), "c", FontId::kBold);
    Append(*paragraph->GetRow(), "d", FontId::kCode);
    Append(*paragraph->GetRow(), "x", FontId::kMath);
    Append(*paragraph->GetRow(), " e", FontId::kText);
    const std::string page = Page();
    EXPECT_EQ(XmlLintTextErrors(page, true), "");
    EXPECT_NE(page.find("a <i>b</i><b>c</b><code>d</code><math "), std::string::npos) << page;
    EXPECT_NE(page.find("<mi>x</mi>"), std::string::npos);
    EXPECT_NE(page.find("</math> e"), std::string::npos) << page;
}

TEST_F(XhtmlWriterTest, ATitleLeavesTheIndentAsItFoundIt)
{
    StringStream out;
    {
        XhtmlWriter writer(out);
        CompList row;
        Append(row, "T & t", FontId::kText);
        writer.WriteTitle(row);
        writer.Open("p");
        writer.Flush();
    }
    EXPECT_EQ(out.text, "<h1 class=\"title\">T &amp; t</h1>\n\n<p>\n");
}

TEST_F(XhtmlWriterTest, EverythingWrittenAsTextOrAttributeIsEscaped)
{
    StringStream out;
    {
        XhtmlWriter writer(out);
        writer.WriteEscapedChar(7);
        writer.WriteEscapedChar(0xFFFE);
        writer.WriteEscapedChar('\t');
        writer.WriteUtf8Text("caf\xC3\xA9 \xF0\x9F\x98\x80 \xFF \xC0\xAF");
        writer.StartEmptyElement("img");
        writer.WriteAttribute("alt", "a\"b<c>&d\x01");
        writer.EndPendingTag(false);
        writer.Flush();
    }
    EXPECT_EQ(out.text, "&#65533;&#65533;\tcaf&#233; &#128512; &#65533; &#65533;&#65533;"
                        "<img alt=\"a&quot;b&lt;c&gt;&amp;d&#65533;\" />");
}

TEST_F(XhtmlWriterTest, ADashedStrokeAndTheSvgRoot)
{
    StringStream out;
    DiagramDC dc;
    {
        XhtmlWriter writer(out);
        svg::Start(writer, dc, 200, 100);
        EXPECT_EQ(dc.GetOutputFactor(), svg::kFactor);
        writer.StartEmptyElement("line");
        svg::Stroke(writer, ShapeStyle{(1 << 3) | 1, RGB(1, 2, 3), RGB(0, 0, 0), false});
        writer.EndPendingTag(true);
        writer.StartEmptyElement("polygon");
        svg::FillStroke(writer, ShapeStyle{2, RGB(0, 0, 0), RGB(250, 200, 100), true});
        writer.EndPendingTag(true);
        svg::End(writer, dc);
        writer.Flush();
    }
    EXPECT_EQ(dc.GetOutputFactor(), 1);
    EXPECT_EQ(out.text,
              "<svg width=\"200px\" height=\"100px\" viewBox=\"0 0 2000 1000\" xmlns=\"http://www.w3.org/2000/svg\" "
              "version=\"1.1\">\n"
              "  <line style=\"stroke-dasharray: 100, 60, 100, 60\" stroke=\"rgb(1,2,3)\" stroke-width=\"10\" "
              "fill=\"none\" />\n"
              "  <polygon stroke=\"rgb(0,0,0)\" stroke-width=\"20\" fill=\"rgb(250,200,100)\" />\n"
              "</svg>\n");
    EXPECT_EQ(XmlLintTextErrors(out.text, false), "");
}

TEST_F(XhtmlWriterTest, LabelRowsAreTextMathOrAParagraphByWhatTheyHold)
{
    auto label = [&](CompList& row) {
        StringStream out;
        XhtmlWriter writer(out);
        writer.WriteLabelRow(IntPoint(10, 20), IntPoint(110, 220), row, 12);
        writer.Flush();
        return out.text;
    };
    CompList characters;
    Append(characters, "x", FontId::kMath);
    Append(characters, "=", FontId::kText);
    Append(characters, "2", FontId::kBold);
    const std::string text = label(characters);
    EXPECT_EQ(text, "<text x=\"10\" y=\"158\" style=\"font-size: 120pt\"><tspan style=\"font-style: italic\">x</tspan>="
                    "<tspan style=\"font-weight: bold\">2</tspan></text>\n");

    CompList formula;
    Append(formula, "a", FontId::kMath);
    formula.Append(new FractionComp);
    std::string math = label(formula);
    // Outside the page the entity names are unknown.
    math.replace(math.find("&InvisibleTimes;"), 16, "&#x2062;");
    EXPECT_EQ(math.rfind("<foreignObject x=\"10\" y=\"20\" width=\"100\" height=\"200\">\n  <math ", 0), 0u) << math;
    EXPECT_EQ(XmlLintTextErrors(math, false), "");

    CompList mixed;
    Append(mixed, "see ", FontId::kText);
    mixed.Append(new FractionComp);
    const std::string paragraph = label(mixed);
    EXPECT_NE(paragraph.find("<body xmlns=\"http://www.w3.org/1999/xhtml\" style=\"font-size: 120pt\">"),
              std::string::npos);
    EXPECT_NE(paragraph.find("<p>see <math "), std::string::npos) << paragraph;
    EXPECT_EQ(XmlLintTextErrors(paragraph, false), "");
}

TEST_F(XhtmlWriterTest, ADrawingInALineOfTextIsWrittenAsItsPictureNotItsLabels)
{
    ParagraphComp* paragraph = Paragraph(kParagraph, "see ", FontId::kText);
    auto* drawing = new DiagramComp;
    auto* vertex = new VertexShape(1.0, 1.0);
    auto* name = new CompList;
    Append(*name, "Q", FontId::kMath);
    vertex->SetLabel(new DrawLabel(vertex, drawing, name));
    drawing->AddShape(vertex);
    paragraph->GetRow()->Append(drawing);
    Append(*paragraph->GetRow(), " here", FontId::kText);
    const std::string page = Page();
    EXPECT_EQ(XmlLintTextErrors(page, true), "");
    const std::string picture = Between(page, "<svg:svg", "</svg:svg>");
    EXPECT_NE(picture.find("<svg:circle"), std::string::npos) << page;
    EXPECT_EQ(page.find("<mi>Q</mi>"), std::string::npos) << "the label shows inside the picture only";
    EXPECT_NE(page.find("</svg:svg>\n here"), std::string::npos) << page;

    // A picture in a line of text, between formulas too, is its picture.
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 40, 20));
    gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(40, 20));
    HENHMETAFILE recorded = gDrawContext.EndMetafile();
    ParagraphComp* pictured = Paragraph(kParagraph, "look ", FontId::kText);
    Append(*pictured->GetRow(), "x+1", FontId::kMath);
    pictured->GetRow()->Append(new PictureComp(recorded));
    Append(*pictured->GetRow(), " there", FontId::kText);
    DrawContext::DeleteMetafile(recorded);
    const std::string withPicture = Page();
    EXPECT_EQ(XmlLintTextErrors(withPicture, true), "");
    EXPECT_EQ(withPicture.find("<mi>picture</mi>"), std::string::npos) << withPicture;
    EXPECT_NE(Between(withPicture, "look", "there").find("<img src="), std::string::npos) << withPicture;

    // Inside a formula the drawing's expression writes the same picture.
    std::unique_ptr<ExprNode> node(MakeDrawingNode(drawing));
    StringStream math;
    {
        XhtmlWriter writer(math);
        node->WriteMathML(writer);
        writer.Flush();
    }
    EXPECT_EQ(math.text.rfind("<svg ", 0), 0u) << math.text;
    EXPECT_EQ(math.text.find("<mi>"), std::string::npos) << math.text;
}
