#pragma once
// Writes a document as a notebook of cells: one cell a paragraph, headings
// opening nested cell groups, text in runs of plain, italic, bold and
// mathematics, and mathematics as the box text the kernel gives for the
// parsed expression.
#include "export/BadFormula.h"
#include "export/ExportOutput.h"
#include "export/RowRuns.h"
#include "foundation/NotebookWriter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ByteStream;
class ExprNode;
class TableComp;
class TextComp;

class NotebookFileWriter : public NotebookWriter {
public:
    // The box text of an expression (the kernel's StandardForm string, in
    // the kernel's own characters, UTF-8).
    using BoxText = std::function<std::string(const ExprNode*)>;

    NotebookFileWriter(ByteStream& stream, BoxText boxText);

    void Begin() override;
    void End() override;
    void WriteTitle(CompList& row) override;
    void WriteSection(CompList& row) override;
    void WriteSubsection(CompList& row) override;
    void WriteText(CompList& row) override;
    void WriteDisplayFormula(CompList& row) override;
    void WriteNumberedEquation(CompList& row) override;
    void WriteInput(CompList& row) override;

    void Append(const char* text);
    void Append(const std::string& text) { Append(text.c_str()); }
    void Flush();

    // The first mathematics that did not parse: its row and component range
    // [first, end), 1-based; no row when everything parsed.
    using ParseFailure = BadFormula;
    ParseFailure FirstParseFailure() const { return m_failures.empty() ? ParseFailure() : m_failures.front(); }
    // All of them, in the order written.
    const std::vector<ParseFailure>& ParseFailures() const { return m_failures; }

    // Program text of the text faces as the characters of a notebook string
    // (without quotes).
    static std::string StringForm(const std::string& programText);
    // A character as a notebook holds it: printable ASCII as itself, others
    // by their name ("\[Alpha]") or their code ("\:00e9"), so that the
    // file is ASCII.
    static std::string CharacterForm(char32_t ch);
    // UTF-8 text (the kernel's box text) with every character beyond ASCII in
    // its notebook form.
    static std::string NotebookText(const std::string& utf8);

private:
    enum Run { kPlain = 0, kItalic = 1, kBold = 2, kMath = 3, kTypewriter = 4 };

    void UpdateGroups(int level);
    void WriteTextCell(CompList& row, int outerStyle, const char* style);
    void WriteMathCell(CompList& row, const char* style);
    void WriteTextCell(CompList& row, const std::vector<RowRuns::Run>& runs, int outerStyle, const char* style);
    static const char* RunOpening(int run);
    static const char* RunClosing(int run);
    std::string RunText(CompList& row, int first, int end);
    std::string MathBoxText(CompList& row, int first, int end);
    std::string TableBoxes(TableComp& table);
    std::string CellBoxes(CompList& cell);

    ExportOutput m_output;
    BoxText m_boxText;
    std::vector<int> m_levels;  // m_levels[d]: the heading level of open group d; [0] is below every heading
    bool m_cellWritten = false;
    std::vector<ParseFailure> m_failures;
};
