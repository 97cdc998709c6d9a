#pragma once
// A formula that does not read as an expression: components [first, end)
// of a row, 1-based. The exports that read formulas collect every one, so
// that their refusal names them all at once.
class CompList;

struct BadFormula {
    CompList* row = nullptr;
    int first = 0;
    int end = 0;
    bool operator==(const BadFormula&) const = default;
};
