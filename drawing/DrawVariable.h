#pragma once
// One scalar of a drawing: a coordinate, a radius or a named value that the
// solvers may move. Value displays observe it; every change of its value
// tells them, also when the value stays the same. In a file it is written
// once, at its first reference, with its link id, and referred to by index
// afterwards.
#include "foundation/ArchiveItem.h"
#include "foundation/LinkTarget.h"

class DiagramComp;
class DocReader;
class ItemCopyMap;

class DrawVariable : public ArchiveItem, public LinkTarget {
public:
    DrawVariable() = default;
    DrawVariable(double value, bool fixed) : m_value(value), m_fixed(fixed) {}
    // Its number on the kernel's side names nothing from now on.
    ~DrawVariable() override;
    DrawVariable(const DrawVariable&) = delete;
    DrawVariable& operator=(const DrawVariable&) = delete;

    double GetValue() const { return m_value; }
    void SetValue(double value);
    bool IsFixed() const { return m_fixed; }
    void SetFixed(bool fixed) { m_fixed = fixed; }
    DiagramComp* GetOwner() const { return m_owner; }
    void SetOwner(DiagramComp* owner) { m_owner = owner; }

    // A new variable with the same value and fixed flag, no owner; the pair
    // is recorded in the map.
    DrawVariable* Clone(ItemCopyMap& map) const;

    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    // A reference to a variable that the reading item will own: it must be
    // the variable's first sight, or two items would own one variable.
    static DrawVariable* ReadOwned(DocReader& reader);
    static DrawVariable* ReadShared(DocReader& reader);
    // Marks a variable read as a reference as owned by the reader's item;
    // answers false when another item owns it already.
    bool Claim()
    {
        const bool free = !m_claimed;
        m_claimed = true;
        return free;
    }

private:
    DiagramComp* m_owner = nullptr;
    double m_value = 0.0;
    bool m_fixed = false;
    // Set while reading, once an item owns the variable.
    bool m_claimed = false;
};
