#pragma once
// A subscript ("Subs"): a lowered script whose baseline drops by half the
// script's ascent; its box reaches up to the top of the em box of the row.
#include "math/ScriptComp.h"

class SubscriptComp : public ScriptComp {
public:
    SubscriptComp() = default;
    explicit SubscriptComp(std::unique_ptr<CompArray> items) : ScriptComp(std::move(items)) {}

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Subs; }

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;

    int GetScriptDrop() const { return m_scriptDrop; }

private:
    int m_scriptDrop = 0;
};
