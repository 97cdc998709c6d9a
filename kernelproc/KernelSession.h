#pragma once
// The substitute kernel's conversation: reads each request packet, evaluates
// it, and answers with one return packet, preceded by any message, text and
// call packets. An abort from the program stops the running computation and
// answers $Aborted; a computation that cannot be stopped ends the kernel. The
// kernel tells the program at once whether it is stopping a computation, and
// keeps telling it until the computation has stopped, so that the program
// ends only a kernel that no longer answers at all.
#include "kernelproc/GiacEvaluator.h"
#include "kernelproc/PackageRequests.h"
#include "mathlink/KernelEndpoint.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

namespace kernelproc {

class KernelSession {
public:
    // testHooks enables the hidden commands the link's tests use to make the
    // kernel misbehave.
    KernelSession(int dataFd, int controlFd, bool testHooks);
    ~KernelSession();
    KernelSession(const KernelSession&) = delete;
    KernelSession& operator=(const KernelSession&) = delete;

    // Serves requests until the program closes the link or sends Quit[];
    // answers the process's exit status.
    int run();

private:
    enum class Outcome { carryOn, quit };

    Outcome handle(const wire::Expr& packet);
    Outcome handleGuarded(const wire::Expr& packet);
    wire::Expr compute(const wire::Expr& expr, std::vector<KernelMessage>& messages);
    // The answer, or $Failed with a message for whatever the calculation threw.
    wire::Expr computeGuarded(const wire::Expr& expr, std::vector<KernelMessage>& messages);
    wire::Expr evaluateRequest(const wire::Expr& expr, std::vector<KernelMessage>& messages);
    std::optional<wire::Expr> ask(int number, const wire::Expr& argument);
    // Sends the messages and the answer unless this request was answered already.
    void answer(uint64_t request, const std::vector<KernelMessage>& messages, const wire::Expr& value);
    // Answers a packet that could not be read: $Failed, and the message why.
    void refuse(const KernelMessage& why);
    void onControl(int message, uint32_t senderPackets);
    void onControlClosed();
    void startComputing(uint32_t serial);
    // Interrupts the running computation, tells the program, and watches
    // the computation stop; under stopMutex_.
    void stopComputation(uint32_t serial);
    void armWatchdog();
    void watchdogLoop();
    // One look of the watchdog: false once the watched computation is over.
    bool watchStopping();
    bool stillComputing(uint64_t request);
    // Test aid: the next choices request waits until it is stopped.
    wire::Expr waitUntilStopped();

    wire::KernelEndpoint endpoint_;
    GiacEvaluator evaluator_;
    PackageRequests package_;
    bool testHooks_;
    bool slowChoices_ = false;
    std::atomic<bool> linkGone_{false};

    // The number of the program's packets that the running computation has
    // seen (0 while idle): an abort naming it is for this computation. The
    // two serials change, and are compared, under stopMutex_.
    std::mutex stopMutex_;
    std::atomic<uint32_t> runningSerial_{0};
    std::atomic<uint32_t> abortSerial_{0};
    std::atomic<bool> aborted_{false};
    std::atomic<bool> waitingForReply_{false};

    std::mutex answerMutex_;
    uint64_t request_ = 0;         // the request being served
    uint64_t answered_ = 0;        // the last request answered

    // A computation asked to stop: which request, and the processor time and
    // the clock when it was asked.
    struct StopWatch {
        uint64_t request = 0;
        std::chrono::nanoseconds processorAtAbort{};
        std::chrono::steady_clock::time_point clockAtAbort;
    };
    std::mutex watchdogMutex_;
    std::condition_variable watchdogWake_;
    std::optional<StopWatch> watch_;
    bool stopping_ = false;
    std::thread watchdog_;
};

} // namespace kernelproc
