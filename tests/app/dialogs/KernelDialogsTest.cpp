// The dialogs of the Kernel menu and of the kernel's questions, driven
// through the modal hook as a user would.
#include <gtest/gtest.h>

#include <functional>

#include "app/KernelQuestionDialogs.h"
#include "app/dialogs/CCalculationPrefsDialog.h"
#include "app/dialogs/CKernelQueryDialog.h"
#include "app/dialogs/CKernelSelectDialog.h"
#include "app/dialogs/CTermOrderingDialog.h"
#include "app/dialogs/CTermPriorityDialog.h"
#include "platform/framework/DialogControls.h"
#include "resources/ProgramResources.h"
#include "support/FakeUserInterface.h"

namespace {

class KernelDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
    }
};

struct HookScope {
    explicit HookScope(CDialog::ModalHook hook) : old(CDialog::SetModalHook(std::move(hook))) {}
    ~HookScope() { CDialog::SetModalHook(old); }
    CDialog::ModalHook old;
};

template <class T>
T* Control(CDialog& dialog, int id)
{
    return dynamic_cast<T*>(dialog.GetDlgItem(id));
}

TEST_F(KernelDialogsTest, ChoiceQuestionAnswersTheIndexPicked)
{
    KernelQuestionDialogs questions;
    HookScope hook([](CDialog& dialog) {
        Control<CComboBox>(dialog, CKernelQueryDialog::kChoicesId)->SetCurSel(1);
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(questions.ChooseOne("Solve for", {"a", "b + 1", "c"}), 1);
    HookScope cancel([](CDialog& dialog) { dialog.PressButton(IDCANCEL); });
    EXPECT_EQ(questions.ChooseOne("Solve for", {"a", "b"}), -1);
}

TEST_F(KernelDialogsTest, YesNoQuestionAnswersFalseWhenClosed)
{
    KernelQuestionDialogs questions;
    const std::pair<int, bool> cases[] = {{IDOK, true}, {IDCANCEL, false}};
    for (const auto& [button, answer] : cases) {
        HookScope hook([press = button](CDialog& dialog) { dialog.PressButton(press); });
        EXPECT_EQ(questions.AskYesNo("Go on?"), answer);
    }
    HookScope closed([](CDialog&) {});
    EXPECT_FALSE(questions.AskYesNo("Go on?"));
}

TEST_F(KernelDialogsTest, SubsetQuestionMovesItemsBetweenTheLists)
{
    KernelQuestionDialogs questions;
    {
        // OK at once keeps the initially selected items.
        HookScope hook([](CDialog& dialog) { dialog.PressButton(IDOK); });
        EXPECT_EQ(questions.ChooseSubset("Pick", "Left", "Right", {"a", "b"}, {"c"}), std::vector<int>{2});
    }
    {
        HookScope hook([](CDialog& dialog) {
            Control<CListBox>(dialog, CKernelSelectDialog::kLeftId)->SetCurSel(1);
            dialog.PressButton(CKernelSelectDialog::kToRightId);
            Control<CListBox>(dialog, CKernelSelectDialog::kRightId)->SetCurSel(0);
            dialog.PressButton(CKernelSelectDialog::kToLeftId);
            dialog.PressButton(IDOK);
        });
        EXPECT_EQ(questions.ChooseSubset("Pick", "Left", "Right", {"a", "b"}, {"c"}), std::vector<int>{1});
    }
    {
        // Moving from an empty list does nothing.
        HookScope hook([](CDialog& dialog) {
            dialog.PressButton(CKernelSelectDialog::kToLeftId);
            dialog.PressButton(IDCANCEL);
        });
        EXPECT_FALSE(questions.ChooseSubset("Pick", "Left", "Right", {"a"}, {}).has_value());
    }
}

TEST_F(KernelDialogsTest, PreferencesAndPrioritiesRefuseValuesOutOfRange)
{
    FakeUserInterface ui;
    KernelPrefs prefs;
    CCalculationPrefsDialog options(prefs, nullptr);
    HookScope hook([](CDialog& dialog) {
        // The edit holds at most 31 characters.
        dialog.SetDlgItemText(CCalculationPrefsDialog::kDefaultVariableId, std::string(32, 'v').c_str());
        Control<CComboBox>(dialog, CCalculationPrefsDialog::kLevelId)->SetCurSel(2);
        dialog.PressButton(IDOK);
    });
    ASSERT_EQ(options.DoModal(), IDOK);
    EXPECT_EQ(options.m_prefs.defaultVariable, std::string(31, 'v'));
    EXPECT_EQ(options.m_prefs.simplificationLevel, 2);

    CTermPriorityDialog priority("z", 0, nullptr);
    HookScope second([](CDialog& dialog) {
        dialog.SetDlgItemText(CTermPriorityDialog::kPriorityId, "256");
        dialog.PressButton(IDOK);
        EXPECT_FALSE(dialog.IsEnded());
        dialog.SetDlgItemText(CTermPriorityDialog::kPriorityId, "150");
        dialog.PressButton(IDOK);
    });
    ASSERT_EQ(priority.DoModal(), IDOK);
    EXPECT_EQ(priority.m_priority, 150);
}

TEST_F(KernelDialogsTest, TermOrderingDialogEditsACopy)
{
    TermOrdering ordering;
    ordering.entries = {{"x", 200}, {"y", 100}};
    CTermOrderingDialog dialog(ordering, nullptr);
    HookScope hook([](CDialog& d) {
        Control<CListBox>(d, CTermOrderingDialog::kListId)->SetCurSel(0);
        d.PressButton(CTermOrderingDialog::kDeleteId);
        d.PressButton(CTermOrderingDialog::kReorderId);
        d.PressButton(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.Changed());
    EXPECT_EQ(dialog.m_ordering.entries, (std::vector<TermEntry>{{"y", 100}}));
    EXPECT_EQ(ordering.entries.size(), 2u);
}

} // namespace
