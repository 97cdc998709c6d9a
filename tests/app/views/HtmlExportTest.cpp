// The HTML export: a document of every paragraph style and component kind
// becomes a page that nests validly, passes xmllint and shows in a browser,
// with pictures that read back at the size the page gives them; the same
// document gives the same bytes twice; a failure is reported and leaves
// nothing under the chosen names; and the File/Export commands.
#include "ViewFixture.h"

#include "app/CCorvellDoc.h"
#include "drawing/DiagramComp.h"
#include "export/HTMLExportWriter.h"
#include "export/HtmlExport.h"
#include "foundation/ByteStream.h"
#include "foundation/CompList.h"
#include "foundation/DrawTargetScope.h"
#include "math/CrossRefComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/HyperlinkComp.h"
#include "math/PictureComp.h"
#include "math/TableComp.h"
#include "plot/PlotComponents.h"
#include "plot/TwoDPlotComp.h"

#include <QProcess>
#include <QRegularExpression>

#include <png.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Tag {
    std::string name;
    bool end = false;
    std::map<std::string, std::string> attributes;
};

// The start and end tags of a page, in order (the doctype left out).
std::vector<Tag> TagsOf(const std::string& page)
{
    std::vector<Tag> tags;
    static const QRegularExpression tagPattern(R"(<(/?)([a-zA-Z0-9]+)([^>]*)>)");
    static const QRegularExpression attributePattern(R"re(([a-zA-Z-]+)="([^"]*)")re");
    auto matches = tagPattern.globalMatch(QString::fromStdString(page));
    while (matches.hasNext()) {
        auto match = matches.next();
        Tag tag{match.captured(2).toLower().toStdString(), !match.captured(1).isEmpty(), {}};
        auto attributes = attributePattern.globalMatch(match.captured(3));
        while (attributes.hasNext()) {
            auto attribute = attributes.next();
            tag.attributes[attribute.captured(1).toLower().toStdString()] = attribute.captured(2).toStdString();
        }
        tags.push_back(tag);
    }
    return tags;
}

// What a browser would have to repair: an end tag that does not close the
// element open last, a block inside a paragraph, a list directly inside a
// list, an item outside a list, a picture without alternative text.
std::string NestingFaults(const std::string& page)
{
    static const std::set<std::string> empty = {"img", "meta", "br"};
    static const std::set<std::string> blocks = {"p", "table", "ol", "ul", "pre", "h1", "h2", "h3"};
    std::vector<std::string> open;
    std::string faults;
    for (const Tag& tag : TagsOf(page)) {
        if (tag.end) {
            if (open.empty() || open.back() != tag.name)
                faults += "</" + tag.name + "> closes " + (open.empty() ? "nothing" : open.back()) + "; ";
            else
                open.pop_back();
            continue;
        }
        if (blocks.count(tag.name) && std::find(open.begin(), open.end(), "p") != open.end())
            faults += tag.name + " inside p; ";
        if ((tag.name == "ol" || tag.name == "ul") && !open.empty() && (open.back() == "ol" || open.back() == "ul"))
            faults += tag.name + " directly inside " + open.back() + "; ";
        if (tag.name == "li" && (open.empty() || (open.back() != "ol" && open.back() != "ul")))
            faults += "li outside a list; ";
        if (tag.name == "img" && !tag.attributes.count("alt"))
            faults += "img without alt; ";
        if (!empty.count(tag.name))
            open.push_back(tag.name);
    }
    if (!open.empty())
        faults += "left open: " + open.back();
    return faults;
}

// The size of a PNG file as libpng reads it, with every row decoded.
QSize ReadPngSize(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    return QSize(int(image.width), int(image.height));
}

// The output of a program run with a time limit; exit code in *code.
std::string RunProgram(const QString& program, const QStringList& arguments, int* code, int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        *code = -1;
        return "could not start " + program.toStdString();
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        *code = -2;
        return "timed out";
    }
    *code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
    return process.readAll().toStdString();
}

class StringStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), std::size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

constexpr const char* kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n"
    "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=us-ascii\">\n"
    "<title>T &amp; U</title>\n<style type=\"text/css\">\np.eqn {text-align: center}\n</style></head>\n"
    "<body bgcolor=\"#ffffff\" text=\"#000000\" link=\"#0000ff\">\n";

class HtmlExportTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        RegisterPlotComponents();
        Paragraphs().DeleteAll();
    }
    void TearDown() override
    {
        CCorvellDoc::SetExportPathPrompt(nullptr);
        ViewTest::TearDown();
    }

    std::unique_ptr<CompArray> Chars(const std::string& text, int fontId = 0)
    {
        auto array = std::make_unique<CompArray>();
        for (char c : text)
            array->Append(fonts->GetFace(fontId)->GetCharacter(static_cast<unsigned char>(c)));
        return array;
    }
    std::unique_ptr<CompArray> Join(std::initializer_list<CompArray*> parts)
    {
        auto array = std::make_unique<CompArray>();
        for (CompArray* part : parts) {
            for (int i = 1; i <= part->GetCount(); ++i)
                array->Append(part->GetAt(i));
            delete part;
        }
        return array;
    }
    static std::unique_ptr<CompArray> One(TextComp* comp)
    {
        auto array = std::make_unique<CompArray>();
        array->Append(comp);
        return array;
    }
    ParagraphComp* Add(int style, std::unique_ptr<CompArray> comps)
    {
        auto* paragraph = new ParagraphComp(std::move(comps), style);
        Paragraphs().Append(paragraph);
        return paragraph;
    }
    TextComp* Squared()
    {
        return new ExponentComp(Chars("2", FontId::kMath));
    }
    void Relayout()
    {
        DrawTargetScope draw(view);
        Paragraphs().RelayoutAll(false);
    }

    // Every paragraph style and every kind of component the page shows
    // differently: styled text, special characters, a link and a reference,
    // lists in two levels, source code, equations as text and as pictures,
    // a table, a picture, a drawing and a 2-D plot.
    void BuildEveryKind()
    {
        Add(0, Chars("Every kind"));
        Add(1, Chars("Text"));
        auto link = One(new HyperlinkComp(Str255("http://example.org/a?b=1&c=\"2\""), Str255("a <link>"), true));
        Add(3, Join({Chars("Plain, ").release(), Chars("italic", 1).release(), Chars(" and ").release(),
                     Chars("bold", 2).release(), Chars(" with ").release(), Chars("code", 4).release(),
                     Chars(" & <\"quotes\"> caf\xE9 ").release(), link.release(), Chars(" (see ").release(),
                     One(new CrossRefComp(1, Str31("(1)"))).release(), Chars(")").release()}));
        Add(2, Chars("Lists"));
        Add(4, Chars("first"));
        Add(9, Chars("first a"));
        Add(9, Chars("first b"));
        Add(5, Join({Chars("y=", FontId::kMath).release(), One(new FractionComp(Chars("1"), Chars("x"))).release()}));
        Add(4, Chars("second"));
        Add(8, Chars("bullet"));
        Add(10, Chars("dash"));
        Add(7, Chars("int main()", 4));
        Add(7, Chars("{ return 0; }", 4));
        Add(5, Join({Chars("x", FontId::kMath).release(), One(Squared()).release(), Chars("+1", FontId::kMath).release()}));
        Add(6, Join({Chars("a=", FontId::kMath).release(), One(new FractionComp(Chars("b"), Chars("c"))).release()}));
        auto table = std::make_unique<TableComp>(2, 2);
        table->GetCell(1, 1)->InsertAllAt(Chars("n"), 1);
        table->GetCell(2, 1)->InsertAllAt(Join({Chars("n", FontId::kMath).release(), One(Squared()).release()}), 1);
        table->GetCell(1, 2)->InsertAllAt(Chars("1"), 1);
        table->GetCell(2, 2)->InsertAllAt(Join({Chars("1", FontId::kMath).release(),
                                                One(new FractionComp(Chars("1"), Chars("2"))).release()}), 1);
        Add(3, One(table.release()));
        HENHMETAFILE recorded = RecordedPicture();
        Add(3, One(new PictureComp(recorded)));
        DrawContext::DeleteMetafile(recorded);
        Add(3, One(new DiagramComp()));
        Add(3, One(new TwoDPlotComp()));
        Add(3, Chars("The end."));
        Relayout();
    }

    // A small picture: a diagonal line and a box.
    static HENHMETAFILE RecordedPicture()
    {
        gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 60, 30));
        gDrawContext.GetDC()->MoveTo(0, 0);
        gDrawContext.GetDC()->LineTo(59, 29);
        gDrawContext.GetDC()->Rectangle(5, 5, 30, 20);
        return gDrawContext.EndMetafile();
    }

    bool Export(const std::string& path) { return Doc()->ExportTo(ID_EXPORT_HTML, CString(path)); }

    // The page's text written by the writer alone, without picture files.
    std::string PageOf(const std::string& folder)
    {
        StringStream stream;
        {
            DrawTargetScope draw(view);
            HTMLExportWriter writer(stream, "T & U", "page", folder, 400, 100);
            Paragraphs().WriteHTML(writer);
        }
        return stream.text;
    }
    std::string BodyOf(const std::string& page) const
    {
        std::size_t start = page.find("<body");
        start = page.find('\n', start) + 1;
        return page.substr(start, page.rfind("</body>") - start);
    }
};

TEST_F(HtmlExportTest, EveryKindGivesAValidPageWithPicturesThatReadBackAtTheirSize)
{
    BuildEveryKind();
    const std::string path = OutputPath("every kind.htm");
    ASSERT_TRUE(Export(path)) << ui.boxes.size();
    const std::string page = ReadFile(path);

    EXPECT_EQ(NestingFaults(page), "");
    int code = 0;
    std::string lint = RunProgram("xmllint", {"--html", "--noout", QString::fromStdString(path)}, &code);
    EXPECT_EQ(code, 0) << lint;
    EXPECT_EQ(lint, "");

    // Text stays text, escaped; the link's address keeps its characters.
    EXPECT_NE(page.find("<i>italic</i> and <b>bold</b> with <font face=\"courier\">code</font>"), std::string::npos);
    EXPECT_NE(page.find(" &amp; &lt;&quot;quotes&quot;&gt; caf&#233; "), std::string::npos);
    EXPECT_NE(page.find("<a href=\"http://example.org/a?b=1&amp;c=&quot;2&quot;\">a &lt;link&gt;</a> (see (1))"),
              std::string::npos);
    // An equation holding a structure is one picture; in a paragraph's
    // mathematics an exponent of characters is text.
    EXPECT_NE(page.find("<p class=\"eqn\"><img src=\"every%20kind1.png\""), std::string::npos);
    EXPECT_NE(page.find("<th align=\"center\"><i>n<sup>2</sup></i></th>"), std::string::npos);
    EXPECT_NE(page.find("<pre>\nint main()\n{ return 0; }\n</pre>"), std::string::npos);
    // The second level nests in the open item of the first.
    EXPECT_NE(page.find("<ol>\n<li>first<ol>\n<li>first a</li>\n<li>first b"), std::string::npos);

    // Every picture the page names reads back at the size the page gives it.
    int pictures = 0;
    for (const Tag& tag : TagsOf(page)) {
        if (tag.name != "img")
            continue;
        const std::string src = tag.attributes.at("src");
        EXPECT_EQ(src, "every%20kind" + std::to_string(pictures) + ".png");
        QSize size = ReadPngSize(OutputPath("every kind" + std::to_string(pictures) + ".png"));
        EXPECT_EQ(size, QSize(std::stoi(tag.attributes.at("width")), std::stoi(tag.attributes.at("height")))) << src;
        EXPECT_GT(size.width(), 0);
        ++pictures;
    }
    // Two fractions, a table cell, the picture, the drawing, the plot.
    EXPECT_GE(pictures, 6);
    for (const std::string& name : FilesIn(fs::path(path).parent_path()))
        EXPECT_EQ(name.find(".part"), std::string::npos) << name;
}

TEST_F(HtmlExportTest, ThePageShowsInHeadlessChromium)
{
    BuildEveryKind();
    const std::string path = OutputPath("shown.htm");
    ASSERT_TRUE(Export(path));
    const std::string shot = OutputPath("shown-in-chromium.png");
    fs::remove(shot);
    int code = 0;
    std::string output =
        RunProgram("chromium",
            {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars", "--window-size=1000,1600",
             "--user-data-dir=" + QString::fromStdString(OutputPath("profile")),
             "--screenshot=" + QString::fromStdString(shot), QString::fromStdString("file://" + path)},
            &code, 120000);
    if (code == -1)
        GTEST_SKIP() << "chromium is not installed";
    ASSERT_EQ(code, 0) << output;
    // The screenshot is kept beside the page; it shows ink on white.
    QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull()) << output;
    EXPECT_EQ(image.size(), QSize(1000, 1600));
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 500);
}

TEST_F(HtmlExportTest, TheSameDocumentExportsToTheSameBytes)
{
    BuildEveryKind();
    const std::string first = OutputPath("one/doc.htm");
    const std::string second = OutputPath("two/doc.htm");
    fs::create_directories(fs::path(first).parent_path());
    fs::create_directories(fs::path(second).parent_path());
    ASSERT_TRUE(Export(first));
    ASSERT_TRUE(Export(second));
    std::vector<std::string> names = FilesIn(fs::path(first).parent_path());
    ASSERT_EQ(names, FilesIn(fs::path(second).parent_path()));
    EXPECT_GE(names.size(), 7u);
    for (const std::string& name : names)
        EXPECT_TRUE(ReadFile(OutputPath("one/" + name)) == ReadFile(OutputPath("two/" + name))) << name;
}

TEST_F(HtmlExportTest, AFailedExportIsReportedAndLeavesNothingUnderTheChosenNames)
{
    BuildEveryKind();
    // A folder that takes no new files.
    const std::string locked = OutputPath("locked");
    fs::create_directories(locked);
    ::chmod(locked.c_str(), 0555);
    bool written = Export(locked + "/doc.htm");
    ::chmod(locked.c_str(), 0755);
    if (::geteuid() != 0) {
        EXPECT_FALSE(written);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_NE(ui.LastBoxText().find("could not be exported to \"doc.htm\""), std::string::npos);
        EXPECT_TRUE(FilesIn(locked).empty());
    }

    // A failure midway: the second picture cannot be written. The page
    // exported before stays as it was and no picture of this export is left.
    const std::string folder = OutputPath("midway");
    fs::create_directories(folder);
    std::ofstream(folder + "/doc.htm") << "earlier";
    fs::create_directories(folder + "/.doc1.png.part/blocked");
    ui.boxes.clear();
    EXPECT_FALSE(Export(folder + "/doc.htm"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("doc1.png"), std::string::npos) << ui.LastBoxText();
    EXPECT_NE(ui.LastBoxText().find("Nothing was written."), std::string::npos);
    EXPECT_EQ(ReadFile(folder + "/doc.htm"), "earlier");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>({".doc1.png.part", "doc.htm"}));
}

TEST_F(HtmlExportTest, TheHtmlCommandAsksForAFileAndTheCommandsWithoutAWriterAreDisabled)
{
    Add(3, Chars("Hello"));
    Relayout();
    EXPECT_TRUE(Update(ID_EXPORT_HTML).enabled);
    for (UINT id : {ID_EXPORT_LATEX, ID_EXPORT_TECHEXPLORER, ID_EXPORT_NOTEBOOK, ID_EXPORT_MATHML})
        EXPECT_FALSE(Update(id).enabled) << id;

    std::string proposed;
    const std::string path = OutputPath("asked.htm");
    CCorvellDoc::SetExportPathPrompt([&](const ExportCommand& command, const CString& name) {
        proposed = name.str() + " " + command.defaultExtension;
        return CString(path);
    });
    Command(ID_EXPORT_HTML);
    EXPECT_EQ(proposed, Doc()->ProposedExportName(ID_EXPORT_HTML).str() + " htm");
    EXPECT_NE(ReadFile(path).find("<p>Hello</p>"), std::string::npos);

    // Cancelling writes nothing.
    fs::remove(path);
    CCorvellDoc::SetExportPathPrompt([](const ExportCommand&, const CString&) { return CString(); });
    Command(ID_EXPORT_HTML);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(HtmlExportTest, AnEmptyDocumentIsTheHeadAndTheTail)
{
    EXPECT_EQ(PageOf(""), std::string(kHead) + "</body>\n</html>");
}

TEST_F(HtmlExportTest, BlocksOpenAndCloseAsTheStylesFollowEachOther)
{
    Add(7, Chars("a", 4));
    Add(7, Chars("b", 4));
    Add(3, Chars("c"));
    Add(4, Chars("d"));
    Add(9, Chars("e"));
    Add(4, Chars("f"));
    Add(8, Chars("g"));
    Add(10, Chars("h"));
    Add(10, Chars("i"));
    Add(9, Chars("j"));
    Add(2, Chars("k"));
    Relayout();
    EXPECT_EQ(BodyOf(PageOf("")), "<pre>\na\nb\n</pre>\n<p>c</p>\n"
                                  "<ol>\n<li>d<ol>\n<li>e</li></ol>\n</li>\n<li>f</li></ol>\n"
                                  "<ul>\n<li>g<ul>\n<li>h</li>\n<li>i</li></ul>\n<ol>\n<li>j</li></ol>\n</li></ul>\n"
                                  "<h3>k</h3>\n");
}

TEST_F(HtmlExportTest, MathRunsAreItalicTextUnlessAStructureMakesThemOnePicture)
{
    const std::string folder = OutputPath("math/");
    fs::create_directories(folder);
    Add(3, Join({Chars("so ").release(), Chars("x", FontId::kMath).release(), One(Squared()).release(),
                 Chars(" or ").release(), Chars("y", FontId::kMath).release(),
                 One(new FractionComp(Chars("1"), Chars("2"))).release(), Chars(".").release()}));
    Add(6, Chars("z=1", FontId::kMath));
    Add(7, Join({Chars("f(", 4).release(), One(new FractionComp(Chars("a"), Chars("b"))).release(),
                 Chars(")", 4).release()}));
    Relayout();
    const std::string body = BodyOf(PageOf(folder));
    EXPECT_EQ(body.substr(0, 30), "<p>so <i>x<sup>2</sup></i> or ");
    // The picture holds y and the fraction; it is picture 0, of its run's text.
    EXPECT_NE(body.find(" or <img src=\"page0.png\""), std::string::npos) << body;
    EXPECT_NE(body.find("alt=\"y"), std::string::npos) << body;
    EXPECT_NE(body.find(">.</p>\n<table width=\"100%\"><tr><td width=\"400\"><p class=\"eqn\"><i>z=1</i></p></td>"
                        "<td width=\"100\"><p>(1)</p></td></tr></table>\n"),
              std::string::npos)
        << body;
    // In source code, mathematics is its linear text.
    EXPECT_NE(body.find("<pre>\nf(a/b)\n</pre>"), std::string::npos) << body;
}

}  // namespace
