#pragma once
// A fraction ("Frac"): a numerator over a denominator. In an equation
// paragraph it is built up, the numerator above a rule on the math axis and
// the denominator below; anywhere else it is written inline, numerator,
// slash and denominator on one baseline, each row in parentheses where the
// slash would otherwise bind less of it (1/(x+1), (a+b)/c), as the linear
// text writes it. A script right after the fraction raises or indexes the
// whole quotient, so the inline form, its LaTeX and the linear text then
// bracket the whole fraction: (2/3)² is not 2/3². Both rows share the
// fraction's size step.
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
    // Also when a script has come or gone beside the inline form since the
    // last Measure: its brackets then change.
    bool IsDirty() const override;

    CompList* Numerator() const { return m_first; }
    CompList* Denominator() const { return m_denominator; }
    bool IsBuiltUp() const { return m_builtUp; }
    int GetAxis() const { return m_axis; }
    int GetSlashWidth() const { return m_slashWidth; }
    // Whether the inline form shows the row in parentheses.
    bool IsNumeratorFenced() const { return m_fenceNumerator; }
    bool IsDenominatorFenced() const { return m_fenceDenominator; }
    bool IsWholeFenced() const { return m_fenceWhole; }
    // Whether an exponent or a subscript follows the fraction in its row.
    bool IsScripted() const;
    // Whether the fraction is written inline (it stands in no equation paragraph).
    bool IsInline() const { return !InEquation(); }

private:
    void MeasureBuiltUp(const Rect& n, const Rect& d);
    void MeasureInline(const Rect& n, const Rect& d);
    // The inline form's widths of what stands before and after each row.
    int OpenWidth(bool fenced) const { return fenced ? m_openWidth : 0; }
    int CloseWidth(bool fenced) const { return fenced ? m_closeWidth : 0; }
    // Where the inline form's numerator ends and its denominator's part begins
    // (after the whole fraction's opening bracket, when it has one).
    int InlineNumeratorRight() const;
    int InlineDenominatorLeft() const;
    // Draws "(" and ")" at two points of the baseline, in the current face.
    static void DrawFence(const IntPoint& open, const IntPoint& close);
    // Whether the fraction stands in an equation paragraph.
    bool InEquation() const;

    CompList* m_denominator;
    int m_slashWidth = 0;
    int m_openWidth = 0;
    int m_closeWidth = 0;
    bool m_fenceNumerator = false;
    bool m_fenceDenominator = false;
    bool m_fenceWhole = false;
    int m_axis = 0;
    // Caches of the last Measure: the form and the size unit.
    bool m_builtUp = false;
    int m_unit = 0;
};
