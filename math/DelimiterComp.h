#pragma once
// The common base of the fences around one row: absolute-value bars,
// square brackets and parentheses. A fence is as wide as a "(" of the
// current size on each side; around a row taller than one and a half lines
// it is narrower (410/1024 of the font size) and parentheses stretch.
#include "foundation/StructComp.h"

#include <cstdint>

class DelimiterComp : public StructComp {
public:
    void Measure() override;
    void SetOrigin(const IntPoint& point) override;

    // The left fence's LaTeX, the content plain, the right fence's LaTeX.
    void WriteLaTeX(LaTeXWriter& writer) override;
    virtual void WriteLaTeXLeft(LaTeXWriter& writer) = 0;
    virtual void WriteLaTeXRight(LaTeXWriter& writer) = 0;

    bool AcceptsSelection() const override { return true; }
    bool IsEnclosure() const override { return true; }

    CompList* Content() const { return m_first; }
    int GetDelimiterWidth() const { return m_delimiterWidth; }
    bool IsTall() const { return m_tall != 0; }

protected:
    DelimiterComp() = default;
    explicit DelimiterComp(std::unique_ptr<CompArray> items) : StructComp(std::move(items)) {}

    // Draws the content row (the fences draw around it).
    void DrawContent() { m_first->Draw(); }

    int m_delimiterWidth = 0;
    uint8_t m_tall = 0;
};
