#include "platform/TemporaryName.h"

#include <algorithm>

namespace {

// Short names keep their whole name in their temporaries.
constexpr std::size_t kShortName = 32;

} // namespace

std::size_t WholeCharactersWithin(const std::string& text, std::size_t bytes)
{
    std::size_t keep = std::min(text.size(), bytes);
    while (keep > 0 && keep < text.size() && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80)
        --keep;
    return keep;
}

std::string TemporaryNameFor(const std::string& name, const std::string& tag)
{
    const std::size_t room = std::max(name.size(), kShortName);
    const std::size_t fixed = tag.size() + 2;
    std::string temporary = ".";
    temporary.append(name, 0, WholeCharactersWithin(name, room > fixed ? room - fixed : 0)).append(".").append(tag);
    return temporary;
}
