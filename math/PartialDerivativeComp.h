#pragma once
// The partial derivative ∂^n f / ∂x^a ∂y^b ...: a row of differential items
// below the rule, with caret slots between them (a slot k is the place
// before variable k, slot n + 1 the place after the last). It always holds at
// least one variable: removing the last one puts a new empty one in its place.
#include "foundation/EmptyItemInserter.h"
#include "foundation/InnerSelection.h"
#include "foundation/PtrArray.h"
#include "math/DerivativeComp.h"
#include "math/DifferentialComp.h"

class DocPosition;

class PartialDerivativeComp : public DerivativeComp, public InnerSelection, public EmptyItemInserter {
public:
    // Edit codes of the key mapping.

    // With one empty variable (a read replaces it with the stored ones).
    PartialDerivativeComp();
    // These adopt the item as variable 1.
    explicit PartialDerivativeComp(PartialDifferentialComp* differential);
    PartialDerivativeComp(std::unique_ptr<CompArray> operand, PartialDifferentialComp* differential);
    ~PartialDerivativeComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_parD; }
    bool IsEqual(const TextComp& other) const override;

    int GetVariableCount() const override { return m_variables.GetCount(); }
    DifferentialComp* GetVariable(int i) const override { return m_variables.GetAt(i); }
    // Variable i's absolute bounds for i in 1..n; for n + 1 the band half a
    // size unit wide after the last variable.
    void GetVariableBox(int i, Rect& out) const override;
    unsigned char GetLetter() const override { return 219; }
    int GetLetterFamily() const override { return 3; }
    const char* GetLaTeXLetter() const override { return "\\partial"; }
    bool SpacesItems() const override { return true; }

    void SetOrigin(const IntPoint& point) override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;

    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;
    bool IsCommandEnabled(int commandId, int extra) const override;

    // ---- the variables ----
    // Inserts the item (null: a new empty one) before variable i (clamped to 1..n + 1).
    void InsertVariable(int i, PartialDifferentialComp* item);
    // Takes variable i out and answers it (null outside 1..n); the last
    // variable is replaced by a new empty one.
    PartialDifferentialComp* RemoveVariable(int i);
    // Moves variables from..to (clamped) into a new derivative with an empty
    // operand; null when the range holds none.
    PartialDerivativeComp* ExtractVariables(int from, int to);
    // A new derivative holding copies of variables from..to; null when none.
    PartialDerivativeComp* CopyVariables(int from, int to, LinkRemap& remap) const;
    // Moves every variable of other in before variable i and deletes other.
    void InsertVariablesFrom(int i, PartialDerivativeComp* other);
    // The slot where a variable inserted at the position goes: the slot itself
    // on a variable slot, after the variable whose rows hold the position,
    // after the last variable otherwise (the operand, the numerator).
    int InsertionSlotFor(const DocPosition& position) const;

    // The variable whose rows hold the position, however deeply nested; 0
    // when it lies elsewhere (the operand, outside the derivative).
    int VariableOfPosition(const DocPosition& position) const;

    // ---- selections of whole variables (between two variable slots) ----
    // Deleting every variable leaves one new empty variable behind.
    bool SelectBetween(const DocPosition& a, const DocPosition& b, DocSelection& out) override;
    void GetSelectionBounds(const DocSelection& selection, Rect& out) const override;
    DocSelection CopySelection(const DocSelection& selection) override;
    DocSelection DeleteSelection(const DocSelection& selection, DocPosition& removedAt) override;
    // A fragment of variables or a whole partial derivative fits a slot.
    bool CanInsert(const DocSelection& fragment, const DocPosition& at) const override;
    DocSelection Insert(DocSelection& fragment, const DocPosition& at) override;
    void SetSelectionFont(const DocSelection& selection, int fontId) override;

    // ---- empty variables for the insert action ----
    bool HasItems(Item item) const override { return item == kVariable; }
    int InsertPlaceFor(const DocPosition& position, Item) const override { return InsertionSlotFor(position); }
    void InsertEmptyItem(int index, Item) override { InsertVariable(index, nullptr); }

protected:
    Rect MeasureDenominator(int u) override;
    int NumeratorOrderGap(int u) const override { return -u; }

private:
    // The derivative a fragment holds: the one of its slots or its single object.
    static PartialDerivativeComp* FragmentDerivative(const DocSelection& fragment);
    // Puts the derivative into a new fragment and answers its slots.
    static DocSelection SlotsOfFragment(PartialDerivativeComp* derivative);
    // The variable an end counts by: its slot's, or the one holding it; 0 when neither.
    int VariableOfEnd(const DocPosition& end) const;
    Rect DenominatorAbsRect() const;
    void EnsureOneVariable();

    PtrArray<PartialDifferentialComp> m_variables;
    Rect m_denominatorBox;
    IntPoint m_denominatorOrigin;
};
