// The document of every component kind exported to HTML: the page nests
// validly and passes xmllint, every picture it names reads back with libpng
// at the size the page gives it and stands for its formula's limits in its
// alternative text, on one line, exporting twice gives the same bytes, and
// headless Chromium shows it (the screenshot is kept beside the page).
#include "export/html/HtmlChecks.h"

#include "export/HtmlExport.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "support/export/EveryComponentDocument.h"
#include "support/TestOutputFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace fs = std::filesystem;
using namespace htmlchecks;

namespace {

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class EveryComponentHtml : public ::testing::Test {
protected:
    HtmlExportResult Export(const std::string& path) { return Export(path, document.Paragraphs()); }
    HtmlExportResult Export(const std::string& path, const ParagraphList& list)
    {
        HtmlExportSettings settings;
        settings.path = path;
        settings.title = "Every component";
        settings.firstCellWidth = 600;
        settings.secondCellWidth = 100;
        return WriteHtmlExport(list, settings);
    }

    EveryComponentDocument document;
};

TEST_F(EveryComponentHtml, ThePageIsValidAndEveryPictureReadsBackAtItsSize)
{
    const std::string folder = TestOutputFolder();
    const std::string path = folder + "/every.htm";
    HtmlExportResult result = Export(path);
    ASSERT_TRUE(result.ok) << result.message;
    const std::string page = ReadFile(path);

    EXPECT_EQ(NestingFaults(page), "");
    ProgramRun lint = RunProgram("xmllint", {"--html", "--noout", QString::fromStdString(path)});
    EXPECT_EQ(lint.code, 0) << lint.output;
    EXPECT_EQ(lint.output, "");
    // Everything is written as ASCII; the control character is left out.
    for (char c : page)
        EXPECT_TRUE(static_cast<unsigned char>(c) < 128 && (c >= 32 || c == '\n' || c == '\t')) << int(c);
    EXPECT_NE(page.find("Fish &amp; chips &lt; 5 &gt; 3 &quot;quoted&quot;"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"results.html?a=1&amp;b=&lt;2&gt;&quot;q&quot;\">R&amp;D &lt;notes&gt;</a>"),
              std::string::npos);
    EXPECT_NE(page.find("caf&#233;."), std::string::npos);
    // Scripts' links, hidden by control characters or not, are their text.
    EXPECT_NE(page.find("</a> or run meme toome toome too then"), std::string::npos);
    EXPECT_EQ(page.find("alert("), std::string::npos);
    // A picture paragraph after a list stands after it, not in its last item.
    const std::size_t lastItem = page.find("<li>second");
    EXPECT_LT(page.find("</ol>", lastItem), page.find("<img", lastItem));
    // Items that hold a picture or a drawing stand in their list, counted.
    const std::string items = page.substr(page.find("<li>one"), page.find("<li>four") - page.find("<li>one"));
    std::map<std::string, int> tags;
    for (const Tag& tag : TagsOf(items))
        tags[(tag.end ? "/" : "") + tag.name] += 1;
    EXPECT_EQ(tags["/ol"], 0) << items;
    EXPECT_EQ(tags["li"], 3) << items;
    EXPECT_EQ(tags["img"], 2) << items;
    // A formula's picture stands for its limits too.
    EXPECT_NE(page.find("&#8747;_a^b x d x&#8721;_(i=1)^n &#8719;_(k=1)^n "), std::string::npos);
    EXPECT_NE(page.find("lim_(x-&gt;0) "), std::string::npos);

    int pictures = 0;
    for (const Tag& tag : TagsOf(page)) {
        if (tag.name != "img")
            continue;
        const std::string name = "every-html" + std::to_string(pictures) + ".png";
        EXPECT_EQ(tag.attributes.at("src"), name);
        EXPECT_EQ(tag.attributes.at("alt").find('\t'), std::string::npos) << name;
        QSize size = ReadPngSize(folder + "/" + name);
        EXPECT_EQ(size, QSize(std::stoi(tag.attributes.at("width")), std::stoi(tag.attributes.at("height")))) << name;
        ++pictures;
    }
    EXPECT_EQ(pictures, result.pictureCount);
    EXPECT_GE(pictures, 8);  // two formulas, two drawings, a plot with two lines, a picture
    // The page and its pictures, nothing else.
    EXPECT_EQ(FilesIn(folder).size(), std::size_t(pictures) + 1);
}

TEST_F(EveryComponentHtml, ExportingTwiceGivesTheSameBytes)
{
    const std::string folder = TestOutputFolder();
    fs::create_directories(folder + "/one");
    fs::create_directories(folder + "/two");
    ASSERT_TRUE(Export(folder + "/one/doc.htm").ok);
    ASSERT_TRUE(Export(folder + "/two/doc.htm").ok);
    std::vector<std::string> names = FilesIn(folder + "/one");
    ASSERT_EQ(names, FilesIn(folder + "/two"));
    for (const std::string& name : names)
        EXPECT_TRUE(ReadFile(folder + "/one/" + name) == ReadFile(folder + "/two/" + name)) << name;
    // Again over the first export: still the same.
    ASSERT_TRUE(Export(folder + "/one/doc.htm").ok);
    for (const std::string& name : names)
        EXPECT_TRUE(ReadFile(folder + "/one/" + name) == ReadFile(folder + "/two/" + name)) << name;
}

TEST_F(EveryComponentHtml, HeadlessChromiumShowsThePage)
{
    const std::string folder = TestOutputFolder();
    const std::string path = folder + "/shown.htm";
    ASSERT_TRUE(Export(path).ok);
    const std::string shot = folder + "/shown-in-chromium.png";
    ProgramRun run = ScreenshotInChromium(path, shot, folder + "/profile", QSize(1000, 3000));
    if (run.code == -1)
        GTEST_SKIP() << "chromium is not installed";
    fs::remove_all(folder + "/profile");
    ASSERT_EQ(run.code, 0) << run.output;
    QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull()) << run.output;
    EXPECT_EQ(image.size(), QSize(1000, 3000));
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 1000);
}

// A sign of the mathematics face alone in a line of text is a picture:
// Chromium shows its alpha ending on the line the letters around it end on,
// not half a line above them.
TEST_F(EveryComponentHtml, AFormulaPictureInTextStandsOnTheTextsBaseline)
{
    ParagraphList list;
    auto* paragraph = new ParagraphComp(3);
    for (const auto& [text, fontId] :
         {std::pair{"xxx ", FontId::kText}, {"\xA8", FontId::kMath}, {" xxx", FontId::kText}})
        for (const char* c = text; *c; ++c)
            paragraph->GetRow()->Append(document.Fonts().GetFace(fontId)->GetCharacter(static_cast<unsigned char>(*c)));
    list.Append(paragraph);
    list.RelayoutAll(false);
    const std::string folder = TestOutputFolder();
    ASSERT_TRUE(Export(folder + "/baseline.htm", list).ok);
    const std::string shot = folder + "/baseline-in-chromium.png";
    const ProgramRun run = ScreenshotInChromium(folder + "/baseline.htm", shot, folder + "/profile", QSize(600, 300));
    if (run.code == -1)
        GTEST_SKIP() << "chromium is not installed";
    fs::remove_all(folder + "/profile");
    const QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull()) << run.output;
    // The lowest dark pixel of each column that holds one: the letters'
    // and the alpha's feet.
    int lowest = -1, highest = image.height();
    for (int x = 0; x < image.width(); ++x) {
        int foot = -1;
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                foot = y;
        if (foot >= 0) {
            lowest = std::max(lowest, foot);
            highest = std::min(highest, foot);
        }
    }
    ASSERT_GE(lowest, 0);
    EXPECT_LE(lowest - highest, 4) << "the feet of the letters and the alpha lie apart";
}

}  // namespace
