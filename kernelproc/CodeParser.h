#pragma once
// A small parser of the kernel's input syntax, for the code the user asks the
// kernel to evaluate: calls f[x], lists {a, b}, rules a -> b, relations
// a == b, a != b, a < b... and their chains (a < b <= c), statements a; b,
// definitions a = b and f[x_] := body, and the operators ^ * / + - with
// juxtaposition as a product. The input is bounded in length and nesting.
#include "mathlink/Expr.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace kernelproc {

class CodeParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The expression the text means; throws CodeParseError with the place of the fault.
wire::Expr parseCode(std::string_view text);

// The text with its control characters written out (a NUL as \0, others as
// \x1f), so that a message quoting code shows all of it: a NUL would end the
// message where the program reads it as a C string.
std::string visibleCode(std::string_view text);

} // namespace kernelproc
