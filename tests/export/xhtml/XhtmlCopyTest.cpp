// Copy as MathML and Copy as SVG: the texts the writers give for a
// selection, and what the copy commands leave on the system clipboard.
#include "WriterFixture.h"

#include "drawing/DiagramComp.h"
#include "export/XhtmlExport.h"
#include "foundation/DocClipboard.h"
#include "foundation/DocSelection.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TCopyAsActions.h"
#include "math/EquationSetComp.h"
#include "math/MatrixComp.h"
#include "math/TableComp.h"
#include "platform/clipboard/PlatformClipboard.h"
#include "support/export/EveryComponentDocument.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

class XhtmlCopyTest : public WriterFixture {
protected:
    XhtmlCopyTest() { InstallCopyWriters(); }
    ~XhtmlCopyTest() override
    {
        TCopyMathMLAction::SetWriter(nullptr);
        TCopySVGAction::SetWriter(nullptr);
    }

    // The MathML a copy of the whole row gives.
    std::string CopyOf(CompList& row) { return MathMLOfSelection(DocSelection(&row, 1, row.GetCount() + 1)); }

    std::string Formula(const std::string& text)
    {
        CompList& row = *Paragraph(5, text, FontId::kMath)->GetRow();
        return CopyOf(row);
    }
};

QByteArray SystemClipboardData(const char* mimeType)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data ? data->data(mimeType) : QByteArray();
}

} // namespace

TEST_F(XhtmlCopyTest, ATableOfFormulasCopiesAsExpectedMathML)
{
    const std::pair<const char*, const char*> kTable[] = {
        {"x+1", "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">\n  <mrow>\n    <mi>x</mi>\n    <mo>+</mo>\n"
                "    <mn>1</mn>\n  </mrow>\n</math>\n"},
        {"a-2b", "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">\n  <mrow>\n    <mi>a</mi>\n    <mo>-</mo>\n"
                 "    <mrow>\n      <mn>2</mn>\n      <mo>&#x2062;</mo>\n      <mi>b</mi>\n    </mrow>\n"
                 "  </mrow>\n</math>\n"},
        {"(x+y)", "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">\n  <mrow>\n    <mo>(</mo>\n    <mrow>\n"
                  "      <mi>x</mi>\n      <mo>+</mo>\n      <mi>y</mi>\n    </mrow>\n    <mo>)</mo>\n  </mrow>\n"
                  "</math>\n"},
        // A one-blank equation is an empty formula.
        {" ", "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">\n</math>\n"},
    };
    for (const auto& [formula, expected] : kTable) {
        const std::string copy = Formula(formula);
        EXPECT_EQ(copy, expected) << formula;
        EXPECT_EQ(XmlLintTextErrors(copy, false), "") << formula;
    }
}

TEST_F(XhtmlCopyTest, ATableComponentCopiesAsATableOfCells)
{
    auto* table = new TableComp(2, 2);
    const char* cells[2][2] = {{"x", "1"}, {"y", "2"}};
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 2; ++r)
            Append(*table->GetCell(c, r), cells[c - 1][r - 1], FontId::kMath);
    ParagraphComp* paragraph = Paragraph(5, "", FontId::kMath);
    paragraph->GetRow()->Append(table);
    const std::string copy = CopyOf(*paragraph->GetRow());
    EXPECT_EQ(XmlLintTextErrors(copy, false), "") << copy;
    EXPECT_NE(copy.find("<mtable columnlines=\"solid\" rowlines=\"solid none\" frame=\"solid\">"), std::string::npos)
        << copy;
    EXPECT_EQ(Count(copy, "<mtr>"), 2);
    EXPECT_EQ(Count(copy, "<mtd>"), 4);
    EXPECT_LT(copy.find("<mi>x</mi>"), copy.find("<mi>y</mi>"));

    // An empty slot of a matrix or an equation set shows nothing: an empty row.
    auto* matrix = new MatrixComp(2, 1);
    Append(*matrix->GetCell(1, 1), "a", FontId::kMath);
    auto* set = new EquationSetComp(2);
    Append(*set->GetCell(1, 1), "x=1", FontId::kMath);
    for (TextComp* grid : {static_cast<TextComp*>(matrix), static_cast<TextComp*>(set)}) {
        ParagraphComp* holder = Paragraph(5, "", FontId::kMath);
        holder->GetRow()->Append(grid);
        const std::string withSlot = CopyOf(*holder->GetRow());
        EXPECT_EQ(XmlLintTextErrors(withSlot, false), "") << withSlot;
        EXPECT_EQ(withSlot.find("Null"), std::string::npos) << withSlot;
        EXPECT_EQ(Count(withSlot, "<mrow />"), 1) << withSlot;
    }
}

// Text copies as text, as the page writes it: words never become a product
// of identifiers, and a drawing among them stands in text, never directly
// in the formula.
TEST_F(XhtmlCopyTest, TextCopiesAsTextBesideItsFormulasAndDrawings)
{
    const std::string math = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">\n";
    CompList& words = *Paragraph(3, "hello world", FontId::kText)->GetRow();
    EXPECT_EQ(CopyOf(words), math + "  <mtext>hello world</mtext>\n</math>\n");
    // Words the mathematics face holds in text, as old documents keep them.
    CompList& oldWords = *Paragraph(3, "So ", FontId::kText)->GetRow();
    Append(oldWords, "it is", FontId::kMath);
    EXPECT_EQ(CopyOf(oldWords), math + "  <mtext>So it is</mtext>\n</math>\n");

    CompList& mixed = *Paragraph(3, "So ", FontId::kText)->GetRow();
    Append(mixed, "x+1", FontId::kMath);
    Append(mixed, " here", FontId::kText);
    EXPECT_EQ(CopyOf(mixed),
              math +
                  "  <mrow>\n    <mtext>So&#160;</mtext>\n    <mrow>\n      <mi>x</mi>\n"
                  "      <mo>+</mo>\n      <mn>1</mn>\n    </mrow>\n    <mtext>&#160;here</mtext>\n"
                  "  </mrow>\n</math>\n");

    CompList& drawn = *Paragraph(3, "See ", FontId::kText)->GetRow();
    drawn.Append(new DiagramComp);
    const std::string copy = CopyOf(drawn);
    EXPECT_EQ(XmlLintTextErrors(copy, false), "") << copy;
    const std::size_t svg = copy.find("<svg ");
    ASSERT_NE(svg, std::string::npos) << copy;
    EXPECT_EQ(copy.rfind('<', svg - 1), copy.rfind("<mtext>", svg)) << "the drawing's parent is text\n" << copy;
    EXPECT_LT(copy.find("</svg>"), copy.find("</mtext>", svg)) << copy;
}

TEST_F(XhtmlCopyTest, AnEmptyOrForeignSelectionCopiesNothing)
{
    CompList& row = *Paragraph(5, "x+1", FontId::kMath)->GetRow();
    EXPECT_EQ(MathMLOfSelection(DocSelection(&row, 2, 2)), "");
    // A formula that does not read copies nothing, not the parser's error.
    EXPECT_EQ(Formula("(a+"), "");
    EXPECT_EQ(SvgOfSelection(DocSelection(&row, 1, 2)), "");
}

TEST_F(XhtmlCopyTest, CopyAsMathMLLeavesTheMathMLOnTheSystemClipboard)
{
    CompList& row = *Paragraph(5, "x+1", FontId::kMath)->GetRow();
    const DocSelection selection(&row, 1, 4);
    DocClipboard clipboard;
    TCopyMathMLAction copy(selection, &clipboard);
    copy.Do();
    const QByteArray mathml = SystemClipboardData(PlatformClipboard::mathmlMimeType);
    EXPECT_EQ(mathml.toStdString(), MathMLOfSelection(selection));
    EXPECT_TRUE(mathml.startsWith("<math xmlns="));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("<math xmlns="));
    copy.Commit();
}

TEST_F(XhtmlCopyTest, CopyAsSvgLeavesTheDrawingsSvgOnTheSystemClipboard)
{
    paragraphs.reset();
    EveryComponentDocument document;
    DiagramComp* drawing = nullptr;
    ParagraphList& list = document.Paragraphs();
    for (int i = 1; i <= list.GetCount() && !drawing; ++i)
        drawing = dynamic_cast<DiagramComp*>(list.GetAt(i)->GetRow()->GetAt(1));
    ASSERT_NE(drawing, nullptr);
    const DocSelection selection(drawing);
    DocClipboard clipboard;
    TCopySVGAction copy(selection, &clipboard);
    copy.Do();
    const QByteArray svg = SystemClipboardData(PlatformClipboard::svgMimeType);
    EXPECT_EQ(svg.toStdString(), SvgOfSelection(selection));
    EXPECT_TRUE(svg.startsWith("<svg width="));
    EXPECT_EQ(XmlLintTextErrors(svg.toStdString(), false), "");
    copy.Commit();
}
