#pragma once
// The per-symbol priorities by which the kernel orders the terms of its
// results, whether it reorders at all, and whether constant terms go to the
// back. Kept in the settings section "Term Ordering" and sent to the kernel
// as List[True|False, List[List[symbol, priority]...]].
//
// A symbol is kept by its kernel name ("x", "alpha"), so that a Greek letter
// stays itself; the stored "Terms" value lists "name:priority" pairs, so that
// a priority of 0 is stored like any other.
#include <string>
#include <vector>

class ExprNode;

struct TermEntry {
    std::string symbol = "a";
    int priority = 0;

    bool operator==(const TermEntry&) const = default;
};

class TermOrdering {
public:
    static constexpr const char* kSection = "Term Ordering";
    static constexpr int kMaxPriority = 255;
    static constexpr int kMaxEntries = 256;
    static constexpr int kMaxSymbolLength = 31;

    std::vector<TermEntry> entries;
    bool useOrdering = false;
    bool constantsToBack = true;

    // True when a stored ordering was found and read; false leaves the
    // defaults. A damaged "Terms" value keeps the pairs it can read.
    bool Load();
    void Save() const;

    // The kernel form (a new node owned by the caller).
    ExprNode* ToKernelList() const;
    // Reads a kernel answer of the same form; false when it has another shape
    // (the ordering is then unchanged).
    bool FromKernelList(const ExprNode* list, bool constantsToBackValue);

    // a before b: higher priority first, then the smaller symbol.
    static bool Precedes(const TermEntry& a, const TermEntry& b);
    void SortByVariable();
    void SortByPriority();
    // Gives symbol the priority: a new entry goes before the first entry that
    // does not precede it. False for a blank symbol or a priority out of range.
    bool SetPriority(const std::string& symbol, int priority);
    // One list line: "x - 200", padded with blanks to 7 characters at least.
    static std::string LineText(const TermEntry& entry);

    bool operator==(const TermOrdering&) const = default;
};
