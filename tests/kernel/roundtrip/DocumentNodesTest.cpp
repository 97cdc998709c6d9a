// Points, paragraphs of a selection and node arrays as kernel nodes.
#include "kernel/ConstantLetters.h"
#include "kernel/KernelRowBuilder.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NodeArray.h"

#include "foundation/DPoint.h"
#include "foundation/DocSelection.h"
#include "foundation/ParagraphList.h"
#include "foundation/Str255.h"
#include "math/ExponentComp.h"
#include "math/SubscriptComp.h"
#include "mathlink/LinkExpr.h"
#include "support/math/MathTestSupport.h"

namespace {

class DocumentNodesTest : public MathTest {};

TEST_F(DocumentNodesTest, PointsTravelAsListsOfTwoReals)
{
    std::unique_ptr<ExprNode> list(DPoint(1.5, -2.0).ToKernelList());
    EXPECT_EQ(list->GetTag(), TypeTag("lisN"));
    EXPECT_EQ(NodeToDPoint(list.get()), DPoint(1.5, -2.0));
    auto* one = new ListNode(new IntegerNode(3));
    std::unique_ptr<ExprNode> short_(one);
    EXPECT_EQ(NodeToDPoint(one), DPoint(3.0, 0.0));
    SymbolNode symbol(std::string("p"));
    EXPECT_EQ(NodeToDPoint(&symbol), DPoint());
}

TEST_F(DocumentNodesTest, ASelectionCollectsTheNodesOfItsParagraphs)
{
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    ParagraphList list;
    list.Append(Paragraph(5, Chars("x+1", FontManager::kMathFace)).release());
    list.Append(Paragraph(5, Chars("2y", FontManager::kMathFace)).release());
    std::unique_ptr<ExprNode> rows(list.GetFullSelection().CollectParagraphs());
    RowNodeBuilder::Install(nullptr);
    Str255 text;
    rows->GetText(text);
    EXPECT_EQ(rows->GetChildCount(), 2);
    EXPECT_EQ(std::string(text.GetPtrAt(0), std::size_t(text.GetLength())), "{x + 1,2 y}");
}

TEST_F(DocumentNodesTest, NodeArraysTakeOverListsAndGiveThemBack)
{
    auto* list = new ListNode(new IntegerNode(1));
    list->AppendChild(new IntegerNode(2));
    list->AppendChild(new IntegerNode(3));
    std::unique_ptr<NodeArray> array = NodeArray::FromList(list);
    ASSERT_EQ(array->GetCount(), 3);
    std::unique_ptr<ExprNode> second(array->RemoveAt(2));
    EXPECT_EQ(second->GetIntegerValue(), 2);
    EXPECT_EQ(array->RemoveAt(5), nullptr);
    Str255 text("choice ");
    array->AppendTextAt(2, text);
    EXPECT_EQ(std::string(text.GetPtrAt(0), std::size_t(text.GetLength())), "choice 3");
    std::unique_ptr<ExprNode> back(array->DetachToList());
    EXPECT_EQ(back->GetChildCount(), 2);
    EXPECT_EQ(array->GetCount(), 0);
}

TEST_F(DocumentNodesTest, CodeTextKeepsItsRunsAndParsesSubscriptedWords)
{
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    auto items = Chars("Plot x", FontManager::kMathFace);
    items->Append(new ExponentComp(Chars("2", FontManager::kMathFace)));
    auto tail = Chars(" + a", FontManager::kMathFace);
    for (int i = 1; i <= tail->GetCount(); ++i)
        items->Append(tail->GetAt(i));
    items->Append(new SubscriptComp(Chars("1", FontManager::kMathFace)));
    CompList row(std::move(items));
    std::unique_ptr<ExprNode> node(row.BuildTextNode());
    // A name of 100,000 characters is one run, found in one pass over it.
    CompList name(Chars(std::string(100000, 'a'), FontManager::kMathFace));
    EXPECT_EQ(std::unique_ptr<ExprNode>(name.BuildTextNode())->GetChildCount(), 1);
    RowNodeBuilder::Install(nullptr);
    MLENV env = MLInitialize();
    int error = 0;
    MLINK link = MLLoopbackOpen(env, &error);
    node->PutPackageForm(link, 0);
    MLEndPacket(link);
    MLNextPacket(link);
    wire::Expr expr;
    ASSERT_TRUE(wire::getLinkExpr(link, expr));
    EXPECT_EQ(wire::toFullForm(expr), "List[\"Plot x\", \"^(\", List[\"2\"], \") \", \" + \", VXSubscript[a, 1]]");
    MLClose(link);
    MLDeinitialize(env);
}

// Mode 2 and 3 calculations check a selected letter in the Constants palette.
TEST(ConstantLetterTest, OnlyLettersBetweenCapitalAAndSmallZ)
{
    for (unsigned char c : {'A', 'Z', 'a', 'z', 'q'})
        EXPECT_TRUE(IsConstantLetter(c)) << c;
    for (unsigned char c : {'[', '\\', ']', '^', '_', '`', '@', '{', '1'})
        EXPECT_FALSE(IsConstantLetter(c)) << c;
}

} // namespace
