// Document text never becomes a command in the LaTeX and TechExplorer
// exports. A table of hostile texts, each placed in every component that
// carries text, is saved, read back and exported; pdflatex (without shell
// escape, in a folder of its own) compiles the result beside a marker file
// that the texts try to read, and neither the marker's word reaches the PDF
// nor does any command the texts hold run.
#include "DocumentTestSupport.h"

#include "app/DocumentComponents.h"
#include "export/LaTeXExport.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Str255.h"
#include "kernel/NameTable.h"
#include "math/CrossRefComp.h"
#include "math/DifferentialComp.h"
#include "math/HyperlinkComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/TotalDerivativeComp.h"
#include "platform/draw/ImageDC.h"
#include "support/FakeUserInterface.h"
#include "support/model/SavedGlobals.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

constexpr const char* kMarkerWord = "QVMARKERREAD";

// Each text tries to leave its place and read the marker file "mk.tex", or
// to run a command; the last ones are TeX's special characters alone.
const char* const kHostileTexts[] = {
    "\\end{verbatim}\\input{mk}\\begin{verbatim}",
    "}\\input{mk}{",
    "a%20b \\input mk ",
    "\\write18{touch ran}\\immediate\\write18{touch ran}",
    "\\csname input\\endcsname{mk}",
    "^^5cinput{mk}",
    "$\\input{mk}$ & # ## _ ~ ^",
    "{{{ \\input{mk}",
    "}}} \\input{mk}",
    "%\\input{mk}",
    "ends in a backslash \\",
};

enum Style { kSection = 1, kPlain = 3, kEquation = 5, kCode = 7 };

class HostileTextExportTest : public DocumentTest {
protected:
    HostileTextExportTest()
    {
        RegisterNameTable();
        RegisterDocumentComponents();
    }

    std::unique_ptr<CompArray> Chars(const std::string& text, int fontId)
    {
        auto array = std::make_unique<CompArray>();
        for (unsigned char c : text)
            array->Append(fonts.GetFace(fontId)->GetCharacter(c));
        return array;
    }

    ParagraphComp* Add(CCorvellDoc& doc, int style, const std::string& text, int fontId)
    {
        auto* paragraph = new ParagraphComp(style);
        doc.GetParagraphList()->Append(paragraph);
        for (unsigned char c : text)
            paragraph->GetRow()->Append(fonts.GetFace(fontId)->GetCharacter(c));
        return paragraph;
    }

    // The text in every place that carries text: a section, plain text,
    // mathematics, source code, a reference whose target is gone, a link's
    // address and its shown text, derivative and differential orders.
    void AddEverywhere(CCorvellDoc& doc, const std::string& text)
    {
        Add(doc, kSection, text, FontId::kBold);
        Add(doc, kPlain, text, FontId::kText);
        Add(doc, kEquation, text, FontId::kMath);
        Add(doc, kCode, text, FontId::kCode);
        ParagraphComp* mixed = Add(doc, kPlain, "see ", FontId::kText);
        mixed->GetRow()->Append(new CrossRefComp(30000, Str31(text.substr(0, 31).c_str())));
        mixed->GetRow()->Append(new HyperlinkComp(Str255(text.c_str()), Str255(text.c_str()), true));
        ParagraphComp* calculus = Add(doc, kEquation, "", FontId::kMath);
        calculus->GetRow()->Append(
            new TotalDerivativeComp(Chars("f", FontId::kMath),
                                    new TotalDifferentialComp(Chars("x", FontId::kMath), Chars(text, FontId::kMath))));
        auto* partial = new PartialDerivativeComp(Chars("g", FontId::kMath),
                                                  new PartialDifferentialComp(Chars("x", FontId::kMath), nullptr));
        partial->InsertVariable(2, new PartialDifferentialComp(Chars("y", FontId::kMath), Chars(text, FontId::kMath)));
        calculus->GetRow()->Append(partial);
    }

    // The document as saved and opened again.
    std::unique_ptr<CCorvellDoc> Reopened(CCorvellDoc& doc)
    {
        auto reopened = EmptyDocument();
        Load(*reopened, Store(doc));
        {
            const ScreenLayout screen(*reopened->GetParagraphList());
        }
        return reopened;
    }

    struct Run {
        bool finished = false;
        int code = -1;
        std::string output;
    };
    static Run Execute(const QString& folder, const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(folder);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        Run run;
        run.finished = process.waitForFinished(120000);
        run.code = process.exitCode();
        run.output = process.readAll().toStdString();
        return run;
    }

    static std::string ReadText(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Compiles main.tex in the folder; checks that it compiled, that the
    // marker was neither read nor shown and that nothing ran.
    static void ExpectCompiledAndHarmless(const std::string& folder)
    {
        const QString dir = QString::fromStdString(folder);
        const Run latex =
            Execute(dir, "pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "-no-shell-escape", "main.tex"});
        ASSERT_TRUE(latex.finished);
        const size_t error = latex.output.find("\n!");
        EXPECT_EQ(latex.code, 0) << (error == std::string::npos ? latex.output : latex.output.substr(error, 600));
        const Run text = Execute(dir, "pdftotext", {"main.pdf", "main.txt"});
        ASSERT_EQ(text.code, 0) << text.output;
        const std::string shown = ReadText(folder + "/main.txt");
        EXPECT_EQ(shown.find(kMarkerWord), std::string::npos) << "the marker file was read";
        EXPECT_NE(shown.find("write18"), std::string::npos) << "the texts are shown as text";
        EXPECT_EQ(ReadText(folder + "/main.log").find("mk.tex"), std::string::npos) << "the marker file was opened";
        EXPECT_FALSE(fs::exists(folder + "/ran"));
    }

    FakeUserInterface ui;
};

TEST_F(HostileTextExportTest, NoDocumentTextBecomesACommandInLaTeXOrTechExplorer)
{
    auto doc = EmptyDocument();
    for (const char* text : kHostileTexts)
        AddEverywhere(*doc, text);
    auto reopened = Reopened(*doc);
    ASSERT_EQ(reopened->GetParagraphList()->GetCount(), doc->GetParagraphList()->GetCount());

    for (const bool techExplorer : {false, true}) {
        SCOPED_TRACE(techExplorer ? "TechExplorer" : "LaTeX");
        QTemporaryDir temporary;
        ASSERT_TRUE(temporary.isValid());
        const std::string folder = temporary.path().toStdString();
        std::ofstream(folder + "/mk.tex") << kMarkerWord << "\n";
        const std::string page = folder + (techExplorer ? "/page.tcx" : "/main.tex");
        const ExportOutcome outcome = ExportLaTeXFile(*reopened->GetParagraphList(), page, techExplorer);
        ASSERT_TRUE(outcome.written) << outcome.message;
        // TechExplorer's own commands take their last argument as the text
        // shown; its older document style is read in LaTeX's compatibility mode.
        if (techExplorer)
            std::ofstream(folder + "/main.tex") << "\\def\\docLink#1#2{#2}\\def\\labelLink#1#2{#2}\\input{page.tcx}\n";
        ExpectCompiledAndHarmless(folder);
    }
}

} // namespace
