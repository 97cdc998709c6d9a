#pragma once
// The correction dialog: shows a misspelled word with the dictionary's
// suggestions and lets the user replace it (with a suggestion or a word of
// their own), ignore it once or for the session, add it to their words, or
// stop checking. Its template is registered by the dialog itself.
#include "platform/framework/CDialog.h"
#include "spelling/SpellingAsker.h"

class SpellingDialog : public CDialog, public SpellingAsker {
public:
    static constexpr UINT kTemplateId = 30701;
    enum ControlId : int {
        kWordId = 1201,         // the word that is not in the dictionary
        kChangeToId = 1202,     // the replacement, editable
        kSuggestionsId = 1203,  // picking one puts it in the replacement
        kReplaceId = 1204,
        kIgnoreId = 1205,
        kIgnoreAllId = 1206,
        kAddId = 1207,
    };

    explicit SpellingDialog(CWnd* parent = nullptr);

    // Runs the dialog for one word; closing it any other way than by its
    // buttons cancels.
    SpellingAnswer Ask(const SpellingQuery& query) override;

    BOOL OnInitDialog() override;
    void OnControlNotify(UINT code, UINT id) override;

    static void RegisterTemplate();

private:
    void Answer(SpellingAnswer::Action action);
    CString ChangeToText() const;
    void UpdateReplaceButton();

    SpellingQuery m_query;
    SpellingAnswer m_answer;
};
