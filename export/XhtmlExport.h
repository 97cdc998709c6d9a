#pragma once
// The XHTML export of a document and the MathML and SVG clipboard texts.
//
// The export walks the paragraphs twice: first over a counting stream, which
// finds rows that do not parse before anything is written, then into a
// temporary beside the page. Pictures are saved as PNG files beside the page
// (see ExportPictureFiles); they and the page take their names only when all
// of them are complete, so that a failed export leaves every file as it was.
#include "export/BadFormula.h"

#include <string>
#include <vector>

class CompList;
class DocSelection;
class ParagraphList;

struct XhtmlExportResult {
    bool ok = false;
    // Why the export failed, for the user (empty on success).
    std::string message;
    // The first math row that does not parse: the row and the range of its
    // components (1-based, inclusive), for the caller to select. Unless asked
    // to go on, it stops the export before the file is written.
    const CompList* badRow = nullptr;
    int badFirst = 0;
    int badLast = 0;
    // Every formula that does not parse, that one first.
    std::vector<BadFormula> badFormulas;
    // The picture files written (full paths); a failed export wrote none.
    std::vector<std::string> pictures;
    // What a successful export left out, for the user (empty when nothing).
    std::string notice;
};

// Writes the page to path; its folder receives the pictures and its base
// name (without extension) names them. title is the page's title, as UTF-8.
// With writeBadRows a row that does not parse is written as far as it reads
// (and still reported) instead of stopping.
XhtmlExportResult WriteXhtmlExport(const ParagraphList& paragraphs, const std::string& path, const std::string& title,
                                   bool writeBadRows = false);

// The MathML text of a formula: a "math" element of the MathML namespace
// holding the row as one expression. Clipboard texts stand alone: they use
// character references where the page uses the MathML entity names.
std::string MathMLOfRow(CompList& row);
// The clipboard texts of a selection: the MathML of the selected
// component's first row (or of the selected row), the SVG of a selected
// drawing; empty when the selection has none.
std::string MathMLOfSelection(const DocSelection& selection);
std::string SvgOfSelection(const DocSelection& selection);
// Installs the two clipboard writers into the copy commands.
void InstallCopyWriters();
