#pragma once
// Writes a document as one HTML page: text stays text, and every formula
// that plain HTML cannot show becomes a numbered PNG picture beside the page.
// The paragraph list drives it (head, each paragraph, tail); tables and
// pictures write themselves through its element operations.
//
// The page is HTML 4.01 Transitional and valid as such: lists nest inside
// the item they belong to, tables never stand inside a paragraph, every
// picture carries alternative text, and every text and attribute value is
// escaped. Pictures go into temporary files first; the export moves them
// to their names once the whole page is written (see HtmlExport). A picture
// beyond the pixels one export may render is written as its text.
#include "export/ExportOutput.h"
#include "export/ExportPictureFiles.h"
#include "export/RowRuns.h"
#include "foundation/HTMLWriter.h"
#include "foundation/Str255.h"
#include "math/ExportElementWriters.h"

#include <cstdint>
#include <string>
#include <vector>

class ByteStream;
class TextComp;

class HTMLExportWriter : public HTMLWriter, public HtmlElementWriter {
public:
    // title: the page's title; baseName: the first part of every picture's
    // name (both UTF-8); folder: where the pictures go (empty, or ending with
    // '/'); the two widths: the cells of a numbered equation, in pixels.
    HTMLExportWriter(ByteStream& stream, std::string title, std::string baseName, std::string folder,
                     int16_t firstCellWidth, int16_t secondCellWidth);
    ~HTMLExportWriter() override;

    // ---- the paragraphs ----
    void WriteHead() override;
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
    // Pictures, tables, plots and drawings that stand alone in a paragraph.
    bool WriteObject(TextComp& comp) override;
    void CloseOpenBlocks() override;

    // ---- elements, for the components' own forms ----
    void OpenElement(const char* name) override { OpenTag(name); }
    void AddAttribute(const char* name, const char* value) override { WriteAttribute(name, value); }
    void CloseStartTag() override { EndOpenTag(); }
    void WriteEndTag(const char* name) override { CloseTag(name); }
    void WriteRowHtml(CompList& row) override;
    // Renders the picture centred in a picture of the rectangle's size, saves
    // it as the next numbered PNG file and writes its "img" element. Throws
    // CFileException when the file cannot be written. A rectangle no picture
    // can be made of (empty, or too large) gives the picture's text instead.
    void WriteEquationImage(HENHMETAFILE picture, const Rect& rect) override;

    // ---- primitives ----
    void WriteString(const char* text);
    void NewLine() { WriteString("\n"); }
    // One Unicode character, as an entity or character reference where HTML
    // needs one; control characters other than tab and line feed are left out.
    void WriteEscapedChar(char32_t ch);
    // Program text of a face (the text faces unless told otherwise).
    void WriteEscapedText(const Str255& text, int fontId = 0);
    void WriteEscapedCString(const char* text);
    // UTF-8 text.
    void WriteEscapedUtf8(const std::string& text);
    void WriteTag(const char* name);
    void OpenTag(const char* name);
    // The value is escaped.
    void WriteAttribute(const char* name, const char* value);
    void WriteUtf8Attribute(const char* name, const std::string& value);
    void EndOpenTag();
    void CloseTag(const char* name);
    void Flush();

    // The components first..last of the row as one picture.
    void WriteComponentImage(CompList& row, int first, int last);
    // The row as text runs inside an element of the outer style (0 plain,
    // 2 heading, 4 source code).
    void WriteRuns(CompList& row, int outerStyle);

    // The alternative text of the next picture (otherwise "formula").
    void SetPictureText(std::string text) { m_pictureText = std::move(text); }

    // The pictures written so far, in their temporaries until placed.
    ExportPictureFiles& Pictures() { return m_pictures; }

private:
    enum class ListKind { kOrdered, kUnordered };
    struct OpenList {
        bool open = false;
        ListKind kind = ListKind::kOrdered;
        bool itemOpen = false;
    };

    void Put(const char* bytes, std::size_t count);
    void PutChar(char c) { Put(&c, 1); }

    void CloseSubLists();
    void CloseLists();
    void ClosePre();
    void CloseList(OpenList& list);
    void OpenItem(OpenList& list, ListKind kind, bool subList, const std::string& number = {});
    void WriteItem(OpenList& list, ListKind kind, CompList& row, bool subList);
    void PlaceObject(const TextComp& comp);

    // A plain or numbered equation's content: a picture of the row when it
    // holds anything but plain characters up to code 127, else its runs.
    void WriteEquationContent(CompList& row);
    void WriteDrawing(TextComp& comp);
    void WritePlot(TextComp& comp);

    // Runs.
    void OpenRun(int style, int outerStyle);
    void CloseRun(int style, int outerStyle);
    void WriteRuns(CompList& row, const std::vector<RowRuns::Run>& runs, int outerStyle);
    void WriteFormulaRun(CompList& row, int first, int last, int outerStyle);
    void WriteRunComponent(TextComp& comp);
    void WriteMathRun(CompList& row, int first, int last);
    void WriteScriptRow(CompList& row, const char* element);

    std::string LinearText(CompList& row, int first, int last) const;

    ExportOutput m_output;
    OpenList m_list;     // the first level
    OpenList m_subList;  // the second level, inside the first level's open item
    bool m_preOpen = false;
    std::string m_firstCellWidth;
    std::string m_secondCellWidth;
    const char* m_pendingEnd = "";
    std::string m_baseName;
    std::string m_title;
    std::string m_folder;
    std::string m_pictureText;
    // How far the next picture reaches below the baseline of the text it
    // stands in, in pixels; none when negative.
    int m_pictureDescent = -1;
    ExportPictureFiles m_pictures;
};
