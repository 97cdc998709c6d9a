#include "mathlink/SocketChannel.h"

#include "mathlink/WireFormat.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>

namespace wire {

namespace {

constexpr int kYieldIntervalMs = 20;

// Waits until fd is readable; false when the deadline passes first.
bool waitReadable(int fd, const YieldHook& yield, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        int timeout = yield ? kYieldIntervalMs : -1;
        if (deadline != std::chrono::steady_clock::time_point::max()) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                return false;
            timeout = timeout < 0 ? int(left) : std::min<int>(timeout, int(left) + 1);
        }
        pollfd p{fd, POLLIN, 0};
        int n = ::poll(&p, 1, timeout);
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return true;   // let the read report the fault
        if (yield)
            yield();
    }
}

ReadStatus receiveUntil(int fd, char* buffer, std::size_t size, const YieldHook& yield,
                        std::chrono::steady_clock::time_point deadline)
{
    std::size_t got = 0;
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
        if (!waitReadable(fd, yield, deadline))
            return ReadStatus::failed;
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

ReadStatus receiveExact(int fd, char* buffer, std::size_t size, const YieldHook& yield)
{
    return receiveUntil(fd, buffer, size, yield, std::chrono::steady_clock::time_point::max());
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
    char header[4];
    ReadStatus status = receiveExact(fd, header, 4, yield);
    if (status != ReadStatus::ok)
        return status;
    uint32_t size = readU32(header);
    if (size > kMaxPacketBytes)
        return ReadStatus::failed;
    payload.resize(size);
    if (size == 0)
        return ReadStatus::ok;
    return receiveExact(fd, payload.data(), size, yield);
}

bool exchangeGreeting(int fd, const YieldHook& yield, int timeoutMs)
{
    if (!sendAll(fd, kGreeting))
        return false;
    char answer[kGreeting.size()];
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    if (receiveUntil(fd, answer, sizeof answer, yield, deadline) != ReadStatus::ok)
        return false;
    return std::string_view(answer, sizeof answer) == kGreeting;
}

} // namespace wire
