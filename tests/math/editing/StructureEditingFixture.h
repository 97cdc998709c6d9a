#pragma once
// A document holding every kind of structure, laid out with the real item
// measures, shown in a view stand-in with an undo step, and a key press
// stand-in that maps a character through the selection and runs the caret
// command the edit code names, as the document view does.
#include "support/math/MathTestSupport.h"

#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/DocSelection.h"
#include "foundation/ParagraphList.h"
#include "math/EquationSetComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/MatrixComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/RadicalComp.h"
#include "math/SplitDefinitionComp.h"

#include <ostream>
#include <string>
#include <vector>

class StructureView : public ActionView {
public:
    explicit StructureView(ParagraphList& list) : paragraphs(list) {}
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool) override { selection = s; }
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int paragraph, int index) override { paragraphs.UpdateLayoutFrom(paragraph, index); }
    void SetDocumentModified() override {}
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection& s) override { selection = s; }
    ParagraphList* GetParagraphList() const override { return &paragraphs; }

    ParagraphList& paragraphs;
    DocSelection selection;
};

// "a" [fraction 1/2] [exponent 2] [radical of x] [2 x 2 matrix p q / r s]
// [equation set of 2 lines u, v] [split definition of 2 rows] [∂f/∂x ∂y]
// "b" | "end"
class StructureEditingTest : public MathTest {
protected:
    StructureEditingTest();
    ~StructureEditingTest() override;

    CompList* Row(int paragraph) const { return list.GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    static DocSelection Caret(const DocPosition& place) { return DocSelection(place, place); }
    DocSelection Caret(int paragraph, int index) const { return Caret(At(paragraph, index)); }
    DocPosition Cell(int column, int row, int index) const { return DocPosition(matrix->GetCell(column, row), index); }

    // Maps the key through the view's selection and runs the caret command
    // of the code; answers the code.
    int Press(char key, bool shift = false, bool ctrl = false);
    DocSelection Now() const { return view.selection; }
    void Select(const DocSelection& selection) { view.selection = selection; }

    ParagraphList list;
    StructureView view{list};
    ActionHost host{view};
    FractionComp* fraction;
    ExponentComp* exponent;
    RadicalComp* radical;
    MatrixComp* matrix;
    EquationSetComp* equations;
    SplitDefinitionComp* split;
    PartialDerivativeComp* partial;
    std::vector<int> unhandled;
};

std::string Describe(const DocPosition& position);
void PrintTo(const DocPosition& position, std::ostream* out);
void PrintTo(const DocSelection& selection, std::ostream* out);
bool operator==(const DocSelection& a, const DocSelection& b);
