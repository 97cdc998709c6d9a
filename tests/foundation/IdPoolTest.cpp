// The id pool and the growth rules of the pointer arrays.
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/IdPool.h"
#include "foundation/MemoryStream.h"
#include "foundation/PtrArray.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int32_t> longs)
{
    std::vector<uint8_t> out;
    for (int32_t v : longs)
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    return out;
}

} // namespace

TEST(IdPool, ReleasedIdsComeBackFirst)
{
    IdPool pool;
    EXPECT_EQ(pool.Allocate(), 1);
    EXPECT_EQ(pool.Allocate(), 2);
    pool.Release(1);
    EXPECT_EQ(pool.Allocate(), 1);
    EXPECT_EQ(pool.Allocate(), 3);
    pool.Reserve(2);
    EXPECT_EQ(pool.GetCounter(), 3);
    pool.Reserve(9);
    EXPECT_EQ(pool.Allocate(), 10);
}

TEST(IdPool, StoredForm)
{
    IdPool pool;
    pool.Reserve(7);
    pool.Release(3);
    pool.Release(5);
    EXPECT_EQ(pool.GetStoredSize(), 16);

    std::vector<uint8_t> block(16);
    MemoryStream out(block.data(), 16);
    DocWriter writer(&out);
    pool.Write(writer);
    EXPECT_EQ(block, Bytes({7, 2, 3, 5}));

    IdPool back;
    back.Allocate();
    back.Release(1);
    MemoryStream in(block.data(), 16);
    DocReader reader(&in);
    back.Read(reader);
    EXPECT_EQ(back.GetCounter(), 7);
    EXPECT_EQ(back.Allocate(), 5);
    EXPECT_EQ(back.Allocate(), 3);
    EXPECT_EQ(back.Allocate(), 8);
}

TEST(IdPool, DamagedFreeListsCannotHandOutAnIdTwice)
{
    // A free count far beyond the data is refused before anything is allocated.
    std::vector<uint8_t> huge = Bytes({7, 0x7FFFFFFF, 3});
    MemoryStream s1(huge.data(), int32_t(huge.size()));
    DocReader r1(&s1);
    IdPool p1;
    EXPECT_THROW(p1.Read(r1), CFormatException);

    std::vector<uint8_t> negative = Bytes({7, -1});
    MemoryStream s2(negative.data(), int32_t(negative.size()));
    DocReader r2(&s2);
    EXPECT_THROW(p1.Read(r2), CFormatException);

    // Ids outside 1..counter and repeated ids are dropped.
    std::vector<uint8_t> odd = Bytes({4, 5, 2, 9, 2, 0, 3});
    MemoryStream s3(odd.data(), int32_t(odd.size()));
    DocReader r3(&s3);
    IdPool p3;
    p3.Read(r3);
    EXPECT_EQ(p3.GetFreeCount(), 2);
    EXPECT_EQ(p3.Allocate(), 3);
    EXPECT_EQ(p3.Allocate(), 2);
    EXPECT_EQ(p3.Allocate(), 5);
}

TEST(PtrArray, GrowthSteps)
{
    EXPECT_EQ(GrowPtrArray(16), 32);
    EXPECT_EQ(GrowPtrArray(32), 64);
    EXPECT_EQ(GrowPtrArray(64), 96);
    EXPECT_EQ(GrowPtrArray(96), 128);

    int values[70];
    PtrArray<int> list;
    std::vector<int> seen;
    for (int i = 0; i < 65; ++i) {
        list.Append(&values[i]);
        seen.push_back(list.GetCapacity());
    }
    EXPECT_EQ(seen[15], 16);
    EXPECT_EQ(seen[16], 32);
    EXPECT_EQ(seen[32], 64);
    EXPECT_EQ(seen[64], 96);

    PtrArray<int> items(8, GrowItemArray);
    for (int i = 0; i < 9; ++i)
        items.Append(&values[i]);
    EXPECT_EQ(items.GetCapacity(), 12);
}

TEST(PtrArray, OneBasedPositions)
{
    int a = 1, b = 2, c = 3;
    PtrArray<int> list;
    list.Append(&a);
    list.Append(&c);
    list.InsertAt(2, &b);
    EXPECT_EQ(list.GetAt(1), &a);
    EXPECT_EQ(list.GetAt(2), &b);
    EXPECT_EQ(list.GetAt(3), &c);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_EQ(list.GetAt(4), nullptr);
    EXPECT_EQ(list.Find(&c), 3);
    EXPECT_EQ(list.RemoveAt(1), &a);
    EXPECT_EQ(list.Find(&a), 0);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.RemoveAt(5), nullptr);
}
