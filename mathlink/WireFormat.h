#pragma once
// The byte format shared by both ends of a link.
//
// Each side first sends the 8-byte greeting. After that the data channel
// carries packets: a 4-byte little-endian length, then that many bytes of
// tokens. An empty packet (length 0) is legal. A token is one type byte:
//   function (70): a 4-byte argument count, then the head expression and the
//                  arguments, each a token tree;
//   string (34), symbol (35), integer (43), real (42): a 4-byte byte count and
//                  the bytes (UTF-8 text; digit text for numbers).
// The control channel carries 8-byte messages: the message code and the
// number of packets the sender had ended when it sent the message, both
// 4-byte little-endian.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wire {

constexpr int kTokenError = 0;
constexpr int kTokenString = 34;
constexpr int kTokenSymbol = 35;
constexpr int kTokenReal = 42;
constexpr int kTokenInteger = 43;
constexpr int kTokenFunction = 70;

constexpr std::string_view kGreeting{"QVLINK\x01\n", 8};
constexpr std::size_t kMaxPacketBytes = 256u << 20;
constexpr std::size_t kControlMessageBytes = 8;
// Program to kernel: stop the computation of the request named.
constexpr int kMessageAbort = 3;
// Kernel to program, about the abort of the request named: the kernel is
// stopping its computation (sent at once, then again every heartbeat until
// it answers or ends itself), or it computes nothing for it (the answer is
// written or on its way).
constexpr int kMessageStopping = 20;
constexpr int kMessageNothingToStop = 21;

bool isAtomType(int type);

void appendU32(std::string& out, uint32_t value);
uint32_t readU32(const char* bytes);

// Builds the bytes of one packet and keeps count of the expressions still owed,
// so that a packet holds exactly one whole expression or nothing.
class PacketWriter {
public:
    bool putFunction(uint32_t argCount);
    bool putAtom(int type, std::string_view bytes);
    // An atom whose bytes follow in pieces (raw digit texts).
    bool beginAtom(int type, uint32_t size);
    bool putAtomBytes(std::string_view bytes);

    bool empty() const { return bytes_.empty(); }
    bool complete() const { return bytes_.empty() || (owed_ == 0 && pendingBytes_ == 0); }
    const std::string& bytes() const { return bytes_; }
    void clear();

private:
    bool startToken();

    std::string bytes_;
    uint64_t owed_ = 1;
    uint32_t pendingBytes_ = 0;
};

// Walks the tokens of one received packet. Getters consume; peekType does not.
class PacketReader {
public:
    void reset(std::string packet);
    void clear() { reset({}); }

    bool atEnd() const { return pos_ >= data_.size(); }
    // The type of the next token, or kTokenError when the packet holds no more
    // or the next token is malformed.
    int peekType() const;
    bool getArgCount(uint32_t& count);
    // The whole text of the next atom of the given type.
    bool getAtom(int type, std::string& text);
    // The bytes of the next atom not yet taken, for reading an atom in pieces.
    bool atomBytesLeft(uint32_t& count) const;
    bool getAtomBytes(char* buffer, uint32_t capacity, uint32_t& taken);
    bool skipExpression();

    // A place to come back to after a read that must be undone (cheap: the
    // packet's bytes are not copied).
    struct Mark {
        std::size_t pos;
        uint32_t atomTaken;
    };
    Mark mark() const { return {pos_, atomTaken_}; }
    void resetTo(const Mark& m)
    {
        pos_ = m.pos;
        atomTaken_ = m.atomTaken;
    }

private:
    bool atomHeader(int& type, uint32_t& size) const;

    std::string data_;
    std::size_t pos_ = 0;
    uint32_t atomTaken_ = 0;   // bytes of the current atom already read in pieces
};

} // namespace wire
