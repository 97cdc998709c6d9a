#pragma once
// The calculation actions: part of the document sent to the kernel and the
// answer put back as editable mathematics, undoably. The context calculation
// sends the chosen calculation for the selected part; the code evaluation
// sends the selected code paragraphs as text.
#include "foundation/TAction.h"

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

// The paragraph style of a calculation's answer.
constexpr int kResultParagraphStyle = 5;

class TCalculationAction : public TAction {
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

private:
    void FirstDo();
    ParagraphComp* MakeResultParagraph(ExprNode* answer);
    ParagraphList* List() const;

    int m_kernelMode;
    const ExprNode* m_part;
    std::unique_ptr<ExprNode> m_whole;
    DocSelection m_before;
    DocSelection m_after;
    int m_placement;
    ParagraphComp* m_resultParagraph = nullptr;
    int m_resultIndex = 0;
    ParagraphComp* m_sourceParagraph = nullptr;
    bool m_computed = false;    // the request was sent (on the first Do)
    bool m_replacing = false;   // the result stands in for the source paragraph
};

class TContextCalculationAction : public TCalculationAction {
public:
    using TCalculationAction::TCalculationAction;

protected:
    ExprNode* Compute() override;
};

// True for an answer that must leave the document unchanged: none, $Failed,
// $Canceled or $Aborted.
bool IsUnusableAnswer(const ExprNode* answer);
