#pragma once
// An absolute value ("AbsV"): the row between vertical bars. Around a
// matrix alone the bars make it a determinant, without the matrix's brackets.
#include "math/DelimiterComp.h"

class AbsValueComp : public DelimiterComp {
public:
    AbsValueComp() = default;
    explicit AbsValueComp(std::unique_ptr<CompArray> items);

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_AbsV; }
    void Draw() override;
    void WriteText(TextOutBuffer& out) const override;
    void WriteLaTeXLeft(LaTeXWriter& writer) override;
    void WriteLaTeXRight(LaTeXWriter& writer) override;
};
