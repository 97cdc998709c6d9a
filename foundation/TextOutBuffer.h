#pragma once
// Gathers text output in a 1024-byte buffer in front of a stream. Lines end
// with a carriage return alone. The owner calls Flush at the end; the
// destructor does not. Characters of the document are written in one of two
// forms: the program's 8-bit codes (for its own dialogs) or UTF-8 (for other
// programs), where each code becomes the character its face shows.
#include "foundation/ByteStream.h"

class TextOutBuffer {
public:
    static constexpr int kCapacity = 1024;

    enum Form { kProgramCodes, kUtf8 };

    explicit TextOutBuffer(ByteStream* stream, Form form = kProgramCodes) : m_stream(stream), m_form(form) {}

    // ASCII text and characters.
    void WriteString(const char* text);
    void WriteChar(char c);
    // A character of the document: its code in the face of a font id.
    void WriteCode(unsigned char code, int fontId);
    void EndLine() { WriteChar('\r'); }
    void Flush();

    // Whether structures write the limits and bounds they show as well (the
    // text that stands for a picture of a formula); the clipboard's linear
    // text leaves them out.
    void ShowLimits(bool show) { m_showLimits = show; }
    bool ShowsLimits() const { return m_showLimits; }

private:
    ByteStream* m_stream;
    Form m_form;
    bool m_showLimits = false;
    char m_buffer[kCapacity];
    int m_count = 0;
};
