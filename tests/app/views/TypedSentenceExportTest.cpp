// Sentences typed as a user types them, through the editor's own commands
// (typing, Element > Link, a copied equation number pasted as a reference),
// in every paragraph style and in a table's cell: typing goes on in the face
// the sentence had before the link or reference, as the Format menu shows,
// and every export shows the sentence as the screen does: the LaTeX export's
// PDF and the XHTML and HTML pages as Chromium prints them read it back, the
// notebook holds it as text, Copy as MathML copies it as text.
#include "ViewFixture.h"

#include "app/CCorvellDoc.h"
#include "app/ElementCommands.h"
#include "export/LaTeXExport.h"
#include "export/NotebookFileWriter.h"
#include "export/StringByteStream.h"
#include "export/XhtmlExport.h"
#include "export/html/HtmlChecks.h"
#include "foundation/CompList.h"
#include "foundation/DocSelection.h"
#include "foundation/EquationLabel.h"
#include "foundation/TCopyAsActions.h"
#include "kernel/KernelServices.h"
#include "math/TableComp.h"
#include "platform/draw/TextCodec.h"
#include "resources/SymbolPalette.h"
#include "support/export/PdfLaTeX.h"

#include <QRegularExpression>

#include <vector>

using namespace htmlchecks;

namespace {

constexpr UINT kStyle = 32701;
constexpr UINT kPlainFace = 32601;

// Sentences as they are typed: "{JS}" is a link showing JS (Element >
// Link), "[1]" a reference to numbered equation 1 (its number copied and
// pasted), the rest typed.
const char* const kSentences[] = {"Equation [1] gives the area.", "Read {JS} of it, then {DATA}. Next",
                                  "Two {A}{B} in a row.", "Links: {JS} {DATA} and {C}.", "Refs [1], [2] and [3]."};

// What the screen shows of a sentence: references in parentheses.
std::string Shown(const std::string& sentence)
{
    return QString::fromStdString(sentence).replace('[', '(').replace(']', ')').remove('{').remove('}').toStdString();
}

// Every paragraph style (the items among them) and a table's cell.
constexpr int kTableCell = -1;
const int kPlaces[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kTableCell};
constexpr int kPlaceCount = int(std::size(kPlaces));
constexpr int kEquations = 3;

// Whitespace as one blank, no-break spaces too.
std::string Collapsed(const std::string& text)
{
    QString collapsed = QString::fromStdString(text);
    collapsed.replace(QChar(0xA0), ' ');
    return collapsed.simplified().toStdString();
}

int Count(const std::string& text, const std::string& piece)
{
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

class TypedSentenceExportTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        InstallKernelServices();
        InstallCopyWriters();
    }
    void TearDown() override
    {
        TCopyMathMLAction::SetWriter(nullptr);
        TCopySVGAction::SetWriter(nullptr);
        ViewTest::TearDown();
    }

    // The character style the Format menu ticks; -1 when none.
    int TickedFace()
    {
        for (int face = 0; face <= 4; ++face)
            if (Update(kPlainFace + face).check == 1)
                return face;
        return -1;
    }

    // Types the sentence up to its end or its first link, reference, script,
    // symbol or face, then that; answers the place after it.
    std::size_t TypeUpToAStructure(const std::string& sentence, std::size_t from)
    {
        const std::size_t open = sentence.find_first_of("{[^_@|", from);
        Type(sentence.substr(from, open - from));
        if (open == std::string::npos)
            return open;
        if (sentence[open] == '@')
            return TypeSymbol(sentence, open + 1);
        if (sentence[open] == '|') {
            Command(kPlainFace + (sentence[open + 1] == 'm' ? 3 : 0));
            return open + 2;
        }
        const std::size_t close = sentence.find_first_of("}]", open);
        if (sentence[open] == '^' || sentence[open] == '_') {
            Command(sentence[open] == '^' ? ID_ELEMENT_EXPONENT : ID_ELEMENT_SUBSCRIPT);
            Type(sentence.substr(open + 2, close - open - 2));
            Key(VK_RIGHT);
            return close + 1;
        }
        const std::string inside = sentence.substr(open + 1, close - open - 1);
        if (sentence[open] == '{') {
            OnDialog([inside](CDialog& dialog) {
                dialog.SetDlgItemText(1097, CString("http://example.org/" + inside));
                dialog.SetDlgItemText(1098, CString(inside));
                dialog.PressButton(IDOK);
            });
            Command(ID_ELEMENT_LINK);
        } else {
            const DocSelection caret = view->GetSelection();
            Select(std::stoi(inside), 0, 1);
            Command(ID_EDIT_COPY);
            view->SetSelection(caret, true);
            Command(ID_EDIT_PASTE);
        }
        return close + 1;
    }

    // The Symbols palette's button of the UTF-8 character at `at`.
    std::size_t TypeSymbol(const std::string& sentence, std::size_t at)
    {
        const auto lead = static_cast<unsigned char>(sentence[at]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const char32_t wanted = QString::fromStdString(sentence.substr(at, length)).toStdU32String().front();
        for (UINT id = kFirstSymbolCommand; id < kFirstSymbolCommand + kSymbolPaletteCount; ++id)
            if (TextCodec::ToUnicode(SymbolPaletteCode(id), SYMBOL_CHARSET) == wanted) {
                Command(id);
                return at + length;
            }
        ADD_FAILURE() << "no button types " << sentence.substr(at, length);
        return at + length;
    }

    void TypeSentence(const std::string& sentence, std::size_t from = 0)
    {
        while (from != std::string::npos)
            from = TypeUpToAStructure(sentence, from);
    }

    // Three numbered equations, then each sentence in each place.
    void TypeEverySentence()
    {
        Command(kStyle + 6);
        for (int i = 1; i <= kEquations; ++i) {
            if (i > 1)
                Key(VK_RETURN, 13);
            Type("x=" + std::to_string(i));
        }
        for (const std::string sentence : kSentences) {
            for (int place : kPlaces) {
                SCOPED_TRACE(sentence + " in place " + std::to_string(place));
                Key(VK_RETURN, 13);
                Command(kStyle + (place == kTableCell ? 3 : place));
                if (place == kTableCell) {
                    OnDialog([](CDialog& dialog) { dialog.PressButton(IDOK); });
                    Command(ID_ELEMENT_TABLE);
                }
                // The face the sentence starts in, before its first structure.
                Type(sentence.substr(0, sentence.find_first_of("{[")));
                const int face = TickedFace();
                TypeSentence(sentence, sentence.find_first_of("{["));
                EXPECT_EQ(TickedFace(), face) << "the face typing goes on in";
                // The caret leaves the cell for the next paragraph.
                if (place == kTableCell)
                    Key(VK_END, -1, Qt::ControlModifier);
            }
        }
    }

    std::string Export(UINT command, const std::string& name)
    {
        const std::string path = OutputPath(name);
        EXPECT_TRUE(Doc()->ExportTo(command, CString(path))) << name;
        EXPECT_TRUE(ui.boxes.empty()) << name << ": " << (ui.boxes.empty() ? "" : ui.LastBoxText());
        return path;
    }

    // Every sentence shown in every place.
    static void ExpectEverySentence(const std::string& text, const char* format)
    {
        const std::string shown = Collapsed(text);
        for (const char* sentence : kSentences)
            EXPECT_GE(Count(shown, Collapsed(Shown(sentence))), kPlaceCount)
                << format << ": " << sentence << "\n"
                << shown;
    }
};

TEST_F(TypedSentenceExportTest, EveryFormatShowsTheSentencesAsTyped)
{
    TypeEverySentence();
    ASSERT_EQ(Paragraphs().GetCount(), kEquations + kPlaceCount * int(std::size(kSentences)));

    const std::string tex = Export(ID_EXPORT_LATEX, "sentences.tex");
    ASSERT_EQ(CompileLaTeX(tex), "");
    ExpectEverySentence(PdfText(tex.substr(0, tex.size() - 4) + ".pdf"), "LaTeX");
    // Links keep their addresses.
    const std::string source = ReadFile(tex);
    for (const char* address : {"JS", "DATA", "A", "B", "C"})
        EXPECT_GE(Count(source, std::string("\\href{http://example.org/") + address + "}"), kPlaceCount) << address;

    for (const auto& [command, name] :
         {std::pair{ID_EXPORT_MATHML, "sentences.xml"}, {ID_EXPORT_HTML, "sentences.htm"}}) {
        const std::string page = Export(command, name);
        const ProgramRun printed = PrintInChromium(page, page + ".pdf", OutputPath("profile"));
        if (printed.code == -1)
            GTEST_SKIP() << "chromium is not installed";
        ExpectEverySentence(PdfText(page + ".pdf"), name);
    }

    StringByteStream notebook;
    {
        NotebookFileWriter writer(notebook, [](const ExprNode*) { return std::string("BOX"); });
        Paragraphs().WriteNotebook(writer);
        EXPECT_EQ(writer.FirstParseFailure().row, nullptr);
    }
    for (const char* sentence : kSentences)
        EXPECT_EQ(Count(notebook.Text(), "\"" + Shown(sentence) + "\""), kPlaceCount) << sentence;

    // Copy as MathML of each sentence's paragraph is its text.
    for (int i = kEquations + 1; i <= Paragraphs().GetCount(); ++i) {
        Select(i, 1, Row(i)->GetCount() + 1);
        Command(CBaseView::ID_EDIT_COPY_MATHML);
        const std::string mathml = clipboard.content.mathml.value_or("");
        EXPECT_EQ(Collapsed(QString::fromStdString(mathml).remove(QRegularExpression("<[^>]*>")).toStdString()),
                  Shown(kSentences[(i - kEquations - 1) / kPlaceCount]))
            << mathml;
        EXPECT_EQ(mathml.find("<mi>"), std::string::npos) << mathml;
    }
}

// Formulas in sentences and words in formulas, typed as a user types them:
// "^{2}" is Element > Exponent, "2" and Right ("_{3}" the same with
// Subscript), "@→" the Symbols palette's button, "|p" and "|m" Format >
// Plain and Math, "[1]" a reference to numbered equation 1. Each row says
// what the PDFs read of it: its words with their blanks, its formula with
// every blank left out (readers place a formula's glyphs apart).
struct TypedFormula {
    int style;
    const char* typed;
    const char* words;
    const char* formula;
};
const TypedFormula kTypedFormulas[] = {
    // After a script the sentence goes on in the mathematics face.
    {3, "The area is r^{2} square units, so we are done.", "square units, so we are done.", "r2"},
    {3, "ax^{2}+bx+c=0. Its solutions are given by the formula", ". Its solutions are given by the formula",
     "ax2+bx+c=0."},
    {3, "where @Γ=b^{2}-4ac.", "where", "Γ=b2-4ac."},
    // Formulas and words in turn, all in the face typing went on in.
    {3, "The roots of ax^{2}+bx+c=0 are given below, and the area is r^{2} square units.",
     "are given below, and the area is", "ax2+bx+c=0"},
    {3, "Now @→ done", "Now → done", ""},
    {3, "Angle @α is small.", "Angle α is small.", ""},
    // Words set Plain in an equation, with and without a period.
    {5, "y=2|p for all n.", "for all n.", "y=2"},
    {5, "x=1|p for all n", "for all n", "x=1"},
    // Both scripts, whichever comes first (LaTeX sets them one above the
    // other, MathML the subscript first).
    {3, "y^{2}_{3}+1", "", "y23+1|y32+1"},
    {5, "sin^{2}x+cos^{2}x=1", "", "sin2x+cos2x=1"},
    {5, "y=[1]+2", "", "y=(1)+2"},
    // A link whose address holds an encoded blank.
    {3, "See {a%20b} here.", "See a%20b here.", ""},
};

// Blanks and invisible operators left out, mathematical italics as their
// letters, the minus sign as typed.
std::string Spaceless(const std::string& text)
{
    QString spaceless = QString::fromStdString(text).normalized(QString::NormalizationForm_KC);
    spaceless.replace(QChar(0x2212), '-');
    spaceless.remove(QRegularExpression("[\\s\\x{2061}-\\x{2064}]"));
    return spaceless.toStdString();
}

TEST_F(TypedSentenceExportTest, FormulasAndWordsReadAsTheScreenShowsThem)
{
    Command(kStyle + 6);
    Type("x=1");
    for (const TypedFormula& row : kTypedFormulas) {
        Key(VK_RETURN, 13);
        Command(kStyle + row.style);
        TypeSentence(row.typed);
    }
    const auto expectRows = [](const std::string& text, const char* format, bool formulas) {
        for (const TypedFormula& row : kTypedFormulas) {
            EXPECT_NE(Collapsed(text).find(row.words), std::string::npos) << format << ": " << row.typed << "\n"
                                                                          << text;
            // Either reading of a formula ("|" parts them).
            bool read = !formulas;
            for (const QString& formula : QString(row.formula).split('|'))
                read = read || Spaceless(text).find(Spaceless(formula.toStdString())) != std::string::npos;
            EXPECT_TRUE(read) << format << ": " << row.typed << "\n" << Spaceless(text);
        }
    };
    const std::string tex = Export(ID_EXPORT_LATEX, "formulas.tex");
    ASSERT_EQ(CompileLaTeX(tex), "");
    expectRows(PdfText(tex.substr(0, tex.size() - 4) + ".pdf"), "LaTeX", true);
    // The PDF's link keeps the address as it was written.
    const ProgramRun links = RunProgram(
        "pdftohtml", {"-xml", "-stdout", "-i", QString::fromStdString(tex.substr(0, tex.size() - 4) + ".pdf")});
    EXPECT_NE(links.output.find("href=\"http://example.org/a%20b\""), std::string::npos) << links.output;

    const std::string page = Export(ID_EXPORT_MATHML, "formulas.xml");
    const ProgramRun lint = RunProgram("xmllint", {"--noout", "--nonet", "--valid", QString::fromStdString(page)});
    EXPECT_EQ(lint.code, 0) << lint.output;
    const std::string html = Export(ID_EXPORT_HTML, "formulas.htm");
    for (const auto& [name, formulas] : {std::pair{page, true}, {html, false}}) {
        if (PrintInChromium(name, name + ".pdf", OutputPath("profile")).code == -1)
            GTEST_SKIP() << "chromium is not installed";
        expectRows(PdfText(name + ".pdf"), name.c_str(), formulas);
    }

    StringByteStream notebook;
    NotebookFileWriter writer(notebook, [](const ExprNode*) { return std::string("BOX"); });
    Paragraphs().WriteNotebook(writer);
    EXPECT_TRUE(writer.ParseFailures().empty());
    EXPECT_NE(notebook.Text().find("\" for all n.\""), std::string::npos) << notebook.Text();

    // Copy as MathML copies every equation.
    for (int i = 2; i <= Paragraphs().GetCount(); ++i) {
        if (Style(i) != 5)
            continue;
        clipboard.content.mathml.reset();
        Select(i, 1, Row(i)->GetCount() + 1);
        Command(CBaseView::ID_EDIT_COPY_MATHML);
        EXPECT_NE(clipboard.content.mathml.value_or(""), "") << Text(i);
    }
    EXPECT_TRUE(ui.boxes.empty()) << ui.LastBoxText();
}

// Formulas that do not read stop the formats that read formulas, and the
// message names them all at once, as the screen shows them: Γ, → and the
// "…" that ends a long one.
TEST_F(TypedSentenceExportTest, FormulasThatDoNotReadAreNamedAllAtOnce)
{
    Command(kStyle + 3);
    TypeSentence("So |ma=+ |pok, and |mb=/ |ptoo.");
    Key(VK_RETURN, 13);
    Command(kStyle + 5);
    TypeSentence("@Γ@→a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t+u+v+w+x+y+z+a+b+c+d+e+f+g+");

    EXPECT_FALSE(Doc()->ExportTo(ID_EXPORT_MATHML, CString(OutputPath("bad.xml"))));
    ASSERT_EQ(ui.boxes.size(), 1u);
    const std::string message = ui.LastBoxText();
    const std::size_t listed = message.find("The first is selected:\n");
    ASSERT_NE(listed, std::string::npos) << message;
    const QStringList lines = QString::fromStdString(message.substr(listed)).split('\n').mid(1);
    ASSERT_EQ(lines.size(), 3) << message;
    EXPECT_EQ(lines[0], "a=+");
    EXPECT_EQ(lines[1], "b=/");
    EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("Γ→a+b+c+d")) && lines[2].endsWith(QChar(0x2026))) << message;
    EXPECT_EQ(view->GetSelection().First().GetIndex(), 4) << "the first is selected";

    std::vector<BadFormula> failures;
    NotebookFileWriter::BoxText box = [](const ExprNode*) { return std::string("BOX"); };
    EXPECT_FALSE(ExportNotebookFile(Paragraphs(), OutputPath("bad.nb"), box, &failures).written);
    EXPECT_EQ(failures.size(), 3u);

    // Nothing copied, and the user told so.
    ui.boxes.clear();
    Select(2, 1, Row(2)->GetCount() + 1);
    Command(CBaseView::ID_EDIT_COPY_MATHML);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.LastBoxText(), TCopyMathMLAction::kNotAFormula);
}

// Items count on past the Equation paragraphs between them (a formula, a
// drawing or a table alone in one) and start again after a numbered
// equation, sub-items count under their item ("1.2."), as the screen
// numbers them, and a reference to an item reads as its label does: so the
// LaTeX export's PDF and the pages as Chromium prints them read.
TEST_F(TypedSentenceExportTest, ItemsCountOnPastEquationParagraphsAsTheScreenDoes)
{
    Command(kStyle + 6);
    Type("x=1");
    const auto paragraph = [this](int style) {
        PutCaret(Paragraphs().GetCount(), Row(Paragraphs().GetCount())->GetCount() + 1);
        Key(VK_RETURN, 13);
        Command(kStyle + style);
    };
    paragraph(4);
    TypeSentence("one [1]");
    paragraph(5);
    Type("y=2");
    paragraph(4);
    TypeSentence("two");
    paragraph(5);
    Command(ID_ELEMENT_DRAWING);
    paragraph(4);
    TypeSentence("three");
    paragraph(5);
    OnDialog([](CDialog& dialog) { dialog.PressButton(IDOK); });
    Command(ID_ELEMENT_TABLE);
    paragraph(4);
    TypeSentence("four, after [4]");
    // A numbered equation ends the count.
    paragraph(6);
    Type("z=3");
    paragraph(4);
    TypeSentence("five");
    // Sub-items number under their item.
    for (const auto& [style, text] : {std::pair{9, "five a"}, {9, "five b"}, {4, "six"}, {9, "six a"}}) {
        paragraph(style);
        TypeSentence(text);
    }
    std::string onScreen;
    for (int i = 2; i <= Paragraphs().GetCount(); i += i < 10 ? 2 : 1)
        onScreen += Paragraphs().GetAt(i)->GetLabel()->GetText().CStr() + std::string(" ");
    ASSERT_EQ(onScreen, "1. 2. 3. 4. 1. 1.1. 1.2. 2. 2.1. ");
    // A drawing alone in a sub-item under a bulleted item shows the number
    // the screen gives it.
    paragraph(8);
    TypeSentence("seven");
    paragraph(9);
    Command(ID_ELEMENT_DRAWING);
    const std::string drawn = Paragraphs().GetAt(Paragraphs().GetCount())->GetLabel()->GetText().CStr();

    // The items' words and numbers in the order they show.
    const auto expectInOrder = [&](const std::string& text, const char* format) {
        const std::string read = Collapsed(text);
        std::size_t at = 0;
        for (const char* piece : {"1. one (1)", "2. two", "3. three", "4. four, after (#2)", "1. five", "1.1. five a",
                                  "1.2. five b", "2. six", "2.1. six a", "seven", drawn.c_str()}) {
            at = read.find(piece, at);
            EXPECT_NE(at, std::string::npos) << format << ": " << piece << "\n" << read;
            if (at == std::string::npos)
                return;
        }
    };
    const std::string tex = Export(ID_EXPORT_LATEX, "items.tex");
    ASSERT_EQ(CompileLaTeX(tex), "");
    expectInOrder(PdfText(tex.substr(0, tex.size() - 4) + ".pdf"), "LaTeX");
    for (const auto& [command, name] : {std::pair{ID_EXPORT_MATHML, "items.xml"}, {ID_EXPORT_HTML, "items.htm"}}) {
        const std::string page = Export(command, name);
        const ProgramRun printed = PrintInChromium(page, page + ".pdf", OutputPath("profile"));
        if (printed.code == -1)
            GTEST_SKIP() << "chromium is not installed";
        expectInOrder(PdfText(page + ".pdf"), name);
    }
}

// A reference whose equation is deleted keeps the text it showed, unlinked:
// LaTeX writes that text, never a reference to the equation that bears the
// deleted one's number now.
TEST_F(TypedSentenceExportTest, AReferenceLeftWithoutItsEquationExportsItsText)
{
    Command(kStyle + 6);
    Type("x=1");
    Key(VK_RETURN, 13);
    Type("x=2");
    Key(VK_RETURN, 13);
    Type("x=3");
    Key(VK_RETURN, 13);
    Command(kStyle + 3);
    TypeSentence("See [2] and [3].");
    // The second equation and the line break before it, cut.
    view->SetSelection(DocSelection(DocPosition(Row(1), Row(1)->GetCount() + 1),
                                    DocPosition(Row(2), Row(2)->GetCount() + 1)),
                       true);
    Command(ID_EDIT_CUT);
    ASSERT_EQ(Paragraphs().GetCount(), 3);
    const std::string tex = Export(ID_EXPORT_LATEX, "unlinked.tex");
    ASSERT_EQ(CompileLaTeX(tex), "");
    EXPECT_NE(Collapsed(PdfText(tex.substr(0, tex.size() - 4) + ".pdf")).find("See (2) and (2)."), std::string::npos);
    EXPECT_EQ(Count(ReadFile(tex), "\\hyperlink{"), 1) << ReadFile(tex);
}

// Format > Plain over a whole paragraph of text and mathematics (Home,
// Shift+End) sets it all in the plain face; the menu ticks no face for the
// mixed range and Plain afterwards. A face chosen in a table's cell (whose
// text is mathematics unless told) holds after a link there.
TEST_F(TypedSentenceExportTest, AFaceFromTheFormatMenuTakesEveryRunOfTheSelectionAndHoldsAfterALink)
{
    Command(kStyle + 3);
    Type("Area ");
    Command(kPlainFace + 3);
    Type("x+1");
    Key(VK_HOME);
    Key(VK_END, -1, Qt::ShiftModifier);
    EXPECT_EQ(TickedFace(), -1);
    Command(kPlainFace);
    EXPECT_EQ(TickedFace(), 0);
    Select(1, 6, 9);
    EXPECT_EQ(TickedFace(), 0) << "the mathematics run kept its face";

    Key(VK_END);
    OnDialog([](CDialog& dialog) { dialog.PressButton(IDOK); });
    Command(ID_ELEMENT_TABLE);
    Command(kPlainFace);
    TypeSentence("r = {R} cm");
    EXPECT_EQ(TickedFace(), 0);
}

} // namespace
