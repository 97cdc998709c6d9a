// Every math component together: a nested row written, read and written
// again to the same bytes; one equation line of every component painted and
// compared with a kept reference image, and recorded as a picture that
// converts to SVG.
#include "WholeSetFixture.h"

#include "foundation/ComponentRegistry.h"
#include "foundation/LinkRemap.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "platform/Exceptions.h"
#include "support/PictureCompare.h"
#include "support/model/ArchiveStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <cstdlib>

TEST_F(WholeSetTest, EveryTagNestedRoundTripsToIdenticalBytes)
{
    CompList row(EveryComponentNested());
    std::set<uint32_t> built;
    CollectTags(row, built);

    const std::vector<uint8_t> first = WriteRow(row);
    std::unique_ptr<CompList> read = ReadRow(first);
    const std::vector<uint8_t> second = WriteRow(*read);
    EXPECT_EQ(first, second);
    EXPECT_EQ(WriteRow(*ReadRow(second)), first);

    std::set<uint32_t> kept;
    CollectTags(*read, kept);
    for (const TypeTag& tag : MathTags()) {
        EXPECT_TRUE(built.count(tag.Value())) << TagName(tag.Value()) << " is not in the test row";
        EXPECT_TRUE(kept.count(tag.Value())) << TagName(tag.Value()) << " was not read back";
    }
    EXPECT_EQ(built, kept);
    // What compares by content reads back equal (pictures never compare equal).
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(row.GetAt(i)->IsEqual(*read->GetAt(i))) << "item " << i;
}

TEST_F(WholeSetTest, TruncatedRowOfEveryComponentIsRejected)
{
    CompList row(EveryComponentNested());
    const std::vector<uint8_t> bytes = WriteRow(row);
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        MemoryStream stream(cut.data(), static_cast<int32_t>(cut.size()));
        DocReader reader(&stream);
        CompList read;
        EXPECT_THROW(read.Read(reader), CException) << "cut after " << length << " of " << bytes.size() << " bytes";
    }
}

TEST_F(WholeSetTest, CorruptedRowOfEveryComponentIsRejectedOrReadSoundly)
{
    CompList row(EveryComponentNested());
    const std::vector<uint8_t> bytes = WriteRow(row);
    int rejected = 0;
    for (size_t at = 0; at < bytes.size(); ++at) {
        for (uint8_t value : {uint8_t(0xFF), uint8_t(0x7F), uint8_t(0x00)}) {
            std::vector<uint8_t> bad = bytes;
            if (bad[at] == value)
                continue;
            bad[at] = value;
            MemoryStream stream(bad.data(), static_cast<int32_t>(bad.size()));
            DocReader reader(&stream);
            auto read = std::make_unique<CompList>();
            try {
                read->Read(reader);
            } catch (const CException&) {
                ++rejected;
                continue;
            }
            // What was accepted lays out, draws and writes again.
            ParagraphList paragraphs(&document);
            paragraphs.Append(new ParagraphComp(read->RemoveFrom(1), 5));
            paragraphs.RelayoutAll(false);
            paragraphs.PaintRange(Rect(0, 0, image.width(), image.height()));
            EXPECT_FALSE(WriteRow(*paragraphs.GetAt(1)->GetRow()).empty());
            paragraphs.DeleteAll();
        }
    }
    EXPECT_GT(rejected, 0);
}

TEST_F(WholeSetTest, FactoryMakesEveryTagAndItsEmptyFormRoundTripsAndLaysOut)
{
    auto row = std::make_unique<CompArray>();
    for (const TypeTag& tag : MathTags()) {
        TextComp* comp = CreateComponentFromTag(tag);
        ASSERT_NE(comp, nullptr) << TagName(tag.Value());
        EXPECT_EQ(comp->Tag(), tag);
        row->Append(comp);
    }
    CompList list(std::move(row));
    const std::vector<uint8_t> bytes = WriteRow(list);
    std::unique_ptr<CompList> read = ReadRow(bytes);
    EXPECT_EQ(WriteRow(*read), bytes);

    // Empty components are measured, placed and drawn without fault.
    LinkRemap remap;
    ParagraphList paragraphs(&document);
    paragraphs.Append(new ParagraphComp(list.CloneItems(remap), 5));
    paragraphs.Append(new ParagraphComp(read->CloneItems(remap), 3));
    paragraphs.RelayoutAll(false);
    paragraphs.PaintRange(Rect(0, 0, image.width(), image.height()));
    EXPECT_GT(paragraphs.GetHeight(), 0);
    paragraphs.DeleteAll();
}

TEST_F(WholeSetTest, NestedCloneIsEqualAndWritesTheSameBytes)
{
    CompList row(EveryComponentNested());
    std::unique_ptr<CompList> copy(row.Clone());
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(copy->GetAt(i)->IsEqual(*row.GetAt(i))) << "item " << i;
    EXPECT_EQ(WriteRow(*copy), WriteRow(row));

    // A changed cell deep inside makes the copy differ.
    auto* matrix = copy->GetAt(2);
    matrix->GetChild(2)->Append(fonts.GetFace(0)->GetCharacter('1'));
    EXPECT_FALSE(matrix->IsEqual(*row.GetAt(2)));
}

TEST_F(WholeSetTest, DocumentOfNestedComponentsReadsBackLaysOutAndWritesTheSameBytes)
{
    auto write = [](const ParagraphList& paragraphs) {
        return StoreArchive([&paragraphs](DocWriter& writer) { paragraphs.Write(writer, false); });
    };
    ParagraphList list(&document);
    list.Append(new ParagraphComp(EveryComponentNested(), 3));
    list.Append(new ParagraphComp(EveryComponentNested(), 5));
    list.Append(new ParagraphComp(EveryComponentInALine(), 6));
    list.RelayoutAll(false);
    std::vector<uint8_t> bytes = write(list);

    ParagraphList read(&document);
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader reader(&stream);
    read.ReadCounted(reader);
    EXPECT_EQ(stream.GetPosition(), static_cast<int32_t>(bytes.size()));
    ASSERT_EQ(read.GetCount(), 3);
    read.RelayoutAll(false);
    EXPECT_EQ(read.GetHeight(), list.GetHeight());
    EXPECT_EQ(write(read), bytes);
    read.DeleteAll();
    list.DeleteAll();
}

namespace {

QString OutputDir()
{
    QString dir = QStringLiteral(QV_TEST_OUTPUT);
    QDir().mkpath(dir);
    return dir;
}

// The characters of the SVG's text elements, in document order.
QString TextOf(const QByteArray& svg)
{
    QString text;
    static const QRegularExpression data(QStringLiteral("<!\\[CDATA\\[(.*?)\\]\\]>"));
    for (const QRegularExpressionMatch& match : data.globalMatch(QString::fromUtf8(svg)))
        text += match.captured(1);
    return text;
}

} // namespace

class WholeSetPictureTest : public WholeSetTest {
protected:
    WholeSetPictureTest() : list(&document)
    {
        list.Append(new ParagraphComp(EveryComponentInALine(), 5));
        list.RelayoutAll(false);
    }
    ~WholeSetPictureTest() override { list.DeleteAll(); }

    Rect Bounds() const
    {
        Rect bounds;
        list.GetAt(1)->GetAbsBounds(bounds);
        return bounds;
    }

    ParagraphList list;
};

TEST_F(WholeSetPictureTest, OneEquationLineOfEveryComponentMatchesTheReference)
{
    const Rect bounds = Bounds();
    ASSERT_GT(bounds.right - bounds.left, 300);
    ASSERT_LT(bounds.bottom, image.height()) << "the line no longer fits the image";
    list.PaintRange(Rect(0, 0, image.width(), image.height()));
    image.save(OutputDir() + "/every-component.png");

    const QString referencePath = QStringLiteral(QV_TEST_DATA) + "/every-component.png";
    const QImage expected = LoadReference(image, referencePath);
    ASSERT_FALSE(expected.isNull()) << "no reference image " << referencePath.toStdString();
    ASSERT_EQ(expected.size(), image.size());
    // Anti-aliasing may differ by a few pixels between builds of the font
    // engine; a lost character or a moved component differs by many more.
    EXPECT_LT(DifferentPixels(expected, image, 48), 60)
        << "compare " << OutputDir().toStdString() << "/every-component.png with the reference";
}

TEST_F(WholeSetPictureTest, RecordedAsAPictureTheLineConvertsToSvgWithTextAndPaths)
{
    gDrawContext.BeginMetafile(nullptr, Bounds());
    list.PaintRange(Rect(0, 0, 2000, 2000));
    HENHMETAFILE recorded = gDrawContext.EndMetafile();
    ASSERT_NE(recorded, nullptr);
    EXPECT_TRUE(recorded->IsValid());
    const QByteArray bytes = recorded->Bytes();
    DrawContext::DeleteMetafile(recorded);

    const QString emfPath = OutputDir() + "/every-component.emf";
    const QString svgPath = OutputDir() + "/every-component.svg";
    QFile emf(emfPath);
    ASSERT_TRUE(emf.open(QIODevice::WriteOnly));
    emf.write(bytes);
    emf.close();

    QProcess convert;
    convert.start("emf2svg-conv", {"-i", emfPath, "-o", svgPath});
    ASSERT_TRUE(convert.waitForFinished(30000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();

    QFile svgFile(svgPath);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svg = svgFile.readAll();
    EXPECT_GE(svg.count("<text"), 60) << "the characters of the line";
    EXPECT_GE(svg.count("<path"), 10) << "rules, bars, fences and the picture";
    const QString text = TextOf(svg);
    for (const char* piece : {"a2x", "x2", "\u222B", "\u2211i=1n", "\u220Fk=1n", "3r", "limx->0", "d2fdx2",
                              "\u22023g\u2202x\u2202y2", "x=1y=2", "1x>00x<0", "pq", "link", "(1.2)"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(piece))) << piece << " not in " << text.toStdString();
}
