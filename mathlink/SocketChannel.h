#pragma once
// Whole-message reads and writes on a connected stream socket. A read waits
// in poll() (never spinning) and, when a yield hook is given, wakes every few
// milliseconds to call it.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace wire {

enum class ReadStatus { ok, closed, failed };

using YieldHook = std::function<void()>;

bool sendAll(int fd, std::string_view bytes);
ReadStatus receiveExact(int fd, char* buffer, std::size_t size, const YieldHook& yield);
// A packet: the length prefix and the payload.
bool sendPacket(int fd, std::string_view payload);
ReadStatus receivePacket(int fd, std::string& payload, const YieldHook& yield);
// Sends the greeting and checks the peer's.
bool exchangeGreeting(int fd, const YieldHook& yield, int timeoutMs);

} // namespace wire
