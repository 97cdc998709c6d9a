// File records of grids, links and pictures: round trips to identical bytes
// and checked counts.
#include "GridTestSupport.h"

#include <memory>

class GridArchiveTest : public GridTest {
protected:
    // Reads a row back from the bytes.
    static std::unique_ptr<CompList> ReadRow(std::vector<uint8_t>& bytes)
    {
        MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
        DocReader reader(&stream);
        auto row = std::make_unique<CompList>();
        row->Read(reader);
        return row;
    }
    // A grid record as a file stores it, after tag and length.
    template <class T>
    void ExpectRefused(const std::function<void(DocWriter&)>& write)
    {
        auto bytes = Store(write);
        MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
        DocReader reader(&stream);
        T grid;
        EXPECT_THROW(grid.Read(reader), CFormatException);
    }
};

TEST_F(GridArchiveTest, LinksAndPicturesInCellsReadBackWhole)
{
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 30, 30));
    gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(30, 30));
    HENHMETAFILE bits = gDrawContext.EndMetafile();
    auto* table = new TableComp(2, 1);
    table->GetCell(1, 1)->Append(new HyperlinkComp("mailto:someone@example.org", "mail", false));
    table->GetCell(2, 1)->Append(new PictureComp(bits));
    DrawContext::DeleteMetafile(bits);
    CompList row(Chars("s="));
    row.Append(table);

    auto bytes = WriteRow(row);
    auto read = ReadRow(bytes);
    EXPECT_EQ(WriteRow(*read), bytes);
    auto* readTable = dynamic_cast<TableComp*>(read->GetAt(3));
    ASSERT_NE(readTable, nullptr);
    EXPECT_TRUE(readTable->IsDirty());  // laid out again before it is drawn
    auto* readLink = dynamic_cast<HyperlinkComp*>(readTable->GetCell(1, 1)->GetAt(1));
    ASSERT_NE(readLink, nullptr);
    EXPECT_FALSE(readLink->IsExternal());
    EXPECT_STREQ(readLink->GetURL().GetText(), "mailto:someone@example.org");
    auto* readPicture = dynamic_cast<PictureComp*>(readTable->GetCell(2, 1)->GetAt(1));
    ASSERT_NE(readPicture, nullptr);
    EXPECT_TRUE(readPicture->GetMetafile(false)->IsValid());
}

TEST_F(GridArchiveTest, TheGridRecordIsColumnByColumn)
{
    MatrixComp matrix(2, 1);
    Fill(matrix, {"", ""});
    auto bytes = Store([&](DocWriter& writer) { matrix.Write(writer); });
    // 2 columns; each: 1 cell holding an empty list (a 32-bit count).
    EXPECT_EQ(bytes, (std::vector<uint8_t>{2, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));
}

TEST_F(GridArchiveTest, DamagedCountsAreRefused)
{
    ExpectRefused<MatrixComp>([](DocWriter& w) { w.WriteShort(-1); });
    ExpectRefused<MatrixComp>([](DocWriter& w) { w.WriteShort(30000); w.WriteShort(0); });
    ExpectRefused<TableComp>([](DocWriter& w) {
        w.WriteShort(1);
        w.WriteShort(-3);
    });
    ExpectRefused<EquationSetComp>([](DocWriter& w) {
        w.WriteShort(1);
        w.WriteShort(20000);
        w.WriteLong(0);
    });
}

TEST_F(GridArchiveTest, ColumnsOfDifferentLengthsKeepEveryCell)
{
    auto bytes = Store([](DocWriter& w) {
        w.WriteShort(2);
        w.WriteShort(1);
        w.WriteLong(0);
        w.WriteShort(3);
        for (int i = 0; i < 3; ++i)
            w.WriteLong(0);
    });
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader reader(&stream);
    MatrixComp matrix;
    matrix.Read(reader);
    EXPECT_EQ(matrix.GetRowCount(), 3);
    EXPECT_EQ(matrix.GetChildCount(), 6);
    EXPECT_NE(matrix.GetCell(1, 3), nullptr);
    EXPECT_EQ(matrix.GetListDown(matrix.GetCell(1, 2)), matrix.GetCell(1, 3));
}
