#include "kernel/TCalculationAction.h"

#include "foundation/Str255.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/LongWork.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextComp.h"
#include "kernel/KernelLink.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/TermRef.h"

#include <algorithm>

namespace {

constexpr const char* kWorking = "Working";
constexpr const char* kInserting = "Inserting the answer";
constexpr const char* kNotInserted = "Stopped: the answer was not inserted.";

// The drawing selected as a whole, or the one around the selection.
TextComp* DrawingOf(const DocSelection& selection)
{
    TextComp* object = selection.GetSingleObject();
    if (object && object->IsDiagram())
        return object;
    return selection.FindEnclosing(tag_Draw);
}
constexpr const char* kNoAnswer = "The kernel gave no answer for this calculation.";
constexpr const char* kStopped = "Aborted";

// Why nothing was placed: stopped by the user, or no answer, with the
// reason the kernel gave in its last message.
std::string RefusalText(const ExprNode* answer)
{
    const SymbolNode* symbol = AsSymbol(answer);
    if (symbol && !symbol->IsBuiltin() && symbol->FreeText() == "$Aborted")
        return kStopped;
    const KernelLink* link = KernelLink::Get();
    if (!link || link->LastKernelMessage().empty())
        return kNoAnswer;
    return std::string(kNoAnswer) + " " + link->LastKernelMessage();
}

// The user stopped the calculation after its answer came (Escape typed
// while the answer was read or prepared): it is not placed.
bool StoppedBeforePlacing()
{
    KernelLink* link = KernelLink::Get();
    return link && link->NoticeStop();
}

ConstantCheckHook& CheckHook()
{
    static ConstantCheckHook hook;
    return hook;
}

// The letter of a selection of one character from "A" to "z", else 0.
char SelectedLetter(const DocSelection& selection)
{
    Str255 text;
    selection.GetText(text);
    const std::string letters(text.GetText());
    return letters.size() == 1 && letters[0] >= 'A' && letters[0] <= 'z' ? letters[0] : 0;
}

} // namespace

ConstantCheckHook SetConstantCheckHook(ConstantCheckHook hook)
{
    std::swap(CheckHook(), hook);
    return hook;
}

ParagraphComp* AnswerParagraph(ExprNode* answer, ExprNode* shown)
{
    TermRef term(answer);
    term.NextAfterMaxTerm(shown);
    term.RebuildFromParts();
    auto* paragraph = new ParagraphComp(kResultParagraphStyle);
    paragraph->GetRow()->InsertAllAt(term.CollectTerms()->DetachAll(), 1);
    return paragraph;
}

bool TAnswerAction::InsertAnswer(ParagraphList& list, ParagraphComp* paragraph, int index, ParagraphComp* replaced,
                                 const DocSelection& before)
{
    m_leftAsIs = false;
    if (replaced)
        ActionSupport::TakeParagraph(list, index);
    list.InsertAt(paragraph, index);
    m_paragraphIndex = index;
    m_paragraph = paragraph;
    SetIndexInParagraph(1);
    DocPosition end(paragraph->GetRow(), paragraph->GetRow()->GetCount() + 1);
    m_after = DocSelection(end, end);
    try {
        LongWork work(kInserting, paragraph->GetRow()->GetCount());
        RestoreSelection(m_after);
        return true;
    } catch (const WorkStopped&) {
    }
    ActionSupport::TakeParagraph(list, index);
    if (replaced)
        list.InsertAt(replaced, index);
    RecordStart(before);
    m_after = before;
    RestoreSelection(before);
    SetStatusText(kNotInserted);
    m_leftAsIs = true;
    return false;
}

bool IsUnusableAnswer(const ExprNode* answer)
{
    const SymbolNode* symbol = AsSymbol(answer);
    if (!answer)
        return true;
    // A refused request, a closed link and an answer that failed to read
    // all come as an error node.
    if (answer->GetTag() == TypeTag("errN"))
        return true;
    if (!symbol || symbol->IsBuiltin())
        return false;
    const std::string& name = symbol->FreeText();
    return name == "$Failed" || name == "$Canceled" || name == "$Aborted";
}

TCalculationAction::TCalculationAction(const DocSelection& selection, int kernelMode, int placement, ExprNode* whole,
                                       const ExprNode* part)
    : TAnswerAction(ActionNames::kCalculation, selection), m_kernelMode(kernelMode), m_part(part), m_whole(whole),
      m_before(selection), m_placement(placement)
{
    m_after = selection;
    // The answer goes by the paragraph the expression came from (a drop's
    // target), else by the selection's.
    if (whole && whole->HasRange())
        m_sourceParagraph = whole->GetSourceRange().ToSelection().First().GetParagraphComp();
    if (!m_sourceParagraph)
        m_sourceParagraph = selection.First().GetParagraphComp();
}

TCalculationAction::~TCalculationAction()
{
    FreeFragments();
}

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
    return m_resultParagraph != nullptr || m_placement == Placement::kReplacePart;
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
    FreeFragments();
}

ParagraphComp* TCalculationAction::MakeResultParagraph(ExprNode* answer)
{
    auto* paragraph = new ParagraphComp(kResultParagraphStyle);
    CompList* row = paragraph->GetRow();
    if (m_placement == Placement::kAfterEquals) {
        // A copy of the source followed by " = " and, for a part inside a side
        // of a relation, that side with the answer in the part's place, else
        // the whole with the answer: what follows " = " equals the source.
        std::unique_ptr<ParagraphComp> copy(m_sourceParagraph->CloneWithLinks());
        row->InsertAllAt(copy->GetRow()->DetachAll(), 1);
        CompList equals(Str255(" = "));
        row->InsertAllAt(equals.DetachAll(), row->GetCount() + 1);
        int side = 0;
        TermRef shown = AnswerInWhole(answer, &side);
        shown.RebuildFromParts();
        row->InsertAllAt(shown.CollectTermsGuarded(side)->DetachAll(), row->GetCount() + 1);
        return paragraph;
    }
    if (m_placement == Placement::kNewParagraphWhole)
        answer = AnswerInWhole(answer).Release();
    std::unique_ptr<ParagraphComp> answerParagraph(AnswerParagraph(answer, m_whole.get()));
    row->InsertAllAt(answerParagraph->GetRow()->DetachAll(), row->GetCount() + 1);
    return paragraph;
}

void TCalculationAction::FirstDo()
{
    // The document, the view and this action are in use until the answer
    // is placed: input stays held meanwhile.
    KernelLink::WaitScope waiting;
    SetStatusText(kWorking);
    std::unique_ptr<ExprNode> answer(Compute());
    if (!IsUnusableAnswer(answer.get()) && StoppedBeforePlacing())
        answer.reset(new SymbolNode(std::string("$Aborted")));
    ParagraphList* list = List();
    if (IsUnusableAnswer(answer.get()) || !list) {
        m_placement = Placement::kNothing;
        m_leftAsIs = true;
        SetStatusText(RefusalText(answer.get()).c_str());
    } else {
        SetStatusText("");
    }
    const int sourceIndex = list ? list->IndexOf(m_sourceParagraph) : 0;
    switch (m_placement) {
    case Placement::kNewParagraph:
    case Placement::kNewParagraphWhole:
        m_resultParagraph = MakeResultParagraph(answer.release());
        m_resultIndex = KernelLink::Get() && KernelLink::Get()->Prefs().resultsAtEnd ? list->GetCount() + 1
                                                                                    : sourceIndex + 1;
        break;
    case Placement::kReplaceParagraph:
    case Placement::kAfterEquals:
        m_resultParagraph = MakeResultParagraph(answer.release());
        m_resultIndex = sourceIndex;
        m_replacing = true;
        m_placement = Placement::kReplaceParagraph;
        break;
    case Placement::kReplacePart:
        if (!PrepareReplacement(answer.release())) {
            m_placement = Placement::kNothing;
            m_leftAsIs = true;
        }
        break;
    case Placement::kToObject:
        // The object at the selection takes the answer when it accepts kernel results.
        if (TextComp* object = m_before.GetSingleObject(); object && object->TakeKernelResult(answer.get()))
            answer.release();
        m_placement = Placement::kNothing;
        break;
    case Placement::kCheckConstant:
    case Placement::kUncheckConstant:
        // The kernel has changed the letter's attribute; the palette shows it.
        if (char letter = SelectedLetter(m_before); letter && CheckHook())
            CheckHook()(letter, m_placement == Placement::kCheckConstant);
        m_placement = Placement::kNothing;
        break;
    case Placement::kToDrawing:
        // The drawing that holds the selection adds the answer's shapes.
        if (TextComp* drawing = DrawingOf(m_before); drawing && drawing->TakeKernelResult(answer.get()))
            answer.release();
        m_placement = Placement::kNothing;
        break;
    default:
        // Refused answers: nothing goes into the document.
        m_placement = Placement::kNothing;
        break;
    }
}

void TCalculationAction::Do()
{
    const bool first = !m_computed;
    if (first)
        FirstDo();
    m_computed = true;
    if (m_placement == Placement::kReplacePart) {
        SwapInAnswer();
        return;
    }
    ParagraphList* list = List();
    if (!m_resultParagraph || !list) {
        DocPosition caret = m_before.First();
        m_after = DocSelection(caret, caret);
        RestoreSelection(m_after);
        return;
    }
    // A stopped redo keeps the answer, out of the document, for the next;
    // a stopped first Do drops the action, so the answer goes now.
    if (InsertAnswer(*list, m_resultParagraph, m_resultIndex, m_replacing ? m_sourceParagraph : nullptr, m_before) ||
        !first)
        return;
    delete m_resultParagraph;
    m_resultParagraph = nullptr;
    m_replacing = false;
}

void TCalculationAction::Undo()
{
    if (m_placement == Placement::kReplacePart) {
        SwapOutAnswer();
        RestoreSelection(m_before);
        return;
    }
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

// ---- the code evaluation ----

TEvaluateCodeAction::TEvaluateCodeAction(const DocSelection& selection)
    : TAnswerAction(ActionNames::kCalculation, selection), m_before(selection)
{
    m_after = selection;
    auto* code = new ListNode;
    m_code.reset(code);
    m_list = selection.First().GetParagraph();
    if (!m_list)
        return;
    const int first = m_list->IndexOf(selection.First().GetParagraphComp());
    const int last = m_list->IndexOf(selection.Second().GetParagraphComp());
    for (int i = first; first > 0 && i <= last; ++i) {
        if (ExprNode* text = m_list->GetAt(i)->GetRow()->BuildTextNode())
            code->AppendChild(text);
    }
}

TEvaluateCodeAction::~TEvaluateCodeAction() = default;

void TEvaluateCodeAction::FirstDo()
{
    KernelLink::WaitScope waiting;
    SetStatusText(kWorking);
    KernelLink* link = KernelLink::Get();
    std::unique_ptr<ExprNode> answer(link && m_list ? link->StringEvaluate(m_code.get()) : nullptr);
    if (!IsUnusableAnswer(answer.get()) && StoppedBeforePlacing())
        answer.reset(new SymbolNode(std::string("$Aborted")));
    if (IsUnusableAnswer(answer.get())) {
        m_placement = Placement::kNothing;
        m_leftAsIs = true;
        SetStatusText(RefusalText(answer.get()).c_str());
        return;
    }
    SetStatusText("");
    std::unique_ptr<ParagraphComp> paragraph(AnswerParagraph(answer.release(), nullptr));
    // A long answer takes a while to prepare: a stop meanwhile still holds.
    if (StoppedBeforePlacing()) {
        m_placement = Placement::kNothing;
        m_leftAsIs = true;
        SetStatusText(kStopped);
        return;
    }
    m_resultParagraph = paragraph.release();
    m_resultIndex = (link->Prefs().resultsAtEnd ? m_list->GetCount()
                                                : m_list->IndexOf(m_before.Second().GetParagraphComp())) + 1;
}

void TEvaluateCodeAction::Do()
{
    const bool first = !m_computed;
    if (first)
        FirstDo();
    m_computed = true;
    if (!m_resultParagraph) {
        DocPosition caret = m_before.First();
        m_after = DocSelection(caret, caret);
        RestoreSelection(m_after);
        return;
    }
    // As for a calculation: only a stopped first Do deletes the answer.
    if (!InsertAnswer(*m_list, m_resultParagraph, m_resultIndex, nullptr, m_before) && first) {
        delete m_resultParagraph;
        m_resultParagraph = nullptr;
    }
}

void TEvaluateCodeAction::Undo()
{
    if (m_resultParagraph && m_resultParagraph->GetOwnerList() == m_list)
        ActionSupport::TakeParagraph(*m_list, m_resultIndex);
    SetIndexInParagraph(1);
    RestoreSelection(m_before);
}

void TEvaluateCodeAction::Commit()
{
    if (!m_done)
        delete m_resultParagraph;
    m_resultParagraph = nullptr;
}
