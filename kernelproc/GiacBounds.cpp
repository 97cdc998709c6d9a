#include "kernelproc/GiacBounds.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <giac/config.h>
#include <giac/giac.h>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kernelproc {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> userStop{false};

void raiseGiacInterruption()
{
    giac::ctrl_c = true;
    giac::interrupted = true;
}

void lowerGiacInterruption()
{
    giac::ctrl_c = false;
    giac::interrupted = false;
}

// The limits in force, innermost last, and the thread that interrupts Giac
// when one of them passes. It lives as long as the process.
class LimitClock {
public:
    static LimitClock& instance()
    {
        static LimitClock* clock = new LimitClock;
        return *clock;
    }

    Clock::time_point push(Clock::time_point deadline)
    {
        std::lock_guard lock(mutex_);
        if (!limits_.empty())
            deadline = std::min(deadline, limits_.back().deadline);
        limits_.push_back({deadline, false});
        wake_.notify_all();
        return deadline;
    }

    void pop()
    {
        std::lock_guard lock(mutex_);
        const bool fired = limits_.back().fired;
        limits_.pop_back();
        const Clock::time_point now = Clock::now();
        const bool outerPassed =
            std::any_of(limits_.begin(), limits_.end(), [&](const Limit& l) { return l.deadline <= now; });
        if (fired && !outerPassed && !userStop)
            lowerGiacInterruption();
    }

private:
    struct Limit {
        Clock::time_point deadline;
        bool fired;
    };

    LimitClock()
    {
        std::thread([this] { watch(); }).detach();
    }

    void watch()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            std::optional<Clock::time_point> next;
            for (const Limit& l : limits_) {
                if (!l.fired && (!next || l.deadline < *next))
                    next = l.deadline;
            }
            if (!next) {
                wake_.wait(lock);
                continue;
            }
            wake_.wait_until(lock, *next);
            const Clock::time_point now = Clock::now();
            for (Limit& l : limits_) {
                if (!l.fired && l.deadline <= now) {
                    l.fired = true;
                    raiseGiacInterruption();
                }
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Limit> limits_;
};

} // namespace

void boundGiacRecursion(std::size_t bytes)
{
    giac::stack_check_init(bytes);
}

void stopGiacForUser()
{
    userStop = true;
    raiseGiacInterruption();
}

void clearGiacStops()
{
    userStop = false;
    lowerGiacInterruption();
}

bool giacStoppedByUser()
{
    return userStop;
}

bool giacInterrupted()
{
    return giac::ctrl_c || giac::interrupted;
}

GiacTimeLimit::GiacTimeLimit(std::chrono::milliseconds duration)
    : deadline_(LimitClock::instance().push(Clock::now() + duration))
{}

GiacTimeLimit::~GiacTimeLimit()
{
    LimitClock::instance().pop();
}

bool GiacTimeLimit::passed() const
{
    return Clock::now() >= deadline_;
}

} // namespace kernelproc
