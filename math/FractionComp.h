#pragma once
// A fraction ("Frac"): a numerator over a denominator. In an equation
// paragraph it is built up, the numerator above a rule on the math axis and
// the denominator below; anywhere else it is written inline, numerator,
// slash and denominator on one baseline. Both rows share the fraction's size
// step.
#include "foundation/StructComp.h"

class FractionComp : public StructComp {
public:
    FractionComp();
    FractionComp(std::unique_ptr<CompArray> numerator, std::unique_ptr<CompArray> denominator);
    ~FractionComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Frac; }

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    void Draw() override;

    // 1 the numerator; any other index the denominator.
    CompList* GetChild(int i) const override { return i == 1 ? m_first : m_denominator; }
    int GetChildCount() const override { return 2; }
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override;
    CompList* GetListDown(CompList* from) override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    bool AcceptsSelection() const override { return true; }

    CompList* Numerator() const { return m_first; }
    CompList* Denominator() const { return m_denominator; }
    bool IsBuiltUp() const { return m_builtUp; }
    int GetAxis() const { return m_axis; }
    int GetSlashWidth() const { return m_slashWidth; }

private:
    void MeasureBuiltUp(const Rect& n, const Rect& d);
    void MeasureInline(const Rect& n, const Rect& d);
    // Whether the fraction stands in an equation paragraph.
    bool InEquation() const;

    CompList* m_denominator;
    int m_slashWidth = 0;
    int m_axis = 0;
    // Caches of the last Measure: the form and the size unit.
    bool m_builtUp = false;
    int m_unit = 0;
};
