#include "foundation/LinkTarget.h"

#include <vector>

LinkTarget::~LinkTarget()
{
    ReleaseLinks();
}

void LinkTarget::ReleaseLinks()
{
    if (m_alive)
        *m_alive = false;
    // An observer may unregister itself while it is told; take each one out first.
    while (HasLinks()) {
        TargetLink* link = m_links->RemoveAt(1);
        link->TargetGone();
    }
}

void LinkTarget::AddLink(TargetLink* link)
{
    if (!m_links)
        m_links = std::make_unique<PtrArray<TargetLink>>(8, GrowItemArray);
    m_links->Append(link);
}

void LinkTarget::RemoveLink(TargetLink* link)
{
    if (int i = m_links ? m_links->Find(link) : 0)
        m_links->RemoveAt(i);
}

bool LinkTarget::NotifyLinks()
{
    if (!HasLinks())
        return true;
    // An observer told of the change may unregister itself or others, add
    // observers, or destroy this target: tell the observers registered now,
    // skip those that left meanwhile, and stop when the target is gone.
    std::vector<TargetLink*> links;
    for (int i = 1; i <= GetLinkCount(); ++i)
        links.push_back(m_links->GetAt(i));
    if (!m_alive)
        m_alive = std::make_shared<bool>(true);
    std::shared_ptr<bool> alive = m_alive;
    for (TargetLink* link : links) {
        if (!*alive)
            return false;
        if (m_links->Find(link))
            link->Changed();
    }
    return *alive;
}

TargetLink::TargetLink(LinkTarget* target)
{
    Attach(target);
}

TargetLink::~TargetLink()
{
    if (m_target)
        m_target->RemoveLink(this);
}

void TargetLink::SetTarget(LinkTarget* target)
{
    if (m_target)
        m_target->RemoveLink(this);
    Attach(target);
}

void TargetLink::Attach(LinkTarget* target)
{
    m_target = target;
    if (target)
        target->AddLink(this);
}
