#include "app/AppMakerDialogs.h"

#include "app/KernelExpressionQuestion.h"
#include "app/dialogs/CCreateVertexDialog.h"
#include "foundation/ExprNode.h"
#include "platform/framework/CWinApp.h"

#include <memory>

std::optional<DPoint> AppMakerDialogs::AskVertex(const DPoint& at)
{
    CCreateVertexDialog dialog(at.x, at.y, AfxGetMainWnd());
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return DPoint{dialog.m_x, dialog.m_y};
}

CompList* AppMakerDialogs::AskPlotFunction(const std::string& prompt)
{
    std::unique_ptr<ExprNode> function(AskExpressionInQueryFrame(prompt, nullptr, false));
    return function ? function->ToCompList() : nullptr;
}
