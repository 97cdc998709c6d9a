#include "foundation/LinkRemap.h"
#include "foundation/LinkTarget.h"

#include <gtest/gtest.h>

TEST(LinkTargetTest, RemapMovesCopiedLinksToCopiedTargets)
{
    LinkTarget label;
    LinkTarget labelCopy;
    LinkTarget other;
    TargetLink toLabel(&label);
    TargetLink toOther(&other);

    LinkRemap remap;
    LinkTarget secondCopy;
    remap.AddTarget(&label, &labelCopy);
    remap.AddTarget(&label, &secondCopy); // the first copy counts
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
