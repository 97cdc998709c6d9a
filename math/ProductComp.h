#pragma once
// The product: the big operator with the product sign.
#include "math/BigOperatorComp.h"

class ProductComp : public BigOperatorComp {
public:
    // The product sign of the mathematics face. Older versions named code
    // 184, which the face shows as a capital lambda; the code is not stored
    // in files, so drawing the product sign changes no document.
    static constexpr unsigned char kSignChar = 235;
    static constexpr int kSymbolIndex = 83;

    ProductComp() = default;
    ProductComp(std::unique_ptr<CompArray> upper, std::unique_ptr<CompArray> lower)
        : BigOperatorComp(std::move(upper), std::move(lower))
    {
    }

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Prod; }
    unsigned char GetSignChar() const override { return kSignChar; }
    int GetSymbolIndex() const override { return kSymbolIndex; }
    void WriteLaTeXCommand(LaTeXWriter& writer) const override;
};
