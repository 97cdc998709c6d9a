#pragma once
// The kernel's side of a link: whole expressions in and out over the data
// socket, and a thread that watches the control socket for out-of-band
// messages.
#include "mathlink/Expr.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace wire {

class KernelEndpoint {
public:
    enum class Read { expression, empty, closed, malformed, tooDeep };

    KernelEndpoint(int dataFd, int controlFd);
    ~KernelEndpoint();
    KernelEndpoint(const KernelEndpoint&) = delete;
    KernelEndpoint& operator=(const KernelEndpoint&) = delete;

    bool greet();
    // Reads the next packet. The packets read so far are counted (packetsRead),
    // so that an out-of-band message can name the request it is meant for.
    Read readPacket(Expr& expr);
    uint32_t packetsRead() const { return packetsRead_; }
    // Thread-safe: the control thread may answer while the main thread computes.
    bool writePacket(const Expr& expr);
    // Writes only the first bytes of a packet, then stops: a test aid that
    // imitates a kernel dying mid-answer.
    bool writeTruncatedPacket(const Expr& expr);

    // Thread-safe and never waits: an out-of-band message to the program about
    // the request named by the program's packet count. False when it could
    // not be sent at once (the program reads none of them meanwhile).
    bool sendControl(int message, uint32_t serial);

    // Starts the control thread; handler(message, packetsSentBySender) runs on
    // it, and closed() when the program's end of the channel has gone.
    void watchControl(std::function<void(int, uint32_t)> handler, std::function<void()> closed = {});
    // Ends the control thread (also done on destruction).
    void stopWatching();

private:
    void controlLoop();

    int dataFd_;
    int controlFd_;
    int stopPipe_[2] = {-1, -1};
    uint32_t packetsRead_ = 0;
    std::mutex writeMutex_;
    std::mutex controlWriteMutex_;
    std::function<void(int, uint32_t)> handler_;
    std::function<void()> closed_;
    std::thread control_;
};

} // namespace wire
