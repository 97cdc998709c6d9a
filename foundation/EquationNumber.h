#pragma once
// The numbering state of the paragraph styles at one paragraph: section,
// equation, item and sub-item counters, all 0 at the start of a layout pass.
#include <cstdint>

struct EquationNumber {
    int32_t section = 0;
    int32_t equation = 0;
    int32_t item = 0;
    int32_t subItem = 0;

    bool operator==(const EquationNumber&) const = default;
};
