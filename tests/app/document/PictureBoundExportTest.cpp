// Small documents of huge pictures export to every format at a bounded
// cost: a picture with no recording is not rendered, one export renders at
// most a bounded number of pixels, and what it leaves out it names.
#include "DocumentTestSupport.h"

#include "app/DocumentComponents.h"
#include "export/ExportPictureFiles.h"
#include "export/HtmlExport.h"
#include "export/LaTeXExport.h"
#include "export/XhtmlExport.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/IntPoint.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/fuzz/DocumentFuzzEntry.h"
#include "foundation/Rect.h"
#include "kernel/NameTable.h"
#include "math/PictureComp.h"
#include "platform/draw/ImageDC.h"
#include "support/FakeUserInterface.h"
#include "support/model/SavedGlobals.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;

class PictureBoundExportTest : public DocumentTest {
protected:
    PictureBoundExportTest()
    {
        RegisterNameTable();
        RegisterDocumentComponents();
        documentfuzz::RegisterReaders();
    }

    // The pixels of every PNG file in the folder.
    static int64_t PixelsIn(const std::string& folder)
    {
        int64_t pixels = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() != ".png")
                continue;
            const QSize size = QImageReader(QString::fromStdString(entry.path().string())).size();
            pixels += int64_t(size.width()) * size.height();
        }
        return pixels;
    }

    static std::string ReadText(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    FakeUserInterface ui;
};

struct Export {
    const char* name;
    const char* file;
    // Whether it was written, and what it said.
    std::function<std::pair<bool, std::string>(ParagraphList&, const std::string&)> run;
};

const Export kExports[] = {
    {"LaTeX", "page.tex",
     [](ParagraphList& list, const std::string& path) {
         const ExportOutcome outcome = ExportLaTeXFile(list, path, false);
         return std::make_pair(outcome.written, outcome.message);
     }},
    {"TechExplorer", "page.tcx",
     [](ParagraphList& list, const std::string& path) {
         const ExportOutcome outcome = ExportLaTeXFile(list, path, true);
         return std::make_pair(outcome.written, outcome.message);
     }},
    {"XHTML", "page.xhtml",
     [](ParagraphList& list, const std::string& path) {
         const XhtmlExportResult result = WriteXhtmlExport(list, path, "Page", true);
         return std::make_pair(result.ok, result.ok ? result.notice : result.message);
     }},
    {"HTML", "page.htm",
     [](ParagraphList& list, const std::string& path) {
         HtmlExportSettings settings;
         settings.path = path;
         settings.title = "Page";
         const HtmlExportResult result = WriteHtmlExport(list, settings);
         return std::make_pair(result.ok, result.ok ? result.notice : result.message);
     }},
};

// The corpus's documents of pictures at the largest size: one holds empty
// picture records, the other large recorded pictures. Each export renders
// within the bound and says which pictures it left out.
TEST_F(PictureBoundExportTest, HugePicturesRenderABoundedNumberOfPixelsAndAreNamedWhenLeftOut)
{
    for (const char* name : {"hostile-picture-size.vxm", "hostile-picture-limit.vxm"}) {
        auto doc = EmptyDocument();
        Load(*doc, ReadFile(std::string(QV_SOURCE_DIR) + "/tests/foundation/fuzz/document-corpus/" + name));
        const ScreenLayout screen(*doc->GetParagraphList());
        for (const Export& format : kExports) {
            SCOPED_TRACE(std::string(name) + " to " + format.name);
            QTemporaryDir folder;
            ASSERT_TRUE(folder.isValid());
            const auto [written, message] =
                format.run(*doc->GetParagraphList(), folder.path().toStdString() + "/" + format.file);
            EXPECT_TRUE(written) << message;
            const int64_t pixels = PixelsIn(folder.path().toStdString());
            EXPECT_LE(pixels, ExportPictureFiles::kPixelBudget);
            // A picture left out is named by its file name.
            if (!message.empty()) {
                EXPECT_NE(message.find("left out"), std::string::npos) << message;
                EXPECT_NE(message.find(".png"), std::string::npos) << message;
            }
        }
    }
}

// Four recorded pictures of 1,500 pixels square: at twice the screen's
// resolution LaTeX renders three within the bound and leaves the fourth out,
// saying so in the source and the message; the web pages, at the screen's
// resolution, take all four.
TEST_F(PictureBoundExportTest, APictureBeyondTheBoundIsLeftOutAndNamed)
{
    auto doc = EmptyDocument();
    for (int i = 0; i < 4; ++i) {
        gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 1500, 1500));
        gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(1500, 1500));
        HENHMETAFILE recorded = gDrawContext.EndMetafile();
        AddParagraph(*doc, "")->GetRow()->Append(new PictureComp(recorded));
        DrawContext::DeleteMetafile(recorded);
    }
    const ScreenLayout screen(*doc->GetParagraphList());
    for (const Export& format : kExports) {
        SCOPED_TRACE(format.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const std::string page = folder.path().toStdString() + "/" + format.file;
        const auto [written, message] = format.run(*doc->GetParagraphList(), page);
        ASSERT_TRUE(written) << message;
        EXPECT_LE(PixelsIn(folder.path().toStdString()), ExportPictureFiles::kPixelBudget);
        if (std::string(format.name) == "LaTeX") {
            EXPECT_NE(message.find("page-tex4.png"), std::string::npos) << message;
            EXPECT_NE(ReadText(page).find("(picture left out)"), std::string::npos);
            EXPECT_TRUE(fs::exists(folder.path().toStdString() + "/page-tex3.png"));
        } else if (std::string(format.name) != "TechExplorer") {
            EXPECT_EQ(message, "");
        }
    }
    // The export command tells the user the export was written and what it
    // left out.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(doc->ExportTo(ID_EXPORT_LATEX, CString(folder.path().toStdString() + "/doc.tex")));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("was exported to \"doc.tex\""), std::string::npos) << ui.LastBoxText();
    EXPECT_NE(ui.LastBoxText().find("doc-tex4.png was left out"), std::string::npos) << ui.LastBoxText();
}

} // namespace
