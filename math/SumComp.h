#pragma once
// The summation: the big operator with the sum sign.
#include "math/BigOperatorComp.h"

class SumComp : public BigOperatorComp {
public:
    static constexpr unsigned char kSignChar = 190;
    static constexpr int kSymbolIndex = 95;

    SumComp() = default;
    SumComp(std::unique_ptr<CompArray> upper, std::unique_ptr<CompArray> lower)
        : BigOperatorComp(std::move(upper), std::move(lower))
    {
    }

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Sum; }
    unsigned char GetSignChar() const override { return kSignChar; }
    int GetSymbolIndex() const override { return kSymbolIndex; }
    void WriteLaTeXCommand(LaTeXWriter& writer) const override;
};
