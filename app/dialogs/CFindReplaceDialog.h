#pragma once
// Edit/Find...: the Find and Replace dialog over one search of the document.
// Find shows the next match; Replace puts the replacement text in place of the
// match just found; Replace and Find does both; Replace All replaces every
// match from the start of the view's selection to the end of the document.
#include "platform/framework/CDialog.h"

#include <memory>

class ActionView;
class CompList;
class DocSelection;
class DrawTarget;
class ParagraphList;
class TextSearcher;

class CFindReplaceDialog : public CDialog {
public:
    enum : UINT { IDD = 175 };
    enum ControlId : UINT {
        kFindTextId = 1108,
        kReplaceTextId = 1109,
        kFindId = 1110,
        kReplaceId = 1111,
        kReplaceAndFindId = 1112,
        kReplaceAllId = 1113,
    };

    // The view is drawn on through target (may be null: no drawing).
    CFindReplaceDialog(TextSearcher& searcher, ActionView& view, DrawTarget* target, const CString& findText,
                       CWnd* parent = nullptr);
    ~CFindReplaceDialog() override;

    BOOL OnInitDialog() override;
    void OnControlNotify(UINT code, UINT id) override;

    void OnFind();
    void OnReplace();
    void OnReplaceAndFind();
    void OnReplaceAll();

private:
    void TakeFindText();
    void TakeReplaceText();
    // Replaces the match: the document is modified and laid out again.
    DocSelection ReplaceMatch();
    void Show(const DocSelection& selection);

    TextSearcher& m_searcher;
    ActionView& m_view;
    DrawTarget* m_target;
    CString m_findText;
    // What was selected when the search began (empty when nothing was).
    std::unique_ptr<CompList> m_selected;
};

// The command: searches from the view's selection for its content (when it
// lies in one paragraph) and runs the dialog.
void RunFindDialog(ActionView& view, ParagraphList& paragraphs, DrawTarget* target);
