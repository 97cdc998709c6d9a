// Every document kept in data/ opens, lays out, paints like its reference
// picture (data/<name>.png) and saves back to the very bytes it was read
// from: adding a document to data/ adds it to this test. Run with
// QV_UPDATE_REFERENCE=1 to write the reference pictures after a deliberate
// change of layout or drawing.
#include "DocumentTestSupport.h"

#include "foundation/DrawContext.h"
#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Rect.h"
#include "platform/draw/ImageDC.h"
#include "support/FakeUserInterface.h"
#include "support/PictureCompare.h"
#include "support/model/SavedGlobals.h"

#include <QImage>

#include <algorithm>
#include <filesystem>

namespace {

constexpr int kPictureWidth = 816;
constexpr int kPictureHeight = 1056;

std::vector<std::filesystem::path> DataDocuments()
{
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(QV_TEST_DATA))
        if (entry.path().extension() == ".vxm")
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The document's first page as a picture.
QImage Paint(ParagraphList& list)
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    SetImageDpi(image, 96);
    CImageDC dc(image);
    gDrawContext.BeginDrawOnDC(nullptr, &dc);
    list.RelayoutAll(false);
    list.PaintRange(Rect(0, 0, kPictureWidth, kPictureHeight));
    UnwindDrawContext();
    return image;
}

// Whether a painting shows what its reference shows: no block of the page
// differs in more than a pixel or two of anti-aliasing, so that a missing
// character, even a full stop, fails the comparison.
::testing::AssertionResult LooksLike(const QImage& image, const QImage& reference)
{
    if (reference.size() != image.size())
        return ::testing::AssertionFailure() << "the sizes differ";
    const int worst = DifferentPixelsInWorstBlock(image, reference, 48);
    if (worst > 2)
        return ::testing::AssertionFailure() << worst << " differing pixels in one 8 x 8 block";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(DocumentTest, EveryDocumentInDataOpensLaysOutPaintsAndSavesUnchanged)
{
    FakeUserInterface ui;
    const std::vector<std::filesystem::path> documents = DataDocuments();
    ASSERT_FALSE(documents.empty()) << "no documents in " << QV_TEST_DATA;
    for (const std::filesystem::path& path : documents) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<uint8_t> bytes = ReadFile(path.string());
        auto doc = EmptyDocument();
        ASSERT_NO_THROW(Load(*doc, bytes));

        const QImage image = Paint(*doc->GetParagraphList());
        const std::string name = path.stem().string() + ".png";
        image.save(QString::fromStdString(OutputPath(name)));
        const QString referencePath = QString::fromStdString((path.parent_path() / name).string());
        const QImage reference = LoadReference(image, referencePath);
        ASSERT_FALSE(reference.isNull()) << "no reference picture; the painted one is " << OutputPath(name);
        EXPECT_TRUE(LooksLike(image, reference)) << "compare " << OutputPath(name) << " with its reference";

        EXPECT_EQ(Store(*doc), bytes);
    }
}

// The comparison above sees the smallest loss: the document of every shape
// kind painted without the full stop that ends its last paragraph.
TEST_F(DocumentTest, APaintingWithoutOneFullStopDoesNotLookLikeItsReference)
{
    FakeUserInterface ui;
    const std::string path = std::string(QV_TEST_DATA) + "/every-shape-kind";
    auto doc = EmptyDocument();
    ASSERT_NO_THROW(Load(*doc, ReadFile(path + ".vxm")));
    ParagraphList& list = *doc->GetParagraphList();
    CompList* row = list.GetAt(list.GetCount())->GetRow();
    ASSERT_EQ(row->GetAt(row->GetCount())->GetChar(), '.');
    const QImage reference = QImage(QString::fromStdString(path + ".png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(LooksLike(Paint(list), reference));
    row->RemoveAt(row->GetCount());  // a shared character, which its face keeps
    list.GetAt(list.GetCount())->Invalidate();
    EXPECT_FALSE(LooksLike(Paint(list), reference));
}
