#include "mathlink/KernelEndpoint.h"

#include "mathlink/SocketChannel.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace wire {

namespace {

constexpr int kGreetingTimeoutMs = 30000;

} // namespace

KernelEndpoint::KernelEndpoint(int dataFd, int controlFd) : dataFd_(dataFd), controlFd_(controlFd)
{
}

KernelEndpoint::~KernelEndpoint()
{
    stopWatching();
    for (int fd : stopPipe_)
        if (fd >= 0)
            ::close(fd);
}

void KernelEndpoint::stopWatching()
{
    if (control_.joinable()) {
        char stop = 1;
        (void)!::write(stopPipe_[1], &stop, 1);
        control_.join();
    }
}

bool KernelEndpoint::greet()
{
    return exchangeGreeting(dataFd_, {}, kGreetingTimeoutMs);
}

KernelEndpoint::Read KernelEndpoint::readPacket(Expr& expr)
{
    std::string payload;
    ReadStatus status = receivePacket(dataFd_, payload, {});
    if (status == ReadStatus::closed)
        return Read::closed;
    if (status == ReadStatus::failed)
        return Read::malformed;
    ++packetsRead_;
    if (payload.empty())
        return Read::empty;
    PacketReader reader;
    reader.reset(std::move(payload));
    const ExprRead read = readExprOrWhy(reader, expr);
    if (read == ExprRead::tooDeep)
        return Read::tooDeep;
    if (read != ExprRead::ok || !reader.atEnd())
        return Read::malformed;
    return Read::expression;
}

bool KernelEndpoint::writePacket(const Expr& expr)
{
    PacketWriter writer;
    if (!writeExpr(writer, expr) || !writer.complete())
        return false;
    std::lock_guard lock(writeMutex_);
    return sendPacket(dataFd_, writer.bytes());
}

bool KernelEndpoint::writeTruncatedPacket(const Expr& expr)
{
    PacketWriter writer;
    if (!writeExpr(writer, expr))
        return false;
    std::string frame;
    appendU32(frame, static_cast<uint32_t>(writer.bytes().size()));
    frame.append(writer.bytes(), 0, writer.bytes().size() / 2);
    std::lock_guard lock(writeMutex_);
    return sendAll(dataFd_, frame);
}

bool KernelEndpoint::sendControl(int message, uint32_t serial)
{
    std::string bytes;
    appendU32(bytes, uint32_t(message));
    appendU32(bytes, serial);
    std::lock_guard lock(controlWriteMutex_);
    return ::send(controlFd_, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL) == ssize_t(bytes.size());
}

void KernelEndpoint::watchControl(std::function<void(int, uint32_t)> handler, std::function<void()> closed)
{
    if (control_.joinable() || ::pipe(stopPipe_) != 0)
        return;
    handler_ = std::move(handler);
    closed_ = std::move(closed);
    control_ = std::thread([this] { controlLoop(); });
}

void KernelEndpoint::controlLoop()
{
    for (;;) {
        pollfd fds[2] = {{controlFd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        int n = ::poll(fds, 2, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || fds[1].revents != 0)
            return;
        char message[kControlMessageBytes];
        if (receiveExact(controlFd_, message, sizeof message, {}) != ReadStatus::ok) {
            if (closed_)
                closed_();
            return;
        }
        handler_(int(readU32(message)), readU32(message + 4));
    }
}

} // namespace wire
