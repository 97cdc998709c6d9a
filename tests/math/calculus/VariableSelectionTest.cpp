// Whole variables of a partial derivative selected by their slots: how two
// ends become slots, copying, deleting and inserting them back, the Insert
// Derivative action with undo, and the derivative never left without a variable.
#include "foundation/actions/ActionFixture.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/TInsertItemAction.h"
#include "math/CalculusComponents.h"
#include "math/PartialDerivativeComp.h"

namespace {

// The ActionTest document with a fourth paragraph "p" [∂f / ∂x ∂y ∂z].
class VariableSelectionTest : public ActionTest {
protected:
    VariableSelectionTest()
    {
        RegisterCalculusComponents();
        derivative = new PartialDerivativeComp(Chars("f"), new PartialDifferentialComp(Chars("x"), Chars("")));
        derivative->InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("2")));
        derivative->InsertVariable(3, new PartialDifferentialComp(Chars("z"), Chars("")));
        auto row = Chars("p");
        row->Append(derivative);
        list.Append(new ParagraphComp(std::move(row), 3));
    }

    // The variables' names, e.g. "xyz".
    static std::string Variables(const PartialDerivativeComp& partial)
    {
        std::string text;
        for (int k = 1; k <= partial.GetVariableCount(); ++k)
            text += Text(*partial.GetVariable(k)->VariableRow());
        return text;
    }
    static PartialDerivativeComp* DerivativeOf(const DocSelection& fragment)
    {
        return dynamic_cast<PartialDerivativeComp*>(fragment.GetStart().GetObject());
    }
    DocPosition Slot(int k) const { return DocPosition(derivative, k); }
    DocPosition InVariable(int k) const { return DocPosition(derivative->GetVariable(k)->VariableRow(), 1); }

    PartialDerivativeComp* derivative;
};

TEST_F(VariableSelectionTest, EndsInVariablesBecomeSlots)
{
    DocSelection two(InVariable(3), InVariable(2));
    EXPECT_EQ(two.GetStart(), Slot(2));
    EXPECT_EQ(two.GetEnd(), Slot(4));
    // An end in the operand means the derivative whole.
    DocSelection whole(DocPosition(derivative->Operand(), 1), InVariable(2));
    EXPECT_EQ(whole.GetStart().GetKind(), DocPosition::kListPlace);
    EXPECT_EQ(whole.GetSingleObject(), derivative);
}

TEST_F(VariableSelectionTest, VariablesCopyDeleteAndInsertBackToTheSameBytes)
{
    const auto original = Bytes();
    DocSelection range(Slot(2), Slot(4));

    DocSelection copy = range.MakeCopyRecord();
    ASSERT_NE(DerivativeOf(copy), nullptr);
    EXPECT_EQ(Variables(*DerivativeOf(copy)), "yz");
    copy.DestroyWithParagraph();
    EXPECT_EQ(Bytes(), original);

    DocPosition at = range.MakeDeleteRecord();
    EXPECT_EQ(at, Slot(2));
    EXPECT_EQ(Variables(*derivative), "x");
    EXPECT_EQ(Variables(*DerivativeOf(range)), "yz");
    ASSERT_TRUE(range.CanInsertAt(at));
    EXPECT_FALSE(range.CanInsertAt(DocPosition(derivative, 1, false)));
    DocSelection inserted = range.InsertAt(at);
    EXPECT_EQ(inserted.GetStart(), Slot(2));
    EXPECT_EQ(inserted.GetEnd(), Slot(4));
    EXPECT_EQ(Bytes(), original);
}

TEST_F(VariableSelectionTest, DeletingEveryVariableLeavesOneEmptyVariable)
{
    DocSelection all(Slot(1), Slot(4));
    DocPosition at = all.MakeDeleteRecord();
    EXPECT_EQ(at, Slot(1));
    ASSERT_EQ(derivative->GetVariableCount(), 1);
    EXPECT_EQ(Variables(*derivative), "");
    EXPECT_EQ(Variables(*DerivativeOf(all)), "xyz");
    // The variables go back in front of the empty one, which stays usable.
    all.InsertAt(at);
    EXPECT_EQ(derivative->GetVariableCount(), 4);
    EXPECT_EQ(Variables(*derivative), "xyz");
}

TEST_F(VariableSelectionTest, InsertDerivativeUndoAndRedo)
{
    const auto before = Bytes();
    // The caret inside the second variable: the new one goes after it.
    DocPosition caret = InVariable(2);
    ASSERT_TRUE(Run(new TInsertDerivativeAction(DocSelection(caret, caret))));
    ASSERT_EQ(derivative->GetVariableCount(), 4);
    EXPECT_EQ(Text(*derivative->GetVariable(3)->VariableRow()), "");
    EXPECT_EQ(Text(*derivative->GetVariable(4)->VariableRow()), "z");
    EXPECT_EQ(view.selection.GetEnd(), Slot(4));
    const auto after = Bytes();
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Variables(*derivative), "xyz");
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), after);
    host.UndoOrRedo();
    EXPECT_EQ(Bytes(), before);
}

} // namespace
