#pragma once
// A run of letters (character-table kind 0). While a line is assembled a
// word absorbs the runs that follow it (letters, other characters and, for
// most styles, blanks), so that a line holds few items.
#include "foundation/CharacterLayout.h"

class WordLayout : public CharacterLayout {
public:
    using CharacterLayout::CharacterLayout;

    // A following word or other-character run, or a blank run, of the same
    // font whose length together with this run's stays below 31.
    bool CanMerge(const Layout& next) const override;
    void Merge(Layout& next) override;
    // Names of the kernel's table that are set upright (function names,
    // "lim", "or", "otherwise", "mod") take the upright face in mathematics.
    void Measure() override;
    bool AcceptsFollowing(const Layout& item) const override;
    void GetTag(TypeTag& out) const override { out = tag_word; }

    // Whether an entry of the kernel's name table is set in the upright face.
    static bool IsUprightName(int entry);

protected:
    bool AcceptsCode(unsigned char code) const override;
};
