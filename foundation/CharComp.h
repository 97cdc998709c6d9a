#pragma once
// A shared character: one object per character code and font face, owned by
// the face (see FontFace). Every occurrence of the character in any document
// is the same object, so it carries only its code and font id; deleting a row
// never deletes it and cloning answers the character itself.
#include "foundation/TextComp.h"

#include <cstdint>

class CharComp : public TextComp {
public:
    CharComp(unsigned char code, int32_t fontId) : m_code(code), m_fontId(fontId) {}

    void Delete() override {}
    TextComp* Clone(LinkRemap&) override { return this; }
    TextComp* ComponentAt(const IntPoint&) override { return this; }
    void GetTag(TypeTag& out) const override { out = tag_Char; }
    unsigned char GetChar() const override { return m_code; }
    void WriteText(TextOutBuffer& out) const override;
    int GetFontId() const override { return m_fontId; }

private:
    unsigned char m_code;
    int32_t m_fontId;
};
