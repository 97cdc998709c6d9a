#pragma once
// The look and text forms of a placeholder ("Miss"): a crossed box two em
// boxes wide standing for something missing. Every placeholder equals every
// other. The placeholder component and the stand-in for an unreadable record
// both show it.
#include "foundation/BoxComp.h"

class PlaceholderBox : public BoxComp {
public:
    void GetTag(TypeTag& out) const override { out = tag_Miss; }
    bool IsEqual(const TextComp& other) const override { return other.Tag() == tag_Miss; }

    void Measure() override;
    void Draw() override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;

protected:
    PlaceholderBox() = default;
    PlaceholderBox(const PlaceholderBox& other) = default;
};
