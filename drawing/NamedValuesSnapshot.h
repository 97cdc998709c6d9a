#pragma once
// A drawing's named variables at one moment: the entries its table holds,
// in order, and their values. A swap puts that moment back and keeps the
// present one in its place, as a variable's own snapshot does for its value,
// so that undo and redo of a solve give back the names the kernel filled and
// the values it reported for them. An entry the table does not hold in the
// meantime stays here with its variable (a value display showing it stays
// attached) until a swap gives it back; it goes with the snapshot.
#include "drawing/DrawVarTable.h"

#include <vector>

class NamedValuesSnapshot {
public:
    explicit NamedValuesSnapshot(DrawVarTable& table);
    NamedValuesSnapshot(const NamedValuesSnapshot&) = delete;
    NamedValuesSnapshot& operator=(const NamedValuesSnapshot&) = delete;

    void Swap();

private:
    struct Held {
        const DrawVarEntry* entry;
        double value;
    };
    static std::vector<Held> Capture(const DrawVarTable& table);

    DrawVarTable& m_table;
    std::vector<Held> m_saved;
    DrawVarTable::Entries m_spare;
};
