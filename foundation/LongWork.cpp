#include "foundation/LongWork.h"

#include <algorithm>
#include <utility>

LongWork* LongWork::s_current = nullptr;
WorkWatcher* LongWork::s_watcher = nullptr;
bool LongWork::s_reported = false;

LongWork::LongWork(const char* what, int64_t steps, int64_t stepsPerReport)
    : m_what(what), m_steps(0), m_perReport(0), m_outer(s_current)
{
    Restart(what, steps, stepsPerReport);
    s_current = this;
}

LongWork::~LongWork()
{
    s_current = m_outer;
    if (!m_outer && std::exchange(s_reported, false) && s_watcher)
        s_watcher->Finished();
}

void LongWork::Restart(const char* what, int64_t steps, int64_t stepsPerReport)
{
    m_what = what;
    m_steps = std::max<int64_t>(steps, 1);
    m_perReport = std::max<int64_t>(stepsPerReport, 1);
    m_done = 0;
    m_nextReport = m_perReport;
}

void LongWork::Step(int64_t count)
{
    LongWork* work = s_current;
    if (!work || work->m_stopped)
        return;
    work->m_done += count;
    if (work->m_done >= work->m_nextReport)
        work->Report();
}

void LongWork::Report()
{
    m_nextReport = m_done + m_perReport;
    if (!s_watcher)
        return;
    s_reported = true;
    const int percent = int(std::min<int64_t>(99, m_done * 100 / m_steps));
    if (s_watcher->Progress(m_what, percent))
        return;
    m_stopped = true;
    throw WorkStopped();
}

WorkWatcher* LongWork::Install(WorkWatcher* watcher)
{
    return std::exchange(s_watcher, watcher);
}
