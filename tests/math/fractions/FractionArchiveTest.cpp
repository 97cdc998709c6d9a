#include "FractionTestSupport.h"

#include <algorithm>

namespace {

class FractionArchiveTest : public MathTest {
protected:
    // Every component of these classes, nested in each other:
    // (x^2 + |y_i|) / [conj(z) hat(a) tilde(b)] ( missing ).
    std::unique_ptr<CompList> Nested()
    {
        auto* power = new ExponentComp(Chars("2"));
        auto* sub = new SubscriptComp(Chars("i"));
        auto* abs = new AbsValueComp(Items({fonts.GetFace(0)->GetCharacter('y'), sub}));
        auto numerator = Items({fonts.GetFace(0)->GetCharacter('x'), power, fonts.GetFace(3)->GetCharacter('+'), abs});
        auto* bar = new ConjugateComp(Chars("z"));
        auto* hat = new AccentComp(Chars("a"), AccentComp::kHat);
        auto* tilde = new AccentComp(One(new AccentComp(Chars("b"), AccentComp::kVector)), AccentComp::kTilde);
        auto* group = new BracketComp(Items({bar, hat, tilde}));
        auto* fraction = new FractionComp(std::move(numerator), One(group));
        auto* paren = new ParenComp(One(new PlaceholderComp));
        auto* prime = new ExponentComp(ExponentComp::kPrime);
        return std::make_unique<CompList>(Items({fraction, paren, prime}));
    }

    // The size step of every row inside the row, depth first.
    static void CollectSteps(const CompList& row, std::vector<int>& steps)
    {
        steps.push_back(row.GetSizeStep());
        for (int i = 1; i <= row.GetCount(); ++i)
            for (int k = 1; k <= row.GetAt(i)->GetChildCount(); ++k)
                if (const CompList* child = row.GetAt(i)->GetChild(k))
                    CollectSteps(*child, steps);
    }
    static std::vector<int> Steps(const CompList& row)
    {
        std::vector<int> steps;
        CollectSteps(row, steps);
        return steps;
    }
};

TEST_F(FractionArchiveTest, RecordsHoldTheirFieldsInOrder)
{
    // A fraction: the numerator list, then the denominator list.
    CompList fraction(One(new FractionComp(Chars("p"), Chars("q"))));
    std::vector<uint8_t> bytes = WriteRow(fraction);
    auto p = std::find(bytes.begin(), bytes.end(), uint8_t('p'));
    auto q = std::find(bytes.begin(), bytes.end(), uint8_t('q'));
    ASSERT_NE(p, bytes.end());
    ASSERT_NE(q, bytes.end());
    EXPECT_LT(p, q);

    // An accent: the content list, then the accent as one stored symbol byte.
    for (unsigned char kind : {AccentComp::kHat, AccentComp::kDot, AccentComp::kDoubleDot, AccentComp::kVector,
                               AccentComp::kTilde}) {
        CompList accent(One(new AccentComp(Chars("a"), kind)));
        std::vector<uint8_t> stored = WriteRow(accent);
        EXPECT_EQ(stored.back(), EncodeArchiveChar(kind, true));
        auto back = ReadRow(stored);
        EXPECT_EQ(static_cast<AccentComp*>(back->GetAt(1))->GetAccentChar(), kind);
    }

    // A placeholder stores nothing beyond its tag and length.
    CompList missing(One(new PlaceholderComp));
    EXPECT_EQ(WriteRow(missing).size(), 4u + 4u + 4u);
}

TEST_F(FractionArchiveTest, AnUnbuiltKindShowsAsAPlaceholderAndIsWrittenBackUnchanged)
{
    // A row of a drawing record (no drawing class in this program) and a placeholder.
    std::vector<uint8_t> bytes;
    auto put = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(v >> (8 * i)));
    };
    put(2);
    put(tag_Draw.Value());
    put(4 + 3);
    bytes.insert(bytes.end(), {7, 8, 9});
    put(tag_Miss.Value());
    put(4);
    auto row = ReadRow(bytes);
    ASSERT_EQ(row->GetCount(), 2);
    auto paragraph = Paragraph(5, row->RemoveFrom(1));
    CompList* shown = paragraph->GetRow();
    Rect unknown, placeholder;
    shown->GetAt(1)->GetBounds(unknown);
    shown->GetAt(2)->GetBounds(placeholder);
    EXPECT_GT(unknown.Width(), 0);
    EXPECT_EQ(unknown, placeholder);
    EXPECT_EQ(LaTeX(*shown->GetAt(1)), "\\bowtie ");
    EXPECT_EQ(WriteRow(*shown), bytes);
}

TEST_F(FractionArchiveTest, DamagedRecordsAreRefused)
{
    // A denominator count far larger than the data.
    CompList fraction(One(new FractionComp(Chars("p"), Chars("q"))));
    std::vector<uint8_t> stored = WriteRow(fraction);
    auto q = std::find(stored.begin(), stored.end(), uint8_t('q'));
    // The denominator list's count stands before its "chBk" record (tag, length, 16-bit font id, text length).
    size_t countAt = size_t(q - stored.begin()) - 1 - 2 - 4 - 4 - 4;
    ASSERT_EQ(stored[countAt], 1);
    stored[countAt + 3] = 0x40;
    EXPECT_THROW(ReadRow(stored), CFormatException);

    // An accent record without its accent byte.
    CompList accent(One(new AccentComp(Chars("a"), AccentComp::kDot)));
    std::vector<uint8_t> rec = WriteRow(accent);
    rec.pop_back();
    rec[8] = uint8_t(rec[8] - 1);  // the record's length, so the record ends before the byte
    EXPECT_THROW(ReadRow(rec), CException);
}

// Rows read inside one another get their size steps once, from the outermost
// row, when everything is read: the steps must be those the rows get when
// built, scripts inside scripts included.
TEST_F(FractionArchiveTest, RowsReadInsideOneAnotherGetTheSizeStepsOfTheirNesting)
{
    auto row = Nested();
    row->Append(new ExponentComp(One(new ExponentComp(One(new FractionComp(Chars("p"), Chars("q")))))));
    row->SetSizeStep(0);
    const std::vector<int> built = Steps(*row);
    ASSERT_GT(built.size(), 10u);

    auto back = ReadRow(WriteRow(*row));
    EXPECT_EQ(Steps(*back), built);

    row->SetSizeStep(-1);
    back->SetSizeStep(-1);
    EXPECT_EQ(Steps(*back), Steps(*row));
}

} // namespace
