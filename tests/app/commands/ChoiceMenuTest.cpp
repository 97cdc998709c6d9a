// The choice menus: which key or command commits which alternative with which
// placement, and the action handed to the view exactly once.
#include "app/ChoiceMenu.h"
#include "kernel/TCalculationAction.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

class PendingCalculation : public TCalculationAction {
public:
    PendingCalculation() : TCalculationAction(DocSelection(), 0, 0, nullptr, nullptr) {}

protected:
    ExprNode* Compute() override { return nullptr; }
};

struct RecordingView : ChoiceTarget {
    bool PerformAction(TAction* action) override
    {
        auto* calculation = dynamic_cast<TCalculationAction*>(action);
        performed.push_back({calculation->GetKernelMode(), calculation->GetPlacement()});
        delete action;
        return true;
    }
    void OpenChoicePopup(const IntPoint& point) override { popupAt.push_back(point); }

    std::vector<std::pair<int, int>> performed;   // code, placement
    std::vector<IntPoint> popupAt;
};

std::vector<ChoiceAlternative> Offered(int firstPlacement)
{
    return {{5, "Solve", firstPlacement}, {19, "Simplify", 0}, {3, "Factor", 8}};
}

} // namespace

TEST(ChoiceMenu, KeysRightAfterSelectingAFormulaCommitAsTheirTableSays)
{
    struct Case {
        int key;
        bool shift, ctrl;
        int firstPlacement;
        bool consumed;
        std::pair<int, int> committed;
    };
    const Case cases[] = {
        {13, false, true, 0, true, {0, 0}},    // Ctrl+Enter: no calculation
        {10, false, true, 8, true, {0, 0}},
        {10, false, false, 8, true, {5, 8}},   // line feed: the first with its own placement
        {13, true, false, 8, true, {5, 8}},
        {13, false, false, 0, false, {}},      // a plain Enter is typed
        {'=', false, false, 0, true, {5, 7}},  // "=" puts the answer after an equals sign
        {'=', false, false, 8, false, {}},     // ... only when the first's placement is 0
        {' ', false, false, 0, true, {5, 5}},
        {' ', false, false, 8, false, {}},
        {'a', false, false, 0, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        RecordingView view;
        KeyChoiceMenu menu(new PendingCalculation, Offered(c.firstPlacement));
        menu.Show(view);
        EXPECT_EQ(menu.OnKey(c.key, c.shift, c.ctrl), c.consumed);
        if (c.consumed) {
            ASSERT_EQ(view.performed.size(), 1u);
            EXPECT_EQ(view.performed[0], c.committed);
            EXPECT_FALSE(menu.HasPendingAction());
        } else {
            EXPECT_TRUE(view.performed.empty());
        }
    }
}

TEST(ChoiceMenu, PopupCommandsImmediateChoiceAndTheSixteenLimit)
{
    RecordingView view;
    PopupChoiceMenu popup(new PendingCalculation, Offered(0), IntPoint{40, 25});
    popup.Show(view);
    ASSERT_EQ(view.popupAt.size(), 1u);
    popup.OnChoose(ChoiceMenu::kFirstCommand + 1, true, false);   // Shift: after an equals sign
    popup.OnChoose(ChoiceMenu::kFirstCommand + 2, true, false);   // the action was handed over already
    ASSERT_EQ(view.performed.size(), 1u);
    EXPECT_EQ(view.performed[0], std::make_pair(19, 7));

    for (auto [shift, ctrl, placement] : {std::tuple{false, true, 5}, std::tuple{false, false, 0}}) {
        RecordingView v;
        ChoiceMenu menu(new PendingCalculation, Offered(0));
        menu.Show(v);
        EXPECT_FALSE(menu.OnKey('=', false, false));   // the plain menu takes no keys
        menu.OnChoose(ChoiceMenu::kFirstCommand, shift, ctrl);
        ASSERT_EQ(v.performed.size(), 1u);
        EXPECT_EQ(v.performed[0], std::make_pair(5, placement));
    }

    RecordingView immediate;
    ImmediateChoice now(new PendingCalculation, Offered(8));
    now.Show(immediate);
    ASSERT_EQ(immediate.performed.size(), 1u);
    EXPECT_EQ(immediate.performed[0], std::make_pair(5, 8));

    std::vector<ChoiceAlternative> many(20, ChoiceAlternative{1, "Evaluate", 0});
    ChoiceMenu limited(new PendingCalculation, many);
    EXPECT_EQ(limited.Alternatives().size(), 16u);
    limited.OnChoose(ChoiceMenu::kFirstCommand + 17, false, false);   // no such alternative: nothing
    EXPECT_TRUE(limited.HasPendingAction());
}
