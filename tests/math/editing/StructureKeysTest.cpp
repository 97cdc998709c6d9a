// Keys in and on every structure: edit codes, where the caret commands leave
// the selection, and their undo; the caret walked through every structure.
#include "support/math/MathTestSupport.h"

#include "foundation/ActionHost.h"
#include "foundation/ArrowKeyActions.h"
#include "foundation/DerivativeActions.h"
#include "foundation/FieldActions.h"
#include "foundation/GridLineActions.h"
#include "foundation/ParagraphList.h"
#include "math/EquationSetComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/MatrixComp.h"
#include "math/PartialDerivativeComp.h"
#include "math/RadicalComp.h"
#include "math/SplitDefinitionComp.h"

#include <set>
#include <sstream>

static std::string Describe(const DocPosition& p)
{
    std::ostringstream out;
    out << "kind " << p.GetKind() << " @" << p.GetIndex() << (p.GetFlag() ? " column" : "") << " in "
        << (p.GetKind() == DocPosition::kListPlace ? static_cast<const void*>(p.GetList()) : p.GetObject());
    return out.str();
}
static void PrintTo(const DocPosition& p, std::ostream* out) { *out << Describe(p); }
static void PrintTo(const DocSelection& s, std::ostream* out) { *out << Describe(s.GetStart()) << ".." << Describe(s.GetEnd()); }
static bool operator==(const DocSelection& a, const DocSelection& b)
{
    return a.GetStart() == b.GetStart() && a.GetEnd() == b.GetEnd();
}

namespace {

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

// "a" [1/2] [exponent 2] [radical x] [matrix p q / r s] [equations u, v]
// [split definition, 2 rows] [∂f/∂x ∂y] "b" | "end"
class StructureEditingTest : public MathTest {
public:
    StructureEditingTest()
    {
        partial->InsertVariable(2, new PartialDifferentialComp(Chars("y"), nullptr));
        auto top = Chars("a");
        for (TextComp* comp : Structures())
            top->Append(comp);
        top->Append(Chars("b")->GetAt(1));
        list.Append(new ParagraphComp(std::move(top), 5));
        list.Append(new ParagraphComp(Chars("end"), 3));
        list.UpdateLayout();
    }
    ~StructureEditingTest() override { list.DeleteAll(); }

    // One character a cell, row by row.
    template <class Grid> Grid* Fill(Grid* grid, const std::string& text)
    {
        for (size_t i = 0; i < text.size(); ++i)
            grid->GetCell(int(i) % grid->GetColumnCount() + 1, int(i) / grid->GetColumnCount() + 1)
                ->InsertAllAt(Chars(text.substr(i, 1)), 1);
        return grid;
    }
    std::vector<TextComp*> Structures() const { return {fraction, exponent, radical, matrix, equations, split, partial}; }

    CompList* Row(int paragraph) const { return list.GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    static DocSelection Caret(const DocPosition& place) { return DocSelection(place, place); }
    DocSelection Caret(int paragraph, int index) const { return Caret(At(paragraph, index)); }
    DocPosition Cell(int column, int row, int index) const { return DocPosition(matrix->GetCell(column, row), index); }
    DocSelection Select(const DocSelection& selection) { return view.selection = selection; }
    DocSelection Now() const { return view.selection; }

    // Answers the edit code (0 for an arrow key).
    int Press(int key, bool shift = false, bool ctrl = false)
    {
        const DocSelection s = view.selection;
        if (key >= TArrowKeyAction::kLeft && key <= TArrowKeyAction::kDown) {
            host.Perform(new TArrowKeyAction(view, s, key, shift, ctrl));
            return 0;
        }
        const int code = s.MapKey(char(key), shift, ctrl);
        TAction* action = nullptr;
        switch (code) {
        case 2805: action = new TPreviousFieldAction(view, s); break;
        case 2806: action = new TNextFieldAction(view, s); break;
        case 2807: action = new TSelectPreviousAction(view, s); break;
        case 2902: action = new TNextGridLineAction(view, s, shift); break;
        case 2904: action = new TLeaveAfterAction(view, s); break;
        case 2905: action = new TLeaveBeforeAction(view, s); break;
        case 2906: action = new TNextRowCellAction(view, s); break;
        case 2907: action = new TNextCellAction(view, s); break;
        case 2908: action = new TCellToColumnLineAction(view, s); break;
        case 2909: action = new TCellToRowLineAction(view, s); break;
        case 1301: action = new TDerivVarSlotAction(view, s); break;
        case 1302: action = new TDerivNextVarAction(view, s); break;
        }
        if (action)
            host.Perform(action);
        return code;
    }

    ParagraphList list;
    StructureView view{list};
    ActionHost host{view};
    FractionComp* fraction = new FractionComp(Chars("1"), Chars("2"));
    ExponentComp* exponent = new ExponentComp(Chars("2"));
    RadicalComp* radical = new RadicalComp(Chars("x"), nullptr);
    MatrixComp* matrix = Fill(new MatrixComp(2, 2), "pqrs");
    EquationSetComp* equations = Fill(new EquationSetComp(2), "uv");
    SplitDefinitionComp* split = Fill(new SplitDefinitionComp(2), "1c");
    PartialDerivativeComp* partial = new PartialDerivativeComp(Chars("f"), new PartialDifferentialComp(Chars("x"), {}));
};

constexpr int kShift = 0x100, kCtrl = 0x200, kLeft = TArrowKeyAction::kLeft, kUp = TArrowKeyAction::kUp,
              kRight = TArrowKeyAction::kRight, kDown = TArrowKeyAction::kDown;

// A key (with kShift, kCtrl) pressed on a selection: its edit code (0 for an
// arrow) and the selection after (when set).
struct KeyCase { const char* what; DocSelection from; int key, code; DocSelection after = {}; };

TEST_F(StructureEditingTest, KeysInAndOnEveryStructure)
{
    auto column = [&](int line) { return Caret(DocPosition(matrix, line, true)); };
    auto rowLine = [&](GridComp* grid, int line) { return Caret(DocPosition(grid, line, false)); };
    auto lines = [&](GridComp* grid, int first, int last, bool col) {
        return DocSelection(DocPosition(grid, first, col), DocPosition(grid, last, col));
    };
    auto all = [](CompList* row) { return DocSelection::SelectAll(row); };
    auto whole = [&](int c, int r) { return all(matrix->GetCell(c, r)); };
    TextComp* d = partial;
    auto slotRange = [&](int first, int last) { return DocSelection(DocPosition(d, first), DocPosition(d, last)); };
    auto slot = [&](int index) { return slotRange(index, index); };
    auto in = [&](CompList* row, int index) { return Caret(DocPosition(row, index)); };
    CompList* numerator = fraction->GetChild(1);
    CompList* firstVar = partial->GetChild(1);
    CompList* secondVar = partial->GetChild(3);
    const DocSelection cell = Caret(Cell(1, 2, 2));
    const std::vector<KeyCase> cases = {
        {"numerator start, backspace", in(numerator, 1), 8, 2805},
        {"numerator, ctrl+enter", in(numerator, 2), 13 | kCtrl, 2806},
        {"numerator, line feed: the paragraph's rule", in(numerator, 2), 10 | kCtrl, 2803},
        {"radicand, enter", in(radical->GetChild(1), 2), 13, 2806},
        {"top row, down", Caret(1, 1), kDown, 0, Caret(2, 1)},
        {"after a fraction, backspace", Caret(1, 3), 8, 2807, DocSelection(Row(1), 2, 3)},
        {"radical selected, backspace", DocSelection(Row(1), 4, 5), 8, 2808},
        {"fraction selected, backspace", DocSelection(Row(1), 2, 3), 8, 2801},
        {"numerator, down", in(numerator, 1), kDown, 0, in(fraction->GetChild(2), 1)},
        {"numerator, shift+down", in(numerator, 2), kDown | kShift, 0, DocSelection(Row(1), 2, 3)},
        {"cell, tab", Caret(Cell(1, 1, 2)), 9, 2907, whole(2, 1)},
        {"cell range, tab", whole(2, 1), 9, 2907, whole(1, 2)},
        {"last cell, tab", whole(2, 2), 9, 2907, Caret(1, 6)},
        {"cell, enter", Caret(Cell(1, 1, 1)), 13, 2906, whole(1, 2)},
        {"last row, enter", whole(1, 2), 13, 2906, whole(2, 1)},
        {"last cell, enter", whole(2, 2), 13, 2906, Caret(1, 6)},
        {"cell, line feed", Caret(Cell(1, 1, 2)), 10 | kCtrl, 2803},
        {"cell, shift+tab", cell, 9 | kShift, 2908, column(2)},
        {"cell, shift+enter", Caret(Cell(2, 1, 1)), 13 | kShift, 2909, rowLine(matrix, 2)},
        {"cell start, backspace", Caret(Cell(1, 2, 1)), 8, 2805},
        {"cell, letter", cell, 'k', 3001},
        {"cell, up", cell, kUp, 0, Caret(Cell(1, 1, 2))},
        {"first row, up", Caret(Cell(1, 1, 2)), kUp, 0, Caret(1, 5)},
        {"cell, down", Caret(Cell(2, 1, 1)), kDown, 0, Caret(Cell(2, 2, 1))},
        {"last row, down", Caret(Cell(2, 2, 1)), kDown, 0, Caret(1, 6)},
        {"cell, shift+right", Caret(Cell(1, 1, 2)), kRight | kShift, 0, DocSelection(Cell(1, 1, 2), Cell(2, 1, 1))},
        {"column line, tab", column(2), 9, 2902, column(3)},
        {"last column line, tab", column(3), 9, 2902, column(3)},
        {"column line, ctrl+tab", column(3), 9 | kCtrl, 3004},
        {"column line, enter", column(2), 13, 2000},
        {"column line, letter", column(2), 'k', 2000},
        {"column line, backspace", column(2), 8, 2807, lines(matrix, 1, 2, true)},
        {"first column line, backspace", column(1), 8, 2905, Caret(1, 5)},
        {"column line, shift+tab", column(1), 9 | kShift, 2902, lines(matrix, 1, 2, true)},
        {"columns, shift+tab", lines(matrix, 1, 2, true), 9 | kShift, 2902, lines(matrix, 1, 3, true)},
        {"all columns, shift+tab", lines(matrix, 1, 3, true), 9 | kShift, 2904, Caret(1, 6)},
        {"columns to the last, tab", lines(matrix, 2, 3, true), 9, 2904},
        {"columns, backspace", lines(matrix, 1, 2, true), 8, 2801},
        {"column line, right", column(1), kRight, 0, column(2)},
        {"last column line, right", column(3), kRight, 0, Caret(1, 6)},
        {"column line, left", column(1), kLeft, 0, Caret(1, 5)},
        {"column line, down", column(2), kDown, 0, Caret(1, 6)},
        {"row line, tab", rowLine(matrix, 2), 9, 2000},
        {"row line, enter", rowLine(matrix, 2), 13, 2902, rowLine(matrix, 3)},
        {"row line, ctrl+enter", rowLine(matrix, 2), 13 | kCtrl, 3005},
        {"row line, line feed", rowLine(matrix, 2), 10 | kCtrl, 3005},
        {"first row line, backspace", rowLine(matrix, 1), 8, 2905, Caret(1, 5)},
        {"row line, right", rowLine(matrix, 2), kRight, 0, rowLine(matrix, 2)},
        {"row line, down", rowLine(matrix, 2), kDown, 0, rowLine(matrix, 3)},
        {"last row line, down", rowLine(matrix, 3), kDown, 0, Caret(1, 6)},
        {"first row line, up", rowLine(matrix, 1), kUp, 0, Caret(1, 5)},
        {"rows, tab", lines(matrix, 1, 2, false), 9, 2000},
        {"rows, enter", lines(matrix, 1, 2, false), 13, 2902},
        {"rows to the last, enter", lines(matrix, 1, 3, false), 13, 2904},
        {"rows, line feed", lines(matrix, 1, 2, false), 10 | kCtrl, 3005},
        {"equation line, tab", in(equations->GetCell(1, 1), 2), 9, 2906, all(equations->GetCell(1, 2))},
        {"last equation line, enter", all(equations->GetCell(1, 2)), 13, 2906, Caret(1, 7)},
        {"equation line, shift+enter", in(equations->GetCell(1, 1), 2), 13 | kShift, 2909},
        {"equation line, line feed", in(equations->GetCell(1, 1), 2), 10 | kCtrl, 2803},
        {"equation row line, line feed", rowLine(equations, 3), 10 | kCtrl, 3005},
        {"equation row line, enter", rowLine(equations, 2), 13, 2902},
        {"equation row line, ctrl+enter", rowLine(equations, 2), 13 | kCtrl, 3005},
        {"split cell, tab", in(split->GetCell(1, 1), 1), 9, 2907, all(split->GetCell(2, 1))},
        {"split cell range, tab", all(split->GetCell(2, 1)), 9, 2907, all(split->GetCell(1, 2))},
        {"split cell, enter", in(split->GetCell(2, 1), 2), 13, 2906},
        {"split cell, shift+enter", in(split->GetCell(2, 1), 1), 13 | kShift, 2909, rowLine(split, 2)},
        {"split row line, enter", rowLine(split, 2), 13, 2902, rowLine(split, 3)},
        {"split row line, ctrl+enter", rowLine(split, 2), 13 | kCtrl, 3005},
        {"variable, tab", in(firstVar, 2), 9, 1302, all(secondVar)},
        {"last variable, tab", all(secondVar), 9, 1302, Caret(1, 9)},
        {"variable, ctrl+tab", in(firstVar, 2), 9 | kCtrl, 1301, slot(2)},
        {"operand, tab", in(partial->GetChild(5), 2), 9, 2806},
        {"slot, tab", slot(2), 9, 2902, slot(3)},
        {"last slot, tab", slot(3), 9, 2902, slot(3)},
        {"last slot, right", slot(3), kRight, 0, Caret(1, 9)},
        {"slot, ctrl+right", slot(2), kRight | kCtrl, 0, in(secondVar, 1)},
        {"slot, ctrl+left", slot(2), kLeft | kCtrl, 0, in(firstVar, firstVar->GetCount() + 1)},
        {"slot, backspace", slot(2), 8, 2807, slotRange(1, 2)},
        {"first slot, backspace", slot(1), 8, 2905, Caret(1, 8)},
        {"slot, ctrl+tab", slot(2), 9 | kCtrl, 3006},
        {"slot, enter", slot(2), 13, 2806},
        {"slot, letter", slot(2), 'k', 2000},
        {"slots, tab", slotRange(1, 2), 9, 2902},
        {"slots to the last, tab", slotRange(2, 3), 9, 2904},
        {"slots, backspace", slotRange(1, 2), 8, 2801},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        host.Drop();
        Select(c.from);
        EXPECT_EQ(Press(c.key & 0xFF, c.key & kShift, c.key & kCtrl), c.code);
        const DocSelection after = Now();
        EXPECT_EQ(after, c.after.GetStart().GetKind() == DocPosition::kNone ? after : c.after);
        EXPECT_EQ(list.GetCount(), 2) << "no key splits the paragraph";
        if (!host.GetKept())
            continue;
        host.UndoOrRedo();
        EXPECT_EQ(Now(), c.from) << "undo";
        host.UndoOrRedo();
        EXPECT_EQ(Now(), after) << "redo";
    }
    // Back along the column lines (a command no key of these maps to).
    Select(column(3));
    host.Perform(new TPreviousGridLineAction(view, view.selection, true));
    EXPECT_EQ(Now(), lines(matrix, 2, 3, true));
    host.Perform(new TPreviousGridLineAction(view, view.selection, true));
    EXPECT_EQ(Now(), lines(matrix, 1, 3, true));
    host.Perform(new TPreviousGridLineAction(view, view.selection, false));
    EXPECT_EQ(Now(), column(1)) << "never before line 1";
}

// Right (Ctrl+Right) on to the second paragraph, then Left (Ctrl+Left) back.
TEST_F(StructureEditingTest, CaretWalksThroughEveryStructureAndBack)
{
    for (bool ctrl : {false, true}) {
        std::vector<DocPosition> places = {At(1, 1)};
        Select(Caret(1, 1));
        while (places.back() != At(2, 1) && places.size() < 200) {
            Press(kRight, false, ctrl);
            places.push_back(Now().GetEnd());
        }
        for (size_t i = places.size() - 1; i-- > 0;) {
            Press(kLeft, false, ctrl);
            EXPECT_EQ(Now(), Caret(places[i])) << "back to place " << i << (ctrl ? " by Ctrl+Left" : "");
        }
        ASSERT_EQ(places.back(), At(2, 1));
        if (!ctrl) {
            EXPECT_EQ(places.size(), size_t(Row(1)->GetCount() + 2));
            for (size_t i = 0; i + 1 < places.size(); ++i)
                EXPECT_EQ(places[i], At(1, int(i) + 1)) << "Right passes every structure whole";
            continue;
        }
        EXPECT_EQ(places[2], DocPosition(fraction->GetChild(1), 1)) << "a fraction is entered at its numerator";
        std::set<const CompList*> visited;
        std::set<std::string> distinct;
        for (const DocPosition& place : places) {
            visited.insert(place.GetList());
            EXPECT_TRUE(distinct.insert(Describe(place)).second) << "visited twice: " << Describe(place);
        }
        for (TextComp* comp : Structures())
            for (int i = 1; i <= comp->GetChildCount(); ++i)
                if (CompList* row = comp->GetChild(i)) {
                    EXPECT_TRUE(visited.count(row)) << "child " << Row(1)->Find(comp) << " row " << i;
                }
    }
}

} // namespace
