#include "platform/TemporaryName.h"

#include <algorithm>

namespace {

// Short names keep their whole name in their temporaries.
constexpr std::size_t kShortName = 32;

bool ContinuesCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string TemporaryNameFor(const std::string& name, const std::string& tag)
{
    const std::size_t room = std::max(name.size(), kShortName);
    const std::size_t fixed = tag.size() + 2;
    std::size_t keep = room > fixed ? std::min(name.size(), room - fixed) : 0;
    while (keep > 0 && keep < name.size() && ContinuesCharacter(name[keep]))
        --keep;
    std::string temporary = ".";
    temporary.append(name, 0, keep).append(".").append(tag);
    return temporary;
}
