#include "foundation/LinkRemap.h"

#include "foundation/LinkTarget.h"

void LinkRemap::RebindLinks()
{
    for (auto& [source, link] : m_links) {
        for (auto& [original, copy] : m_targets) {
            if (original == source) {
                link->SetTarget(copy);
                break;
            }
        }
    }
    m_targets.clear();
    m_links.clear();
}
