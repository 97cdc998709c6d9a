#pragma once
// The observer pair behind equation labels and cross-references (and drawing
// variables): a LinkTarget keeps the TargetLinks that point at it and tells
// them when it changes or goes away.
#include "foundation/PtrArray.h"

#include <memory>

class TargetLink;

class LinkTarget {
public:
    LinkTarget() = default;
    LinkTarget(const LinkTarget&) = delete;
    LinkTarget& operator=(const LinkTarget&) = delete;
    // Tells every observer that the target is gone.
    virtual ~LinkTarget();

    void AddLink(TargetLink* link);
    // Removes the first entry equal to link, keeping the order of the rest.
    void RemoveLink(TargetLink* link);
    // Tells every observer of a change; answers false when an observer
    // destroyed the target meanwhile (the caller must not touch it then).
    bool NotifyLinks();
    bool HasLinks() const { return m_links && m_links->GetCount() > 0; }
    int GetLinkCount() const { return m_links ? m_links->GetCount() : 0; }

protected:
    // Tells every observer that the target is gone and forgets them all. A
    // derived target calls it from its own destructor when its observers read
    // its fields one last time.
    void ReleaseLinks();

private:
    // Made on the first registration: room for 8, growing by 4.
    std::unique_ptr<PtrArray<TargetLink>> m_links;
    // Shared with a running NotifyLinks, which stops when the target is
    // destroyed by one of the observers it calls.
    std::shared_ptr<bool> m_alive;
};

class TargetLink {
public:
    TargetLink() = default;
    explicit TargetLink(LinkTarget* target);
    TargetLink(const TargetLink&) = delete;
    TargetLink& operator=(const TargetLink&) = delete;
    // Unregisters from the target.
    virtual ~TargetLink();

    // The target changed.
    virtual void Changed() {}
    // The target is being destroyed.
    virtual void TargetGone() { m_target = nullptr; }

    LinkTarget* GetTarget() const { return m_target; }
    // Unregisters from the old target, then registers with the new one.
    void SetTarget(LinkTarget* target);
    // Sets and registers without touching an old target.
    void Attach(LinkTarget* target);

protected:
    LinkTarget* m_target = nullptr;
};
