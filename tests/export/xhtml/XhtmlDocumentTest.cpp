// A document of every component kind exported to XHTML: valid against the
// XHTML 1.1 plus MathML 2.0 plus SVG 1.1 document type, every drawing's SVG
// well-formed, the same bytes every time, and a page a browser shows.
#include "XhtmlTestSupport.h"

#include "drawing/DiagramComp.h"
#include "export/XhtmlExport.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/DocSelection.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "support/export/EveryComponentDocument.h"
#include "support/export/MathFaceTextDocument.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

namespace {

class XhtmlDocumentTest : public ::testing::Test {
protected:
    // The formula of every math component does not read (a link and a
    // reference follow it as text): the page is written all the same.
    XhtmlExportResult Export(const std::string& path)
    {
        return WriteXhtmlExport(document.Paragraphs(), path, "Every component & <more>", true);
    }

    EveryComponentDocument document;
    std::string folder = TestFolder();
};

std::vector<DiagramComp*> Drawings(ParagraphList& list)
{
    std::vector<DiagramComp*> drawings;
    for (int i = 1; i <= list.GetCount(); ++i) {
        CompList& row = *list.GetAt(i)->GetRow();
        for (int k = 1; k <= row.GetCount(); ++k)
            if (auto* drawing = dynamic_cast<DiagramComp*>(row.GetAt(k)))
                drawings.push_back(drawing);
    }
    return drawings;
}

} // namespace

TEST_F(XhtmlDocumentTest, EveryComponentKindGivesAValidPage)
{
    const std::string path = folder + "/every.xml";
    const XhtmlExportResult result = Export(path);
    ASSERT_TRUE(result.ok) << result.message;
    ASSERT_NE(result.badRow, nullptr);
    // The link after the formula is text, not part of the failure.
    EXPECT_EQ(result.badRow->GetAt(result.badLast + 1)->Tag(), tag_Link);
    EXPECT_EQ(XmlLintErrors(path, true), "");

    const std::string page = ReadText(path);
    EXPECT_NE(page.find("<title>Every component &amp; &lt;more&gt;</title>"), std::string::npos);
    for (const char* element : {"<math xmlns=", "<svg:svg ", "<h1 ", "<h2>", "<h3>", "<pre>", "<ol>", "<ul>",
                                "<table class=\"numbered\">", "<table class=\"picture\"", "<a href="})
        EXPECT_NE(page.find(element), std::string::npos) << element;
    // The script's link is its text alone.
    EXPECT_NE(page.find("</a> or run meme toome toome too then"), std::string::npos);
    EXPECT_EQ(page.find("alert("), std::string::npos);
    // A picture paragraph after a list stands after it.
    const std::size_t lastItem = page.find("<li>\nsecond");
    EXPECT_LT(page.find("</ol>", lastItem), page.find("<img", lastItem));
    // Items that hold a picture or a drawing stand in their list, counted.
    const std::string items = page.substr(page.find("<li>\none"), page.find("<li>\nfour") - page.find("<li>\none"));
    EXPECT_EQ(items.find("</ol>"), std::string::npos) << items;
    EXPECT_EQ(Count(items, "<li>"), 3) << items;
    for (const char* object : {"<img", "<svg:svg"})
        EXPECT_NE(items.find(object), std::string::npos) << object << "\n" << items;
    // Old MathML fences and presentational markup are gone.
    for (const char* old : {"mfenced", "<font", "point-size", "font-style: bold"})
        EXPECT_EQ(page.find(old), std::string::npos) << old;

    // Pictures (the plot's, the inline and the standalone picture) lie
    // beside the page as PNG files named after it and the format.
    ASSERT_GE(result.pictures.size(), 2u);
    for (std::size_t i = 0; i < result.pictures.size(); ++i) {
        const std::string name = "every-xhtml" + std::to_string(i + 1) + ".png";
        EXPECT_EQ(result.pictures[i], folder + "/" + name);
        EXPECT_NE(page.find("<img src=\"" + name + "\" alt=\"every-xhtml" + std::to_string(i + 1) + "\" />"),
                  std::string::npos);
        QImage picture(QString::fromStdString(result.pictures[i]));
        EXPECT_FALSE(picture.isNull()) << name;
    }
}

TEST_F(XhtmlDocumentTest, EveryDrawingCopiesAsWellFormedSvg)
{
    const std::vector<DiagramComp*> drawings = Drawings(document.Paragraphs());
    ASSERT_GE(drawings.size(), 2u);
    for (DiagramComp* drawing : drawings) {
        const std::string svg = SvgOfSelection(DocSelection(drawing));
        ASSERT_FALSE(svg.empty());
        EXPECT_EQ(svg.rfind("<svg width=", 0), 0u) << svg.substr(0, 80);
        EXPECT_NE(svg.find("xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
        EXPECT_EQ(XmlLintTextErrors(svg, false), "") << svg;
        EXPECT_EQ(drawing->GetDC().GetOutputFactor(), 1);
    }
}

TEST_F(XhtmlDocumentTest, ExportingTwiceGivesTheSameBytes)
{
    std::filesystem::create_directories(folder + "/a");
    std::filesystem::create_directories(folder + "/b");
    const XhtmlExportResult first = Export(folder + "/a/page.xhtml");
    const XhtmlExportResult second = Export(folder + "/b/page.xhtml");
    ASSERT_TRUE(first.ok && second.ok);
    EXPECT_EQ(ReadText(folder + "/a/page.xhtml"), ReadText(folder + "/b/page.xhtml"));
    // The pictures are numbered alike and show the same pixels (their files
    // differ only while the encoder stamps the time).
    ASSERT_EQ(first.pictures.size(), second.pictures.size());
    for (std::size_t i = 0; i < first.pictures.size(); ++i) {
        const QImage a(QString::fromStdString(first.pictures[i]));
        const QImage b(QString::fromStdString(second.pictures[i]));
        EXPECT_FALSE(a.isNull());
        EXPECT_TRUE(a == b) << first.pictures[i];
    }
}

TEST_F(XhtmlDocumentTest, TextLinksAndControlCharactersAreEscaped)
{
    const std::string path = folder + "/awkward.xhtml";
    ASSERT_TRUE(Export(path).ok);
    const std::string page = ReadText(path);
    EXPECT_NE(page.find("Fish &amp; chips &lt; 5 &gt; 3 &quot;quoted&quot; and 'single'"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"results.html?a=1&amp;b=&lt;2&gt;&quot;q&quot;\">R&amp;D &lt;notes&gt;</a>"),
              std::string::npos);
    // Character 7 of the program's set is a dot operator.
    EXPECT_NE(page.find("a bell &#8901; and caf&#233;."), std::string::npos);
    for (unsigned char c : page) {
        EXPECT_LT(c, 128) << "every byte beyond ASCII is written as a character reference";
        EXPECT_TRUE(c >= 32 || c == '\n') << int(c);
    }
}

TEST_F(XhtmlDocumentTest, ARowThatDoesNotParseStopsTheExportBeforeTheFile)
{
    auto* bad = new ParagraphComp(5);
    FontFace* face = gFontManager->GetFace(FontId::kMath);
    for (unsigned char c : std::string("(a+"))
        bad->GetRow()->Append(face->GetCharacter(c));
    ParagraphList& list = document.Paragraphs();
    list.InsertAt(bad, 1);
    const std::string path = folder + "/bad.xhtml";
    const XhtmlExportResult result = WriteXhtmlExport(list, path, "t");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.badRow, bad->GetRow());
    EXPECT_EQ(result.badFirst, 1);
    EXPECT_EQ(result.badLast, 3);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(result.pictures.empty());
}

// Text in the mathematics face that is no formula is written as text and
// never refuses the page; a badly formed formula inside text still does, and
// what it selects shows.
TEST(XhtmlMathFaceText, IsWrittenAsTextAndABadFormulaIsStillRefused)
{
    MathFaceTextDocument document;
    const std::string path = TestFolder() + "/text.xhtml";
    const XhtmlExportResult result = WriteXhtmlExport(document.Paragraphs(), path, "t");
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.badRow, nullptr);
    EXPECT_EQ(XmlLintErrors(path, true), "");
    const std::string page = ReadText(path);
    for (const MathFaceTextRow& row : MathFaceTextDocument::Rows())
        EXPECT_NE(page.find(row.xhtml), std::string::npos) << row.name << "\n" << page;

    ParagraphComp* bad = document.AppendBadFormula();
    const XhtmlExportResult refused = WriteXhtmlExport(document.Paragraphs(), path, "t");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.badRow, bad->GetRow());
    EXPECT_EQ(refused.badFirst, MathFaceTextDocument::kBadFirst);
    EXPECT_EQ(refused.badLast + 1, MathFaceTextDocument::kBadEnd);
}

// A picture whose name is taken by a folder: reported, and nothing written.
TEST_F(XhtmlDocumentTest, APictureThatCannotBeSavedIsReported)
{
    const std::string path = folder + "/page.xml";
    std::filesystem::create_directories(folder + "/page-xhtml2.png/taken");
    const XhtmlExportResult result = WriteXhtmlExport(document.Paragraphs(), path, "t", true);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("page-xhtml2.png"), std::string::npos) << result.message;
    EXPECT_TRUE(result.pictures.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(folder + "/page-xhtml1.png"));
}

// Nothing is left behind: no pictures beside a page that could not be written.
TEST_F(XhtmlDocumentTest, AFileThatCannotBeWrittenIsReported)
{
    const std::string path = folder + "/no-such-folder/page.xhtml";
    const XhtmlExportResult result = WriteXhtmlExport(document.Paragraphs(), path, "t", true);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("no-such-folder"), std::string::npos) << result.message;
    EXPECT_TRUE(result.pictures.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// The page opened in a browser; the screenshot stays in the test's output
// folder to be looked at.
TEST_F(XhtmlDocumentTest, ThePageOpensInChromium)
{
    const std::string browser = HasTool("chromium") ? "chromium" : HasTool("chromium-browser") ? "chromium-browser" : "";
    if (browser.empty())
        GTEST_SKIP() << "chromium is not installed";
    const std::string path = folder + "/every.xhtml";
    ASSERT_TRUE(Export(path).ok);
    const std::string shot = folder + "/every-chromium.png";
    const ToolRun run = RunTool(browser, {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                                          "--window-size=1000,3600", "--screenshot=" + shot, "file://" + path});
    ASSERT_TRUE(run.started);
    QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull()) << run.output;
    // Something is shown: a good part of the page is not background.
    int inked = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            inked += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(inked, 500);
}
