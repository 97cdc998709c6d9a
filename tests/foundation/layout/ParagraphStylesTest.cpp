// The style table, the values of the eleven styles and the numbering.
#include "LayoutTestSupport.h"

#include "foundation/EquationLabel.h"
#include "foundation/EquationNumber.h"
#include "foundation/ParagraphStyle.h"

namespace {

class ParagraphStylesTest : public LayoutTest {
protected:
    // The label texts of paragraphs of the kinds after a layout pass.
    std::vector<std::string> Labels(const std::vector<int>& kinds)
    {
        ParagraphList list(&document);
        for (int kind : kinds)
            list.Append(Paragraph(kind, "text"));
        list.RelayoutAll(false);
        std::vector<std::string> out;
        for (int i = 1; i <= list.GetCount(); ++i) {
            EquationLabel* label = list.GetAt(i)->GetLabel();
            out.push_back(label ? label->GetText().GetText() : "-");
        }
        return out;
    }

    std::string Reference(int kind, EquationNumber n, bool bracket)
    {
        Str255 text;
        styles.GetStyle(kind)->ReferenceText(n, text, bracket);
        return text.GetText();
    }
};

} // namespace

TEST_F(ParagraphStylesTest, EquationsGrowWithLargerEquations)
{
    ParagraphList list(&document);
    list.Append(Paragraph(5, "x"));
    ParagraphComp* equation = list.GetAt(1);
    EXPECT_EQ(styles.GetStyle(5)->GetSizeStep(equation), 0);
    document.larger = true;
    EXPECT_EQ(styles.GetStyle(5)->GetSizeStep(equation), -1);
    EXPECT_EQ(styles.GetStyle(6)->GetSizeStep(equation), -1);
    EXPECT_EQ(styles.GetStyle(6)->GetSizeStep(nullptr), 0);
    EXPECT_EQ(styles.GetStyle(0)->GetSizeStep(nullptr), -4);
}

TEST_F(ParagraphStylesTest, NumberingRunsThroughTheDocument)
{
    // Enumerations restart after a plain paragraph but not after an equation.
    EXPECT_EQ(Labels({4, 4, 3, 4}), (std::vector<std::string>{"1.", "2.", "-", "1."}));
    EXPECT_EQ(Labels({4, 9, 9, 4}), (std::vector<std::string>{"1.", "1.1.", "1.2.", "2."}));
    EXPECT_EQ(Labels({4, 5, 4}), (std::vector<std::string>{"1.", "-", "2."}));
    // Equation numbers count over the whole document, not per section.
    EXPECT_EQ(Labels({1, 6, 1, 6, 6}), (std::vector<std::string>{"1", "(1)", "2", "(2)", "(3)"}));
    EXPECT_EQ(Labels({0, 2, 7, 10}), (std::vector<std::string>{"-", "-", "-", "-"}));
}

TEST_F(ParagraphStylesTest, LabelAndReferenceTexts)
{
    EquationNumber n;
    n.section = 2;
    n.equation = 4;
    n.item = 3;
    n.subItem = 5;
    Str255 text;
    styles.GetStyle(8)->LabelText(n, text);
    EXPECT_EQ(text, Str255("\x95"));
    styles.GetStyle(10)->LabelText(n, text);
    EXPECT_EQ(text, Str255("-"));
    styles.GetStyle(0)->LabelText(n, text);
    EXPECT_EQ(text.GetLength(), 0);

    EXPECT_EQ(Reference(1, n, false), "(\xA4" "2)");
    EXPECT_EQ(Reference(1, n, true), "[\xA4" "2]");
    EXPECT_EQ(Reference(4, n, false), "(#3)");
    EXPECT_EQ(Reference(9, n, true), "[#3.5]");
    EXPECT_EQ(Reference(6, n, true), "[4]");
    EXPECT_EQ(Reference(8, n, false), "");

    // Numbered equations enter at the end.
    std::unique_ptr<ParagraphComp> equation(Paragraph(6, "abc"));
    EXPECT_EQ(styles.GetStyle(6)->GetEntryIndex(*equation), 4);
    EXPECT_EQ(styles.GetStyle(3)->GetEntryIndex(*equation), 1);
}
