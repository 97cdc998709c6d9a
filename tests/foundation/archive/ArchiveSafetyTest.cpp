// Damaged archive data: every failure is a format error or the end-of-file
// exception, never a crash, a hang or a huge allocation.
#include "ArchiveBytes.h"

#include "foundation/UnknownRecordComp.h"

#include <gtest/gtest.h>

using namespace archivefuzz;

namespace {

class ArchiveSafety : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestKinds(); }
    void TearDown() override { FreeItems(); }

    // Reads a list of components from the image.
    static void ReadRow(const Bytes& image, TestRow& row)
    {
        std::vector<uint8_t> copy = image.b;
        MemoryStream s(copy.data(), int32_t(copy.size()));
        DocReader r(&s);
        row.Read(r);
    }
    static void ExpectFormatError(const Bytes& image)
    {
        TestRow row;
        EXPECT_THROW(ReadRow(image, row), CFormatException);
    }
    static Bytes EmptyFrac() { return Bytes().Long(0).Long(0); }
};

// A drawing image with the given shapes and constraints (counts included).
Bytes Drawing(const Bytes& shapes, const Bytes& constraints)
{
    return Bytes().Long(1).Record(tag_Draw, Bytes().Append(shapes).Append(constraints).Long(0));
}

Bytes VertexBody(int varIndex)
{
    return Bytes().Double(0).Double(0).Short(varIndex).Double(1).Byte(0);
}

} // namespace

TEST_F(ArchiveSafety, RecordLengthsMustFrameTheirRecord)
{
    ExpectFormatError(Bytes().Long(1).Tag(tag_Frac).Long(3).Long(0).Long(0));        // shorter than itself
    ExpectFormatError(Bytes().Long(1).Tag(tag_Frac).Long(-8).Long(0).Long(0));       // negative
    ExpectFormatError(Bytes().Long(1).Tag(tag_Frac).Long(0x7FFFFFF0).Long(0).Long(0)); // past the data
    // Nested records may not reach past the record that holds them.
    Bytes inner = Bytes().Long(1).Tag(tag_Frac).Long(100).Long(0).Long(0);
    ExpectFormatError(Bytes().Long(1).Record(tag_Frac, Bytes().Append(inner).Long(0)).Long(0).Long(0));
}

TEST_F(ArchiveSafety, ABodyCannotReadPastItsRecord)
{
    // The fraction's length leaves room for one of its two lists only.
    ExpectFormatError(Bytes().Long(2).Tag(tag_Frac).Long(8).Long(0).Long(0).Long(0));
}

TEST_F(ArchiveSafety, ReadingGoesOnAtTheEndOfALongerRecord)
{
    // A later version's fraction with three more bytes after its two lists.
    Bytes longer = Bytes().Long(0).Long(0).Byte(1).Byte(2).Byte(3);
    Bytes image = Bytes().Long(2).Record(tag_Frac, longer).Record(tag_Frac, EmptyFrac());
    TestRow row;
    ReadRow(image, row);
    ASSERT_EQ(row.items.size(), 2u);
    EXPECT_NE(dynamic_cast<TestFraction*>(row.items[1]), nullptr);
}

TEST_F(ArchiveSafety, ListNestingIsLimitedTo1024Levels)
{
    auto nested = [](int levels) {
        Bytes image = Bytes().Long(0); // the innermost list
        for (int i = 1; i < levels; ++i)
            image = Bytes().Long(1).Record(tag_Frac, Bytes().Append(image).Long(0));
        return image;
    };
    TestRow ok;
    ReadRow(nested(DocReader::kMaxListDepth), ok);
    EXPECT_EQ(ok.items.size(), 1u);
    ExpectFormatError(nested(DocReader::kMaxListDepth + 1));
}

TEST_F(ArchiveSafety, CountsLargerThanTheDataAreRefused)
{
    ExpectFormatError(Bytes().Long(0x7FFFFFFF).Record(tag_Frac, EmptyFrac()));
    ExpectFormatError(Bytes().Long(-1));
    // Three records need at least 24 bytes.
    ExpectFormatError(Bytes().Long(3).Record(tag_Frac, EmptyFrac()));
}

TEST_F(ArchiveSafety, TruncatedDataEndsInEndOfFile)
{
    Bytes image = Bytes().Long(1).Record(tag_Frac, EmptyFrac());
    image.b.pop_back();
    ExpectFormatError(image); // the record claims more than the data holds
    std::vector<uint8_t> two = {1, 2};
    MemoryStream s(two.data(), 2);
    DocReader r(&s);
    try {
        r.ReadLong();
        ADD_FAILURE();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
    }
}

TEST_F(ArchiveSafety, CharacterBlocksNameAFontFrom0To7)
{
    for (int font : {-1, 8, 0x7FFF})
        ExpectFormatError(Bytes().Long(1).Record(tag_chBk, Bytes().Short(font).Byte(1).Text("a")));
    TestRow row;
    ReadRow(Bytes().Long(1).Record(tag_chBk, Bytes().Short(7).Byte(0)), row);
    EXPECT_TRUE(row.items.empty());
}

TEST_F(ArchiveSafety, SharedIndexesAreUnsignedAndInOrder)
{
    // 0xFFFF is index 65535, beyond an empty table (not -1).
    ExpectFormatError(Drawing(Bytes().Long(1).Record(tag_Vert, Bytes().Short(0xFFFF)), Bytes().Long(0)));
    // An index that skips ahead of the table.
    ExpectFormatError(Drawing(Bytes().Long(1).Record(tag_Vert, Bytes().Short(3).Append(VertexBody(0))),
                              Bytes().Long(0)));
    // A variable index beyond the variables read so far.
    ExpectFormatError(Drawing(Bytes().Long(1).Record(tag_Vert, Bytes().Short(0).Append(VertexBody(5))),
                              Bytes().Long(0)));
}

TEST_F(ArchiveSafety, AReferenceToAnObjectOfAnotherKindIsAnError)
{
    // Shape 0 is a vertex; a segment then names it where a segment is expected.
    Bytes shapes = Bytes().Long(1).Record(tag_Vert, Bytes().Short(0).Append(VertexBody(0)));
    Bytes constraints = Bytes().Long(1).Record(tag_DstC, Bytes().Byte(1).Short(0).Short(0));
    ExpectFormatError(Drawing(shapes, constraints));
    // A shape record whose index names a shape of another kind.
    Bytes twice = Bytes().Long(2).Record(tag_Vert, Bytes().Short(0).Append(VertexBody(0)));
    twice.Record(tag_Circ, Bytes().Short(0));
    ExpectFormatError(Drawing(twice, Bytes().Long(0)));
}

TEST_F(ArchiveSafety, ASkippedShapeKeepsLaterIndexesInStep)
{
    Bytes shapes = Bytes().Long(3);
    shapes.Record(TypeTag("Hexa"), Bytes().Short(0).Text("??"));      // unknown kind, index 0
    shapes.Record(tag_Vert, Bytes().Short(1).Append(VertexBody(0)));  // index 1
    shapes.Record(tag_Segm, Bytes().Short(2).Short(1).Short(1));      // both ends: the vertex
    TestRow row;
    ReadRow(Drawing(shapes, Bytes().Long(0)), row);
    auto* d = dynamic_cast<TestDrawing*>(row.items.at(0));
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->shapes.size(), 2u);
    EXPECT_EQ(static_cast<TestSegment*>(d->shapes[1])->a, d->shapes[0]);
    // A reference to the skipped object is an error, not a null shape.
    Bytes bad = Bytes().Long(2).Record(TypeTag("Hexa"), Bytes().Short(0));
    bad.Record(tag_Segm, Bytes().Short(1).Short(0).Short(0));
    ExpectFormatError(Drawing(bad, Bytes().Long(0)));
}

TEST_F(ArchiveSafety, SkipsAndStringsStayInsideTheirRecord)
{
    std::vector<uint8_t> image = Bytes().Byte(10).Text("abc").b;
    MemoryStream s(image.data(), int32_t(image.size()));
    DocReader r(&s);
    Str255 text;
    EXPECT_THROW(r.ReadPString(text, false), CFileException);
    MemoryStream s2(image.data(), int32_t(image.size()));
    DocReader r2(&s2);
    EXPECT_THROW(r2.Skip(-1), CFormatException);
    EXPECT_THROW(r2.Skip(5), CFileException);
    r2.Skip(4);
    EXPECT_EQ(r2.BytesLeft(), 0);
}
