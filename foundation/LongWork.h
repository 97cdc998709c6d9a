#pragma once
// Work on the user-interface thread that a large document makes long: the
// layout of a long answer as it goes into the document, pagination and the
// printing of its pages. The code that starts such work opens a LongWork
// saying what it does and how many steps it takes; the work counts its steps
// (the paragraph layout counts one for each component of a paragraph's row)
// into the innermost LongWork. Every so many steps the watcher the
// application installs hears how far the work has come: it shows that and
// keeps the windows alive, and it answers whether the user asked the work to
// stop. A stopped work ends at that step with WorkStopped, once; its code
// leaves the document as it was. Outside any LongWork a step costs a test.
#include "platform/Exceptions.h"

#include <cstdint>

class WorkStopped : public CException {
public:
    WorkStopped() : CException("The work was stopped") {}
};

class WorkWatcher {
public:
    virtual ~WorkWatcher() = default;
    // The work, doing what, is this far (0..99 percent): false when the user
    // asked it to stop.
    virtual bool Progress(const char* what, int percent) = 0;
    // The outermost work that heard of progress has ended, stopped or not.
    virtual void Finished() noexcept = 0;
};

class LongWork {
public:
    // The steps between two reports of work counted in components: a work
    // shorter than this (a few milliseconds) is never seen.
    static constexpr int64_t kComponentsPerReport = 4096;

    LongWork(const char* what, int64_t steps, int64_t stepsPerReport = kComponentsPerReport);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // The same work goes on with something else to do, from its start.
    void Restart(const char* what, int64_t steps, int64_t stepsPerReport = kComponentsPerReport);
    bool WasStopped() const { return m_stopped; }

    // Counts steps into the innermost work; may raise WorkStopped.
    static void Step(int64_t count = 1);
    static bool IsRunning() { return s_current != nullptr; }
    // Answers the watcher it replaces (null: none).
    static WorkWatcher* Install(WorkWatcher* watcher);

private:
    void Report();

    const char* m_what;
    int64_t m_steps;
    int64_t m_perReport;
    int64_t m_done = 0;
    int64_t m_nextReport = 0;
    bool m_stopped = false;
    LongWork* m_outer;

    static LongWork* s_current;
    static WorkWatcher* s_watcher;
    // Whether the watcher heard of the works open now.
    static bool s_reported;
};
