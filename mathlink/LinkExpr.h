#pragma once
// Whole expressions through the link calls: used by tests, benchmarks and
// tools that talk to the kernel without the program's node tree.
#include "mathlink/Expr.h"
#include "mathlink/MathLink.h"

namespace wire {

// Writes the expression token by token (numbers as digit text, compound heads
// through MLPutNext and MLPutArgCount).
bool putLinkExpr(MLINK link, const Expr& expr);
// Reads one expression from the current packet.
bool getLinkExpr(MLINK link, Expr& expr, int depthLimit = 4096);

} // namespace wire
