#include "foundation/TNewParagraphAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleKinds.h"

#include <algorithm>

namespace {
}

TNewParagraphAction::TNewParagraphAction(const DocSelection& selection, int styleIndex)
    : TSelectionAction(ActionNames::kNewParagraph, selection), m_styleIndex(styleIndex)
{
}

void TNewParagraphAction::Do()
{
    KeepContent();
    DocPosition caret = m_removed.at;
    m_split = caret.GetParagraphComp();
    ParagraphList* list = caret.GetParagraph();
    int index = list ? list->IndexOf(m_split) : 0;
    if (index == 0) {
        m_added = nullptr;
        RestoreSelection(DocSelection(caret, caret));
        return;
    }
    CompList* row = m_split->GetRow();
    int from = caret.IsInParagraph() ? caret.GetIndex() : caret.GetParagraphIndex(false);
    from = std::clamp(from, 1, row->GetCount() + 1);

    m_added = new ParagraphComp(m_styleIndex);
    m_tabs = m_styleIndex == StyleKind::kSourceCode ? m_split->CountLeadingTabs() : 0;
    m_added->InsertTabs(m_tabs);
    if (from <= row->GetCount())
        m_added->GetRow()->InsertAllAt(row->RemoveFrom(from), m_tabs + 1);
    row->Invalidate();
    list->InsertAt(m_added, index + 1);
    m_newParagraph = DocSelection::SelectAll(m_added->GetRow());
    DocPosition start(m_added->GetRow(), m_tabs + 1);
    RestoreSelection(DocSelection(start, start));
}

void TNewParagraphAction::Undo()
{
    if (m_added) {
        ParagraphList* list = m_split->GetOwnerList();
        int index = list ? list->IndexOf(m_added) : 0;
        if (list && index > 0)
            ActionSupport::TakeParagraph(*list, index);
        CompList* added = m_added->GetRow();
        if (added->GetCount() > m_tabs)
            m_split->GetRow()->InsertAllAt(added->RemoveFrom(m_tabs + 1), m_split->GetRow()->GetCount() + 1);
        m_split->GetRow()->Invalidate();
        delete m_added;
        m_added = nullptr;
        m_newParagraph = DocSelection();
    }
    RestoreContent();
    RestoreSelection(m_selection);
}
