#include "support/model/ModelTestSupport.h"

#include "foundation/BoxComp.h"
#include "foundation/DocPosition.h"

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
