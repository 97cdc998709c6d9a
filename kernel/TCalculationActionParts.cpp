// The calculation's answers for a part of a formula: shown in a new
// paragraph inside the whole formula, or put in the place of the selected
// content.
#include "kernel/TCalculationAction.h"

#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "kernel/TermRef.h"

TermRef TCalculationAction::AnswerInWhole(ExprNode* answer, int* side)
{
    // The whole takes the answer (and deletes the part), once: the action
    // computes only on its first Do.
    TermRef whole(m_whole.release());
    if (side)
        *side = whole.GetTermIndex(m_part);
    whole.NextAfterMaxTerm(const_cast<ExprNode*>(m_part), answer);
    m_part = nullptr;
    return whole;
}

bool TCalculationAction::PrepareReplacement(ExprNode* answer)
{
    std::unique_ptr<ParagraphComp> paragraph(AnswerParagraph(answer, m_whole.get()));
    std::unique_ptr<CompArray> components = paragraph->GetRow()->DetachAll();
    if (!components || components->GetCount() == 0 || !m_before.HasExtent())
        return false;
    DocSelection span;
    ParagraphList::FromComponents(nullptr, std::move(components), &span).release();
    m_answerPart = span; // owns the fragment (DestroyWithParagraph)
    return true;
}

void TCalculationAction::SwapInAnswer()
{
    m_removedPart = m_before;
    if (!ActionSupport::RemoveContent(m_removedPart, m_partAt))
        m_partAt = m_before.First();
    m_insertedPart = m_answerPart.InsertAt(m_partAt);
    m_answerPart = DocSelection();
    m_paragraph = m_sourceParagraph;
    ParagraphList* list = List();
    m_paragraphIndex = list ? list->IndexOf(m_sourceParagraph) : 0;
    SetIndexInParagraph(1);
    m_after = m_insertedPart;
    RestoreSelection(m_after);
}

void TCalculationAction::SwapOutAnswer()
{
    DocSelection inserted = m_insertedPart;
    DocPosition at;
    if (inserted.HasExtent() && ActionSupport::RemoveContent(inserted, at))
        m_answerPart = inserted;
    m_insertedPart = DocSelection();
    if (ActionSupport::HoldsContent(m_removedPart))
        m_removedPart.InsertAt(m_partAt);
    ActionSupport::DestroyFragment(m_removedPart);
    SetIndexInParagraph(1);
}

void TCalculationAction::FreeFragments()
{
    ActionSupport::DestroyFragment(m_answerPart);
    ActionSupport::DestroyFragment(m_removedPart);
}
