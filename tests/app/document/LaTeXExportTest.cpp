// The LaTeX and TechExplorer exports: the writer's text for the telling
// cases, and every kept document (every component, shape, constraint and
// paragraph style, a plot) and a document of every character exported and
// compiled by pdflatex, the first page kept as a picture.
#include "DocumentTestSupport.h"

#include "app/DocumentComponents.h"
#include "export/LaTeXExport.h"
#include "export/LaTeXFileWriter.h"
#include "export/StringByteStream.h"
#include "export/TechExplorerWriter.h"
#include "export/XhtmlExport.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/EquationLabel.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Rect.h"
#include "foundation/RowNodeBuilder.h"
#include "kernel/KernelRowBuilder.h"
#include "kernel/NameTable.h"
#include "math/BracketComp.h"
#include "math/CrossRefComp.h"
#include "math/EquationSetComp.h"
#include "math/MatrixComp.h"
#include "math/RadicalComp.h"
#include "platform/draw/ImageDC.h"
#include "support/FakeUserInterface.h"
#include "support/export/PdfLaTeX.h"
#include "support/model/SavedGlobals.h"

#include <QImage>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

enum Style {
    kTitle = 0, kSection = 1, kPlain = 3, kNumbered = 4, kEquation = 5, kNumberedEquation = 6, kCode = 7,
    kItemized = 8, kSubItemized = 10
};

using TextRun = std::pair<std::string, int>;  // characters and their font id

class LaTeXExportTest : public DocumentTest {
protected:
    LaTeXExportTest()
    {
        RegisterNameTable();
        RegisterDocumentComponents();
    }

    ParagraphComp* Add(CCorvellDoc& doc, int style, const std::vector<TextRun>& runs)
    {
        auto* paragraph = new ParagraphComp(style);
        doc.GetParagraphList()->Append(paragraph);
        for (const auto& [text, font] : runs)
            for (unsigned char c : text)
                paragraph->GetRow()->Append(fonts.GetFace(font)->GetCharacter(c));
        return paragraph;
    }

    static std::string Body(const std::string& tex)
    {
        const size_t begin = tex.find("\\begin{document}\n");
        return begin == std::string::npos ? tex : tex.substr(begin + 17);
    }

    static std::string Written(CCorvellDoc& doc, bool techExplorer = false)
    {
        StringByteStream out;
        std::unique_ptr<LaTeXFileWriter> writer;
        if (techExplorer)
            writer = std::make_unique<TechExplorerWriter>(out, "/nonexistent/", "pic");
        else
            writer = std::make_unique<LaTeXFileWriter>(out, "/nonexistent/", "pic");
        doc.GetParagraphList()->WriteLaTeX(*writer);
        return out.Text();
    }

    // Lays the document out as the screen would, so components know their sizes.
    static void Layout(ParagraphList& list) { const ScreenLayout screen(list); }

    // pdflatex on the file in its folder; the log's first error when it fails.
    static std::string Compile(const std::string& texPath)
    {
        const std::filesystem::path path(texPath);
        QProcess latex;
        latex.setWorkingDirectory(QString::fromStdString(path.parent_path().string()));
        latex.start("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "-no-shell-escape",
                                 QString::fromStdString(path.filename().string())});
        if (!latex.waitForFinished(120000))
            return "pdflatex did not finish";
        const std::string log = latex.readAllStandardOutput().toStdString();
        if (latex.exitCode() == 0)
            return {};
        const size_t error = log.find("\n!");
        return error == std::string::npos ? log.substr(log.size() > 2000 ? log.size() - 2000 : 0)
                                          : log.substr(error, 600);
    }

    // The PDF's first page as a PNG beside it (pdftoppm), for a person to look at.
    static bool KeepFirstPage(const std::string& pdfPath)
    {
        const std::string stem = pdfPath.substr(0, pdfPath.size() - 4) + "-page";
        return QProcess::execute("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile",
                                              QString::fromStdString(pdfPath), QString::fromStdString(stem)}) == 0 &&
               std::filesystem::exists(stem + ".png");
    }

    static std::string ReadText(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(LaTeXExportTest, FontsOfTextAndMathematics)
{
    auto doc = EmptyDocument();
    Add(*doc, kPlain, {{"An ", FontId::kText}, {"italic", FontId::kItalic}, {" ", FontId::kText},
                       {"x", FontId::kMath}, {" end", FontId::kText}});
    Add(*doc, kEquation, {{"cos x", FontId::kMath}});
    Add(*doc, kPlain, {{"a $5 & 10% #1 {x}_", FontId::kText}});
    const std::string body = Body(Written(*doc));
    EXPECT_NE(body.find("\\par\\noindent\nAn {\\em italic} $x$\\/ end\n"), std::string::npos) << body;
    // A word of mathematics that names a built-in function is its command.
    EXPECT_NE(body.find("\\[\\cos "), std::string::npos) << body;
    EXPECT_EQ(body.find("cos x"), std::string::npos) << body;
    EXPECT_NE(body.find("a \\$5 \\& 10\\% \\#1 \\{x\\}\\_"), std::string::npos) << body;
}

// Text that follows a command looking for an optional argument (an item, a
// row's end in an array or an equation array) and starts with a bracket or
// a star stays text, in both dialects, and the source compiles.
TEST_F(LaTeXExportTest, TextAfterACommandIsNeverItsOptionalArgument)
{
    auto doc = EmptyDocument();
    Add(*doc, kNumbered, {{"[1] first", FontId::kText}});
    Add(*doc, kItemized, {{" [2] second", FontId::kText}});
    auto* matrix = new MatrixComp(1, 2);
    auto* rows = new EquationSetComp(2);
    const std::pair<CompList*, std::string> cells[] = {{matrix->GetCell(1, 1), "a"},
                                                       {matrix->GetCell(1, 2), "[b]"},
                                                       {rows->GetCell(1, 1), "x=1"},
                                                       {rows->GetCell(1, 2), "*y=2"}};
    for (const auto& [cell, text] : cells)
        for (unsigned char c : text)
            cell->Append(fonts.GetFace(FontId::kMath)->GetCharacter(c));
    Add(*doc, kEquation, {})->GetRow()->Append(matrix);
    Add(*doc, kNumberedEquation, {})->GetRow()->Append(rows);
    for (bool techExplorer : {false, true}) {
        const std::string body = Body(Written(*doc, techExplorer));
        for (const char* piece : {"\\item {}[1] first", "\\item {} [2] second", "\\\\ {}[b]", "\\\\ {}*y"})
            EXPECT_NE(body.find(piece), std::string::npos) << piece << "\n" << body;
    }
    const std::string tex = OutputPath("brackets.tex");
    ASSERT_TRUE(ExportLaTeXFile(*doc->GetParagraphList(), tex, false).written);
    EXPECT_EQ(Compile(tex), "");
}

TEST_F(LaTeXExportTest, PreambleFollowsPageNumbering)
{
    StringByteStream numbered, unnumbered, fromThree;
    const std::pair<StringByteStream*, std::pair<bool, int16_t>> cases[] = {
        {&numbered, {true, 1}}, {&unnumbered, {false, 1}}, {&fromThree, {true, 3}}};
    for (const auto& [stream, numbering] : cases) {
        LaTeXFileWriter writer(*stream, "", "p");
        writer.BeginDocument(numbering.first, numbering.second);
        writer.Flush();
    }
    EXPECT_EQ(numbered.Text().find("\\pagestyle"), std::string::npos);
    EXPECT_EQ(numbered.Text().find("\\setcounter"), std::string::npos);
    EXPECT_NE(unnumbered.Text().find("\\pagestyle{empty}\n"), std::string::npos);
    EXPECT_NE(fromThree.Text().find("\\setcounter{page}{3}\n"), std::string::npos);
}

TEST_F(LaTeXExportTest, NestedListsCloseOnlyTheirLevel)
{
    auto doc = EmptyDocument();
    Add(*doc, kItemized, {{"A", FontId::kText}});
    Add(*doc, kSubItemized, {{"B", FontId::kText}});
    Add(*doc, kItemized, {{"C", FontId::kText}});
    Add(*doc, kCode, {{"int x;", FontId::kCode}});
    Add(*doc, kCode, {{"x = 1;", FontId::kCode}});
    const std::string body = Body(Written(*doc));
    EXPECT_EQ(body,
              "\\begin{itemize}\n\\item A\n\\begin{itemize}\n\\item B\n\\end{itemize}\n\\item C\n"
              "\\end{itemize}\n\\par{\\tt\\raggedright\\hyphenpenalty=10000\\exhyphenpenalty=10000\\parindent=0pt\n"
              "\\mbox{}int~\\allowbreak x;\\par\n"
              "\\mbox{}x~\\allowbreak =~\\allowbreak 1;\\par\n}\n\\end{document}");
}

// Only a label that a reference points at is written, so that labels of
// different kinds never meet under one name; the reference names it.
TEST_F(LaTeXExportTest, OnlyReferencedLabelsAreWritten)
{
    auto doc = EmptyDocument();
    Add(*doc, kSection, {{"S", FontId::kBold}});
    Add(*doc, kNumberedEquation, {{"x=1", FontId::kMath}});
    ParagraphComp* target = Add(*doc, kNumberedEquation, {{"y=2", FontId::kMath}});
    Add(*doc, kNumbered, {{"item", FontId::kText}});
    Add(*doc, kPlain, {{"see ", FontId::kText}})->GetRow()->Append(new CrossRefComp(target->GetLabel()));
    Layout(*doc->GetParagraphList());
    Str255 name;
    target->GetLabel()->GetNumberText(name);
    const std::string label =
        std::string("\\label{") + name.CStr() + "}\\hypertarget{" + name.CStr() + "}{}";
    const std::string body = Body(Written(*doc));
    EXPECT_NE(body.find("\\section{S}\n\\begin{equation}x=1\\end{equation}\n\\begin{equation}y=2" + label +
                        "\\end{equation}\n\\begin{enumerate}\n\\item item\n"),
              std::string::npos)
        << body;
    // A reference alone in text is set as text, showing the screen's text.
    EXPECT_NE(body.find(std::string("see \\protect\\hyperlink{") + name.CStr() + "}{(2)}\n"), std::string::npos) << body;
    EXPECT_EQ(body.find("\\label"), body.rfind("\\label")) << body;
}

TEST_F(LaTeXExportTest, TechExplorerEscapesLinkTargetsAndDropsControls)
{
    EXPECT_EQ(TechExplorerWriter::Escaped("a&b<c>\"d\"\x01 \xC3\xA9"), "a&amp;b&lt;c&gt;&quot;d&quot; &#233;");
    auto doc = EmptyDocument();
    Add(*doc, kTitle, {{"Title", FontId::kText}});
    const std::string text = Written(*doc, true);
    EXPECT_EQ(text.rfind("\\documentstyle{article}\n\\begin{document}\n", 0), 0u) << text;
}

// Every kept document and a document of every character compile as written,
// with only the packages the preamble declares; the first pages are kept.
TEST_F(LaTeXExportTest, EveryKeptDocumentCompiles)
{
    FakeUserInterface ui;
    for (const auto& entry : std::filesystem::directory_iterator(QV_TEST_DATA)) {
        if (entry.path().extension() != ".vxm")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        auto doc = EmptyDocument();
        ASSERT_NO_THROW(Load(*doc, ReadFile(entry.path().string())));
        Layout(*doc->GetParagraphList());
        const std::string stem = entry.path().stem().string();
        const std::string tex = OutputPath(stem + ".tex");
        const ExportOutcome outcome = ExportLaTeXFile(*doc->GetParagraphList(), tex, false);
        ASSERT_TRUE(outcome.written) << outcome.message;
        EXPECT_EQ(outcome.message, "");
        const std::string first = ReadText(tex);
        EXPECT_EQ(Compile(tex), "");
        EXPECT_TRUE(KeepFirstPage(OutputPath(stem + ".pdf")));
        // The same document exports to the same bytes.
        ASSERT_TRUE(ExportLaTeXFile(*doc->GetParagraphList(), tex, false).written);
        EXPECT_EQ(ReadText(tex), first);
        EXPECT_TRUE(ExportLaTeXFile(*doc->GetParagraphList(), OutputPath(stem + ".tcx"), true).written);
    }
}

TEST_F(LaTeXExportTest, EveryCharacterCompilesInTextAndMathematics)
{
    auto doc = EmptyDocument();
    for (int style : {kPlain, kEquation}) {
        for (int first = 1; first < 256; first += 32) {
            std::string text;
            for (int code = first; code < first + 32 && code < 256; ++code)
                if (code != 13)
                    text += static_cast<char>(code);
            Add(*doc, style, {{text, style == kPlain ? FontId::kText : FontId::kMath}});
        }
    }
    // Mathematics inside text and text inside mathematics.
    Add(*doc, kPlain, {{"see ", FontId::kText}, {"\xB9\xB0\xBF", FontId::kMath}, {" and ", FontId::kText}});
    Add(*doc, kEquation, {{"a", FontId::kMath}, {"\xA2\xB9\xE9", FontId::kText}, {"b", FontId::kMath}});
    const std::string tex = OutputPath("characters.tex");
    ASSERT_TRUE(ExportLaTeXFile(*doc->GetParagraphList(), tex, false).written);
    for (unsigned char c : ReadText(tex))
        ASSERT_LT(c, 128) << "a raw byte above ASCII in the source";
    EXPECT_EQ(Compile(tex), "");
    EXPECT_TRUE(KeepFirstPage(OutputPath("characters.pdf")));
}

// A root whose index holds a bracket group or a matrix compiles with its
// index whole; a source line longer than the page wraps at its blanks, as
// on the screen, each piece within the margin.
TEST_F(LaTeXExportTest, StructuredRootIndicesCompileAndLongSourceLinesWrap)
{
    auto doc = EmptyDocument();
    const auto chars = [this](const std::string& text) {
        auto row = std::make_unique<CompArray>();
        for (unsigned char c : text)
            row->Append(fonts.GetFace(FontId::kMath)->GetCharacter(c));
        return row;
    };
    auto matrix = std::make_unique<MatrixComp>(1, 1);
    matrix->GetCell(1, 1)->Append(fonts.GetFace(FontId::kMath)->GetCharacter('3'));
    auto bracketIndex = std::make_unique<CompArray>();
    bracketIndex->Append(new BracketComp(chars("n")));
    auto matrixIndex = std::make_unique<CompArray>();
    matrixIndex->Append(matrix.release());
    ParagraphComp* roots = Add(*doc, kEquation, {});
    roots->GetRow()->Append(new RadicalComp(chars("x"), std::move(bracketIndex)));
    roots->GetRow()->Append(fonts.GetFace(FontId::kMath)->GetCharacter('+'));
    roots->GetRow()->Append(new RadicalComp(chars("y"), std::move(matrixIndex)));
    std::string line;
    for (int i = 10; i < 50; ++i)
        line += "word" + std::to_string(i) + " ";
    Add(*doc, kCode, {{line, FontId::kCode}});
    Layout(*doc->GetParagraphList());
    const std::string tex = OutputPath("wrapped.tex");
    ASSERT_TRUE(ExportLaTeXFile(*doc->GetParagraphList(), tex, false).written);
    ASSERT_EQ(Compile(tex), "");
    int lines = 0;
    std::string joined;
    std::istringstream text(PdfText(OutputPath("wrapped.pdf")));
    for (std::string read; std::getline(text, read);)
        if (read.rfind("word", 0) == 0) {
            ++lines;
            joined += read + " ";
        }
    EXPECT_GE(lines, 3);
    EXPECT_EQ(QString::fromStdString(joined).simplified(), QString::fromStdString(line).simplified());
    // The page, whose formulas the kernel's reader reads, writes both roots.
    struct Reader {
        RowNodeBuilder* before = RowNodeBuilder::Get();
        ~Reader() { RowNodeBuilder::Install(before); }
    } reader;
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    const XhtmlExportResult page = WriteXhtmlExport(*doc->GetParagraphList(), OutputPath("wrapped.xml"), "roots");
    EXPECT_TRUE(page.ok) << page.message;
    EXPECT_EQ(QString::fromStdString(ReadText(OutputPath("wrapped.xml"))).count("<mroot>"), 2);
}

TEST_F(LaTeXExportTest, AFailedExportLeavesTheOldFile)
{
    auto doc = EmptyDocument();
    Add(*doc, kPlain, {{"text", FontId::kText}});
    const ExportOutcome outcome = ExportLaTeXFile(*doc->GetParagraphList(), "/nonexistent-folder/out.tex", false);
    EXPECT_FALSE(outcome.written);
    EXPECT_NE(outcome.message.find("The folder \"/nonexistent-folder\" does not exist"), std::string::npos);
}

}  // namespace
