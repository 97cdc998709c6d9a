#include "support/model/ModelTestSupport.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharBlockComp.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DocReader.h"
#include "foundation/LinkRemap.h"
#include "foundation/MemoryStream.h"
#include "foundation/UnknownRecordComp.h"
#include "platform/Exceptions.h"

namespace {

// A byte image built by hand, little-endian.
struct Image {
    std::vector<uint8_t> b;

    Image& Byte(int v)
    {
        b.push_back(uint8_t(v));
        return *this;
    }
    Image& Short(int v) { return Byte(v & 0xFF).Byte((v >> 8) & 0xFF); }
    Image& Long(int64_t v)
    {
        for (int i = 0; i < 4; ++i)
            Byte(int((uint64_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Image& Append(const Image& o)
    {
        b.insert(b.end(), o.b.begin(), o.b.end());
        return *this;
    }
    Image& Record(TypeTag tag, const Image& body) { return Long(tag.Value()).Long(4 + int64_t(body.b.size())).Append(body); }
    // A "chBk" record of characters of one font, translated as the archive stores them.
    Image& Block(int fontId, const std::string& text)
    {
        Image body;
        body.Short(fontId).Byte(int(text.size()));
        for (char c : text)
            body.Byte(EncodeArchiveChar(uint8_t(c), fontId == 3));
        return Record(tag_chBk, body);
    }
};

// A row of count records holding a fraction nested depth times.
Image NestedFractions(int depth)
{
    Image inner = Image().Long(0);
    for (int i = 0; i < depth; ++i) {
        Image body = Image().Append(inner).Long(0);
        inner = Image().Long(1).Record(tag_Frac, body);
    }
    return inner;
}

} // namespace

class ModelArchiveTest : public ModelTest {
protected:
    // Reads a row from the bytes.
    std::unique_ptr<CompList> ReadRow(std::vector<uint8_t> bytes)
    {
        auto row = std::make_unique<CompList>();
        MemoryStream stream(bytes.data(), int32_t(bytes.size()));
        DocReader reader(&stream);
        row->Read(reader);
        EXPECT_EQ(stream.GetPosition(), int32_t(bytes.size()));
        return row;
    }
    std::unique_ptr<ParagraphList> ReadList(std::vector<uint8_t> bytes, DocumentModel* doc = nullptr)
    {
        auto list = std::make_unique<ParagraphList>(doc);
        MemoryStream stream(bytes.data(), int32_t(bytes.size()));
        DocReader reader(&stream);
        list->ReadCounted(reader);
        return list;
    }
};

TEST_F(ModelArchiveTest, CharactersOfOneFontAreStoredAsOneBlock)
{
    auto comps = Chars("ab");
    comps->Append(fonts.GetFace(3)->GetCharacter(0xB9));
    comps->Append(fonts.GetFace(0)->GetCharacter('c'));
    CompList row(std::move(comps));

    Image expected;
    expected.Long(3).Block(0, "ab").Block(3, "\xB9").Block(0, "c");
    std::vector<uint8_t> bytes = WriteRow(row);
    EXPECT_EQ(bytes, expected.b);

    auto back = ReadRow(bytes);
    EXPECT_TRUE(back->IsEqual(row));
    EXPECT_EQ(back->GetAt(3), fonts.GetFace(3)->GetCharacter(0xB9));
}

TEST_F(ModelArchiveTest, RunsLongerThanABlockAndStructuresStartNewBlocks)
{
    CompList row(Chars(std::string(300, 'x')));
    Image expected;
    expected.Long(2).Block(0, std::string(255, 'x')).Block(0, std::string(45, 'x'));
    EXPECT_EQ(WriteRow(row), expected.b);
    EXPECT_EQ(ReadRow(expected.b)->GetCount(), 300);
    EXPECT_EQ(WriteRow(CompList()), Image().Long(0).b);
    EXPECT_EQ(Text(*ReadRow(Image().Long(2).Block(0, "").Block(0, "ab").b)), "ab");

    auto comps = Chars("ab");
    comps->Append(new TestFraction(Chars("1"), Chars("2", 3)));
    comps->InsertAt(4, new TestFraction);  // two structures in a row, the second empty
    comps->Append(fonts.GetFace(0)->GetCharacter('c'));
    CompList mixed(std::move(comps));
    Image fraction = Image().Long(1).Block(0, "1").Long(1).Block(3, "2");
    Image empty = Image().Long(0).Long(0);
    expected = Image().Long(4).Block(0, "ab").Record(tag_Frac, fraction).Record(tag_Frac, empty).Block(0, "c");
    std::vector<uint8_t> bytes = WriteRow(mixed);
    EXPECT_EQ(bytes, expected.b);

    auto back = ReadRow(bytes);
    EXPECT_TRUE(back->IsEqual(mixed));
    EXPECT_EQ(Text(*back), "ab[Frac][Frac]c");
    EXPECT_EQ(back->GetAt(3)->GetChild(2)->GetOwner(), back->GetAt(3));
    EXPECT_EQ(WriteRow(*back), bytes);
}

TEST_F(ModelArchiveTest, UnknownKindsAreKeptAndWrittenBackUnchanged)
{
    // A kind no class claims, and a known tag whose class is not present.
    Image body = Image().Byte(1).Byte(2).Byte(3).Byte(4).Byte(5);
    Image radical = Image().Long(1).Block(0, "z");
    Image image = Image().Long(4).Block(0, "a").Record(TypeTag("Zzzz"), body).Record(tag_Sqrt, radical).Block(0, "b");
    auto row = ReadRow(image.b);
    ASSERT_EQ(row->GetCount(), 4);
    EXPECT_EQ(Text(*row), "a[Miss][Miss]b");
    auto* unknown = dynamic_cast<UnknownRecordComp*>(row->GetAt(2));
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->StoredTag(), TypeTag("Zzzz"));
    EXPECT_EQ(WriteRow(*row), image.b);

    std::unique_ptr<CompList> copy(row->Clone());
    EXPECT_EQ(WriteRow(*copy), image.b);
}

TEST_F(ModelArchiveTest, TheFactoryKnowsOnlyItsTableAndBlocksStopAtTheLimit)
{
    for (TypeTag tag : {tag_Char, tag_Para, tag_null, tag_Sqrt, TypeTag("Zzzz")})
        EXPECT_EQ(TextComp::CreateFromTag(tag), nullptr);
    // A registered class outside the table is not a stored component kind.
    ComponentRegistry::Register(tag_Para, ComponentCodecFor<TestFraction>());
    EXPECT_EQ(TextComp::CreateFromTag(tag_Para), nullptr);
    // Nor is it read from a row: the record is kept as an unknown one.
    Image para = Image().Long(1).Record(tag_Para, Image().Long(0).Long(0));
    auto row = ReadRow(para.b);
    EXPECT_NE(dynamic_cast<UnknownRecordComp*>(row->GetAt(1)), nullptr);
    EXPECT_EQ(WriteRow(*row), para.b);
    ComponentRegistry::Unregister(tag_Para);

    CharBlockComp block;
    block.Start(*fonts.GetFace(1)->GetCharacter('a'));
    EXPECT_FALSE(block.CanAppend(*fonts.GetFace(0)->GetCharacter('b')));
    EXPECT_FALSE(block.CanAppend(TestFraction()));
    for (int i = 1; i < 255; ++i)
        block.AppendChar('b');
    EXPECT_FALSE(block.CanAppend(*fonts.GetFace(1)->GetCharacter('b')));
    EXPECT_EQ(block.GetCharAt(0), fonts.GetFace(1)->GetCharacter('a'));
}

TEST_F(ModelArchiveTest, DamagedRowsRaiseFormatErrors)
{
    // A count larger than the data can hold, a negative count, a record longer
    // than what follows, an unknown font, and nesting beyond the limit.
    std::vector<std::vector<uint8_t>> damaged = {
        Image().Long(1000000000).Block(0, "a").b,
        Image().Long(-1).b,
        Image().Long(1).Long(tag_chBk.Value()).Long(5000).Short(0).Byte(0).b,
        Image().Long(1).Block(9, "a").b,
        NestedFractions(1100).b,
    };
    for (auto& bytes : damaged) {
        CompList row;
        MemoryStream stream(bytes.data(), int32_t(bytes.size()));
        DocReader reader(&stream);
        EXPECT_THROW(row.Read(reader), CFormatException);
    }

    // Running out of data is the stream's end-of-file error; what was read stays.
    std::vector<uint8_t> truncated = Image().Long(3).Block(0, "ab").Block(0, "cd").b;
    CompList row;
    MemoryStream stream(truncated.data(), int32_t(truncated.size()));
    DocReader reader(&stream);
    EXPECT_THROW(row.Read(reader), CException);
    EXPECT_EQ(Text(row), "abcd");

    // Nesting within the limit reads.
    auto deep = ReadRow(NestedFractions(200).b);
    EXPECT_EQ(deep->GetCount(), 1);
}

TEST_F(ModelArchiveTest, ParagraphListsRoundTripToIdenticalBytes)
{
    TestDocument doc;
    ParagraphList list(&doc);
    for (int kind = 0; kind <= 10; ++kind) {
        auto comps = Chars(std::string("k").append(std::to_string(kind)), kind % 3);
        comps->Append(new TestFraction(Chars("1"), Chars("x", 3)));
        comps->Append(fonts.GetFace(4)->GetCharacter('t'));
        list.Append(new ParagraphComp(std::move(comps), kind));
    }
    list.Append(new ParagraphComp(3));  // an empty paragraph
    std::vector<uint8_t> bytes = WriteList(list);

    TestDocument other;
    auto back = ReadList(bytes, &other);
    ASSERT_EQ(back->GetCount(), 12);
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(back->GetAt(i)->GetStyleKind(), list.GetAt(i)->GetStyleKind());
        EXPECT_EQ(back->GetAt(i)->GetId(), list.GetAt(i)->GetId());
        EXPECT_EQ(back->GetAt(i)->GetOwnerList(), back.get());
        EXPECT_TRUE(back->GetAt(i)->GetRow()->IsEqual(*list.GetAt(i)->GetRow()));
    }
    EXPECT_EQ(WriteList(*back), bytes);

    // Each paragraph: kind, id, row; no record tag in front.
    Image single = Image().Long(1).Short(5).Long(77).Long(1).Block(3, "y");
    auto one = ReadList(single.b);
    EXPECT_EQ(one->GetAt(1)->GetStyleKind(), 5);
    EXPECT_EQ(one->GetAt(1)->GetId(), 77);
    EXPECT_EQ(WriteList(*one), single.b);
}

TEST_F(ModelArchiveTest, DamagedParagraphListsAreRefusedOrReadAsFarAsTheyGo)
{
    // An unknown style kind gives the plain style.
    auto odd = ReadList(Image().Long(2).Short(12).Long(1).Long(0).Short(-3).Long(2).Long(0).b);
    ASSERT_EQ(odd->GetCount(), 2);
    EXPECT_EQ(odd->GetAt(1)->GetStyleKind(), 3);
    EXPECT_EQ(odd->GetAt(2)->GetStyleKind(), 3);

    EXPECT_EQ(ReadList(Image().Long(-5).b)->GetCount(), 0);
    EXPECT_EQ(ReadList(Image().Long(0).b)->GetCount(), 0);
    EXPECT_THROW(ReadList(Image().Long(0x7FFFFFFF).Short(3).Long(1).Long(0).b), CFormatException);

    // The second paragraph's row is damaged: the first one stays in the list.
    std::vector<uint8_t> bytes = Image().Long(2).Short(3).Long(1).Long(1).Block(0, "ok").Short(3).Long(2).Long(1).Block(9, "x").b;
    ParagraphList list;
    MemoryStream stream(bytes.data(), int32_t(bytes.size()));
    DocReader reader(&stream);
    EXPECT_THROW(list.ReadCounted(reader), CFormatException);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Text(list), "ok");
}
