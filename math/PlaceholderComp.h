#pragma once
// A placeholder ("Miss"): a crossed box two em boxes wide standing for
// something missing. Every placeholder equals every other.
#include "foundation/BoxComp.h"

class PlaceholderComp : public BoxComp {
public:
    PlaceholderComp() = default;

    TextComp* Clone(LinkRemap&) override { return new PlaceholderComp; }
    void GetTag(TypeTag& out) const override { out = tag_Miss; }
    bool IsEqual(const TextComp& other) const override { return other.Tag() == tag_Miss; }

    void Measure() override;
    void Draw() override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
};
