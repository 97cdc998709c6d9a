#pragma once
// The file form of a run of characters of one font ("chBk"): the archive
// writes runs of shared characters as blocks, and a row that reads a block
// expands it back into shared characters and deletes it. A block never stays
// in a document.
#include "foundation/Str255.h"
#include "foundation/TextComp.h"

#include <cstdint>

class FontFace;

class CharBlockComp : public TextComp {
public:
    CharBlockComp() = default;

    // Starts the block with one character: its font id, face and code.
    void Start(const TextComp& character);
    // Whether a component continues the block: a character of the block's
    // font, while the block holds fewer than 255 characters.
    bool CanAppend(const TextComp& comp) const;
    void AppendChar(unsigned char code) { m_text.AppendChar(static_cast<char>(code)); }
    int GetLength() const { return m_text.GetLength(); }
    // The shared character of the face for the i-th code (from 0).
    TextComp* GetCharAt(int i) const;
    int32_t GetBlockFontId() const { return m_fontId; }
    const Str255& GetText() const { return m_text; }

    void GetTag(TypeTag& out) const override { out = tag_chBk; }
    bool IsCharBlock() const override { return true; }
    // A new, empty block.
    TextComp* Clone(LinkRemap&) override { return new CharBlockComp; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

private:
    FontFace* m_face = nullptr;
    int32_t m_fontId = 0;
    Str255 m_text;
};
