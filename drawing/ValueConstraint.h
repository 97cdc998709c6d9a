#pragma once
// A constraint that may show a label: the angle, distance, radius and arc
// kinds show a live display of their value variable, the equation kind the
// equation the user types. The label is owned by the constraint and stored
// in its record as a presence byte and the label record.
#include "drawing/DrawConstraint.h"

class DocReader;
class DocWriter;

class ValueConstraint : public DrawConstraint {
public:
    ValueConstraint() = default;
    ~ValueConstraint() override;

    bool CanShowLabel() const override;
    // A label holding one value display of the labelled variable.
    DrawLabel* MakeLabel(DiagramComp* diagram) override;
    bool HasLabel() const override { return m_label != nullptr; }
    DrawLabel* GetLabel() const override { return m_label; }
    void ClearLabel() override { m_label = nullptr; }
    void SetLabel(DrawLabel* label) override;
    void PlaceLabel(const DiagramDC& dc) override;

protected:
    virtual DrawVariable* LabelledVariable() const { return nullptr; }
    virtual DPoint LabelPlace(const DiagramDC& dc) const = 0;
    void WriteLabel(DocWriter& writer) const;
    void ReadLabel(DocReader& reader, void* context);
    // The label copied with the map, or null.
    DrawLabel* CopyLabel(ItemCopyMap& map) const;
    void SetOwnedVariableTag(DrawVariable* variable, DiagramComp* diagram);

    DrawLabel* m_label = nullptr;
};

// Reads a reference to a variable that another item (a circle) owns; a
// damaged file may name one that nothing owns, which the reading item then
// keeps in owned so that it is freed.
DrawVariable* ReadHeldVariable(DocReader& reader, std::unique_ptr<DrawVariable>& owned);
// Whether a copy over the map can take a variable the constraint reads but
// a shape holds (a circle's radius): only once that shape was copied. One
// the constraint holds itself (owned, from a damaged file) always can.
bool HeldVariableCopied(const ItemCopyMap& map, DrawVariable* variable, bool owned);
// The copy's variable: the copied shape's, or a copy of the constraint's
// own, which copyOwned then holds.
DrawVariable* CopyHeldVariable(ItemCopyMap& map, DrawVariable* variable, bool owned,
                               std::unique_ptr<DrawVariable>& copyOwned);
// Reads a vertex reference, refusing a record that names anything else.
VertexShape* ReadBoundVertex(DocReader& reader);
// Whether the constraint's label gives its value in the kernel's equations
// (a name, an expression) instead of showing one of its own value variables.
bool LabelGivesValue(const DrawConstraint& constraint);
// The angle at the apex by the law of cosines, in radians: the cosine is
// clamped to [-1, 1], and an arm of no length gives 0.
double AngleAt(const DPoint& first, const DPoint& apex, const DPoint& second);
