#include "CalculusTestSupport.h"

#include <algorithm>

namespace {

class CalculusArchiveTest : public CalculusTest {
protected:
    // The bytes of the rows, one after another.
    std::vector<uint8_t> Concat(std::initializer_list<const CompList*> rows)
    {
        std::vector<uint8_t> bytes;
        for (const CompList* row : rows) {
            std::vector<uint8_t> part = WriteRow(*row);
            bytes.insert(bytes.end(), part.begin(), part.end());
        }
        return bytes;
    }

    static bool Contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part)
    {
        return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
    }
};

TEST_F(CalculusArchiveTest, RecordsKeepTheirArgumentOrders)
{
    IntegralComp integral(Chars("f"), Chars("x"), Chars("b"), Chars("a"));
    CompList integralRow(Items({integral.Clone(*std::make_unique<LinkRemap>())}));
    EXPECT_TRUE(Contains(WriteRow(integralRow),
                         Concat({integral.Integrand(), integral.Variable(), integral.Upper(), integral.Lower()})));

    SumComp sum(Chars("n"), Chars("k"));
    LinkRemap remap;
    CompList sumRow(Items({sum.Clone(remap)}));
    EXPECT_TRUE(Contains(WriteRow(sumRow), Concat({sum.Upper(), sum.Lower()})));

    RadicalComp root(Chars("r"), Chars("n"));
    CompList rootRow(Items({root.Clone(remap)}));
    EXPECT_TRUE(Contains(WriteRow(rootRow), Concat({root.Index(), root.Radicand()})));

    TotalDerivativeComp total(Chars("f"), new TotalDifferentialComp(Chars("x"), Chars("2")));
    CompList totalRow(Items({total.Clone(remap)}));
    DifferentialComp* d = total.GetVariable(1);
    EXPECT_TRUE(Contains(WriteRow(totalRow), Concat({total.Operand(), d->VariableRow(), d->OrderRow()})));

    PartialDerivativeComp partial(Chars("g"), new PartialDifferentialComp(Chars("x"), nullptr));
    partial.InsertVariable(2, new PartialDifferentialComp(Chars("y"), Chars("3")));
    CompList partialRow(Items({partial.Clone(remap)}));
    std::vector<uint8_t> expected = WriteRow(*partial.Operand());
    expected.push_back(2);
    expected.push_back(0);
    std::vector<uint8_t> items = Concat({partial.GetChild(1), partial.GetChild(2), partial.GetChild(3), partial.GetChild(4)});
    expected.insert(expected.end(), items.begin(), items.end());
    EXPECT_TRUE(Contains(WriteRow(partialRow), expected));
}

TEST_F(CalculusArchiveTest, ABadVariableCountIsAFormatError)
{
    PartialDerivativeComp partial(Chars("g"), new PartialDifferentialComp(Chars("x"), nullptr));
    CompList row(Items({partial.Clone(*std::make_unique<LinkRemap>())}));
    std::vector<uint8_t> bytes = WriteRow(row);
    std::vector<uint8_t> operand = WriteRow(*partial.Operand());
    auto at = std::search(bytes.begin(), bytes.end(), operand.begin(), operand.end()) + long(operand.size());
    ASSERT_EQ(at[0], 1);
    for (int count : {0, -1, 40, 30000}) {
        std::vector<uint8_t> bad = bytes;
        bad[size_t(at - bytes.begin())] = uint8_t(count & 0xFF);
        bad[size_t(at - bytes.begin()) + 1] = uint8_t((count >> 8) & 0xFF);
        EXPECT_THROW(ReadRow(bad), CFormatException) << count;
    }
    // A derivative whose read fails still holds a variable.
    PartialDerivativeComp target;
    std::vector<uint8_t> body(operand);
    body.push_back(0);
    body.push_back(0);
    MemoryStream stream(body.data(), int32_t(body.size()));
    DocReader reader(&stream);
    EXPECT_THROW(target.Read(reader), CFormatException);
    EXPECT_EQ(target.GetVariableCount(), 1);
    EXPECT_NE(target.GetChild(1), nullptr);
}

TEST_F(CalculusArchiveTest, ALimitKeepsAWordTypedIntoItAndStoresTheStandardWordAsBefore)
{
    LimitComp plain(Chars("x"));
    CompList plainRow(Items({plain.Clone(*std::make_unique<LinkRemap>())}));
    std::vector<uint8_t> plainBytes = WriteRow(plainRow);
    // The standard record: tag, length, the approach and nothing more.
    std::vector<uint8_t> approach = WriteRow(*plain.Approach());
    EXPECT_TRUE(std::equal(approach.rbegin(), approach.rend(), plainBytes.rbegin()));
    EXPECT_EQ(RowText(*ReadRow(plainBytes)->GetAt(1)->GetChild(2)), "lim");

    // The user types "sup" over the word.
    LimitComp changed(Chars("n"));
    CompList* word = changed.Word();
    while (word->GetCount() > 0)
        word->RemoveAt(1)->Delete();
    word->InsertAllAt(Chars("sup"), 1);
    LinkRemap remap;
    CompList row(Items({changed.Clone(remap)}));
    auto read = ReadRow(WriteRow(row));
    EXPECT_EQ(RowText(*read->GetAt(1)->GetChild(2)), "sup");
    EXPECT_EQ(RowText(*read->GetAt(1)->GetChild(1)), "n");
    EXPECT_EQ(WriteRow(*read), WriteRow(row));
}

TEST_F(CalculusArchiveTest, TagVariablesDifferByTheirNumber)
{
    EXPECT_FALSE(TagVarComp(Chars("h"), 1).IsEqual(TagVarComp(Chars("h"), 2)));
}

} // namespace
