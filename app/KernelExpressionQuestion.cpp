#include "app/KernelExpressionQuestion.h"

#include <memory>

#include "app/CMMAQueryDialog.h"
#include "foundation/ExprNode.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleKinds.h"
#include "kernel/MathParser.h"
#include "kernel/SelectedPartMark.h"
#include "platform/UserInterface.h"

namespace {

// The initial expression is laid out as a whole expression.
constexpr int kWholeExpressionLevel = 1;

const char kSyntaxErrorText[] = "The expression has a syntax error. Correct it and press OK, or press Cancel.";

} // namespace

ExprNode* AskExpressionInQueryFrame(const std::string& prompt, const ExprNode* initial, bool selectPart)
{
    ParagraphList paragraphs;
    auto* paragraph = new ParagraphComp(StyleKind::kEquation); // the answer is typed in an equation
    if (initial) {
        std::unique_ptr<ExprNode> copy(initial->Clone());
        copy->BuildComponents(*paragraph->GetRow(), kWholeExpressionLevel);
    }
    paragraphs.Append(paragraph);
    // Math that does not parse is not sent: the user is told and the frame
    // comes back with what was typed.
    for (;;) {
        CMMAQueryDialog dialog(prompt, &paragraphs);
        if (dialog.Run() != IDOK)
            return nullptr;
        gSyntaxError = false;
        std::unique_ptr<ExprNode> answer(paragraph->BuildNode());
        if (answer && !gSyntaxError) {
            if (selectPart)
                MarkSelectedPart(*answer, dialog.GetFinalSelection());
            return answer.release();
        }
        UserInterface::Current().MessageBox(kSyntaxErrorText, "Quorvant", MB_OK | MB_ICONEXCLAMATION);
    }
}
