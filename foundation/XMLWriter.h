#pragma once
// What the paragraphs ask of the XHTML/MathML export writer: the document
// frame and one element per paragraph, of the kind its style names.
class CompList;
class Str255;

class XMLWriter {
public:
    virtual ~XMLWriter() = default;
    virtual void WriteProlog() = 0;
    virtual void WriteTail() = 0;
    virtual void WriteTitle(CompList& row) = 0;
    virtual void WriteHeading2(CompList& row) = 0;
    virtual void WriteHeading3(CompList& row) = 0;
    virtual void WriteParagraph(CompList& row) = 0;
    virtual void WriteEnumeratedItem(CompList& row) = 0;
    virtual void WritePlainEquation(CompList& row) = 0;
    virtual void WriteNumberedEquation(CompList& row, const Str255& labelText) = 0;
    virtual void WriteItemizedItem(CompList& row) = 0;
    virtual void WriteSubEnumeratedItem(CompList& row) = 0;
    virtual void WriteSubItemizedItem(CompList& row) = 0;
    virtual void WriteSourceCode(CompList& row) = 0;
    // Closes the lists and the preformatted block left open by earlier
    // paragraphs (before a component writes a block of its own).
    virtual void CloseOpenBlocks() = 0;
    // Makes room for the paragraph of this row, of the style kind, that
    // holds one object written in its own form: an item of a list starts its
    // item (with the paragraph's number), which the object stands in; any
    // other paragraph closes the open blocks.
    virtual void StartObject(CompList& row, int styleKind) = 0;
    // A "math" element of the MathML namespace holding the row as one
    // expression (a plot's function line, a grid cell).
    virtual void WriteMathBlock(CompList& row) = 0;
};

// A component that stands alone in a paragraph with an XHTML form of its own
// (pictures and plots; drawings write a "p" element of class "eqn" holding
// their SVG). The writer handed in is the export's XML writer, which also
// offers the element primitives of MathMLOutput.
class XhtmlForm {
public:
    virtual ~XhtmlForm() = default;
    virtual void WriteXhtml(XMLWriter& writer) = 0;
};
