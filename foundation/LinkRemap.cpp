#include "foundation/LinkRemap.h"

#include "foundation/LinkTarget.h"

#include <unordered_map>

// The first copy of each target counts; a copy of thousands of value
// displays finds each one at once.
void LinkRemap::RebindLinks()
{
    std::unordered_map<const LinkTarget*, LinkTarget*> copies;
    for (auto& [original, copy] : m_targets)
        copies.try_emplace(original, copy);
    for (auto& [source, link] : m_links)
        if (const auto copy = copies.find(source); copy != copies.end())
            link->SetTarget(copy->second);
    m_targets.clear();
    m_links.clear();
}
