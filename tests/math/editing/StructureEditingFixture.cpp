#include "StructureEditingFixture.h"

#include "foundation/ArrowKeyActions.h"
#include "foundation/DerivativeActions.h"
#include "foundation/FieldActions.h"
#include "foundation/GridLineActions.h"
#include "math/GridAndObjectComponents.h"

#include <cstdio>

namespace {

void Fill(CompList* cell, std::unique_ptr<CompArray> items)
{
    cell->InsertAllAt(std::move(items), 1);
}

} // namespace

StructureEditingTest::StructureEditingTest()
{
    RegisterGridAndObjectComponents();
    fraction = new FractionComp(Chars("1"), Chars("2"));
    exponent = new ExponentComp(Chars("2"));
    radical = new RadicalComp(Chars("x"), nullptr);
    matrix = new MatrixComp(2, 2);
    Fill(matrix->GetCell(1, 1), Chars("p"));
    Fill(matrix->GetCell(2, 1), Chars("q"));
    Fill(matrix->GetCell(1, 2), Chars("r"));
    Fill(matrix->GetCell(2, 2), Chars("s"));
    equations = new EquationSetComp(2);
    Fill(equations->GetCell(1, 1), Chars("u"));
    Fill(equations->GetCell(1, 2), Chars("v"));
    split = new SplitDefinitionComp(2);
    Fill(split->GetCell(1, 1), Chars("1"));
    Fill(split->GetCell(2, 1), Chars("c"));
    partial = new PartialDerivativeComp(Chars("f"), new PartialDifferentialComp(Chars("x"), nullptr));
    partial->InsertVariable(2, new PartialDifferentialComp(Chars("y"), nullptr));
    auto top = Chars("a");
    for (TextComp* comp : std::vector<TextComp*>{fraction, exponent, radical, matrix, equations, split, partial})
        top->Append(comp);
    top->Append(Chars("b")->GetAt(1));
    list.Append(new ParagraphComp(std::move(top), 5));
    list.Append(new ParagraphComp(Chars("end"), 3));
    list.UpdateLayout();
}

StructureEditingTest::~StructureEditingTest()
{
    list.DeleteAll();
}

int StructureEditingTest::Press(char key, bool shift, bool ctrl)
{
    const DocSelection s = view.selection;
    const int code = s.MapKey(key, shift, ctrl);
    TAction* action = nullptr;
    switch (code) {
    case 2805: action = new TPreviousFieldAction(view, s); break;
    case 2806: action = new TNextFieldAction(view, s); break;
    case 2807: action = new TSelectPreviousAction(view, s); break;
    case 2902: action = new TNextGridLineAction(view, s, shift); break;
    case 2903: action = new TPreviousGridLineAction(view, s, shift); break;
    case 2904: action = new TLeaveAfterAction(view, s); break;
    case 2905: action = new TLeaveBeforeAction(view, s); break;
    case 2906: action = new TNextRowCellAction(view, s); break;
    case 2907: action = new TNextCellAction(view, s); break;
    case 2908: action = new TCellToColumnLineAction(view, s); break;
    case 2909: action = new TCellToRowLineAction(view, s); break;
    case 1301: action = new TDerivVarSlotAction(view, s); break;
    case 1302: action = new TDerivNextVarAction(view, s); break;
    default: unhandled.push_back(code); break;
    }
    if (action)
        host.Perform(action);
    return code;
}

std::string Describe(const DocPosition& position)
{
    static const char* const kinds[] = {"none", "list", "line", "slot", "object"};
    std::string text = kinds[std::clamp(position.GetKind(), 0, 4)];
    text += "@" + std::to_string(position.GetIndex());
    if (position.GetKind() == DocPosition::kGridLine)
        text += position.GetFlag() ? "c" : "r";
    char address[32];
    std::snprintf(address, sizeof address, "/%p",
                  position.GetKind() == DocPosition::kListPlace ? static_cast<void*>(position.GetList())
                                                                : static_cast<void*>(position.GetObject()));
    return text + address;
}

void PrintTo(const DocPosition& position, std::ostream* out)
{
    *out << Describe(position);
}

void PrintTo(const DocSelection& selection, std::ostream* out)
{
    *out << "[" << Describe(selection.GetStart()) << " .. " << Describe(selection.GetEnd()) << "]";
}

bool operator==(const DocSelection& a, const DocSelection& b)
{
    return a.GetStart() == b.GetStart() && a.GetEnd() == b.GetEnd();
}
