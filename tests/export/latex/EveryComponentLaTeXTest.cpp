// The document of every component kind exported to LaTeX: pdflatex compiles
// it (the first page kept as a picture to look at), exporting twice gives
// the same bytes for the source and every picture, code blocks leave the
// typewriter face's hyphenation as they found it, and the TechExplorer
// pictures are the LaTeX pictures' sizes at the screen's resolution (and a
// script's link is its text alone there). Plots
// inside text, with dollar signs and mathematics around them, compile too.
#include "export/LaTeXExport.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "kernel/KernelServices.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/TwoDPlotComp.h"
#include "support/export/EveryComponentDocument.h"
#include "support/TestOutputFolder.h"
#include "support/export/PdfLaTeX.h"

#include <QImage>
#include <QProcess>

#include <cstdio>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The PDF's first page as a PNG beside it, for a person to look at.
bool KeepFirstPage(const std::string& pdfPath)
{
    const std::string stem = pdfPath.substr(0, pdfPath.size() - 4) + "-page";
    return QProcess::execute("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile",
                                          QString::fromStdString(pdfPath), QString::fromStdString(stem)}) == 0 &&
           fs::exists(stem + ".png");
}

// The files an export wrote: the source and its pictures, by name.
std::map<std::string, std::string> Written(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadText(entry.path().string());
    return files;
}

// The pictures the LaTeX source includes, in order: name without extension
// and width in points (at most the line's).
struct Included {
    std::string name;
    int width;
};
std::vector<Included> IncludedPictures(const std::string& tex)
{
    std::vector<Included> pictures;
    const std::string head = "\\includegraphics[width=\\ifdim ";
    for (size_t at = tex.find(head); at != std::string::npos; at = tex.find(head, at + 1)) {
        Included picture;
        const size_t name = tex.find("]{", at);
        if (std::sscanf(tex.c_str() + at + head.size(), "%dpt>", &picture.width) == 1 && name != std::string::npos) {
            picture.name = tex.substr(name + 2, tex.find(".png}", name) - name - 2);
            pictures.push_back(picture);
        }
    }
    return pictures;
}

class EveryComponentLaTeX : public ::testing::Test {
protected:
    EveryComponentLaTeX() { InstallKernelServices(); }

    void AppendText(CompList& row, const std::string& text, int fontId)
    {
        FontFace* face = document.Fonts().GetFace(fontId);
        for (unsigned char c : text)
            row.Append(face->GetCharacter(c));
    }

    EveryComponentDocument document;
};

TEST_F(EveryComponentLaTeX, CompilesAndExportsTwiceToTheSameBytes)
{
    const std::string first = TestOutputFolder("/first");
    const std::string second = TestOutputFolder("/second");
    for (const std::string& folder : {first, second}) {
        const ExportOutcome outcome = ExportLaTeXFile(document.Paragraphs(), folder + "/every.tex", false);
        ASSERT_TRUE(outcome.written) << outcome.message;
        EXPECT_EQ(outcome.message, "");
    }
    const auto files = Written(first);
    EXPECT_EQ(files, Written(second));
    // The stored plot, the 3-D plot, the drawings and the picture each give a
    // PNG and a recording.
    const std::string tex = files.at("every.tex");
    const std::vector<Included> pictures = IncludedPictures(tex);
    for (const Included& picture : pictures) {
        EXPECT_FALSE(QImage(QString::fromStdString(first + "/" + picture.name + ".png")).isNull()) << picture.name;
        EXPECT_TRUE(files.count(picture.name + ".emf")) << picture.name;
    }
    EXPECT_GE(pictures.size(), 4u);
    EXPECT_NE(tex.find("\\\\ x \\,y\\end{array}"), std::string::npos) << "the 3-D plot's function row";

    EXPECT_EQ(CompileLaTeX(first + "/every.tex"), "");
    EXPECT_TRUE(KeepFirstPage(first + "/every.pdf"));

    // A typewriter face that hyphenates still does after the code blocks,
    // which keep their unbroken lines to themselves.
    std::string probe = tex;
    probe.insert(probe.find("\\begin{document}") + 16, "{\\tt\\hyphenchar\\font=45 }");
    probe.insert(probe.rfind("\\end{document}"), "{\\tt\\typeout{[tt hyphen \\the\\hyphenchar\\font]}}");
    std::ofstream(first + "/probe.tex") << probe;
    EXPECT_EQ(CompileLaTeX(first + "/probe.tex"), "");
    EXPECT_NE(ReadText(first + "/probe.log").find("[tt hyphen 45]"), std::string::npos);
}

TEST_F(EveryComponentLaTeX, TechExplorerPicturesAreTheLaTeXPicturesAtTheScreensResolution)
{
    const std::string folder = TestOutputFolder();
    ASSERT_TRUE(ExportLaTeXFile(document.Paragraphs(), folder + "/every.tex", false).written);
    const ExportOutcome outcome = ExportLaTeXFile(document.Paragraphs(), folder + "/every.tcx", true);
    ASSERT_TRUE(outcome.written) << outcome.message;
    EXPECT_EQ(outcome.message, "");
    const std::string tex = ReadText(folder + "/every.tex");
    const std::vector<Included> pictures = IncludedPictures(tex);
    const std::string tcx = ReadText(folder + "/every.tcx");
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::string name = "every-tcx" + std::to_string(i + 1) + ".png";
        EXPECT_NE(tcx.find("\\includegraphics{" + name + "}"), std::string::npos) << name;
        // Each dialect keeps its own PNGs beside the other's; the LaTeX ones
        // hold twice the pixels.
        const QImage png(QString::fromStdString(folder + "/" + name));
        const QImage latex(QString::fromStdString(folder + "/" + pictures[i].name + ".png"));
        ASSERT_FALSE(png.isNull()) << name;
        EXPECT_EQ(png.width(), std::max(1, pictures[i].width * 96 / 72)) << name;
        EXPECT_EQ(latex.width(), std::max(1, pictures[i].width * 192 / 72)) << name;
        EXPECT_EQ(png.height(), std::max(1, latex.height() / 2)) << name;
    }
    EXPECT_GE(pictures.size(), 4u);
    // Scripts' links, hidden by control characters or not, are their text,
    // set as text among the sentence's.
    EXPECT_EQ(tcx.find("alert("), std::string::npos);
    EXPECT_NE(tcx.find(" or run meme toome toome too"), std::string::npos);
}

// Plots in a text paragraph between dollar signs, text inside a plot's rows,
// and text inside mathematics: the source compiles and every dollar sign of
// the text is written as a character.
TEST_F(EveryComponentLaTeX, PlotsInsideTextAmongDollarSignsCompile)
{
    ParagraphList list;
    auto* paragraph = new ParagraphComp(3);
    CompList& row = *paragraph->GetRow();
    AppendText(row, "It costs $5 ", FontId::kText);
    auto* flat = new TwoDPlotComp();
    AppendText(*flat->GetChild(1), "x", FontId::kMath);
    AppendText(*flat->GetChild(1), " is $ here", FontId::kText);
    row.Append(flat);
    AppendText(row, " and then $ more, ", FontId::kText);
    AppendText(row, "a+b", FontId::kMath);
    AppendText(row, " text $ ", FontId::kText);
    auto* surface = new ThreeDPlotComp();
    AppendText(*surface->GetChild(1), "x", FontId::kMath);
    row.Append(surface);
    AppendText(row, "c", FontId::kMath);
    auto* second = new TwoDPlotComp();
    AppendText(*second->GetChild(1), "y", FontId::kMath);
    row.Append(second);
    AppendText(row, " end $.", FontId::kText);
    list.Append(paragraph);

    auto* equation = new ParagraphComp(5);
    AppendText(*equation->GetRow(), "a=", FontId::kMath);
    AppendText(*equation->GetRow(), " costs $1 ", FontId::kText);
    auto* inEquation = new TwoDPlotComp();
    AppendText(*inEquation->GetChild(1), "x", FontId::kMath);
    equation->GetRow()->Append(inEquation);
    AppendText(*equation->GetRow(), "+b", FontId::kMath);
    list.Append(equation);
    list.RelayoutAll(false);

    const std::string folder = TestOutputFolder();
    const ExportOutcome outcome = ExportLaTeXFile(list, folder + "/plots.tex", false);
    ASSERT_TRUE(outcome.written) << outcome.message;
    EXPECT_EQ(outcome.message, "");
    const std::string tex = ReadText(folder + "/plots.tex");
    EXPECT_EQ(CompileLaTeX(folder + "/plots.tex"), "") << tex;
    EXPECT_TRUE(KeepFirstPage(folder + "/plots.pdf"));
}

}  // namespace
