#include "export/XMLCoreWriter.h"

#include "foundation/ByteStream.h"
#include "foundation/Str255.h"
#include "kernel/MathLinkCharConv.h"
#include "platform/draw/TextCodec.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kIndentStep = "  ";

} // namespace

void XMLCoreWriter::Put(const char* bytes, std::size_t count)
{
    m_output.Put(bytes, count);
}

void XMLCoreWriter::Flush()
{
    m_output.Flush();
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
    WriteUtf8Text(value ? value : "");
    WriteString("\"");
}

void XMLCoreWriter::WriteTextAttribute(const char* name, const Str255& value)
{
    WriteString(" ");
    WriteString(name);
    WriteString("=\"");
    WriteEscapedText(value);
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

void XMLCoreWriter::WriteFence(const char* fence)
{
    WriteIndent();
    WriteString("<mo>");
    WriteUtf8Text(fence ? fence : "");
    WriteString("</mo>");
    NewLine();
}

void XMLCoreWriter::StartFencedWith(const char* open, const char* close)
{
    WriteStartTag("mrow", true);
    WriteFence(open);
    m_fences.emplace_back(close ? close : "");
}

void XMLCoreWriter::EndFenced()
{
    if (!m_fences.empty()) {
        WriteFence(m_fences.back().c_str());
        m_fences.pop_back();
    }
    EndElement("mrow", true);
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
    if ((code < 32 && code != 9 && code != 10 && code != 13) || code == 0xFFFE || code == 0xFFFF ||
        (code >= 0xD800 && code < 0xE000)) {
        // Control characters and non-characters have no place in XML text.
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

// Text is in the text faces' codes: a printable character is what those
// faces show. (The kernel's table goes through the stored character set,
// which keeps some of them, such as the superscript digits, in positions it
// reads as others; its reading of the control codes, signs of the stored
// set, is kept.)
void XMLCoreWriter::WriteEscapedText(const Str255& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        const auto code = uint8_t(*text.GetPtrAt(i));
        const char32_t shown = TextCodec::ToUnicode(code, ANSI_CHARSET);
        WriteEscapedChar(shown >= 32 ? uint16_t(shown) : MathLinkCharConv::CharToUnicodeA(code));
    }
}

void XMLCoreWriter::WriteUtf8Text(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = uint8_t(text[i]);
        int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t code = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
        bool good = extra >= 0 && i + std::size_t(extra) < text.size();
        for (int k = 1; good && k <= extra; ++k) {
            const auto next = uint8_t(text[i + std::size_t(k)]);
            good = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        // Over-long forms, surrogates and codes past Unicode are not text.
        static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (good && (code < kLeast[extra] || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF))
            good = false;
        if (!good) {
            WriteString("&#65533;");
            ++i;
            continue;
        }
        if (code < 0x10000)
            WriteEscapedChar(uint16_t(code));
        else
            WriteString(("&#" + std::to_string(code) + ";").c_str());
        i += std::size_t(extra) + 1;
    }
}

void XMLCoreWriter::WriteEscapedCString(const char* text)
{
    for (const char* p = text; p && *p; ++p)
        WriteEscapedChar(MathLinkCharConv::CharToUnicodeB(uint8_t(*p)));
}
