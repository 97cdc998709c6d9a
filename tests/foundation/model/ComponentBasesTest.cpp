#include "support/model/ModelTestSupport.h"

#include "foundation/BoxComp.h"
#include "foundation/DocPosition.h"
#include "foundation/EditCodes.h"

namespace {

// A leaf box with fixed bounds.
class TestBox : public BoxComp {
public:
    explicit TestBox(TypeTag tag = tag_Miss) : m_tag(tag) { m_bounds = Rect(0, -10, 20, 5); }
    TextComp* Clone(LinkRemap&) override { return new TestBox(*this); }
    void GetTag(TypeTag& out) const override { out = m_tag; }

private:
    TypeTag m_tag;
};

// A structure of one row that only differs from TestFraction by its tag.
class TestRadical : public StructComp {
public:
    explicit TestRadical(std::unique_ptr<CompArray> row) : StructComp(std::move(row)) {}
    TextComp* Clone(LinkRemap& remap) override { return new TestRadical(m_first->CloneItems(remap)); }
    void GetTag(TypeTag& out) const override { out = tag_Sqrt; }
};

} // namespace

using ComponentBasesTest = ModelTest;

TEST_F(ComponentBasesTest, NearestPositionSplitsAtTheMiddle)
{
    CompList row(Chars("a"));
    auto* box = new TestBox;
    row.Append(box);
    box->SetOrigin(IntPoint(100, 50));  // absolute bounds 100..120: middle 110

    DocPosition position;
    box->PositionFromPoint(position, IntPoint(110, 50), true);
    EXPECT_EQ(position.GetIndex(), 2);
    box->PositionFromPoint(position, IntPoint(111, 50), true);
    EXPECT_EQ(position.GetIndex(), 3);
    EXPECT_EQ(position.GetList(), &row);

    box->GetEntryPosition(position);
    EXPECT_EQ(position.GetIndex(), 3);
}

TEST_F(ComponentBasesTest, BackspaceAndFieldKeysInsideAStructure)
{
    // A paragraph holding a fraction whose numerator is "x", a box, "y".
    auto top = Chars("x");
    top->Append(new TestBox);
    top->Append(fonts.GetFace(0)->GetCharacter('y'));
    auto* fraction = new TestFraction(std::move(top), Chars("2"));
    auto comps = std::make_unique<CompArray>();
    comps->Append(fraction);
    ParagraphComp paragraph(std::move(comps), 3);
    CompList* numerator = fraction->GetChild(1);
    auto* box = numerator->GetAt(2);

    DocPosition atStart(numerator, 1);
    DocPosition afterChar(numerator, 2);
    DocPosition afterBox(numerator, 3);
    EXPECT_EQ(box->MapKey(atStart, 8, false, false), 2805);
    EXPECT_EQ(box->MapKey(afterChar, 8, false, false), 2801);
    EXPECT_EQ(box->MapKey(afterBox, 8, false, false), 2807);
    EXPECT_EQ(box->MapKey(afterBox, 9, false, false), 2806);
    // Other keys climb to the fraction and then to the paragraph.
    EXPECT_EQ(box->MapKey(afterBox, 'a', false, false), EditCode::kType);
    EXPECT_EQ(box->MapKey(afterBox, 10, false, true), EditCode::kToggleParagraph); // Ctrl+Enter climbs too
    EXPECT_EQ(box->GetParagraph(), &paragraph);
}

TEST_F(ComponentBasesTest, StructuresCompareByTagAndRows)
{
    TestFraction a(Chars("1"), Chars("2"));
    TestFraction b(Chars("1"), Chars("2"));
    TestFraction c(Chars("1"), Chars("3"));
    EXPECT_TRUE(a.IsEqual(b));
    EXPECT_FALSE(a.IsEqual(c));

    TestRadical r1(Chars("1"));
    EXPECT_TRUE(r1.IsEqual(TestRadical(Chars("1"))));
    EXPECT_FALSE(r1.IsEqual(TestBox(tag_Sqrt)));  // a leaf has no child rows
    // Same first row, different tags.
    TestFraction f(Chars("1"), nullptr);
    EXPECT_FALSE(f.IsEqual(r1));
    EXPECT_FALSE(r1.IsEqual(f));

    EXPECT_FALSE(TestBox().IsEqual(TestBox(tag_Meta)));
}
