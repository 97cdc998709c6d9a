#include "foundation/LinkRemap.h"
#include "foundation/LinkTarget.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CountingLink : public TargetLink {
public:
    using TargetLink::TargetLink;
    void Changed() override { ++changes; }
    void TargetGone() override
    {
        ++gone;
        TargetLink::TargetGone();
    }
    int changes = 0;
    int gone = 0;
};

} // namespace

TEST(LinkTargetTest, ObserversAreToldOfChangesAndOfTheEnd)
{
    auto target = std::make_unique<LinkTarget>();
    CountingLink a(target.get());
    CountingLink b(target.get());
    {
        CountingLink c(target.get());
        EXPECT_EQ(target->GetLinkCount(), 3);
    }
    EXPECT_EQ(target->GetLinkCount(), 2);  // c unregistered itself
    target->NotifyLinks();
    EXPECT_EQ(a.changes, 1);
    EXPECT_EQ(b.changes, 1);

    target.reset();
    EXPECT_EQ(a.gone, 1);
    EXPECT_EQ(a.GetTarget(), nullptr);
    EXPECT_EQ(b.GetTarget(), nullptr);
}

TEST(LinkTargetTest, RemapMovesCopiedLinksToCopiedTargets)
{
    LinkTarget label;
    LinkTarget labelCopy;
    LinkTarget other;
    CountingLink toLabel(&label);
    CountingLink toOther(&other);

    LinkRemap remap;
    remap.AddTarget(&label, &labelCopy);
    remap.AddLink(&label, &toLabel);
    remap.AddLink(&other, &toOther);
    remap.RebindLinks();
    EXPECT_EQ(toLabel.GetTarget(), &labelCopy);
    EXPECT_FALSE(label.HasLinks());
    EXPECT_TRUE(labelCopy.HasLinks());
    EXPECT_EQ(toOther.GetTarget(), &other);  // its target was not copied
    EXPECT_EQ(remap.GetTargetCount(), 0);
    EXPECT_EQ(remap.GetLinkCount(), 0);
}
