#pragma once
// The common part of the exponent and the subscript: one script row two
// size levels smaller than the component, entered from any side and left by
// any move out of it. A script stands in a row right after what it belongs to.
#include "foundation/StructComp.h"

class ScriptComp : public StructComp {
public:
    void SetSizeStep(signed char step) override;
    CompList* Script() const { return m_first; }
    void Draw() override { m_first->Draw(); }

protected:
    ScriptComp() = default;
    explicit ScriptComp(std::unique_ptr<CompArray> items) : StructComp(std::move(items)) {}

    // Lays the script out and answers its rectangle.
    const Rect& LayOutScript();
};
