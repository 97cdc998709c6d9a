// The id pool: allocation, its stored form and damaged free lists.
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/IdPool.h"
#include "foundation/MemoryStream.h"
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
    pool.Allocate();
    pool.Allocate();
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
    auto read = [](IdPool& pool, std::vector<uint8_t> bytes) {
        MemoryStream stream(bytes.data(), int32_t(bytes.size()));
        DocReader reader(&stream);
        pool.Read(reader);
    };
    // A free count far beyond the data, or below zero, is refused before anything is allocated.
    IdPool refused;
    EXPECT_THROW(read(refused, Bytes({7, 0x7FFFFFFF, 3})), CFormatException);
    EXPECT_THROW(read(refused, Bytes({7, -1})), CFormatException);

    // Ids outside 1..counter and repeated ids are dropped.
    IdPool pool;
    read(pool, Bytes({4, 5, 2, 9, 2, 0, 3}));
    EXPECT_EQ(pool.GetFreeCount(), 2);
    EXPECT_EQ(pool.Allocate(), 3);
    EXPECT_EQ(pool.Allocate(), 2);
    EXPECT_EQ(pool.Allocate(), 5);
}
