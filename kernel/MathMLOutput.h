#pragma once
// The element, attribute, text and entity primitives through which expression
// nodes write MathML. The XML writer of the export (export/XMLCoreWriter)
// implements them; the words "open", "close" and "tag" are its own.
#include <cstdint>

class Str255;

class MathMLOutput {
public:
    virtual ~MathMLOutput() = default;

    virtual void WriteString(const char* text) = 0;
    virtual void NewLine() = 0;
    virtual void Indent() = 0;
    virtual void Outdent() = 0;
    virtual void WriteIndent() = 0;
    virtual void StartElement(const char* name, bool indent) = 0;
    virtual void StartEmptyElement(const char* name) = 0;
    virtual void EndPendingTag(bool newline) = 0;
    virtual void WriteStartTag(const char* name, bool indent) = 0;
    virtual void EndElement(const char* name, bool indent) = 0;
    virtual void WriteAttribute(const char* name, const char* value) = 0;
    virtual void WriteIntAttribute(const char* name, int32_t value) = 0;
    // The indent, the start tag, the text as it is, the end tag, a line feed.
    virtual void WriteTextElement(const char* name, const char* text) = 0;
    virtual void WriteIntegerElement(const char* name, int32_t value) = 0;
    virtual void WriteRealElement(const char* name, double value) = 0;
    virtual void WriteEntity(const char* name) = 0;
    virtual void StartFencedWith(const char* open, const char* close) = 0;
    virtual void EndFenced() = 0;
    virtual void WriteEscapedChar(uint16_t code) = 0;
    virtual void WriteEscapedText(const Str255& text) = 0;
    virtual void WriteEscapedCString(const char* text) = 0;

    // Open and close with indentation, as most elements are written.
    void Open(const char* name) { WriteStartTag(name, true); }
    void Close(const char* name) { EndElement(name, true); }
};
