#pragma once
// Collects, during one copy, which link targets and which links were copied,
// so that copied references can be moved to the copied targets afterwards.
#include <utility>
#include <vector>

class LinkTarget;
class TargetLink;

class LinkRemap {
public:
    void AddTarget(LinkTarget* source, LinkTarget* copy) { m_targets.emplace_back(source, copy); }
    void AddLink(LinkTarget* sourceTarget, TargetLink* copiedLink) { m_links.emplace_back(sourceTarget, copiedLink); }
    // Moves every copied link whose target was copied too to that copy; links
    // whose target was not copied keep their target. Empties both tables.
    void RebindLinks();

    int GetTargetCount() const { return static_cast<int>(m_targets.size()); }
    int GetLinkCount() const { return static_cast<int>(m_links.size()); }

private:
    std::vector<std::pair<LinkTarget*, LinkTarget*>> m_targets;
    std::vector<std::pair<LinkTarget*, TargetLink*>> m_links;
};
