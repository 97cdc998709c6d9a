#pragma once
// A bracket group ("brcG"): the row between square brackets.
#include "math/DelimiterComp.h"

class BracketComp : public DelimiterComp {
public:
    BracketComp() = default;
    explicit BracketComp(std::unique_ptr<CompArray> items) : DelimiterComp(std::move(items)) {}

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_brcG; }
    void Draw() override;
    void WriteText(TextOutBuffer& out) const override;
    void WriteLaTeXLeft(LaTeXWriter& writer) override;
    void WriteLaTeXRight(LaTeXWriter& writer) override;
};
