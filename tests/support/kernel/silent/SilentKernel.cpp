// A kernel program that takes every request and answers only those of the
// start-up and Quit: the kernel of the tests in which a request is never
// answered. Asked to stop, it says that it has nothing to stop, as an idle
// kernel does. A request that holds the symbol answerLate is answered all
// the same, once the program has asked to stop it (a late answer). The
// program starts it with "-linkfds <data> <control>". Each request taken adds
// a line naming it (its head: "Needs", "VXStringEvaluate") to the file named
// by QV_SILENT_KERNEL_HEARD, when there is one, so that a test can wait until
// the program waits on the kernel for the request it made, not for one of
// the start-up.
#include "mathlink/KernelEndpoint.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>

namespace {

bool Holds(const wire::Expr& e, const char* symbol)
{
    if (e.isSymbol(symbol))
        return true;
    for (const wire::Expr& part : e.parts)
        if (Holds(part, symbol))
            return true;
    return false;
}

wire::Expr Returned(wire::Expr value)
{
    return wire::Expr::function("ReturnPacket", {std::move(value)});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || std::strcmp(argv[1], "-linkfds") != 0)
        return 2;
    std::signal(SIGPIPE, SIG_IGN);
    wire::KernelEndpoint endpoint(std::atoi(argv[2]), std::atoi(argv[3]));
    if (!endpoint.greet())
        return 2;
    std::mutex mutex;
    std::condition_variable stopAsked;
    uint32_t abortedRequest = 0;
    endpoint.watchControl([&](int message, uint32_t packets) {
        if (message != wire::kMessageAbort)
            return;
        endpoint.sendControl(wire::kMessageNothingToStop, packets);
        std::lock_guard lock(mutex);
        abortedRequest = packets;
        stopAsked.notify_all();
    });
    for (;;) {
        wire::Expr packet;
        const wire::KernelEndpoint::Read read = endpoint.readPacket(packet);
        if (read == wire::KernelEndpoint::Read::closed)
            return 0;
        if (read != wire::KernelEndpoint::Read::expression)
            continue;
        const wire::Expr& request = packet.hasHead("EvaluatePacket", 1) ? packet.arg(0) : packet;
        if (request.hasHead("Quit", 0))
            return 0;
        if (const char* heard = std::getenv("QV_SILENT_KERNEL_HEARD")) {
            const bool named = request.isFunction() && request.head().isSymbol();
            std::ofstream(heard, std::ios::app) << (named ? request.head().text : "request") << "\n";
        }
        if (request.hasHead("Needs") || request.hasHead("VXSetSessionPrefs"))
            endpoint.writePacket(Returned(wire::Expr::symbol("Null")));
        if (!Holds(request, "answerLate"))
            continue;
        // The limit only keeps a kernel nobody stops from staying behind its test.
        std::unique_lock lock(mutex);
        stopAsked.wait_for(lock, std::chrono::seconds(30), [&] { return abortedRequest == endpoint.packetsRead(); });
        lock.unlock();
        endpoint.writePacket(
            Returned(wire::Expr::function("Plus", {wire::Expr::symbol("late"), wire::Expr::integer(1)})));
    }
}
