// Every document kept in data/ opens, lays out, paints like its reference
// picture (data/<name>.png) and saves back to the very bytes it was read
// from: adding a document to data/ adds it to this test. Run with
// QV_UPDATE_REFERENCE=1 to write the reference pictures after a deliberate
// change of layout or drawing.
#include "DocumentTestSupport.h"

#include "foundation/DrawContext.h"
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
        ASSERT_EQ(reference.size(), image.size());
        EXPECT_LE(DifferentPixels(image, reference, 48), image.width() * image.height() / 500)
            << "compare " << OutputPath(name) << " with its reference";

        EXPECT_EQ(Store(*doc), bytes);
    }
}
