#include "foundation/TextOutBuffer.h"

#include "platform/draw/TextCodec.h"

#include <QString>

void TextOutBuffer::WriteString(const char* text)
{
    if (!text)
        return;
    while (*text)
        WriteChar(*text++);
}

void TextOutBuffer::WriteChar(char c)
{
    if (m_count == kCapacity)
        Flush();
    m_buffer[m_count++] = c;
}

void TextOutBuffer::Flush()
{
    if (m_count > 0)
        m_stream->Write(m_buffer, m_count);
    m_count = 0;
}

void TextOutBuffer::WriteCode(unsigned char code, int fontId)
{
    if (m_form == kProgramCodes || code < 0x7F) {
        WriteChar(static_cast<char>(code));
        return;
    }
    const char32_t ch = TextCodec::ToUnicode(code, TextCodec::CharSetOfFontId(fontId));
    if (ch == TextCodec::kNoCharacter)
        return;
    for (char c : QString::fromUcs4(&ch, 1).toUtf8())
        WriteChar(c);
}
