#pragma once
// What the paragraphs ask of the HTML export writer: the document frame and
// one element per paragraph, of the kind its style names.
class CompList;
class Str255;
class TextComp;
class HTMLWriter;

// A component that stands alone in a paragraph with an HTML form of its own
// (pictures, plots and tables; drawings write their picture).
class HtmlForm {
public:
    virtual ~HtmlForm() = default;
    virtual void WriteHtml(HTMLWriter& writer) = 0;
};

class HTMLWriter {
public:
    virtual ~HTMLWriter() = default;
    virtual void WriteHead() = 0;
    virtual void WriteTail() = 0;
    virtual void WriteTitle(CompList& row) = 0;
    virtual void WriteHeading2(CompList& row) = 0;
    virtual void WriteHeading3(CompList& row) = 0;
    virtual void WriteParagraph(CompList& row) = 0;
    virtual void WriteEnumeratedItem(CompList& row) = 0;
    virtual void WritePlainEquation(CompList& row) = 0;
    virtual void WriteNumberedEquation(CompList& row, const Str255& labelText) = 0;
    virtual void WriteSourceCode(CompList& row) = 0;
    virtual void WriteItemizedItem(CompList& row) = 0;
    virtual void WriteSubEnumeratedItem(CompList& row) = 0;
    virtual void WriteSubItemizedItem(CompList& row) = 0;
    // Closes the lists and the preformatted block left open by earlier
    // paragraphs (before an equation that ends a list).
    virtual void CloseOpenBlocks() {}
    // A picture, plot, table or drawing alone in its paragraph: written in
    // its own form; false when the writer has none for it (the paragraph is
    // then written by its style).
    virtual bool WriteObject(TextComp& comp);
};
