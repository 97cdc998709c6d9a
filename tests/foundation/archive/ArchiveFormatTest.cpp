// The byte layout of the document archive.
#include "ArchiveBytes.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/FileReadStream.h"
#include "foundation/FileWriteStream.h"
#include "foundation/UnknownRecordComp.h"
#include "platform/CFile.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace archivefuzz;

namespace {

class ArchiveFormat : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestKinds(); }
    void TearDown() override { FreeItems(); }
};

Bytes CharBlock(int fontId, const std::string& stored)
{
    return Bytes().Short(fontId).Byte(int(stored.size())).Text(stored);
}

} // namespace

TEST_F(ArchiveFormat, PrimitivesAreLittleEndian)
{
    auto bytes = WriteWith([](DocWriter& w) {
        w.WriteByte(0xAB);
        w.WriteBool(true);
        w.WriteShort(-2);
        w.WriteLong(0x12345678);
        w.WriteDouble(1.0);
        w.WriteColor(RGB(1, 2, 3));
        w.WriteTag(tag_Frac);
    });
    Bytes expected;
    expected.Byte(0xAB).Byte(1).Byte(0xFE).Byte(0xFF).Byte(0x78).Byte(0x56).Byte(0x34).Byte(0x12);
    expected.Long(0).Byte(0).Byte(0).Byte(0xF0).Byte(0x3F).Byte(1).Byte(2).Byte(3);
    expected.Byte(0x63).Byte(0x61).Byte(0x72).Byte(0x46); // "Frac" on disk
    EXPECT_EQ(bytes, expected.b);

    MemoryStream s(bytes.data(), int32_t(bytes.size()));
    DocReader r(&s);
    EXPECT_EQ(r.ReadByte(), 0xAB);
    EXPECT_TRUE(r.ReadBool());
    EXPECT_EQ(r.ReadShort(), -2);
    EXPECT_EQ(r.ReadLong(), 0x12345678);
    EXPECT_EQ(r.ReadDouble(), 1.0);
    EXPECT_EQ(r.ReadColor(), RGB(1, 2, 3));
    EXPECT_EQ(r.ReadTag(), tag_Frac);
    EXPECT_EQ(r.BytesLeft(), 0);
}

TEST_F(ArchiveFormat, RecordLengthsCountThemselves)
{
    TestFraction frac;
    frac.top.items.push_back(TestChar::Get(0, 'x'));
    auto bytes = WriteWith([&](DocWriter& w) {
        w.BeginList();
        w.WriteListComponent(&frac);
        w.EndList();
    });
    Bytes inner = Bytes().Long(1).Record(tag_chBk, CharBlock(0, "x"));
    Bytes body = Bytes().Append(inner).Long(0);
    Bytes expected = Bytes().Long(1).Record(tag_Frac, body);
    EXPECT_EQ(bytes, expected.b);
    // The fraction's length: 4 for itself, 12 + 4 + 4 for its two lists.
    EXPECT_EQ(size_t(bytes[8]), 4 + body.b.size());
}

TEST_F(ArchiveFormat, CharactersOfOneFontBecomeOneBlock)
{
    TestRow row;
    EXPECT_EQ(WriteWith([&](DocWriter& w) { row.Write(w); }), Bytes().Long(0).b);  // an empty list
    row.items = {TestChar::Get(0, 'a'), TestChar::Get(0, 'b'), TestChar::Get(3, 'c')};
    auto bytes = WriteWith([&](DocWriter& w) { row.Write(w); });
    Bytes expected = Bytes().Long(2).Record(tag_chBk, CharBlock(0, "ab")).Record(tag_chBk, CharBlock(3, "c"));
    EXPECT_EQ(bytes, expected.b);

    // Code 0 would cut the block short when read: it is left out.
    row.items.insert(row.items.begin() + 1, TestChar::Get(0, 0));
    EXPECT_EQ(WriteWith([&](DocWriter& w) { row.Write(w); }), expected.b);

    // A structure ends the character run.
    row.items = {TestChar::Get(0, 'a'), new TestFraction, TestChar::Get(0, 'b')};
    expected = Bytes().Long(3).Record(tag_chBk, CharBlock(0, "a"));
    expected.Record(tag_Frac, Bytes().Long(0).Long(0)).Record(tag_chBk, CharBlock(0, "b"));
    EXPECT_EQ(WriteWith([&](DocWriter& w) { row.Write(w); }), expected.b);
}

TEST_F(ArchiveFormat, TranslationTables)
{
    int plain = 0, symbol = 0;
    for (int c = 0; c < 256; ++c) {
        plain += gReaderPlainMap[gWriterPlainMap[c]] == c;
        symbol += gReaderSymbolMap[gWriterSymbolMap[c]] == c;
    }
    EXPECT_EQ(plain, 238);
    EXPECT_EQ(symbol, 236);
    EXPECT_EQ(gWriterSymbolMap[0xFF], 0xD8);
    EXPECT_EQ(gReaderPlainMap[0x1D], 0xD7);
    EXPECT_EQ(gReaderSymbolMap[0xF0], 0x00);
    // Every other code is stored exactly as the tables say, so files without
    // the four math-face codes that have no stored code are unchanged.
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(EncodeArchiveChar(uint8_t(c), false), gWriterPlainMap[c]);
        if (c != 0x8D && c != 0x8F && c != 0x9D && c != 0x9E) {
            EXPECT_EQ(EncodeArchiveChar(uint8_t(c), true), gWriterSymbolMap[c]) << c;
        }
    }
}

TEST_F(ArchiveFormat, StringsGoThroughTheTables)
{
    Str255 text;
    text.AppendChar('A');
    text.AppendChar(char(0x80));
    auto bytes = WriteWith([&](DocWriter& w) {
        w.WritePString(text, false);
        w.WritePString(text, true);
    });
    EXPECT_EQ(bytes, (std::vector<uint8_t>{2, 'A', 0xB0, 2, 'A', 0x1A}));

    // A stored character that reads as 0 ends the string.
    std::vector<uint8_t> stored = {3, 'a', 0xF0, 'b'};
    MemoryStream s(stored.data(), 4);
    DocReader r(&s);
    Str255 out;
    r.ReadPString(out, true);
    EXPECT_TRUE(out.EqualsText("a"));
    EXPECT_EQ(r.BytesLeft(), 0);

    // Math-face codes without a stored code of their own survive the round trip.
    text.Clear();
    for (int c : {int('x'), 0x8D, int('y'), 0x8F, 0x9D, 0x9E, int('z')})
        text.AppendChar(char(c));
    bytes = WriteWith([&](DocWriter& w) { w.WritePString(text, true); });
    EXPECT_EQ(bytes, (std::vector<uint8_t>{7, 'x', 0x91, 'y', 0x93, 0xDE, 0xDF, 'z'}));
    MemoryStream again(bytes.data(), int32_t(bytes.size()));
    DocReader back(&again);
    back.ReadPString(out, true);
    EXPECT_TRUE(out == text);
}

TEST_F(ArchiveFormat, SharedObjectIsWrittenOnceThenByIndex)
{
    auto* var = static_cast<TestVariable*>(Make<TestVariable>());
    var->value = 2.5;
    auto* v1 = static_cast<TestVertex*>(Make<TestVertex>());
    auto* v2 = static_cast<TestVertex*>(Make<TestVertex>());
    v1->var = var;
    v2->var = var;
    auto* seg = static_cast<TestSegment*>(Make<TestSegment>());
    seg->a = v1;
    seg->b = v2;
    TestDrawing drawing;
    drawing.shapes = {seg, v1, v2};
    auto bytes = WriteWith([&](DocWriter& w) { w.WriteComponentRecord(&drawing); });

    Bytes vertexBody1 = Bytes().Double(0).Double(0).Short(0).Double(2.5).Byte(0); // variable first seen
    Bytes vertexBody2 = Bytes().Double(0).Double(0).Short(0);                     // variable by index
    Bytes segment = Bytes().Short(0).Short(1).Append(vertexBody1).Short(2).Append(vertexBody2);
    Bytes body = Bytes().Long(3).Record(tag_Segm, segment);
    body.Record(tag_Vert, Bytes().Short(1)).Record(tag_Vert, Bytes().Short(2)); // index alone
    body.Long(0).Long(0);                                                       // no constraints, no labels
    EXPECT_EQ(bytes, Bytes().Record(tag_Draw, body).b);

    MemoryStream s(bytes.data(), int32_t(bytes.size()));
    DocReader r(&s);
    std::unique_ptr<TextComp> back(r.ReadComponent());
    auto* d = dynamic_cast<TestDrawing*>(back.get());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->shapes.size(), 3u);
    auto* seg2 = static_cast<TestSegment*>(d->shapes[0]);
    EXPECT_EQ(seg2->a, d->shapes[1]);
    EXPECT_EQ(seg2->b, d->shapes[2]);
    EXPECT_EQ(static_cast<TestVertex*>(seg2->a)->var, static_cast<TestVertex*>(seg2->b)->var);
}

TEST_F(ArchiveFormat, UnknownComponentKeepsItsRecordAndReadingGoesOn)
{
    Bytes items;
    items.Record(TypeTag("Zzzz"), Bytes().Text("later"));
    items.Record(tag_Frac, Bytes().Long(0).Long(0));
    items.Record(tag_Char, Bytes().Short(0)); // characters are never stored one by one
    std::vector<uint8_t> image = Bytes().Long(3).Append(items).b;

    MemoryStream s(image.data(), int32_t(image.size()));
    DocReader r(&s);
    TestRow row;
    row.Read(r);
    ASSERT_EQ(row.items.size(), 3u);
    EXPECT_EQ(row.items[2]->Tag(), tag_Miss);
    auto* unknown = dynamic_cast<UnknownRecordComp*>(row.items[0]);
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->Tag(), tag_Miss);
    EXPECT_EQ(unknown->StoredTag(), TypeTag("Zzzz"));
    EXPECT_EQ(std::string(unknown->Body().begin(), unknown->Body().end()), "later");
    EXPECT_NE(dynamic_cast<TestFraction*>(row.items[1]), nullptr);
    EXPECT_EQ(r.BytesLeft(), 0);

    // Written again, the unknown record is stored as it was read.
    EXPECT_EQ(WriteWith([&](DocWriter& w) { row.Write(w); }), image);
}

TEST_F(ArchiveFormat, UnknownDrawingAndPlotRecordsAreSkippedExactly)
{
    Bytes plot;
    plot.Long(3);
    plot.Long(9).Long(12).Double(7);                              // kind 9: unknown, 8 body bytes
    plot.Long(3).Long(36).Double(1).Double(2).Double(3).Double(4); // a line: 8 + 32 bytes, length 36
    plot.Long(77).Long(4);                                         // unknown, empty body
    std::vector<uint8_t> image = Bytes().Record(tag_2Plt, plot).b;
    MemoryStream s(image.data(), int32_t(image.size()));
    DocReader r(&s);
    std::unique_ptr<TextComp> comp(r.ReadComponent());
    auto* p = dynamic_cast<TestPlot2D*>(comp.get());
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->items.size(), 1u);
    EXPECT_EQ(static_cast<TestLine*>(p->items[0])->c[3], 4.0);

    Bytes drawing;
    drawing.Long(2).Record(TypeTag("Hexa"), Bytes().Short(0).Text("body"));
    drawing.Record(tag_Vert, Bytes().Short(1).Double(1).Double(2).Short(0).Double(0).Byte(1));
    drawing.Long(1).Record(TypeTag("NewC"), Bytes().Text("xyz")).Long(0);
    image = Bytes().Record(tag_Draw, drawing).b;
    MemoryStream s2(image.data(), int32_t(image.size()));
    DocReader r2(&s2);
    std::unique_ptr<TextComp> comp2(r2.ReadComponent());
    auto* d = dynamic_cast<TestDrawing*>(comp2.get());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->shapes.size(), 1u);
    EXPECT_EQ(static_cast<TestVertex*>(d->shapes[0])->y, 2.0);
    EXPECT_TRUE(d->constraints.empty());
}

TEST_F(ArchiveFormat, LinkIdsAreHandedOutInOrder)
{
    TestRow row;
    auto* first = new TestTarget;
    auto* second = new TestTarget;
    auto* link = new TestLink;
    link->target = second;
    row.items = {link, first, second};
    auto bytes = WriteWith([&](DocWriter& w) { row.Write(w); });
    Bytes expected = Bytes().Long(3).Record(tag_Ref, Bytes().Long(1));
    expected.Record(tag_TagV, Bytes().Long(2)).Record(tag_TagV, Bytes().Long(1));
    EXPECT_EQ(bytes, expected.b);

    MemoryStream s(bytes.data(), int32_t(bytes.size()));
    DocReader r(&s);
    TestRow back;
    back.Read(r);
    r.ResolveLinks(BindLink);
    EXPECT_EQ(static_cast<TestLink*>(back.items[0])->target, back.items[2]);
}

TEST_F(ArchiveFormat, WriterLimits)
{
    CountingStream counter;
    DocWriter w(&counter);
    for (int i = 0; i < DocWriter::kMaxListDepth; ++i)
        w.BeginList();
    EXPECT_THROW(w.BeginList(), CFormatException);
    EXPECT_EQ(w.GetDepth(), DocWriter::kMaxListDepth - 1);
    for (int i = 0; i < DocWriter::kMaxListDepth; ++i)
        w.EndList();
    EXPECT_EQ(w.GetDepth(), -1);
}

// The writer and the reader agree on one limit of a drawing's shared table:
// what the one writes the other reads, and what the one refuses the other
// refuses, so that every file that opens can be saved again.
TEST_F(ArchiveFormat, WriterAndReaderAgreeOnTheSharedObjectLimit)
{
    std::vector<TestVariable> vars(size_t(kMaxSharedObjects) + 1);
    for (size_t i = 0; i < vars.size(); ++i)
        vars[i].value = double(i);
    std::vector<uint8_t> bytes = WriteWith([&](DocWriter& w) {
        w.InitTables();
        for (int i = 0; i < kMaxSharedObjects; ++i)
            w.WriteVariableRef(&vars[size_t(i)]);
        w.WriteVariableRef(&vars[size_t(kMaxSharedObjects) - 1]); // known: its index alone
        EXPECT_THROW(w.WriteVariableRef(&vars.back()), CFormatException);
        w.FreeTables();
    });
    EXPECT_EQ(bytes.size(), size_t(kMaxSharedObjects) * (2 + 9) + 2);

    // The same table read back, then one more object than it holds.
    Bytes image;
    image.b = bytes;
    image.Short(kMaxSharedObjects).Double(0).Byte(0);
    MemoryStream s(image.b.data(), int32_t(image.b.size()));
    DocReader r(&s);
    r.InitTables(nullptr);
    TestVariable* last = nullptr;
    for (int i = 0; i < kMaxSharedObjects; ++i) {
        last = dynamic_cast<TestVariable*>(r.ReadVariableRef());
        ASSERT_NE(last, nullptr) << i;
        ASSERT_EQ(last->value, double(i));
    }
    EXPECT_EQ(r.ReadVariableRef(), last);
    EXPECT_THROW(r.ReadVariableRef(), CFormatException);
    r.FreeTables();
}

TEST_F(ArchiveFormat, FileRoundTripThroughTheFileStreams)
{
    TestDocument doc;
    doc.ids.Reserve(4);
    for (int i = 0; i < 5000; ++i) // several read buffers' worth
        doc.row.items.push_back(TestChar::Get(i % 8 < 4 ? 0 : 3, uint8_t('a' + i % 26)));
    auto writeTo = [&doc](ByteStream& stream) {
        DocWriter w(&stream);
        doc.ids.Write(w);
        doc.row.Write(w);
        w.Flush();
    };
    CountingStream counter;
    writeTo(counter);
    std::filesystem::create_directories(QV_TEST_OUTPUT);
    std::string path = std::string(QV_TEST_OUTPUT) + "/round-trip.bin";
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
        std::vector<char> buffer(size_t(counter.GetLargestRun()));
        FileWriteStream stream(&file, buffer.data(), int32_t(buffer.size()));
        writeTo(stream);
    }
    ASSERT_EQ(int64_t(std::filesystem::file_size(path)), counter.GetLength());

    CFile file(path, CFile::modeRead);
    FileReadStream stream(&file);
    DocReader r(&stream);
    TestDocument back;
    back.ids.Read(r);
    back.row.Read(r);
    EXPECT_EQ(back.row.items, doc.row.items);
    EXPECT_EQ(back.ids.GetCounter(), 4);

    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
    CFile cut(path, CFile::modeRead);
    FileReadStream cutStream(&cut);
    DocReader cutReader(&cutStream);
    TestDocument partial;
    partial.ids.Read(cutReader);
    EXPECT_THROW(partial.row.Read(cutReader), CFormatException); // the last record overruns the data
}
