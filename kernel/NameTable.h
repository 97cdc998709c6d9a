#pragma once
// The built-in name table: every name the program knows on the kernel side and
// in typed mathematics, each in five spellings (display, package form, plain
// kernel form, TeX, MathML) with its parser token and the node kind a head of
// that name becomes when read from the kernel.
//
// NameTable finds an entry from any spelling through an open-addressed hash of
// 953 buckets. Spellings that two entries could claim are settled in the data:
// the typed capitals "E" and "I" are variables (written "capE" and "capI"),
// Euler's number and the imaginary unit are typed and answered as "e" and "i"
// (written "E" and "I", which the kernel reads as the constants).
#include "foundation/CharTable.h"

#include <array>

struct BuiltinName {
    const char* display;   // stored character codes
    const char* package;
    const char* plain;
    const char* tex;
    const char* mathml;
    int token;
    int kind;
    int flags;             // low byte 1: set upright in the companion face
};

struct NameSpelling {
    const char* spelling;
    int entry;
};

constexpr int kBuiltinNameCount = 312;
constexpr int kNameSpellingCount = 540;
constexpr int kNameBucketCount = 953;
constexpr int kUprightFlag = 1;

extern const BuiltinName gBuiltinNames[kBuiltinNameCount];
extern const NameSpelling gNameSpellings[kNameSpellingCount];

class NameTable : public KernelNameLookup {
public:
    NameTable();
    void Build(const NameSpelling* pairs, int count);
    int Find(const char* name) const override;
    // Never writes into the text: the range is compared where it lies.
    int FindRange(const char* begin, const char* end) const override;

    // The entry, or null outside 1..311 (0 is the blank punctuation entry and
    // is never found by name).
    static const BuiltinName* Entry(int index);
    static bool IsUpright(int index);

private:
    const NameSpelling* m_pairs = nullptr;
    int m_count = 0;
    mutable int m_lastSlot = 0;
    std::array<int, kNameBucketCount> m_buckets{};
};

// The one global table, filled on first use.
NameTable& TheNameTable();
// Registers the table with the text layout and the LaTeX writer.
void RegisterNameTable();
