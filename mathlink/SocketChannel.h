#pragma once
// Whole-message reads and writes on a connected stream socket. A read waits
// in poll() (never spinning) and, when a yield hook is given, wakes every few
// milliseconds to call it; a hook that answers false gives the read up.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace wire {

enum class ReadStatus { ok, closed, failed, stopped };

// Called while a read waits; answers whether to go on waiting.
using YieldHook = std::function<bool()>;

// A packet on its way in: what has come of its length and its payload, so
// that a read the yield hook gave up is taken up again where it stopped.
struct IncomingPacket {
    char header[4] = {};
    std::size_t headerGot = 0;
    std::string payload;
    std::size_t payloadGot = 0;

    void clear();
};

bool sendAll(int fd, std::string_view bytes);
ReadStatus receiveExact(int fd, char* buffer, std::size_t size, const YieldHook& yield);
// A packet: the length prefix and the payload.
bool sendPacket(int fd, std::string_view payload);
ReadStatus receivePacket(int fd, std::string& payload, const YieldHook& yield);
// The same, resumable: on ok the packet's payload is whole; on stopped what
// came so far stays in packet for the next call.
ReadStatus receivePacket(int fd, IncomingPacket& packet, const YieldHook& yield);
// Sends the greeting and checks the peer's.
bool exchangeGreeting(int fd, const YieldHook& yield, int timeoutMs);

} // namespace wire
