#pragma once
// The kernel's linear box text of an expression in plain form, as
// ToString[Hold[e], StandardForm] answers it for the notebook writer:
// "x + 1", "\(x\^2\)", "\(a\/b\)", "\@x", "\(x\_i\)", "f[a, b]", "{a, b}", and a
// drawing point as typed, "(a, b)".
#include "mathlink/Expr.h"

#include <string>

namespace kernelproc {

std::string boxText(const wire::Expr& e);

} // namespace kernelproc
