// Every character a user can enter, typed or clicked on the Symbols palette,
// in text, source code and every kind of mathematics, exported to LaTeX: pdflatex
// compiles the source and the PDF's text shows each character as itself;
// the TechExplorer export writes each character as the LaTeX export does,
// none of them as a "?".
#include "export/LaTeXExport.h"
#include "export/LaTeXFileWriter.h"
#include "export/StringByteStream.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "support/export/EveryCharacterDocument.h"
#include "support/export/MathFaceTextDocument.h"
#include "support/TestOutputFolder.h"
#include "support/export/PdfLaTeX.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the PDF's text holds for characters that TeX draws with glyphs of its
// own: typographic quotes, the minus sign, accents standing alone, negated
// relations drawn as a slash over the relation, dots drawn as single dots,
// the big operators of the extension font (named by their sizes), Greek
// capitals named as the signs of the same shape. Where the fonts of the
// preamble have no glyph of the character (guillemets, eth and thorn need an
// encoding the preamble does not load) it holds the nearest they have; the
// blackboard and calligraphic letters are named as plain letters. An empty
// text means the PDF's text cannot show the glyph: the underscore is a rule,
// a hyphen ending a line is taken as a word's break, and the companion
// symbols of the text font carry no names.
// clang-format off
const std::map<char32_t, std::vector<std::u32string>> kShownAs = {
    {'"', {U"\u201D"}}, {'\'', {U"\u2019", U"\u2032"}}, {'`', {U"\u2018"}}, {'*', {U"\u2217"}},
    {'-', {U"\u2212", U""}}, {'^', {U"\u02C6"}}, {'~', {U"\u02DC"}}, {'_', {U""}}, {0x00B0, {U"\u25E6"}},
    {0x00AB, {U"\u226A"}}, {0x00BB, {U"\u226B"}}, {0x2039, {U"<"}}, {0x203A, {U">"}}, {0x00D0, {U"D"}},
    {0x00DE, {U"Th"}}, {0x00F0, {U"d"}}, {0x00FE, {U"th"}}, {0x0192, {U"f"}}, {0x00EC, {U"\u0131\u0300"}},
    {0x00ED, {U"\u0131\u0301"}}, {0x00EE, {U"\u0131\u0302"}}, {0x00EF, {U"\u0131\u0308"}}, {0x0394, {U"\u2206"}},
    {0x03BC, {U"\u00B5"}}, {0x03A9, {U"\u2126"}}, {0x201A, {U","}}, {0x201E, {U",,"}}, {0x2021, {U""}},
    {0x2030, {U""}}, {0x2122, {U""}}, {0x2026, {U"..."}}, {0x22EE, {U"..."}}, {0x22F1, {U"..."}},
    {0x22EF, {U"\u00B7\u00B7\u00B7"}}, {0x22C5, {U"\u00B7"}}, {0x2033, {U"\u2032\u2032"}}, {0x2260, {U"\u0338="}},
    {0x2284, {U"\u0338\u2282"}}, {0x2209, {U"/\u2208"}}, {0x2245, {U"\u223C="}}, {0x2211, {U"X", U"P"}},
    {0x220F, {U"Y", U"Q"}}, {0x222B, {U"Z", U"R"}}, {0x2020, {U""}}, {0x2022, {U""}}, {0x2102, {U"C"}},
    {0x2115, {U"N"}}, {0x211A, {U"Q"}}, {0x211D, {U"R"}}, {0x2124, {U"Z"}}, {0x2112, {U"L"}}, {0x2131, {U"F"}},
};
// clang-format on

bool Shows(const std::u32string& piece, char32_t ch)
{
    if (piece.find(ch) != std::u32string::npos)
        return true;
    auto shown = kShownAs.find(ch);
    if (shown == kShownAs.end())
        return false;
    for (const std::u32string& form : shown->second)
        if (piece.find(form) != std::u32string::npos)
            return true;
    return false;
}

class EveryCharacterLaTeX : public ::testing::Test {
protected:
    EveryCharacterDocument characters;
    ParagraphList& list = characters.Paragraphs();
    FontManager& fonts = characters.Fonts();
};

std::string WithoutLabels(std::string text)
{
    for (size_t at = text.find("\\label{"); at != std::string::npos; at = text.find("\\label{", at))
        text.erase(at, text.find('}', at) + 1 - at);
    return text;
}

// What a piece writes besides the paragraph's frame: empty when the
// character was dropped.
std::string Bare(std::string piece)
{
    for (const char* frame :
         {"\\par", "\\noindent", "\\[", "\\]", "\\begin{equation}", "\\end{equation}", "$", "{}", "\n", " "})
        for (size_t at = piece.find(frame); at != std::string::npos; at = piece.find(frame))
            piece.erase(at, std::strlen(frame));
    return piece;
}

// Whether the piece holds a "?" that stands for a character without a form
// (the inverted question mark's form is "?`").
bool MarksLost(const std::string& piece, char32_t ch)
{
    for (size_t at = piece.find('?'); ch != '?' && at != std::string::npos; at = piece.find('?', at + 1))
        if (piece.compare(at + 1, 1, "`") != 0)
            return true;
    return false;
}

} // namespace

TEST_F(EveryCharacterLaTeX, EachCharacterShowsAsItselfInTheCompiledPdf)
{
    const std::string folder = TestOutputFolder();
    const ExportOutcome outcome = ExportLaTeXFile(list, folder + "/characters.tex", false);
    ASSERT_TRUE(outcome.written) << outcome.message;
    ASSERT_EQ(CompileLaTeX(folder + "/characters.tex", 300000), "");
    const std::string shown = PdfText(folder + "/characters.pdf");
    ASSERT_FALSE(shown.empty());
    const std::string tex = ReadText(folder + "/characters.tex");

    std::vector<std::string> lost;
    for (size_t n = 0; n < characters.Entries().size(); ++n) {
        const EnteredCharacter& entry = characters.Entries()[n];
        // Accented letters come out of the PDF as a letter and a combining accent.
        const std::u32string piece = QString::fromStdString(EveryCharacterDocument::Piece(shown, n))
                                         .normalized(QString::NormalizationForm_C)
                                         .remove(QRegularExpression("\\s"))
                                         .toStdU32String();
        if (!Shows(piece, entry.ch))
            lost.push_back(EveryCharacterDocument::Describe(entry) + ": the PDF shows \"" +
                           QString::fromStdU32String(piece).simplified().toStdString() + "\" from \"" +
                           EveryCharacterDocument::Piece(tex, n) + "\"");
    }
    EXPECT_GT(characters.Entries().size(), 1000u);
    EXPECT_TRUE(lost.empty()) << lost.size() << " characters lost, the first:\n"
                              << [&] {
                                     std::string text;
                                     for (size_t i = 0; i < lost.size() && i < 400; ++i)
                                         text += lost[i] + "\n";
                                     return text;
                                 }();
}

// The palette's alpha after words typed into a new document's equation: the
// character table's command, not nothing.
TEST_F(EveryCharacterLaTeX, ThePalettesAlphaAfterTypedWordsIsTheTablesCommand)
{
    ParagraphList equation;
    auto* paragraph = new ParagraphComp(5);
    for (char c : std::string("Second line addedZ"))
        paragraph->GetRow()->Append(fonts.GetFace(FontId::kMath)->GetCharacter(static_cast<unsigned char>(c)));
    paragraph->GetRow()->Append(fonts.GetFace(FontId::kMath)->GetCharacter(168));
    equation.Append(paragraph);
    StringByteStream out;
    LaTeXFileWriter writer(out, "", "p");
    equation.WriteLaTeX(writer);
    EXPECT_NE(out.Text().find("\\[Second \\,line \\,addedZ\\alpha \\]"), std::string::npos) << out.Text();
}

// Words typed after a change of face, each row a paragraph of the style
// holding its runs: the PDF's text (blanks collapsed) shows the row as the
// screen does, and TechExplorer writes it as LaTeX does.
struct FaceRun {
    const char* text;
    int fontId; // a code of 168 in the mathematics face is its alpha
};
struct FaceRow {
    int style;
    std::vector<FaceRun> runs;
    const char* shown;
};
// clang-format off
const std::vector<FaceRow> kFaceRows = {
    {3, {{"one", FontId::kText}, {" two", FontId::kItalic}, {" three", FontId::kBold}, {" four", FontId::kCode}},
        "one two three four"},
    {2, {{"Heading", FontId::kBold}, {" plain", FontId::kText}, {" again", FontId::kBold}}, "Heading plain again"},
    {5, {{"x", FontId::kMath}, {" if ", FontId::kItalic}, {"y", FontId::kMath}}, "x if y"},
    {4, {{"item", FontId::kText}, {" in", FontId::kItalic}, {" list", FontId::kText}}, "1. item in list"},
    // Source code holding a sign of the mathematics face is written as text:
    // its tilde and circumflex stay the code face's signs.
    {7, {{"a~b^c d", FontId::kCode}, {"\xA8", FontId::kMath}}, "a~b^c d\u03B1"},
};
// clang-format on

TEST_F(EveryCharacterLaTeX, ABlankBeforeAWordInAnotherFaceReachesThePdf)
{
    ParagraphList rows;
    for (std::size_t n = 0; n < kFaceRows.size(); ++n) {
        auto* name = new ParagraphComp(3);
        for (char c : EveryCharacterDocument::Name(n))
            name->GetRow()->Append(fonts.GetFace(FontId::kText)->GetCharacter(static_cast<unsigned char>(c)));
        rows.Append(name);
        auto* paragraph = new ParagraphComp(kFaceRows[n].style);
        for (const FaceRun& run : kFaceRows[n].runs)
            for (const char* c = run.text; *c; ++c)
                paragraph->GetRow()->Append(fonts.GetFace(run.fontId)->GetCharacter(static_cast<unsigned char>(*c)));
        rows.Append(paragraph);
    }
    const std::string folder = TestOutputFolder();
    ASSERT_TRUE(ExportLaTeXFile(rows, folder + "/faces.tex", false).written);
    ASSERT_TRUE(ExportLaTeXFile(rows, folder + "/faces.tcx", true).written);
    ASSERT_EQ(CompileLaTeX(folder + "/faces.tex"), "");
    const std::string shown = PdfText(folder + "/faces.pdf");
    const std::string tex = ReadText(folder + "/faces.tex");
    const std::string tcx = ReadText(folder + "/faces.tcx");
    for (std::size_t n = 0; n < kFaceRows.size(); ++n) {
        const QString piece = QString::fromStdString(EveryCharacterDocument::Piece(shown, n)).simplified();
        const std::string source = EveryCharacterDocument::Piece(tex, n);
        EXPECT_EQ(piece.toStdString(), kFaceRows[n].shown) << source;
        // No sign is set as an accent over nothing, which pdftotext would not tell.
        for (const char* accent : {"\\~", "\\^"})
            EXPECT_EQ(source.find(accent), std::string::npos) << source;
        EXPECT_EQ(WithoutLabels(EveryCharacterDocument::Piece(tcx, n)), EveryCharacterDocument::Piece(tex, n));
    }
}

TEST_F(EveryCharacterLaTeX, TechExplorerWritesEachCharacterAsTheLaTeXExportDoes)
{
    const std::string folder = TestOutputFolder();
    ASSERT_TRUE(ExportLaTeXFile(list, folder + "/characters.tex", false).written);
    ASSERT_TRUE(ExportLaTeXFile(list, folder + "/characters.tcx", true).written);
    const std::string tex = ReadText(folder + "/characters.tex");
    const std::string tcx = ReadText(folder + "/characters.tcx");
    std::vector<std::string> differing;
    for (size_t n = 0; n < characters.Entries().size(); ++n) {
        // The dialects write labels apart.
        const std::string piece = WithoutLabels(EveryCharacterDocument::Piece(tcx, n));
        if (piece != WithoutLabels(EveryCharacterDocument::Piece(tex, n)) || Bare(piece).empty() ||
            MarksLost(piece, characters.Entries()[n].ch))
            differing.push_back(EveryCharacterDocument::Describe(characters.Entries()[n]) + ": \"" + piece + "\"");
    }
    EXPECT_TRUE(differing.empty()) << differing.size()
                                   << " differ, the first: " << (differing.empty() ? "" : differing.front());
}

// Text in the mathematics face that is no formula is set as text: its blanks
// reach the PDF.
TEST(MathFaceTextLaTeX, KeepsItsBlanksInThePdf)
{
    MathFaceTextDocument document;
    const std::string folder = TestOutputFolder();
    ASSERT_TRUE(ExportLaTeXFile(document.Paragraphs(), folder + "/text.tex", false).written);
    ASSERT_EQ(CompileLaTeX(folder + "/text.tex"), "");
    const std::string shown = PdfText(folder + "/text.pdf");
    for (const MathFaceTextRow& row : MathFaceTextDocument::Rows())
        EXPECT_NE(shown.find(row.printed), std::string::npos) << row.name << "\n" << shown;
}
