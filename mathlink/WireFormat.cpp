#include "mathlink/WireFormat.h"

#include <cstring>

namespace wire {

bool isAtomType(int type)
{
    return type == kTokenString || type == kTokenSymbol || type == kTokenReal || type == kTokenInteger;
}

void appendU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

uint32_t readU32(const char* bytes)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

// ---- PacketWriter

void PacketWriter::clear()
{
    bytes_.clear();
    owed_ = 1;
    pendingBytes_ = 0;
}

bool PacketWriter::startToken()
{
    if (pendingBytes_ != 0 || owed_ == 0)
        return false;
    --owed_;
    return true;
}

bool PacketWriter::putFunction(uint32_t argCount)
{
    if (!startToken())
        return false;
    owed_ += 1 + uint64_t(argCount);
    bytes_.push_back(static_cast<char>(kTokenFunction));
    appendU32(bytes_, argCount);
    return true;
}

bool PacketWriter::putAtom(int type, std::string_view text)
{
    if (!beginAtom(type, static_cast<uint32_t>(text.size())) || text.size() > kMaxPacketBytes)
        return false;
    return putAtomBytes(text);
}

bool PacketWriter::beginAtom(int type, uint32_t size)
{
    if (!isAtomType(type) || size > kMaxPacketBytes || !startToken())
        return false;
    bytes_.push_back(static_cast<char>(type));
    appendU32(bytes_, size);
    pendingBytes_ = size;
    return true;
}

bool PacketWriter::putAtomBytes(std::string_view text)
{
    if (text.size() > pendingBytes_)
        return false;
    bytes_.append(text);
    pendingBytes_ -= static_cast<uint32_t>(text.size());
    return true;
}

// ---- PacketReader

void PacketReader::reset(std::string packet)
{
    data_ = std::move(packet);
    pos_ = 0;
    atomTaken_ = 0;
}

bool PacketReader::atomHeader(int& type, uint32_t& size) const
{
    if (data_.size() - pos_ < 5)
        return false;
    type = static_cast<unsigned char>(data_[pos_]);
    size = readU32(data_.data() + pos_ + 1);
    if (type == kTokenFunction)
        return true;
    return isAtomType(type) && size <= data_.size() - pos_ - 5;
}

int PacketReader::peekType() const
{
    int type = 0;
    uint32_t size = 0;
    return atomHeader(type, size) ? type : kTokenError;
}

bool PacketReader::getArgCount(uint32_t& count)
{
    int type = 0;
    if (!atomHeader(type, count) || type != kTokenFunction)
        return false;
    pos_ += 5;
    return true;
}

bool PacketReader::getAtom(int type, std::string& text)
{
    int actual = 0;
    uint32_t size = 0;
    if (!atomHeader(actual, size) || actual != type || !isAtomType(type))
        return false;
    text.assign(data_, pos_ + 5 + atomTaken_, size - atomTaken_);
    pos_ += 5 + size;
    atomTaken_ = 0;
    return true;
}

bool PacketReader::atomBytesLeft(uint32_t& count) const
{
    int type = 0;
    uint32_t size = 0;
    if (!atomHeader(type, size) || !isAtomType(type))
        return false;
    count = size - atomTaken_;
    return true;
}

bool PacketReader::getAtomBytes(char* buffer, uint32_t capacity, uint32_t& taken)
{
    int type = 0;
    uint32_t size = 0;
    if (!atomHeader(type, size) || !isAtomType(type))
        return false;
    taken = std::min(capacity, size - atomTaken_);
    if (taken > 0)
        std::memcpy(buffer, data_.data() + pos_ + 5 + atomTaken_, taken);
    atomTaken_ += taken;
    if (atomTaken_ == size) {
        pos_ += 5 + size;
        atomTaken_ = 0;
    }
    return true;
}

bool PacketReader::skipExpression()
{
    uint64_t owed = 1;
    while (owed > 0) {
        int type = 0;
        uint32_t size = 0;
        if (!atomHeader(type, size))
            return false;
        --owed;
        if (type == kTokenFunction) {
            owed += 1 + uint64_t(size);
            pos_ += 5;
        } else {
            pos_ += 5 + size;
        }
        atomTaken_ = 0;
    }
    return true;
}

} // namespace wire
