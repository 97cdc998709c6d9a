// The exports from the document: a document of every paragraph style and
// component kind becomes an HTML page that nests validly and passes xmllint,
// with pictures that read back at the size the page gives them; a failure is
// reported and leaves nothing under the chosen names; the page's blocks and
// runs; and the File/Export commands, HTML and XHTML.
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

#include "export/XhtmlExport.h"
#include "export/html/HtmlChecks.h"
#include "kernel/KernelServices.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

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
        InstallKernelServices();
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
    ProgramRun lint = RunProgram("xmllint", {"--html", "--noout", QString::fromStdString(path)});
    EXPECT_EQ(lint.code, 0) << lint.output;
    EXPECT_EQ(lint.output, "");

    // Text stays text, escaped; the link's address keeps its characters.
    EXPECT_NE(page.find("<i>italic</i> and <b>bold</b> with <font face=\"courier\">code</font>"), std::string::npos);
    EXPECT_NE(page.find(" &amp; &lt;&quot;quotes&quot;&gt; caf&#233; "), std::string::npos);
    EXPECT_NE(page.find("<a href=\"http://example.org/a?b=1&amp;c=&quot;2&quot;\">a &lt;link&gt;</a> (see (1))"),
              std::string::npos);
    // An equation holding a structure is one picture; in a paragraph's
    // mathematics an exponent of characters is text.
    EXPECT_NE(page.find("<p class=\"eqn\"><img src=\"every%20kind-html1.png\""), std::string::npos);
    EXPECT_NE(page.find("<th align=\"center\"><i>n<sup>2</sup></i></th>"), std::string::npos);
    EXPECT_NE(page.find("<pre>\nint main()\n{ return 0; }\n</pre>"), std::string::npos);
    // The second level nests in the open item of the first, its items
    // numbered as the screen numbers them.
    EXPECT_NE(page.find("<ol>\n<li>first<ol style=\"list-style-type: none\">\n<li>1.1. first a</li>\n<li>1.2. first b"),
              std::string::npos);

    // Every picture the page names reads back at the size the page gives it.
    int pictures = 0;
    for (const Tag& tag : TagsOf(page)) {
        if (tag.name != "img")
            continue;
        const std::string src = tag.attributes.at("src");
        EXPECT_EQ(src, "every%20kind-html" + std::to_string(pictures) + ".png");
        QSize size = ReadPngSize(OutputPath("every kind-html" + std::to_string(pictures) + ".png"));
        EXPECT_EQ(size, QSize(std::stoi(tag.attributes.at("width")), std::stoi(tag.attributes.at("height")))) << src;
        EXPECT_GT(size.width(), 0);
        ++pictures;
    }
    // Two fractions, a table cell, the picture, the drawing, the plot.
    EXPECT_GE(pictures, 6);
    for (const std::string& name : FilesIn(fs::path(path).parent_path()))
        EXPECT_EQ(name.find(".part"), std::string::npos) << name;
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

    // A folder that is not there.
    ui.boxes.clear();
    EXPECT_FALSE(Export(OutputPath("missing") + "/no-such-folder/doc.htm"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(fs::exists(OutputPath("missing") + "/no-such-folder"));

    // A failure midway: the second picture cannot take its name, which a
    // folder holds. The page exported before and its first picture stay as
    // they were (the new first picture had already replaced it) and no file
    // of this export is left.
    const std::string folder = OutputPath("midway");
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder + "/doc.htm") << "earlier";
    std::ofstream(folder + "/doc-html0.png") << "earlier picture";
    fs::create_directories(folder + "/doc-html1.png/blocked");
    ui.boxes.clear();
    EXPECT_FALSE(Export(folder + "/doc.htm"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("doc-html1.png"), std::string::npos) << ui.LastBoxText();
    EXPECT_NE(ui.LastBoxText().find("Nothing was written."), std::string::npos);
    EXPECT_EQ(ReadFile(folder + "/doc.htm"), "earlier");
    EXPECT_EQ(ReadFile(folder + "/doc-html0.png"), "earlier picture");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>({"doc-html0.png", "doc-html1.png", "doc.htm"}));
}

TEST_F(HtmlExportTest, TheHtmlCommandAsksForAFileAndOnlyTheNotebookWaitsForTheKernel)
{
    Add(3, Chars("Hello"));
    Relayout();
    for (UINT id : {ID_EXPORT_HTML, ID_EXPORT_MATHML, ID_EXPORT_LATEX, ID_EXPORT_TECHEXPLORER})
        EXPECT_TRUE(Update(id).enabled) << id;
    EXPECT_FALSE(Update(ID_EXPORT_NOTEBOOK).enabled);

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

TEST_F(HtmlExportTest, TheXhtmlCommandWritesBesideTheFileAndStopsAtAFormulaThatDoesNotRead)
{
    Add(3, Chars("Hello"));
    ParagraphComp* formula = Add(5, Chars("y=", FontId::kMath));
    formula->GetRow()->Append(new FractionComp(Chars("1", FontId::kMath), Chars("x", FontId::kMath)));
    Relayout();
    const std::string folder = OutputPath("xhtml");
    fs::create_directories(folder);
    const std::string path = folder + "/page.xml";
    CCorvellDoc::SetExportPathPrompt([&](const ExportCommand& command, const CString& name) {
        EXPECT_EQ(name.str(), Doc()->ProposedExportName(ID_EXPORT_MATHML).str());
        EXPECT_STREQ(command.defaultExtension, "xml");
        return CString(path);
    });
    Command(ID_EXPORT_MATHML);
    const std::string page = ReadFile(path);
    EXPECT_NE(page.find("<math"), std::string::npos) << page;
    EXPECT_NE(page.find("Hello"), std::string::npos);
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>({"page.xml"}));
    EXPECT_TRUE(ui.boxes.empty());

    // "(a+" does not read: the message, the formula selected, nothing written.
    ParagraphComp* bad = Add(5, Chars("(a+", FontId::kMath));
    Relayout();
    fs::remove(path);
    Command(ID_EXPORT_MATHML);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(FilesIn(folder).empty());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("badly formed mathematical expression"), std::string::npos);
    // The message quotes the formula, which is selected.
    EXPECT_NE(ui.LastBoxText().find("The expression is selected: (a+"), std::string::npos) << ui.LastBoxText();
    EXPECT_EQ(view->GetSelection().First().GetList(), bad->GetRow());
}

TEST_F(HtmlExportTest, AnEmptyDocumentIsTheHeadAndTheTail)
{
    EXPECT_EQ(PageOf(""), std::string(kHead) + "</body>\n</html>");
}

TEST_F(HtmlExportTest, APictureTooLargeOrEmptyIsWrittenAsItsText)
{
    const std::string folder = OutputPath("sizes/");
    fs::create_directories(folder);
    StringStream stream;
    HTMLExportWriter writer(stream, "t", "page", folder, 1, 1);
    writer.WriteHead();
    writer.SetPictureText("a < b");
    writer.WriteEquationImage(nullptr, Rect(0, 0, 40000, 10));
    writer.WriteEquationImage(nullptr, Rect(0, 0, 0, 10));
    writer.Flush();
    EXPECT_EQ(BodyOf(stream.text + "</body>"), "a &lt; bformula");
    EXPECT_EQ(writer.Pictures().PictureCount(), 0);
    EXPECT_TRUE(FilesIn(folder).empty());
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
    Add(8, Chars("l"));
    Add(5, Chars("m"));
    Add(3, Chars("n"));
    Relayout();
    EXPECT_EQ(BodyOf(PageOf("")),
              "<pre>\na\nb\n</pre>\n<p>c</p>\n"
              "<ol>\n<li>d<ol style=\"list-style-type: none\">\n<li>1.1. e</li></ol>\n</li>\n<li>f</li></ol>\n"
              "<ul>\n<li>g<ul>\n<li>h</li>\n<li>i</li></ul>\n<ol style=\"list-style-type: none\">\n<li>0.1. j</li>"
              "</ol>\n</li></ul>\n"
              "<h3>k</h3>\n<ul>\n<li>l</li></ul>\n<p class=\"eqn\">m</p>\n<p>n</p>\n");
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
    EXPECT_NE(body.find(" or <img src=\"page-html0.png\""), std::string::npos) << body;
    EXPECT_NE(body.find("alt=\"y"), std::string::npos) << body;
    EXPECT_NE(body.find(">.</p>\n<table width=\"100%\"><tr><td width=\"400\"><p class=\"eqn\"><i>z=1</i></p></td>"
                        "<td width=\"100\"><p>(1)</p></td></tr></table>\n"),
              std::string::npos)
        << body;
    // In source code, mathematics is its linear text.
    EXPECT_NE(body.find("<pre>\nf(a/b)\n</pre>"), std::string::npos) << body;
}

}  // namespace
