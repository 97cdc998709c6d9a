#include "support/model/NumberingFixture.h"

#include "foundation/LinkTarget.h"

#include <memory>
#include <vector>

namespace {

// An observer that may destroy its target, or another observer, when told.
class ActingLink : public TargetLink {
public:
    using TargetLink::TargetLink;
    void Changed() override
    {
        ++changes;
        if (onChange)
            onChange();
    }
    void TargetGone() override
    {
        ++gone;
        TargetLink::TargetGone();
    }
    std::function<void()> onChange;
    int changes = 0;
    int gone = 0;
};

TEST(LinkSafetyTest, TargetDestroyedWhileItNotifies)
{
    auto* target = new LinkTarget;
    ActingLink first(target), second(target), third(target);
    first.onChange = [&] { delete target; };
    target->NotifyLinks();
    EXPECT_EQ(first.changes, 1);
    EXPECT_EQ(second.changes, 0);  // told that the target is gone instead
    EXPECT_EQ(second.gone, 1);
    EXPECT_EQ(third.gone, 1);
    EXPECT_EQ(first.GetTarget(), nullptr);
    EXPECT_EQ(second.GetTarget(), nullptr);
}

TEST(LinkSafetyTest, ObserversLeavingOrJoiningWhileNotified)
{
    LinkTarget target;
    auto second = std::make_unique<ActingLink>(&target);
    ActingLink first(&target);
    ActingLink third(&target);
    std::unique_ptr<ActingLink> late;
    first.onChange = [&] {
        second.reset();
        late = std::make_unique<ActingLink>(&target);
    };
    // Registered order: second, first, third; second is told before first removes it.
    target.NotifyLinks();
    EXPECT_EQ(first.changes, 1);
    EXPECT_EQ(third.changes, 1);
    EXPECT_EQ(late->changes, 0);  // joined during the round
    EXPECT_EQ(target.GetLinkCount(), 3);

    // An observer that unregisters a later one before its turn.
    LinkTarget other;
    ActingLink a(&other);
    ActingLink b(&other);
    ActingLink c(&other);
    a.onChange = [&] { b.SetTarget(nullptr); };
    other.NotifyLinks();
    EXPECT_EQ(b.changes, 0);
    EXPECT_EQ(c.changes, 1);
    EXPECT_EQ(other.GetLinkCount(), 2);
}

class LabelLifetimeTest : public NumberingTest {};

TEST_F(LabelLifetimeTest, LabelGoneWhileAReferenceRedrawsItsParagraph)
{
    TestDocument doc;
    ParagraphList list(&doc);
    auto* equation = Add(list, "x", 6);
    ActingLink observer(equation->GetLabel());
    // The observer turns the paragraph plain when the number changes: the
    // label is destroyed in the middle of its own update.
    observer.onChange = [&] { equation->SetStyle(gStyleTable->GetStyle(3)); };
    list.RelayoutAll(false);
    EXPECT_EQ(observer.changes, 1);
    EXPECT_EQ(observer.gone, 1);
    EXPECT_EQ(equation->GetLabel(), nullptr);
}

TEST_F(LabelLifetimeTest, LabelNumbersAndTexts)
{
    TestDocument doc;
    ParagraphList list(&doc);
    Add(list, "One", 1);
    Add(list, "a", 4);
    Add(list, "b", 4);
    Add(list, "x", 6);
    Add(list, "Two", 1);
    Add(list, "y", 6);
    list.RelayoutAll(false);
    const char* expected[] = {"1.", "1.", "2.", "(1.1)", "2.", "(2.1)"};
    for (int i = 1; i <= list.GetCount(); ++i)
        EXPECT_EQ(Str(list.GetAt(i)->GetLabel()->GetText()), expected[i - 1]);
    Str255 reference;
    list.GetAt(6)->GetLabel()->GetReferenceText(reference, true);
    EXPECT_EQ(Str(reference), "[2.1]");
    Str255 number;
    list.GetAt(5)->GetLabel()->GetNumberText(number);
    EXPECT_EQ(Str(number), "2");
}

} // namespace
