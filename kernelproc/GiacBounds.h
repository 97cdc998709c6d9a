#pragma once
// What stops a Giac computation other than its own end: the user's abort, a
// time limit on one step, and the stack depth at which Giac ends a recursion
// itself. Giac notices all three through its one interruption flag; these
// functions keep apart who raised it, so that a step that ran out of time can
// give way to the next step while a user's abort stops everything.
// Giac's headers stay out of this header.
#include <chrono>
#include <cstddef>

namespace kernelproc {

// Called at the top of the thread that runs Giac: from there on Giac ends a
// recursion deeper than `bytes` of stack with an error instead of running off
// the end of the stack. Zero turns the check off.
void boundGiacRecursion(std::size_t bytes);

// Safe from any thread: the user asked the running computation to stop.
void stopGiacForUser();
// Before each request: nothing is stopped.
void clearGiacStops();
bool giacStoppedByUser();
// True when Giac was interrupted by anyone, or stopped a too deep recursion.
bool giacInterrupted();

// While alive, interrupts Giac when the time is up. Limits nest: an inner
// limit never outlasts the one around it, and when an inner limit ran out, its
// end lets Giac go on unless an outer limit or the user stopped it too.
class GiacTimeLimit {
public:
    explicit GiacTimeLimit(std::chrono::milliseconds duration);
    ~GiacTimeLimit();
    GiacTimeLimit(const GiacTimeLimit&) = delete;
    GiacTimeLimit& operator=(const GiacTimeLimit&) = delete;

    bool passed() const;

private:
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace kernelproc
