// The path from a typed formula's root to the term a selection covers or
// the node at a position: which node is marked as dragged, how a run of
// terms is grouped, and which node two paths share (never a matrix or an
// absolute value where the paths part).
#include "kernel/NodePath.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/DocSelection.h"
#include "foundation/ExprNode.h"
#include "foundation/RowNodeBuilder.h"
#include "kernel/KernelRowBuilder.h"
#include "kernel/MathParser.h"
#include "math/AbsValueComp.h"
#include "math/MatrixComp.h"
#include "support/kernel/NodeWireText.h"
#include "support/math/MathTestSupport.h"

#include <gtest/gtest.h>

namespace {

class NodePathTest : public MathTest {
protected:
    NodePathTest() { RowNodeBuilder::Install(&KernelRowBuilder::Instance()); }
    ~NodePathTest() override { RowNodeBuilder::Install(nullptr); }

    std::unique_ptr<CompArray> Math(const std::string& typed)
    {
        std::string codes;
        for (char c : typed)
            codes += char(gReaderSymbolMap[static_cast<unsigned char>(c)]);
        return Chars(codes, FontManager::kMathFace);
    }
    // The row's expression; the row lives as long as the test.
    std::unique_ptr<ExprNode> Parse(CompList& row)
    {
        gSyntaxError = false;
        std::unique_ptr<ExprNode> node(MathParser(row, 1, row.GetCount() + 1).Parse());
        EXPECT_FALSE(gSyntaxError);
        return node;
    }
};

std::string Tags(const NodePath& path)
{
    std::string tags;
    for (const ExprNode* node : path.Nodes()) {
        char tag[5];
        node->GetTag().ToChars(tag);
        tags += std::string(tags.empty() ? "" : " ") + std::string(tag, 4);
    }
    return tags;
}

} // namespace

TEST_F(NodePathTest, ASelectionMarksItsTermAndARunOfTermsIsGrouped)
{
    struct Case {
        const char* typed;
        int first, last; // the selected characters, 1-based
        const char* marked;
        const char* tags;
    };
    const Case cases[] = {
        {"2x+3=7", 4, 4, "VXInequality[VXPlus[VXTimes[2, x], VXMover[3]], Equal, 7]", "eqnN sumN intN"},
        {"2x+3=7", 2, 2, "VXInequality[VXPlus[VXTimes[2, VXMover[x]], 3], Equal, 7]", "eqnN sumN prdN symN"},
        {"a+b+c=d", 3, 5, "VXInequality[VXPlus[a, VXMover[VXPlus[b, c]]], Equal, d]", "eqnN sumN sumN"},
        {"a b c=d", 1, 3, "VXInequality[VXTimes[VXMover[VXTimes[a, b]], c], Equal, d]", "eqnN prdN prdN"},
        // The whole side, and a run over both sides (the whole formula).
        {"a+b=c", 1, 3, "VXInequality[VXMover[VXPlus[a, b]], Equal, c]", "eqnN sumN"},
        {"a+b=c", 3, 5, "VXMover[VXInequality[VXPlus[a, b], Equal, c]]", "eqnN"},
        // Trailing blanks belong to no term.
        {"x+y =1", 3, 4, "VXInequality[VXPlus[x, VXMover[y]], Equal, 1]", "eqnN sumN symN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " " + std::to_string(c.first));
        CompList row(Math(c.typed));
        std::unique_ptr<ExprNode> root = Parse(row);
        NodePath path(root.get(), DocSelection(&row, c.first, c.last + 1), true);
        EXPECT_EQ(FullFormOf(root.get(), 1), c.marked);
        EXPECT_EQ(Tags(path), c.tags);
        EXPECT_TRUE(path.Innermost()->IsMover());
        EXPECT_EQ(path.Root(), root.get());
        // Without the mark nothing is marked and nothing grouped.
        CompList again(Math(c.typed));
        std::unique_ptr<ExprNode> plain = Parse(again);
        const std::string before = FullFormOf(plain.get(), 1);
        NodePath unmarked(plain.get(), DocSelection(&again, c.first, c.last + 1), false);
        EXPECT_EQ(FullFormOf(plain.get(), 1), before);
    }
}

TEST_F(NodePathTest, APositionsPathWalksOutwardsAndMeetsTheSelectionsPath)
{
    CompList row(Math("2x+3=7"));
    std::unique_ptr<ExprNode> root = Parse(row);
    NodePath dragged(root.get(), DocSelection(&row, 4, 5), true);
    NodePath onSeven(root.get(), DocPosition(&row, 6));
    EXPECT_EQ(Tags(onSeven), "eqnN intN");
    EXPECT_EQ(onSeven.DeepestShared(dragged), root.get());
    // On the equals sign: the relation's operator, then the relation.
    NodePath onEquals(root.get(), DocPosition(&row, 5));
    EXPECT_EQ(Tags(onEquals), "eqnN symN");
    // Inside the same sum: the sum is shared.
    NodePath onTwo(root.get(), DocPosition(&row, 1));
    EXPECT_EQ(onTwo.DeepestShared(dragged)->GetTag(), TypeTag("sumN"));
    // First and Next walk from the innermost node to the root, then stop.
    EXPECT_EQ(onTwo.First()->GetTag(), TypeTag("intN"));
    EXPECT_EQ(onTwo.Next()->GetTag(), TypeTag("prdN"));
    EXPECT_EQ(onTwo.Next()->GetTag(), TypeTag("sumN"));
    EXPECT_EQ(onTwo.Next(), root.get());
    EXPECT_EQ(onTwo.Next(), nullptr);
    EXPECT_TRUE(onTwo.Contains(root.get()));
    EXPECT_FALSE(onTwo.Contains(dragged.Innermost()));
    // Paths in different formulas share nothing.
    CompList other(Math("y=1"));
    std::unique_ptr<ExprNode> otherRoot = Parse(other);
    EXPECT_EQ(NodePath(otherRoot.get(), DocPosition(&other, 1)).DeepestShared(dragged), nullptr);
}

TEST_F(NodePathTest, AMatrixOrAnAbsoluteValueWherePathsPartIsNotShared)
{
    // |x+y|+z = 1: from x to the bars the paths part at the absolute value,
    // so the sum holding it is shared; from x to y they part inside it.
    auto items = std::make_unique<CompArray>();
    items->Append(new AbsValueComp(Math("x+y")));
    auto rest = Math("+z=1");
    for (int i = 1; i <= rest->GetCount(); ++i)
        items->Append(rest->GetAt(i));
    CompList row(std::move(items));
    std::unique_ptr<ExprNode> root = Parse(row);
    CompList* inside = row.GetAt(1)->GetChild(1);
    ASSERT_NE(inside, nullptr);
    NodePath dragged(root.get(), DocSelection(inside, 1, 2), true);
    EXPECT_EQ(Tags(dragged), "eqnN sumN absN sumN symN");
    NodePath onBars(root.get(), DocPosition(&row, 1));
    EXPECT_EQ(onBars.Innermost()->GetTag(), TypeTag("absN"));
    EXPECT_EQ(onBars.DeepestShared(dragged)->GetTag(), TypeTag("sumN"));
    EXPECT_EQ(onBars.DeepestShared(dragged), dragged.Nodes()[1]);
    NodePath onY(root.get(), DocPosition(inside, 3));
    EXPECT_EQ(onY.DeepestShared(dragged), dragged.Nodes()[3]);

    // 2 (a b): between the cells of the matrix (its row included) the product is shared.
    auto* matrix = new MatrixComp(2, 1);
    matrix->GetCell(1, 1)->InsertAllAt(Math("a"), 1);
    matrix->GetCell(2, 1)->InsertAllAt(Math("b"), 1);
    auto factors = Math("2");
    factors->Append(matrix);
    CompList product(std::move(factors));
    std::unique_ptr<ExprNode> twice = Parse(product);
    NodePath onA(twice.get(), DocSelection(matrix->GetCell(1, 1), 1, 2), true);
    NodePath onB(twice.get(), DocPosition(matrix->GetCell(2, 1), 1));
    ASSERT_TRUE(onA.Contains(onB.Nodes()[1]));
    EXPECT_EQ(onB.Nodes()[1]->GetTag(), TypeTag("matN"));
    EXPECT_EQ(onB.DeepestShared(onA)->GetTag(), TypeTag("prdN"));
}
