// The shapes of lists written out in a request.
#include "kernelproc/GiacInput.h"
#include "kernelproc/ListShapes.h"

#include <gtest/gtest.h>

using namespace kernelproc;
using wire::parseFullForm;

TEST(ListShapes, ListsAndMatricesWrittenOutHaveTheirShape)
{
    const struct {
        const char* fullForm;
        const char* shape;   // as the messages describe it; "" for none
        bool square;
    } cases[] = {
        {"List[1, 2, 3]", "a list of 3", false},
        {"List[]", "a list of 0", false},
        {"List[List[1, 2], List[3, 4]]", "a 2 by 2 matrix", true},
        {"List[List[1, 2, 3], List[4, 5, 6]]", "a 2 by 3 matrix", false},
        {"List[List[1, 2], List[3]]", "a list of 2", false},
        {"List[List[1, 2], 3]", "a list of 2", false},
        {"VXMatrix[List[1, 2, 3]]", "a 1 by 3 matrix", false},
        {"VXMatrix[List[1, 2], List[3, 4]]", "a 2 by 2 matrix", true},
        {"VXMatrix[List[List[1, 2], List[3, 4]]]", "a 2 by 2 matrix", true},
        {"f[List[1, 2]]", "", false},
        {"x", "", false},
    };
    for (const auto& c : cases) {
        std::optional<ListShape> shape = literalShape(parseFullForm(c.fullForm));
        EXPECT_EQ(shape ? describe(*shape) : "", c.shape) << c.fullForm;
        EXPECT_EQ(shape && isSquareMatrix(*shape), c.square) << c.fullForm;
    }
}

TEST(ListShapes, OnlyListsOfOneLengthCombine)
{
    auto combines = [](const char* fullForm) {
        const wire::Expr e = parseFullForm(fullForm);
        std::vector<const wire::Expr*> operands;
        for (std::size_t i = 0; i < e.argCount(); ++i)
            operands.push_back(&e.arg(i));
        try {
            requireEqualLengths(operands, e);
            return true;
        } catch (const TranslationError&) {
            return false;
        }
    };
    EXPECT_TRUE(combines("Plus[List[1, 2], List[3, 4], 5]"));
    EXPECT_TRUE(combines("Plus[List[List[1, 2]], List[3]]"));   // a number meets each element
    EXPECT_TRUE(combines("Plus[x, y]"));
    EXPECT_FALSE(combines("Plus[List[1, 2], List[3, 4, 5]]"));
    EXPECT_FALSE(combines("Plus[List[List[1, 2]], List[List[1, 2, 3]]]"));
    EXPECT_FALSE(combines("Plus[VXMatrix[List[1, 2]], List[List[1, 2, 3]]]"));
}

TEST(ListShapes, ComputedListsAndWhatTheirLengthsDependOn)
{
    const struct {
        const char* fullForm;
        bool mayYieldList;
        bool lengthDependsOnK;
    } cases[] = {
        {"Table[j, List[j, k]]", true, true},
        {"Table[k, List[j, 3]]", true, false},          // k is only a value
        {"Table[j, List[j, List[k, 1]]]", true, false}, // as many values as are written
        {"Table[Range[k], List[k, 3]]", true, false},   // a k of its own
        {"Plus[Range[k], 1]", true, true},
        {"Part[List[List[1], List[1, 2]], k]", true, true},
        {"Sum[List[k, 1], List[k, 1, 3]]", true, false},
        {"Sum[k, List[k, 1, 3]]", false, false}, // a number
        {"Solve[Equal[List[x, y], List[1, 2]], List[x, y]]", false, false},
        {"List[k, 1]", false, false}, // written out
    };
    for (const auto& c : cases) {
        const wire::Expr e = parseFullForm(c.fullForm);
        EXPECT_EQ(mayYieldList(e), c.mayYieldList) << c.fullForm;
        EXPECT_EQ(shapeDependsOn(e, "k"), c.lengthDependsOnK) << c.fullForm;
    }
}
