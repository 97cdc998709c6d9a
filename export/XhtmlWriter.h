#pragma once
// The XHTML export writer: one XHTML 1.1 page in which formulas are MathML
// and drawings SVG, built on the indenting XML core. Paragraphs come in one
// at a time through the paragraph interface of the document foundation; the
// lists and the preformatted block stay open across paragraphs until a
// paragraph of another kind closes them.
//
// Everything written as text or as an attribute value is escaped, so that
// link targets, labels and picture names never break the markup. Lists nest
// inside their items, tables stand outside paragraphs and the page uses CSS
// instead of presentational attributes, so that the page validates.
#include "drawing/SvgOutput.h"
#include "export/BadFormula.h"
#include "export/RowRuns.h"
#include "export/XMLCoreWriter.h"
#include "foundation/XMLWriter.h"
#include "math/ExportElementWriters.h"

#include <string>
#include <vector>

class CompList;
class ExportPictureFiles;
class Str255;
class TableComp;
class TextComp;

class XhtmlWriter : public XMLCoreWriter,
                    public XMLWriter,
                    public XhtmlElementWriter,
                    public svg::LabelRowWriter {
public:
    static constexpr const char* kXhtmlNamespace = "http://www.w3.org/1999/xhtml";
    static constexpr const char* kMathMLNamespace = "http://www.w3.org/1998/Math/MathML";
    static constexpr const char* kSvgNamespace = "http://www.w3.org/2000/svg";

    // The export writer: pictures are named and saved by the export's
    // picture files; without them (a pass that only reads the document)
    // they are named from the base name and not saved.
    XhtmlWriter(ByteStream& stream, const std::string& title, const std::string& baseName,
                ExportPictureFiles* pictures);
    // The clipboard writer: no pictures, base name "Clipboard".
    explicit XhtmlWriter(ByteStream& stream);

    // ---- the page and the paragraph styles ----
    void WriteProlog() override;
    void WriteTail() override;
    void WriteTitle(CompList& row) override;
    void WriteHeading2(CompList& row) override;
    void WriteHeading3(CompList& row) override;
    void WriteParagraph(CompList& row) override;
    void WriteEnumeratedItem(CompList& row) override;
    void WritePlainEquation(CompList& row) override;
    void WriteNumberedEquation(CompList& row, const Str255& labelText) override;
    void WriteSourceCode(CompList& row) override;
    void WriteItemizedItem(CompList& row) override;
    void WriteSubEnumeratedItem(CompList& row) override;
    void WriteSubItemizedItem(CompList& row) override;

    // ---- elements (one definition serves the MathML and component interfaces) ----
    // In the page, SVG elements carry the "svg" prefix of their namespace:
    // several SVG element names are XHTML's too, and the page's document type
    // tells them apart by the prefix. Clipboard SVG is written unprefixed.
    void StartElement(const char* name, bool indent) override;
    void StartEmptyElement(const char* name) override;
    void WriteStartTag(const char* name, bool indent) override;
    void WriteAttribute(const char* name, const char* value) override;
    void EndPendingTag(bool newline) override { XMLCoreWriter::EndPendingTag(newline); }
    void EndElement(const char* name, bool indent) override;
    void WriteEquationImage(HENHMETAFILE picture, const Rect& rect) override;

    // Closes open lists and the preformatted block.
    void CloseOpenBlocks() override;
    void StartObject(CompList& row, int styleKind) override;
    void CloseLists();
    void CloseSubLists();
    void ClosePre();

    // The row's MathML (parsed as one expression); the first row that does
    // not parse is remembered.
    void WriteMathRow(CompList& row);
    // The same of components first..last (1-based, inclusive); blanks alone
    // are an empty formula.
    void WriteMathRange(CompList& row, int first, int last);
    // Runs of a row that are no single formula, inside a "math" element:
    // text as "mtext", formulas, drawings as SVG inside "mtext".
    void WriteMathOfRuns(CompList& row, const std::vector<RowRuns::Run>& runs);
    // A "math" element holding the row, then the buffer goes to the stream.
    void StartMath(CompList& row);
    void WriteMathBlock(CompList& row) override;
    // The runs of a row: text, italic, bold and code runs as text elements,
    // math runs as MathML, links and references.
    void WriteRuns(CompList& row, int outerStyle);

    // Every formula that failed to parse, in the order written.
    const std::vector<BadFormula>& GetErrors() const { return m_errors; }
    // The first of them: the row and its range of components (1-based,
    // inclusive); null when every formula parsed.
    const CompList* GetErrorRow() const { return m_errors.empty() ? nullptr : m_errors.front().row; }
    int GetErrorFirst() const { return m_errors.empty() ? 0 : m_errors.front().first; }
    int GetErrorLast() const { return m_errors.empty() ? 0 : m_errors.front().end - 1; }
    bool HasParseError() const { return !m_errors.empty(); }

    // A drawing label: text with italic and bold spans when the row holds
    // only characters; otherwise a foreign object of the frame's size
    // holding MathML (a formula) or an XHTML paragraph (text and formulas).
    void WriteLabelRow(const IntPoint& topLeft, const IntPoint& bottomRight, CompList& row, int pointSize) override;

private:
    enum ListLevel { kFirst = 0, kSecond = 1 };
    struct ListState {
        const char* name = nullptr;  // "ol" or "ul" while open
        bool itemOpen = false;
    };

    // Opens or continues the list of a level and starts a new item in it,
    // with its number written out when one is given.
    void StartItem(ListLevel level, const char* name, const std::string& number = {});
    void CloseList(ListLevel level);
    void CloseItem(ListLevel level);
    void OpenWithAttribute(const char* name, const char* attribute, const char* value);
    void OpenMath();
    void WriteRuns(CompList& row, const std::vector<RowRuns::Run>& runs, int outerStyle);
    void WriteTextOfRun(CompList& row, const RowRuns::Run& run, int outerStyle, int& column);
    void WriteFormulaOfRun(CompList& row, const RowRuns::Run& run);
    void WriteEquationRow(CompList& row);
    void WriteTableOfSentences(TableComp& table);
    void FlushText(Str255& buffer);
    void RecordError(const CompList& row, int first, int last);
    void OpenForeignObject(const IntPoint& topLeft, const IntPoint& bottomRight);
    void WriteTextRun(const IntPoint& position, CompList& row, int pointSize);
    void SavePicture(HENHMETAFILE picture, int width, int height, const std::string& name);

    // The name with the SVG prefix when it names an SVG element of the page.
    std::string Qualified(const char* name) const;

    bool m_prefixSvg = false;
    ListState m_lists[2];
    bool m_preOpen = false;
    int m_pictureCounter = 1;
    std::string m_baseName;
    std::string m_title;
    ExportPictureFiles* m_pictureFiles = nullptr;
    std::vector<BadFormula> m_errors;
};
