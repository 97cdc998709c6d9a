// The LaTeX, linear-text and HTML forms of the grids.
#include "GridTestSupport.h"

#include "foundation/LinkTarget.h"

using GridFormsTest = GridTest;

TEST_F(GridFormsTest, MatrixLaTeXAndLinearText)
{
    MatrixComp matrix(2, 2);
    Fill(matrix, {"a", "b", "c", "d"});
    EXPECT_EQ(LaTeX(matrix), "\\left[ \\begin{array}{cc}a & b \\\\ c & d\\end{array}\\right] ");
    EXPECT_EQ(LinearText(matrix), "[[a,b],[c,d]]");

    // Alone in an absolute value it is a determinant; beside others it keeps its brackets.
    TestAbs abs;
    auto* determinant = new MatrixComp(2, 1);
    abs.GetChild(1)->Append(determinant);
    Fill(*determinant, {"x", "y"});
    EXPECT_EQ(LaTeX(*determinant), "\\begin{array}{cc}x & y\\end{array}");
    abs.GetChild(1)->Append(fonts.GetFace(0)->GetCharacter('z'));
    EXPECT_EQ(LaTeX(*determinant), "\\left[ \\begin{array}{cc}x & y\\end{array}\\right] ");
}

TEST_F(GridFormsTest, TableLaTeXTextAndHtml)
{
    TableComp table(2, 3);
    Fill(table, {"a", "b", "c", "d", "e", "f"});
    EXPECT_EQ(LaTeX(table), "\\begin{tabular}{|c|c|} \\hline $a$ & $b$ \\\\ \\hline $c$ & $d$ \\\\ $e$ & $f$ \\\\ "
                            "\\hline \\end{tabular}");
    EXPECT_EQ(LinearText(table), "a\tb\rc\td\re\tf");

    RecordingElements html;
    table.WriteHTML(html);
    EXPECT_EQ(html.text, "<table align=center border=1>"
                         "<tr><th align=center>[a]</th><th align=center>[b]</th></tr>"
                         "<tr><td align=center>[c]</td><td align=center>[d]</td></tr>"
                         "<tr><td align=center>[e]</td><td align=center>[f]</td></tr></table>");
}

TEST_F(GridFormsTest, EquationSetForms)
{
    EquationSetComp one(1);
    Fill(one, {"x=1"});
    EXPECT_EQ(LaTeX(one), "\\left\\{ \\begin{array}{c}x=1\\end{array} \\right\\} ");
    EXPECT_EQ(LinearText(one), "{ x=1 }");

    EquationSetComp two(2);
    Fill(two, {"x=1", "y"});
    EXPECT_EQ(LinearText(two), "{ x=1,y }");
    // In an equation array, a row without a relation stands in the last column.
    RecordingLaTeX rows;
    two.WriteLaTeXRows(rows);
    EXPECT_EQ(rows.text, "x=1 \\\\  & & y");
}

TEST_F(GridFormsTest, AnEquationSetAloneInAnEquationParagraphIsAnEqnarray)
{
    struct ArrayLaTeX : RecordingLaTeX {
        void BeginEqnarray() override { text += "<eqnarray>"; }
        void EndEqnarray() override { text += "</eqnarray>"; }
    };
    auto* set = new EquationSetComp(2);
    Fill(*set, {"x=1", "y"});
    auto comps = std::make_unique<CompArray>();
    comps->Append(set);
    ParagraphComp numbered(std::move(comps), 6);
    ArrayLaTeX writer;
    numbered.WriteLaTeX(writer);
    EXPECT_EQ(writer.text, "<eqnarray>x=1 \\\\  & & y</eqnarray>");

    // Once a cross-reference observes the label, the equation stays numbered.
    TargetLink reference(numbered.GetLabel());
    writer.text.clear();
    numbered.WriteLaTeX(writer);
    EXPECT_NE(writer.text.find("\\left\\{ \\begin{array}{c}"), std::string::npos) << writer.text;
    EXPECT_EQ(writer.text.find("<eqnarray>"), std::string::npos);
}

TEST_F(GridFormsTest, SplitDefinitionForms)
{
    SplitDefinitionComp split(2);
    Fill(split, {"1", "x>0", "0", "otherwise"});
    EXPECT_EQ(LaTeX(split), "\\left\\{ \\begin{array}{ll}1 & x>0 \\\\ 0 & otherwise\\end{array} \\right. ");
    EXPECT_EQ(LinearText(split), "{1 if x>0 , 0 otherwise}");

    SplitDefinitionComp conditions(2);
    Fill(conditions, {"1", "x>0", "0", "x<=0"});
    EXPECT_EQ(LinearText(conditions), "{1 if x>0 , 0 if x<=0}");
    // "otherwise" on an earlier row is an ordinary condition.
    SplitDefinitionComp early(2);
    Fill(early, {"1", "otherwise", "0", "x"});
    EXPECT_EQ(LinearText(early), "{1 if otherwise , 0 if x}");
}
