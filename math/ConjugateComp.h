#pragma once
// A complex conjugate ("Over"): a bar over the row, two size units above
// its top.
#include "math/OverComp.h"

class ConjugateComp : public OverComp {
public:
    ConjugateComp() = default;
    explicit ConjugateComp(std::unique_ptr<CompArray> items) : OverComp(std::move(items)) {}

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Over; }

    void Measure() override;
    void Draw() override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;

    int GetBarOffset() const { return m_barOffset; }

private:
    int m_barOffset = 0;
};
