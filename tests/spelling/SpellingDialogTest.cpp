// The correction dialog, driven through the dialog framework's modal hook as
// a user would press its buttons.
#include <functional>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "SpellingTestSupport.h"
#include "platform/framework/DialogControls.h"
#include "spelling/SpellingDialog.h"
#include "support/ScopedInstall.h"

namespace {

// Runs the dialog on `query`, letting `user` act on it while it is open.
SpellingAnswer AskWith(const SpellingQuery& query, std::function<void(SpellingDialog&)> user)
{
    ScopedInstall script(CDialog::SetModalHook, [&](CDialog& d) { user(static_cast<SpellingDialog&>(d)); });
    SpellingDialog dialog;
    return dialog.Ask(query);
}

SpellingQuery Query(std::string word, std::vector<std::string> suggestions, int maxLength = 255)
{
    SpellingQuery q;
    q.word = std::move(word);
    q.context = q.word;
    q.suggestions = std::move(suggestions);
    q.maxLength = maxLength;
    return q;
}

std::string Text(SpellingDialog& d, int id)
{
    CString text;
    d.GetDlgItemText(id, text);
    return text.str();
}

QLineEdit* ChangeTo(SpellingDialog& d)
{
    return qobject_cast<QLineEdit*>(d.GetDlgItem(SpellingDialog::kChangeToId)->widget());
}

// Keys as the user types them into the focused replacement field.
void Type(QLineEdit* edit, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
}

bool ReplaceEnabled(SpellingDialog& d)
{
    return d.GetDlgItem(SpellingDialog::kReplaceId)->IsWindowEnabled();
}

}  // namespace

TEST(SpellingDialog, OffersTheFirstSuggestionAndPickingOrTypingChangesTheReplacement)
{
    SpellingAnswer picked = AskWith(Query("recieve", {"receive", "relieve"}), [](SpellingDialog& d) {
        EXPECT_EQ(Text(d, SpellingDialog::kWordId), "recieve");
        EXPECT_EQ(Text(d, SpellingDialog::kChangeToId), "receive");
        auto* list = dynamic_cast<CListBox*>(d.GetDlgItem(SpellingDialog::kSuggestionsId));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetCount(), 2);
        list->SetCurSel(1);
        EXPECT_EQ(Text(d, SpellingDialog::kChangeToId), "relieve");
        d.PressButton(SpellingDialog::kReplaceId);
    });
    EXPECT_EQ(picked.action, SpellingAnswer::Replace);
    EXPECT_EQ(picked.replacement, "relieve");

    SpellingAnswer typed = AskWith(Query("caf", {}), [](SpellingDialog& d) {
        QLineEdit* edit = ChangeTo(d);
        EXPECT_EQ(edit->text(), "caf");  // no suggestion: the word itself, to be edited
        edit->setCursorPosition(3);
        Type(edit, Qt::Key_Eacute, QString(QChar(0xE9)));
        d.PressButton(SpellingDialog::kReplaceId);
    });
    EXPECT_EQ(typed.action, SpellingAnswer::Replace);
    EXPECT_EQ(typed.replacement, "caf\xE9");  // back in the program's text codes
}

TEST(SpellingDialog, AnEmptyReplacementCannotBeChosen)
{
    SpellingAnswer answer = AskWith(Query("ab", {}), [](SpellingDialog& d) {
        QLineEdit* edit = ChangeTo(d);
        edit->setCursorPosition(2);
        Type(edit, Qt::Key_Backspace);
        Type(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), "");
        EXPECT_FALSE(ReplaceEnabled(d));
        d.PressButton(SpellingDialog::kReplaceId);
        EXPECT_FALSE(d.IsEnded());
        Type(edit, Qt::Key_X, "x");
        EXPECT_TRUE(ReplaceEnabled(d));
        d.PressButton(IDCANCEL);
    });
    EXPECT_EQ(answer.action, SpellingAnswer::Cancel);
}

TEST(SpellingDialog, EachButtonGivesItsAnswer)
{
    const std::pair<int, SpellingAnswer::Action> buttons[] = {
        {SpellingDialog::kIgnoreId, SpellingAnswer::Ignore},
        {SpellingDialog::kIgnoreAllId, SpellingAnswer::IgnoreAll},
        {SpellingDialog::kAddId, SpellingAnswer::Add},
        {IDCANCEL, SpellingAnswer::Cancel},
    };
    for (auto [id, action] : buttons) {
        SpellingAnswer answer = AskWith(Query("zzyq", {"zany"}), [id = id](SpellingDialog& d) { d.PressButton(id); });
        EXPECT_EQ(answer.action, action) << id;
        EXPECT_TRUE(answer.replacement.empty());
    }
    // Closed without a button (the hook ends nothing): cancelled.
    EXPECT_EQ(AskWith(Query("zzyq", {}), [](SpellingDialog&) {}).action, SpellingAnswer::Cancel);
}

class SpellingDialogRun : public SpellingTest {};

TEST_F(SpellingDialogRun, TheEngineCorrectsThroughTheDialogByDefault)
{
    int16_t session = SSCE_OpenSession();
    ASSERT_GT(session, 0) << SpellingEngine::LastError();
    std::vector<std::string> shown;
    ScopedInstall script(CDialog::SetModalHook, [&](CDialog& d) {
        auto& dialog = static_cast<SpellingDialog&>(d);
        shown.push_back(Text(dialog, SpellingDialog::kWordId));
        dialog.PressButton(SpellingDialog::kReplaceId);
    });
    char buffer[256] = "I recieve teh parcel";
    int32_t length = SSCE_CheckBlockDlg(nullptr, buffer, 20, 256, 0);
    EXPECT_EQ(length, 20);
    EXPECT_STREQ(buffer, "I receive the parcel");
    EXPECT_EQ(shown, (std::vector<std::string>{"recieve", "teh"}));
}
