#pragma once
// The paragraph style kinds: the index of a paragraph's style in the style
// table, stored with every paragraph, so the numbers never change.
namespace StyleKind {
enum : int {
    kTitle = 0,
    kSection = 1,
    kHeading = 2,
    kPlain = 3,            // also the style of any kind out of range
    kNumbered = 4,
    kEquation = 5,
    kNumberedEquation = 6,
    kSourceCode = 7,
    kItemized = 8,
    kSubEnumerated = 9,
    kSubItemized = 10,
    kCount = 11,
};
} // namespace StyleKind
