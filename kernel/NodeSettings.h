#pragma once
// The preferences and link state that expression nodes and the reader consult:
// the digits shown of a real, the user's default and transform variables, the
// term-ordering switch and the model-building flag. The kernel preferences and
// the kernel link keep them current; these are their start-up values.
#include <string>

struct NodeSettings {
    int precision = 0;                     // digits shown of a real; 0 means 16
    std::string defaultVariable = "x";
    std::string transformVariable = "s";
    bool termOrdering = false;
    bool modelBuilding = false;            // reals of any length read as doubles

    static NodeSettings& Get();
};
