#include "spelling/SpellingDialog.h"

#include "platform/framework/DialogControls.h"
#include "platform/framework/ResourceStore.h"

namespace {

constexpr const char* kTemplate = R"({ "dialogs": [
  { "id": 30701, "caption": "Spelling", "size": [240, 118], "font": [8, "MS Sans Serif"],
    "controls": [
      ["static",    -1,   "Not in dictionary:", 7, 9, 78, 8],
      ["static",  1201,   "",                   88, 9, 92, 8],
      ["static",    -1,   "Change &to:",        7, 25, 78, 8],
      ["edit",    1202,   "",                   88, 23, 92, 12],
      ["static",    -1,   "Suggestio&ns:",      7, 41, 78, 8],
      ["list",    1203,   "",                   88, 41, 92, 70],
      ["defbutton", 1204, "&Replace",           186, 7, 48, 14],
      ["button",  1205,   "&Ignore",            186, 25, 48, 14],
      ["button",  1206,   "I&gnore All",        186, 43, 48, 14],
      ["button",  1207,   "&Add",               186, 61, 48, 14],
      ["button",     2,   "Cancel",             186, 97, 48, 14] ] } ] })";

}  // namespace

void SpellingDialog::RegisterTemplate()
{
    if (!ResourceStore::instance().dialog(kTemplateId))
        ResourceStore::instance().loadJson(QByteArray(kTemplate));
}

SpellingDialog::SpellingDialog(CWnd* parent) : CDialog(kTemplateId, parent)
{
    RegisterTemplate();
}

SpellingAnswer SpellingDialog::Ask(const SpellingQuery& query)
{
    m_query = query;
    m_answer = SpellingAnswer::Just(SpellingAnswer::Cancel);
    if (DoModal() == IDCANCEL)
        return SpellingAnswer::Just(SpellingAnswer::Cancel);
    return m_answer;
}

BOOL SpellingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(kWordId, m_query.word.c_str());
    auto* list = dynamic_cast<CListBox*>(GetDlgItem(kSuggestionsId));
    if (list)
        for (const std::string& suggestion : m_query.suggestions)
            list->AddString(suggestion.c_str());
    if (auto* edit = dynamic_cast<CEdit*>(GetDlgItem(kChangeToId)))
        edit->LimitText(m_query.maxLength);
    if (list && !m_query.suggestions.empty())
        list->SetCurSel(0);
    SetDlgItemText(kChangeToId, m_query.suggestions.empty() ? m_query.word.c_str() : m_query.suggestions[0].c_str());
    UpdateReplaceButton();
    return TRUE;
}

CString SpellingDialog::ChangeToText() const
{
    CString text;
    GetDlgItemText(kChangeToId, text);
    return text;
}

// Replacing needs a word that fits: an empty one would read as "stop".
void SpellingDialog::UpdateReplaceButton()
{
    CString text = ChangeToText();
    bool usable = !text.IsEmpty() && text.GetLength() <= m_query.maxLength;
    if (CWnd* button = GetDlgItem(kReplaceId))
        button->EnableWindow(usable);
}

void SpellingDialog::Answer(SpellingAnswer::Action action)
{
    m_answer = SpellingAnswer::Just(action);
    if (action == SpellingAnswer::Replace)
        m_answer.replacement = ChangeToText().str();
    EndDialog(IDOK);
}

void SpellingDialog::OnControlNotify(UINT code, UINT id)
{
    if (id == kSuggestionsId && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
        auto* list = dynamic_cast<CListBox*>(GetDlgItem(kSuggestionsId));
        int index = list ? list->GetCurSel() : -1;
        if (index >= 0) {
            CString text;
            list->GetText(index, text);
            SetDlgItemText(kChangeToId, text);
            UpdateReplaceButton();
            if (code == LBN_DBLCLK)
                PressButton(kReplaceId);
        }
        return;
    }
    if (id == kChangeToId && code == EN_CHANGE) {
        UpdateReplaceButton();
        return;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case kReplaceId: return Answer(SpellingAnswer::Replace);
        case kIgnoreId: return Answer(SpellingAnswer::Ignore);
        case kIgnoreAllId: return Answer(SpellingAnswer::IgnoreAll);
        case kAddId: return Answer(SpellingAnswer::Add);
        default: break;
        }
    }
    CDialog::OnControlNotify(code, id);
}
