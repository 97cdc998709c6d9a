#pragma once
// Reads a Giac value back as a kernel expression with the spellings the
// program reads: Euler's number as e, the imaginary unit as Complex[0, 1],
// roots as VXRadical, alternatives as VXOr, piecewise values as VXSplit.
// Only the kernel's Giac code includes this header (it needs Giac's types).
#include "mathlink/Expr.h"

#include <giac/config.h>
#include <giac/giac.h>

#include <stdexcept>
#include <string>

namespace kernelproc {

struct OutputOptions {
    bool matrices = false;   // rectangular lists of lists answer as VXMatrix
    bool series = false;     // a series' remainder term order_size(...) is kept for the caller to drop
};

// A Giac value with no kernel form: one of Giac's own functions or names, or
// a kind of value the kernel has no expression for. The text names it.
class ForeignAnswer : public std::runtime_error {
public:
    explicit ForeignAnswer(const std::string& what) : std::runtime_error(what) {}
};

// The value with the truth values inside its functions' arguments made
// symbols, so that Giac's simplification does not turn f(true) into f(1).
giac::gen keepTruthValues(const giac::gen& value);

// Throws ForeignAnswer rather than answer with Giac's words.
wire::Expr fromGiac(const giac::gen& value, const giac::context* context, const OutputOptions& options);

} // namespace kernelproc
