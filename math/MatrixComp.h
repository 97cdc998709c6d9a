#pragma once
// A matrix ("Matr"): a grid drawn between square brackets, except when it is
// the only content of an absolute value, where it shows as a determinant.
#include "math/GridComp.h"

class MatrixComp : public GridComp {
public:
    MatrixComp() { m_flag = 1; }
    MatrixComp(int columns, int rows) : GridComp(columns, rows) { m_flag = 1; }

    bool HasBrackets() const { return m_flag != 0; }
    // Recomputes the bracket flag from where the matrix stands.
    void UpdateBrackets();

    GridComp* MakeEmpty() const override { return new MatrixComp; }
    int GetMargin() const override;

    TextComp* Clone(LinkRemap& remap) override { return new MatrixComp(*this, remap); }
    void GetTag(TypeTag& out) const override { out = tag_Matr; }
    void SetOwner(CompList* owner) override;
    void Measure() override;
    void Draw() override;
    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;

private:
    MatrixComp(const MatrixComp& other, LinkRemap& remap) : GridComp(other, remap) {}
};
