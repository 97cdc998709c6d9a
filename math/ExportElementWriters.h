#pragma once
// What the grids, pictures and links need from the export writers beyond the
// paragraph-level interfaces of the document foundation: element output for
// tables and pictures in HTML and XHTML, and the picture and document-link
// operations of the LaTeX writer. An export writer that offers them derives
// from the matching class here as well; a component handed a writer without
// them falls back to the plain form each class documents.
#include "platform/draw/EnhMetafile.h"

class CompList;
class Str255;
struct Rect;

class HtmlElementWriter {
public:
    virtual ~HtmlElementWriter() = default;
    // "<name", left open for attributes.
    virtual void OpenElement(const char* name) = 0;
    // name="value" inside the open start tag.
    virtual void AddAttribute(const char* name, const char* value) = 0;
    // ">" after the attributes.
    virtual void CloseStartTag() = 0;
    // "</name>".
    virtual void WriteEndTag(const char* name) = 0;
    // The HTML form of a row's components (a grid cell).
    virtual void WriteRowHtml(CompList& row) = 0;
    // Renders the picture into a numbered picture file and writes an "img" element for it.
    virtual void WriteEquationImage(HENHMETAFILE picture, const Rect& rect) = 0;
};

class XhtmlElementWriter {
public:
    virtual ~XhtmlElementWriter() = default;
    // The indentation and "<name", left open for attributes.
    virtual void StartElement(const char* name, bool indent) = 0;
    virtual void WriteAttribute(const char* name, const char* value) = 0;
    // ">" and, when asked, a line end.
    virtual void EndPendingTag(bool newline) = 0;
    virtual void EndElement(const char* name, bool indent) = 0;
    virtual void WriteEquationImage(HENHMETAFILE picture, const Rect& rect) = 0;
};

class LaTeXObjectWriter {
public:
    virtual ~LaTeXObjectWriter() = default;
    // Stores the picture as a file and includes it at the size in points.
    virtual void WritePicture(int widthPoints, int heightPoints, HENHMETAFILE picture) = 0;
    // A link to another document or address with its display text.
    virtual void WriteDocLink(const Str255& url, const Str255& text) = 0;
    // A reference to a labelled paragraph: its label name and the text the
    // reference shows.
    virtual void WriteReference(const Str255& labelName, const Str255& shownText) = 0;
};
