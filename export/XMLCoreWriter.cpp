#include "export/XMLCoreWriter.h"

#include "foundation/ByteStream.h"
#include "foundation/Str255.h"
#include "kernel/MathLinkCharConv.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kIndentStep = "  ";

} // namespace

XMLCoreWriter::~XMLCoreWriter()
{
    Flush();
}

void XMLCoreWriter::Put(const char* bytes, std::size_t count)
{
    while (count > 0) {
        if (m_fill == kBufferSize)
            Flush();
        std::size_t room = std::size_t(kBufferSize - m_fill);
        std::size_t n = count < room ? count : room;
        std::memcpy(m_buffer + m_fill, bytes, n);
        m_fill += int(n);
        bytes += n;
        count -= n;
    }
}

void XMLCoreWriter::Flush()
{
    if (m_fill > 0)
        m_stream.Write(m_buffer, m_fill);
    m_fill = 0;
    m_stream.Flush();
}

void XMLCoreWriter::WriteString(const char* text)
{
    if (text)
        Put(text, std::strlen(text));
}

void XMLCoreWriter::Indent()
{
    if (int(m_indent.size()) < kMaxIndent)
        m_indent += kIndentStep;
}

void XMLCoreWriter::Outdent()
{
    if (m_indent.size() > 1)
        m_indent.resize(m_indent.size() - 2);
}

void XMLCoreWriter::StartElement(const char* name, bool indent)
{
    if (indent) {
        WriteIndent();
        Indent();
    }
    WriteString("<");
    WriteString(name);
    m_pendingEnd = ">";
}

void XMLCoreWriter::StartEmptyElement(const char* name)
{
    WriteIndent();
    WriteString("<");
    WriteString(name);
    m_pendingEnd = " />";
}

void XMLCoreWriter::EndPendingTag(bool newline)
{
    WriteString(m_pendingEnd);
    m_pendingEnd = "";
    if (newline)
        NewLine();
}

void XMLCoreWriter::WriteStartTag(const char* name, bool indent)
{
    if (indent)
        WriteIndent();
    WriteString("<");
    WriteString(name);
    WriteString(">");
    if (indent) {
        Indent();
        NewLine();
    }
}

void XMLCoreWriter::EndElement(const char* name, bool indent)
{
    if (indent) {
        Outdent();
        WriteIndent();
    }
    WriteString("</");
    WriteString(name);
    WriteString(">");
    if (indent)
        NewLine();
}

void XMLCoreWriter::WriteAttribute(const char* name, const char* value)
{
    WriteString(" ");
    WriteString(name);
    WriteString("=\"");
    WriteString(value);
    WriteString("\"");
}

void XMLCoreWriter::WriteIntAttribute(const char* name, int32_t value)
{
    WriteAttribute(name, std::to_string(value).c_str());
}

void XMLCoreWriter::WriteTextElement(const char* name, const char* text)
{
    WriteIndent();
    WriteStartTag(name, false);
    WriteString(text);
    EndElement(name, false);
    NewLine();
}

void XMLCoreWriter::WriteLong(int32_t value)
{
    WriteString(std::to_string(value).c_str());
}

void XMLCoreWriter::WriteDouble(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    WriteString(text);
}

void XMLCoreWriter::WriteIntegerElement(const char* name, int32_t value)
{
    WriteTextElement(name, std::to_string(value).c_str());
}

void XMLCoreWriter::WriteRealElement(const char* name, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    WriteTextElement(name, text);
}

void XMLCoreWriter::WriteEntity(const char* name)
{
    WriteString("&");
    WriteString(name);
    WriteString(";");
}

void XMLCoreWriter::StartFencedWith(const char* open, const char* close)
{
    StartElement("mfenced", true);
    WriteAttribute("open", open);
    WriteAttribute("close", close);
    EndPendingTag(true);
}

void XMLCoreWriter::EndFenced()
{
    EndElement("mfenced", true);
}

void XMLCoreWriter::WriteEscapedChar(uint16_t code)
{
    switch (code) {
    case '"':
        WriteString("&quot;");
        return;
    case '&':
        WriteString("&amp;");
        return;
    case '<':
        WriteString("&lt;");
        return;
    case '>':
        WriteString("&gt;");
        return;
    default:
        break;
    }
    if (code < 32 && code != 9 && code != 10 && code != 13) {
        // Control characters have no place in XML text.
        WriteString("&#65533;");
        return;
    }
    if (code < 128) {
        char c = char(code);
        Put(&c, 1);
        return;
    }
    WriteString(("&#" + std::to_string(code) + ";").c_str());
}

void XMLCoreWriter::WriteEscapedText(const Str255& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
        WriteEscapedChar(MathLinkCharConv::CharToUnicodeA(uint8_t(*text.GetPtrAt(i))));
}

void XMLCoreWriter::WriteEscapedCString(const char* text)
{
    for (const char* p = text; p && *p; ++p)
        WriteEscapedChar(MathLinkCharConv::CharToUnicodeB(uint8_t(*p)));
}
