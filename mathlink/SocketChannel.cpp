#include "mathlink/SocketChannel.h"

#include "mathlink/WireFormat.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>

namespace wire {

namespace {

constexpr int kYieldIntervalMs = 20;

enum class Wait { readable, timedOut, stopped };

// Waits until fd is readable, the deadline passes or the yield hook gives up.
Wait waitReadable(int fd, const YieldHook& yield, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        int timeout = yield ? kYieldIntervalMs : -1;
        if (deadline != std::chrono::steady_clock::time_point::max()) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                return Wait::timedOut;
            timeout = timeout < 0 ? int(left) : std::min<int>(timeout, int(left) + 1);
        }
        pollfd p{fd, POLLIN, 0};
        int n = ::poll(&p, 1, timeout);
        if (n > 0)
            return Wait::readable;
        if (n < 0 && errno != EINTR)
            return Wait::readable; // let the read report the fault
        if (yield && !yield())
            return Wait::stopped;
    }
}

// Reads until buffer holds size bytes; got counts those already there.
ReadStatus receiveUntil(int fd, char* buffer, std::size_t size, std::size_t& got, const YieldHook& yield,
                        std::chrono::steady_clock::time_point deadline)
{
    while (got < size) {
        ssize_t n = ::recv(fd, buffer + got, size - got, MSG_DONTWAIT);
        if (n > 0) {
            got += std::size_t(n);
            continue;
        }
        if (n == 0)
            return ReadStatus::closed;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return errno == ECONNRESET ? ReadStatus::closed : ReadStatus::failed;
        switch (waitReadable(fd, yield, deadline)) {
        case Wait::readable: break;
        case Wait::timedOut: return ReadStatus::failed;
        case Wait::stopped: return ReadStatus::stopped;
        }
    }
    return ReadStatus::ok;
}

} // namespace

bool sendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, -1);
                continue;
            }
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

void IncomingPacket::clear()
{
    headerGot = 0;
    payload.clear();
    payloadGot = 0;
}

ReadStatus receiveExact(int fd, char* buffer, std::size_t size, const YieldHook& yield)
{
    std::size_t got = 0;
    return receiveUntil(fd, buffer, size, got, yield, std::chrono::steady_clock::time_point::max());
}

bool sendPacket(int fd, std::string_view payload)
{
    if (payload.size() > kMaxPacketBytes)
        return false;
    std::string frame;
    frame.reserve(payload.size() + 4);
    appendU32(frame, static_cast<uint32_t>(payload.size()));
    frame.append(payload);
    return sendAll(fd, frame);
}

ReadStatus receivePacket(int fd, std::string& payload, const YieldHook& yield)
{
    IncomingPacket packet;
    ReadStatus status = receivePacket(fd, packet, yield);
    payload = std::move(packet.payload);
    return status;
}

ReadStatus receivePacket(int fd, IncomingPacket& packet, const YieldHook& yield)
{
    constexpr auto kNoDeadline = std::chrono::steady_clock::time_point::max();
    constexpr std::size_t kHeaderBytes = sizeof packet.header;
    if (packet.headerGot < kHeaderBytes) {
        ReadStatus status = receiveUntil(fd, packet.header, kHeaderBytes, packet.headerGot, yield, kNoDeadline);
        if (status != ReadStatus::ok)
            return status;
        uint32_t size = readU32(packet.header);
        if (size > kMaxPacketBytes)
            return ReadStatus::failed;
        packet.payload.resize(size);
        packet.payloadGot = 0;
    }
    return receiveUntil(fd, packet.payload.data(), packet.payload.size(), packet.payloadGot, yield, kNoDeadline);
}

bool exchangeGreeting(int fd, const YieldHook& yield, int timeoutMs)
{
    if (!sendAll(fd, kGreeting))
        return false;
    char answer[kGreeting.size()];
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t got = 0;
    if (receiveUntil(fd, answer, sizeof answer, got, yield, deadline) != ReadStatus::ok)
        return false;
    return std::string_view(answer, sizeof answer) == kGreeting;
}

} // namespace wire
