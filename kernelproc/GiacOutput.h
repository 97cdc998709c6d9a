#pragma once
// Reads a Giac value back as a kernel expression with the spellings the
// program reads: Euler's number as e, the imaginary unit as Complex[0, 1],
// roots as VXRadical, alternatives as VXOr, piecewise values as VXSplit.
// Only the kernel's Giac code includes this header (it needs Giac's types).
#include "mathlink/Expr.h"

#include <giac/config.h>
#include <giac/giac.h>

namespace kernelproc {

struct OutputOptions {
    bool matrices = false;   // rectangular lists of lists answer as VXMatrix
};

wire::Expr fromGiac(const giac::gen& value, const giac::context* context, const OutputOptions& options);

} // namespace kernelproc
