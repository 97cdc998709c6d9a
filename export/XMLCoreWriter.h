#pragma once
// The indenting XML text writer's core: elements, attributes, text, entities
// and the fenced forms of MathML, written into a byte stream through a buffer
// of 1024 bytes. The document export adds the page frame and the paragraph
// styles on top of these primitives.
//
// What is still buffered reaches the stream only on Flush: destroying the
// writer writes nothing, so that a writer dropped by a failed write (a full
// disk) cannot fail a second time while the first failure is on its way.
#include "export/ExportOutput.h"
#include "kernel/MathMLOutput.h"

#include <cstdint>
#include <string>
#include <vector>

class ByteStream;

class XMLCoreWriter : public MathMLOutput {
public:
    static constexpr int kMaxIndent = 62;

    explicit XMLCoreWriter(ByteStream& stream) : m_output(stream) {}

    void WriteString(const char* text) override;
    void NewLine() override { WriteString("\n"); }
    void Indent() override;
    void Outdent() override;
    void WriteIndent() override { WriteString(m_indent.c_str()); }
    void StartElement(const char* name, bool indent) override;
    void StartEmptyElement(const char* name) override;
    void EndPendingTag(bool newline) override;
    void WriteStartTag(const char* name, bool indent) override;
    void EndElement(const char* name, bool indent) override;
    // The value is escaped: quotes, ampersands, angle brackets and control
    // characters never reach the markup; other bytes are read as UTF-8.
    void WriteAttribute(const char* name, const char* value) override;
    // An attribute whose value is text of the program's character set.
    void WriteTextAttribute(const char* name, const Str255& value);
    void WriteIntAttribute(const char* name, int32_t value) override;
    void WriteTextElement(const char* name, const char* text) override;
    void WriteIntegerElement(const char* name, int32_t value) override;
    void WriteRealElement(const char* name, double value) override;
    void WriteEntity(const char* name) override;
    // A fenced group is a row between two operators: "mrow", "mo" with the
    // opening fence, the content, "mo" with the closing fence, "/mrow".
    void StartFencedWith(const char* open, const char* close) override;
    void EndFenced() override;
    void WriteEscapedChar(uint16_t code) override;
    void WriteEscapedText(const Str255& text) override;
    void WriteEscapedCString(const char* text) override;
    // UTF-8 text (file names, titles), escaped; a byte that is not part of
    // well-formed UTF-8 becomes the replacement character.
    void WriteUtf8Text(const std::string& text);

    void WriteLong(int32_t value);
    void WriteDouble(double value);
    void Flush();

private:
    void Put(const char* bytes, std::size_t count);
    void WriteFence(const char* fence);

    // The close of the start tag still open (">" or " />"), or "".
    const char* m_pendingEnd = "";
    // The closing fences of the open fenced groups, innermost last.
    std::vector<std::string> m_fences;
    std::string m_indent;
    ExportOutput m_output;
};
