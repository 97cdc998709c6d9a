#include "app/KernelExpressionQuestion.h"

#include <memory>

#include "app/CMMAQueryDialog.h"
#include "foundation/ExprNode.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "kernel/SelectedPartMark.h"

namespace {

// The answer is typed in an equation paragraph.
constexpr int kEquationStyle = 5;
// The initial expression is laid out as a whole expression.
constexpr int kWholeExpressionLevel = 1;

} // namespace

ExprNode* AskExpressionInQueryFrame(const std::string& prompt, const ExprNode* initial, bool selectPart)
{
    ParagraphList paragraphs;
    auto* paragraph = new ParagraphComp(kEquationStyle);
    if (initial) {
        std::unique_ptr<ExprNode> copy(initial->Clone());
        copy->BuildComponents(*paragraph->GetRow(), kWholeExpressionLevel);
    }
    paragraphs.Append(paragraph);
    CMMAQueryDialog dialog(prompt, &paragraphs);
    if (dialog.Run() != IDOK)
        return nullptr;
    ExprNode* answer = paragraph->BuildNode();
    if (answer && selectPart)
        MarkSelectedPart(*answer, dialog.GetFinalSelection());
    return answer;
}
