#pragma once
// The preferences the program sets for the session with VXSetSessionPrefs.
#include "mathlink/Expr.h"

#include <string>

namespace kernelproc {

struct SessionPrefs {
    std::string defaultVariable = "x";
    std::string transformVariable = "xi";
    long long precision = 0;            // digits of a numeric value; 0 for machine numbers
    long long simplificationLevel = 1;  // 0 normal form only, 1 simplify, 2 try harder
    wire::Expr sortPriorities;    // List[True|False, List[List[symbol, priority]...]]
};

} // namespace kernelproc
