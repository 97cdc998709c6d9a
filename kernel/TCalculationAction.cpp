#include "kernel/TCalculationAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "kernel/KernelLink.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"

#include <algorithm>

namespace {

constexpr const char* kWorking = "Working";
constexpr const char* kNoAnswer = "The kernel gave no answer for this calculation.";

// Numbers the new integration constants after the largest C index in the answer.
void NumberConstants(ExprNode& answer)
{
    KernelLink* link = KernelLink::Get();
    for (int guard = 0; guard < 64; ++guard) {
        ExprNode* subscript = answer.FindReplaceSubscript();
        if (!subscript || !link)
            return;
        ListNode indices;
        answer.CollectConstantIndices(indices);
        std::unique_ptr<ExprNode> next(link->NextAfterMax(&indices));
        ExprNode* placeholder = subscript->GetLastChild();
        if (!next || !placeholder)
            return;
        subscript->ReplaceChild(placeholder, next.release());
    }
}

} // namespace

bool IsUnusableAnswer(const ExprNode* answer)
{
    const SymbolNode* symbol = AsSymbol(answer);
    if (!answer)
        return true;
    if (!symbol || symbol->IsBuiltin())
        return false;
    const std::string& name = symbol->FreeText();
    return name == "$Failed" || name == "$Canceled" || name == "$Aborted";
}

TCalculationAction::TCalculationAction(const DocSelection& selection, int kernelMode, int placement, ExprNode* whole,
                                       const ExprNode* part)
    : TAction(ActionNames::kCalculation, selection), m_kernelMode(kernelMode), m_part(part), m_whole(whole),
      m_before(selection), m_after(selection), m_placement(placement)
{
    m_sourceParagraph = selection.First().GetParagraphComp();
}

TCalculationAction::~TCalculationAction() = default;

void TCalculationAction::SetTarget(int kernelMode, int placement)
{
    m_kernelMode = kernelMode;
    m_placement = placement;
}

ParagraphList* TCalculationAction::List() const
{
    return m_sourceParagraph ? m_sourceParagraph->GetOwnerList() : nullptr;
}

bool TCalculationAction::CanUndo() const
{
    return m_resultParagraph != nullptr;
}

void TCalculationAction::Commit()
{
    // What is outside the document: the result while undone, the replaced source while done.
    if (m_resultParagraph && !m_done)
        delete m_resultParagraph;
    else if (m_replacing && m_done)
        delete m_sourceParagraph;
    m_resultParagraph = nullptr;
    if (m_replacing && m_done)
        m_sourceParagraph = nullptr;
}

ParagraphComp* TCalculationAction::MakeResultParagraph(ExprNode* answer)
{
    NumberConstants(*answer);
    answer->Flatten();
    auto* paragraph = new ParagraphComp(kResultParagraphStyle);
    CompList* row = paragraph->GetRow();
    if (m_placement == Placement::kAfterEquals) {
        // A copy of the source followed by " = " and the answer.
        std::unique_ptr<ParagraphComp> copy(m_sourceParagraph->CloneWithLinks());
        row->InsertAllAt(copy->GetRow()->DetachAll(), 1);
        CompList equals(Str255(" = "));
        row->InsertAllAt(equals.DetachAll(), row->GetCount() + 1);
    }
    CompList answerRow;
    answer->BuildComponents(answerRow, 1);
    row->InsertAllAt(answerRow.DetachAll(), row->GetCount() + 1);
    return paragraph;
}

void TCalculationAction::FirstDo()
{
    SetStatusText(kWorking);
    std::unique_ptr<ExprNode> answer(Compute());
    ParagraphList* list = List();
    if (IsUnusableAnswer(answer.get()) || !list) {
        m_placement = Placement::kNothing;
        SetStatusText(kNoAnswer);
    } else {
        SetStatusText("");
    }
    const int sourceIndex = list ? list->IndexOf(m_sourceParagraph) : 0;
    switch (m_placement) {
    case Placement::kNewParagraph:
    case Placement::kNewParagraphWhole:
        m_resultParagraph = MakeResultParagraph(answer.get());
        m_resultIndex = KernelLink::Get() && KernelLink::Get()->Prefs().resultsAtEnd ? list->GetCount() + 1
                                                                                    : sourceIndex + 1;
        break;
    case Placement::kReplaceParagraph:
    case Placement::kAfterEquals:
        m_resultParagraph = MakeResultParagraph(answer.get());
        m_resultIndex = sourceIndex;
        m_replacing = true;
        m_placement = Placement::kReplaceParagraph;
        break;
    default:
        // Answers for an object, a drawing or the Constants palette, and refused
        // ones: nothing goes into the document.
        m_placement = Placement::kNothing;
        break;
    }
}

void TCalculationAction::Do()
{
    if (!m_computed)
        FirstDo();
    m_computed = true;
    ParagraphList* list = List();
    if (!m_resultParagraph || !list) {
        DocPosition caret = m_before.First();
        m_after = DocSelection(caret, caret);
        RestoreSelection(m_after);
        return;
    }
    if (m_replacing)
        ActionSupport::TakeParagraph(*list, m_resultIndex);
    list->InsertAt(m_resultParagraph, m_resultIndex);
    m_paragraphIndex = m_resultIndex;
    m_paragraph = m_resultParagraph;
    SetIndexInParagraph(1);
    DocPosition end(m_resultParagraph->GetRow(), m_resultParagraph->GetRow()->GetCount() + 1);
    m_after = DocSelection(end, end);
    RestoreSelection(m_after);
}

void TCalculationAction::Undo()
{
    ParagraphList* list = m_resultParagraph ? m_resultParagraph->GetOwnerList() : nullptr;
    if (list) {
        ActionSupport::TakeParagraph(*list, m_resultIndex);
        if (m_replacing)
            list->InsertAt(m_sourceParagraph, m_resultIndex);
        m_paragraphIndex = m_resultIndex;
        m_paragraph = m_replacing ? m_sourceParagraph : list->GetAt(std::max(1, m_resultIndex - 1));
    }
    SetIndexInParagraph(1);
    RestoreSelection(m_before);
}

ExprNode* TContextCalculationAction::Compute()
{
    KernelLink* link = KernelLink::Get();
    if (!link || !Part())
        return nullptr;
    return GetKernelMode() != 0 ? link->Evaluate(GetKernelMode(), Part()) : link->Simplify(Part());
}
