#pragma once
// A parenthesis group ("parG"): the row between parentheses, stretched
// from pieces of the math face around a tall row. Kernel answers use it
// wherever they need parentheses.
#include "math/DelimiterComp.h"

class ParenComp : public DelimiterComp {
public:
    ParenComp() = default;
    explicit ParenComp(std::unique_ptr<CompArray> items) : DelimiterComp(std::move(items)) {}
    // Around one component.
    explicit ParenComp(TextComp* comp);

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_parG; }
    void Draw() override;
    void WriteText(TextOutBuffer& out) const override;
    void WriteLaTeXLeft(LaTeXWriter& writer) override;
    void WriteLaTeXRight(LaTeXWriter& writer) override;

private:
    void DrawFence(unsigned char c, const IntPoint& at);
};
