#pragma once
// A drawing's named variables: an ordered list of names, each with a
// variable that holds its value. Names compare as whole strings, case
// sensitive; the first entry of a name is the one found.
//
// Record: a 16-bit count, then each entry's name (symbol-face translation)
// and its variable (variable reference).
#include "drawing/DrawVariable.h"
#include "foundation/Str255.h"

#include <memory>
#include <utility>
#include <vector>

class DocReader;
class DocWriter;
class ExprNode;
class ItemCopyMap;

struct DrawVarEntry {
    Str255 name;
    std::unique_ptr<DrawVariable> variable;
    bool stale = false;
};

class DrawVarTable {
public:
    using Entries = std::vector<std::unique_ptr<DrawVarEntry>>;

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const DrawVarEntry& GetAt(int i) const { return *m_entries[static_cast<size_t>(i)]; }
    DrawVariable* Find(const Str255& name) const;
    bool Holds(const DrawVariable* variable) const;
    // Sets the value of the entry of that name, or appends a new entry.
    void SetNamed(const Str255& name, double value);
    // The drawing of every entry's variable, new ones included.
    void SetOwner(DiagramComp* diagram);
    // Every entry leaves the table, in order.
    Entries TakeEntries() { return std::exchange(m_entries, {}); }
    // The table holds these entries, in this order.
    void SetEntries(Entries entries) { m_entries = std::move(entries); }

    // ---- with the kernel ----
    // A new list of rules name -> value, in entry order.
    ExprNode* ToRuleList() const;
    // Appends name == the variable (name == its value when fixed) for every
    // entry to the list.
    void AppendEquations(ExprNode& list) const;
    // Fixes the entries whose names the list's children give.
    void FixNamed(const ExprNode& list);
    // The table holds exactly the names the rules give, in their order: an
    // entry whose name comes back keeps its variable (observers stay) and
    // takes the value; the others go. A name given twice keeps one entry,
    // with the last value. Children that are no rules are skipped; the list
    // is deleted.
    void ReplaceFromRules(ExprNode* list);
    // Copies of every entry, their variables through the copy map.
    void CopyFrom(const DrawVarTable& other, ItemCopyMap& map);

    void Write(DocWriter& writer) const;
    void Read(DocReader& reader);

private:
    std::unique_ptr<DrawVarEntry> NewEntry(const Str255& name, double value) const;

    Entries m_entries;
    DiagramComp* m_owner = nullptr;
};
