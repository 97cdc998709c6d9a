#include "drawing/VariableValueQuestion.h"

#include "foundation/DrawContext.h"
#include "foundation/ExprNode.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelQuestions.h"
#include "kernel/LeafNodes.h"

#include <cmath>
#include <memory>
#include <utility>

namespace {

VariableValueQuestion& Installed()
{
    static VariableValueQuestion question;
    return question;
}

// The kernel link's expression question, with the value proposed.
bool AskThroughLink(const std::string& name, double& value)
{
    KernelLink* link = KernelLink::Get();
    KernelQuestions* questions = link ? link->Questions() : nullptr;
    if (!questions)
        return false;
    RealNode proposed(value);
    std::unique_ptr<ExprNode> typed(questions->AskExpression("Enter variable value: " + name, &proposed, false));
    if (!typed)
        return false;
    const double number = typed->GetRealValue();
    if (!typed->IsNumericExpr() || !std::isfinite(number)) {
        ShowMessageOrBeep("The value of " + name + " must be a number.");
        return false;
    }
    value = number;
    return true;
}

} // namespace

VariableValueQuestion SetVariableValueQuestion(VariableValueQuestion question)
{
    return std::exchange(Installed(), std::move(question));
}

bool AskVariableValue(const std::string& name, double& value)
{
    if (Installed())
        return Installed()(name, value);
    return AskThroughLink(name, value);
}
