#pragma once
// A run of characters that are neither letters nor blanks (character-table
// kinds 2 and 3: digits, signs, relations).
#include "foundation/CharacterLayout.h"

class NonAlphaLayout : public CharacterLayout {
public:
    using CharacterLayout::CharacterLayout;

    void GetTag(TypeTag& out) const override { out = tag_nonA; }

protected:
    bool AcceptsCode(unsigned char code) const override;
};
