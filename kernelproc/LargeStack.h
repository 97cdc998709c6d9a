#pragma once
// Giac recurses deeply on some inputs, thousands of frames for one integral.
// The kernel serves its whole session on a thread whose stack is large enough
// that Giac's own depth check (set well inside it) ends a runaway recursion
// with an error long before the stack runs out, so the process and the
// session's definitions, constants and preferences survive it.
#include <functional>

namespace kernelproc {

// Runs body on a thread with a large stack and answers what it answers; runs
// it on the calling thread when no such thread can be made.
int runWithLargeStack(const std::function<int()>& body);

} // namespace kernelproc
