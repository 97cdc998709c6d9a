#pragma once
// The calculation actions: part of the document sent to the kernel and the
// answer put back as editable mathematics, undoably. The context calculation
// sends the chosen calculation for the selected part; the code evaluation
// sends the selected code paragraphs as text.
#include "foundation/StyleKinds.h"
#include "foundation/TAction.h"
#include "kernel/TermRef.h"

#include <functional>
#include <memory>

class ExprNode;
class ParagraphList;

// Where an answer goes.
namespace Placement {
constexpr int kNewParagraph = 0;      // a new equation paragraph after the source
constexpr int kToObject = 1;          // the object at the selection, when it takes kernel results
constexpr int kCheckConstant = 2;     // the letter checked in the Constants palette, then as kNothing
constexpr int kUncheckConstant = 3;   // the letter unchecked, then as kNothing
constexpr int kNothing = 4;           // nothing inserted; the selection becomes a caret
constexpr int kReplaceParagraph = 5;  // the source paragraph replaced by the answer
constexpr int kNewParagraphWhole = 6; // as kNewParagraph, with the whole expression as the source
constexpr int kAfterEquals = 7;       // the source paragraph followed by " = " and the answer
constexpr int kReplacePart = 8;       // the selected content replaced by the answer
constexpr int kToDrawing = 9;         // the drawing that owns the whole expression
} // namespace Placement

// Where placements 2 and 3 tick or clear a letter in the Constants palette;
// installed by the application. Answers the hook it replaces.
using ConstantCheckHook = std::function<void(char letter, bool constant)>;
ConstantCheckHook SetConstantCheckHook(ConstantCheckHook hook);

// The paragraph style of a calculation's answer.
constexpr int kResultParagraphStyle = StyleKind::kEquation;

// What the calculation actions share: an answer paragraph put into the
// document with the caret at its end.
class TAnswerAction : public TAction {
public:
    using TAction::TAction;

    // A calculation stopped, or refused with a message, places nothing.
    bool ChangedNothing() const override { return m_leftAsIs; }

protected:
    // Puts the answer paragraph at index in place of replaced (null: none)
    // and lays the document out, with the caret at the answer's end. A long
    // layout shows its progress; when the user stops it, the document is
    // laid out again as it was, with replaced back in place and the
    // selection before, and the answer is left out (still the caller's: a
    // first Do deletes it, a redo keeps it to be redone): answers false.
    bool InsertAnswer(ParagraphList& list, ParagraphComp* paragraph, int index, ParagraphComp* replaced,
                      const DocSelection& before);

    DocSelection m_after;
    // The last Do or redo placed nothing: the document is as it was before.
    bool m_leftAsIs = false;
};

class TCalculationAction : public TAnswerAction {
public:
    // whole is owned by the action; part (inside whole) is not.
    TCalculationAction(const DocSelection& selection, int kernelMode, int placement, ExprNode* whole,
                       const ExprNode* part);
    ~TCalculationAction() override;

    // The choice menu's pick: the calculation and where its answer goes.
    void SetTarget(int kernelMode, int placement);
    int GetKernelMode() const { return m_kernelMode; }
    int GetPlacement() const { return m_placement; }

    void Commit() override;
    bool CanUndo() const override;
    void Do() override;
    void Undo() override;

protected:
    // Sends the request; the answer node (the caller owns it), or null when refused.
    virtual ExprNode* Compute() = 0;
    const ExprNode* Part() const { return m_part; }
    const ExprNode* Whole() const { return m_whole.get(); }

private:
    void FirstDo();
    // The result paragraph of placements 0, 5, 6 and 7; takes the answer.
    ParagraphComp* MakeResultParagraph(ExprNode* answer);
    ParagraphList* List() const;
    // The whole expression with the answer (taken) in the part's place, its
    // new constants numbered; an "or" of copies of the whole when the answer
    // has several alternatives. The action gives up its whole and part.
    // side, when given, receives the side of the whole relation that held
    // the part (0 for none).
    TermRef AnswerInWhole(ExprNode* answer, int* side = nullptr);
    // Placement 8: the selected content and the answer's components trade
    // places, each kept as a fragment while the other is in the document.
    // Takes the answer.
    bool PrepareReplacement(ExprNode* answer);
    void SwapInAnswer();
    void SwapOutAnswer();
    void FreeFragments();

    int m_kernelMode;
    const ExprNode* m_part;
    std::unique_ptr<ExprNode> m_whole;
    DocSelection m_before;
    int m_placement;
    ParagraphComp* m_resultParagraph = nullptr;
    int m_resultIndex = 0;
    ParagraphComp* m_sourceParagraph = nullptr;
    bool m_computed = false;    // the request was sent (on the first Do)
    bool m_replacing = false;   // the result stands in for the source paragraph
    DocSelection m_answerPart;  // placement 8: the answer's components while out of the document
    DocSelection m_removedPart; // placement 8: the selected content while out of the document
    DocSelection m_insertedPart;
    DocPosition m_partAt;
};

class TContextCalculationAction : public TCalculationAction {
public:
    using TCalculationAction::TCalculationAction;

protected:
    ExprNode* Compute() override;
};

// The "Evaluate Code" command: the selected paragraphs sent to the kernel as
// their text, so that ==, ; and := reach its parser, and the answer put in a
// new equation paragraph after them (or at the end).
class TEvaluateCodeAction : public TAnswerAction {
public:
    explicit TEvaluateCodeAction(const DocSelection& selection);
    ~TEvaluateCodeAction() override;

    int GetPlacement() const { return m_placement; }
    void Commit() override;
    bool CanUndo() const override { return m_resultParagraph != nullptr; }
    void Do() override;
    void Undo() override;

private:
    void FirstDo();

    std::unique_ptr<ExprNode> m_code;
    DocSelection m_before;
    ParagraphList* m_list = nullptr;
    int m_placement = Placement::kNewParagraphWhole;
    ParagraphComp* m_resultParagraph = nullptr;
    int m_resultIndex = 0;
    bool m_computed = false;
};

// A new equation paragraph holding the answer (taken) as mathematics: its new
// integration constants numbered after those of the answer and of shown (the
// source; may be null), its negative powers written as fractions.
ParagraphComp* AnswerParagraph(ExprNode* answer, ExprNode* shown);

// True for an answer that must leave the document unchanged: none, an error
// node (no kernel, a closed link, a refused request), $Failed, $Canceled or
// $Aborted.
bool IsUnusableAnswer(const ExprNode* answer);
