#include "kernelproc/KernelSession.h"

#include <cstdio>
#include <ctime>
#include <new>
#include <thread>
#include <unistd.h>

namespace kernelproc {

using wire::Expr;

namespace {

// How much processor time a computation asked to stop may still take. Some of
// Giac's work (factoring a large integer) never looks at its interruption
// flag: such a computation cannot be stopped, and a kernel that answered
// $Aborted while it went on would hold every later request behind it, so the
// kernel ends itself instead. Other work notices the flag only between steps
// and then frees what the step built, which takes processor time as well.
// Processor time, not the clock: a loaded machine slows a stop down without
// making it any less of a stop.
constexpr std::chrono::nanoseconds kStopProcessorBudget = std::chrono::milliseconds(1500);
// A computation that neither stops nor uses its budget within this long is
// blocked: it is ended too.
constexpr auto kStopClockLimit = std::chrono::seconds(30);
// How often a stopping kernel tells the program so. The program ends a kernel
// it has not heard from for a while (KernelLink::kAbortGrace): one that is
// hung, whose watchdog cannot run.
constexpr auto kStopHeartbeat = std::chrono::milliseconds(100);
// The exit status of a kernel that ended a computation it could not stop.
constexpr int kUnstoppableExit = 75;

constexpr const char* kPackageName = "VXCompute`";

Expr returnPacket(Expr value)
{
    return Expr::function("ReturnPacket", {std::move(value)});
}

std::chrono::nanoseconds processorTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Takes about `kilobytes` of stack, as a deep recursion inside Giac does.
int deepRecursion(int kilobytes)
{
    volatile char frame[1024];
    frame[0] = static_cast<char>(kilobytes);
    return kilobytes <= 0 ? frame[0] : deepRecursion(kilobytes - 1) + frame[0];
}

} // namespace

KernelSession::KernelSession(int dataFd, int controlFd, bool testHooks)
    : endpoint_(dataFd, controlFd), testHooks_(testHooks)
{
    package_.watchConstants(&evaluator_.constants());
}

KernelSession::~KernelSession()
{
    endpoint_.stopWatching();
    {
        std::lock_guard lock(watchdogMutex_);
        stopping_ = true;
    }
    watchdogWake_.notify_all();
    if (watchdog_.joinable())
        watchdog_.join();
}

int KernelSession::run()
{
    if (!endpoint_.greet())
        return 2;
    watchdog_ = std::thread([this] { watchdogLoop(); });
    endpoint_.watchControl([this](int message, uint32_t packets) { onControl(message, packets); },
                           [this] { onControlClosed(); });
    while (!linkGone_) {
        Expr packet;
        switch (endpoint_.readPacket(packet)) {
        case wire::KernelEndpoint::Read::closed:
            return 0;
        case wire::KernelEndpoint::Read::empty:
            continue;
        case wire::KernelEndpoint::Read::malformed:
            refuse({"General", "link", "The kernel received a malformed packet."});
            continue;
        case wire::KernelEndpoint::Read::tooDeep:
            refuse({"General", "depth",
                    "The expression is nested more than " + std::to_string(wire::kMaxExprDepth) +
                        " levels deep, deeper than the kernel reads."});
            continue;
        case wire::KernelEndpoint::Read::expression:
            break;
        }
        if (handleGuarded(packet) == Outcome::quit)
            return 0;
    }
    return 0;
}

KernelSession::Outcome KernelSession::handleGuarded(const Expr& packet)
{
    // Beyond the calculation (caught on its own), writing an answer may fail
    // too, for want of memory say: that request fails, the session goes on.
    try {
        return handle(packet);
    } catch (const std::exception& e) {
        uint64_t request = 0;
        {
            std::lock_guard lock(answerMutex_);
            request = request_;
        }
        answer(request, {{"General", "failed", e.what()}}, Expr::symbol("$Failed"));
    }
    return Outcome::carryOn;
}

KernelSession::Outcome KernelSession::handle(const Expr& packet)
{
    uint64_t request = 0;
    {
        std::lock_guard lock(answerMutex_);
        request = ++request_;
    }
    const Expr& expr = packet.hasHead("EvaluatePacket", 1) ? packet.arg(0) : packet;
    if (expr.hasHead("Quit", 0) || expr.hasHead("Exit", 0))
        return Outcome::quit;
    if (expr.hasHead("Needs", 1)) {
        if (expr.arg(0).type == wire::kTokenString && expr.arg(0).text == kPackageName)
            answer(request, {}, Expr::symbol("Null"));
        else
            answer(request, {{"Needs", "nocont", "The package " + expr.arg(0).text + " is not available."}},
                   Expr::symbol("$Failed"));
        return Outcome::carryOn;
    }
    if (testHooks_ && expr.hasHead("QVTestCrash", 0)) {
        endpoint_.writeTruncatedPacket(returnPacket(Expr::string(std::string(64, 'x'))));
        ::_exit(70);
    }
    std::vector<KernelMessage> messages;
    Expr value = compute(expr, messages);
    answer(request, messages, value);
    return Outcome::carryOn;
}

Expr KernelSession::compute(const Expr& expr, std::vector<KernelMessage>& messages)
{
    GiacEvaluator::clearInterrupt();
    aborted_ = false;
    startComputing(endpoint_.packetsRead());
    Expr value = computeGuarded(expr, messages);
    {
        std::lock_guard lock(stopMutex_);
        runningSerial_ = 0;
    }
    GiacEvaluator::clearInterrupt();
    if (aborted_) {
        messages.clear();
        return Expr::symbol("$Aborted");
    }
    return value;
}

Expr KernelSession::computeGuarded(const Expr& expr, std::vector<KernelMessage>& messages)
{
    // Whatever a calculation throws ends that calculation only: the session,
    // with its definitions, constants and preferences, goes on.
    const std::string about = expr.isFunction() && expr.head().isSymbol() ? expr.head().text : "General";
    try {
        return evaluateRequest(expr, messages);
    } catch (const std::bad_alloc&) {
        messages.push_back({about, "memory", "The calculation needs more memory than there is."});
    } catch (const std::exception& e) {
        messages.push_back({about, "failed", e.what()});
    } catch (...) {
        messages.push_back({about, "failed", "The calculation failed."});
    }
    return Expr::symbol("$Failed");
}

Expr KernelSession::evaluateRequest(const Expr& expr, std::vector<KernelMessage>& messages)
{
    auto askHook = [this](int number, const Expr& argument) { return ask(number, argument); };
    auto evaluate = [&](const Expr& e) {
        if (testHooks_ && e.hasHead("QVTestAsk", 2) && e.arg(0).type == wire::kTokenInteger)
            // Asks the program a question and answers its reply.
            return ask(std::stoi(e.arg(0).text), e.arg(1)).value_or(Expr::symbol("$NoReply"));
        if (testHooks_ && e.hasHead("QVTestCrash", 0)) {
            endpoint_.writeTruncatedPacket(returnPacket(Expr::string(std::string(64, 'x'))));
            ::_exit(70);
        }
        if (testHooks_ && e.hasHead("QVTestDeepStack", 1) && e.arg(0).type == wire::kTokenInteger) {
            deepRecursion(std::stoi(e.arg(0).text));
            return Expr::symbol("Null");
        }
        if (testHooks_ && e.hasHead("QVTestSlowChoices", 0)) {
            slowChoices_ = true;
            return Expr::symbol("Null");
        }
        if (testHooks_ && e.hasHead("QVTestMessage", 1)) {
            messages.push_back({"QVTestMessage", "note", e.arg(0).text});
            return Expr::symbol("Null");
        }
        return evaluator_.evaluate(e, askHook, messages);
    };
    if (slowChoices_ && expr.hasHead("VXEvaluateEval", 1)) {
        slowChoices_ = false;
        return waitUntilStopped();
    }
    std::optional<Expr> answered = package_.answer(expr, evaluate, askHook, &messages);
    return answered ? std::move(*answered) : evaluate(expr);
}

Expr KernelSession::waitUntilStopped()
{
    while (!GiacEvaluator::interrupted())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return Expr::symbol("$Aborted");
}

void KernelSession::startComputing(uint32_t serial)
{
    std::lock_guard lock(stopMutex_);
    runningSerial_ = serial;
    // An abort that came before the request was read, or one taken before a
    // question to the program whose reply has now come.
    if (abortSerial_ == serial || aborted_)
        stopComputation(serial);
}

void KernelSession::onControl(int message, uint32_t senderPackets)
{
    if (message != wire::kMessageAbort)
        return;
    std::lock_guard lock(stopMutex_);
    abortSerial_ = senderPackets;
    if (runningSerial_ == senderPackets)
        stopComputation(senderPackets);
    else
        endpoint_.sendControl(wire::kMessageNothingToStop, senderPackets);
}

void KernelSession::stopComputation(uint32_t serial)
{
    // The word goes first: the program has it before any answer of the stop.
    endpoint_.sendControl(wire::kMessageStopping, serial);
    aborted_ = true;
    GiacEvaluator::interrupt();
    armWatchdog();
}

std::optional<Expr> KernelSession::ask(int number, const Expr& argument)
{
    {
        std::lock_guard lock(answerMutex_);
        if (answered_ == request_ || linkGone_)
            return std::nullopt;
        if (!endpoint_.writePacket(Expr::function("CallPacket", {Expr::integer(number), argument})))
            return std::nullopt;
    }
    Expr reply;
    waitingForReply_ = true;
    wire::KernelEndpoint::Read read = endpoint_.readPacket(reply);
    waitingForReply_ = false;
    if (read == wire::KernelEndpoint::Read::closed) {
        linkGone_ = true;
        return std::nullopt;
    }
    // The program's reply counts among its packets: an abort sent after it names the new count.
    startComputing(endpoint_.packetsRead());
    if (read != wire::KernelEndpoint::Read::expression)
        return std::nullopt;
    return reply;
}

void KernelSession::refuse(const KernelMessage& why)
{
    uint64_t request = 0;
    {
        std::lock_guard lock(answerMutex_);
        request = ++request_;
    }
    answer(request, {why}, Expr::symbol("$Failed"));
}

void KernelSession::answer(uint64_t request, const std::vector<KernelMessage>& messages, const Expr& value)
{
    std::lock_guard lock(answerMutex_);
    if (answered_ >= request || linkGone_)
        return;
    answered_ = request;
    for (const KernelMessage& m : messages) {
        endpoint_.writePacket(Expr::function("MessagePacket", {Expr::symbol(m.symbol), Expr::string(m.tag)}));
        endpoint_.writePacket(Expr::function("TextPacket", {Expr::string(m.symbol + "::" + m.tag + ": " + m.text)}));
    }
    if (!endpoint_.writePacket(returnPacket(value)))
        linkGone_ = true;
}

void KernelSession::armWatchdog()
{
    {
        std::lock_guard lock(watchdogMutex_);
        std::lock_guard answerLock(answerMutex_);
        watch_ = StopWatch{request_, processorTime(), std::chrono::steady_clock::now()};
    }
    watchdogWake_.notify_all();
}

bool KernelSession::stillComputing(uint64_t request)
{
    // A computation waiting for the program's reply to a question goes on
    // when the reply comes; one whose request was answered has ended.
    std::lock_guard answerLock(answerMutex_);
    return request == request_ && answered_ < request && runningSerial_ != 0 && !waitingForReply_;
}

// The program's end of the control channel closes only when the program has
// gone (it quit, or died): a computation still running would go on for
// nobody, and the request loop would see the closed link only when it ends.
void KernelSession::onControlClosed()
{
    uint64_t request = 0;
    {
        std::lock_guard answerLock(answerMutex_);
        request = request_;
    }
    if (!stillComputing(request))
        return;
    std::fflush(nullptr);
    ::_exit(0);
}

void KernelSession::watchdogLoop()
{
    std::unique_lock lock(watchdogMutex_);
    for (;;) {
        if (stopping_)
            return;
        if (!watch_) {
            watchdogWake_.wait(lock);
            continue;
        }
        watchdogWake_.wait_for(lock, kStopHeartbeat);
        if (!stopping_ && watch_ && !watchStopping())
            watch_.reset();
    }
}

bool KernelSession::watchStopping()
{
    std::lock_guard answerLock(answerMutex_);
    if (watch_->request != request_ || answered_ >= watch_->request)
        return false;
    // While the program answers a question nothing runs; the watch starts
    // afresh when its reply has come.
    if (waitingForReply_)
        return true;
    if (processorTime() - watch_->processorAtAbort > kStopProcessorBudget ||
        std::chrono::steady_clock::now() - watch_->clockAtAbort > kStopClockLimit) {
        // Giac did not notice the interruption: it cannot be stopped, and
        // the session cannot serve another request until it ends. Saying
        // $Aborted would be untrue; the kernel ends, and its link closes.
        std::fflush(nullptr);
        ::_exit(kUnstoppableExit);
    }
    // Under the answer's lock: no word of stopping follows the answer.
    endpoint_.sendControl(wire::kMessageStopping, runningSerial_);
    return true;
}

} // namespace kernelproc
