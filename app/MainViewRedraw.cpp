#include "app/MainViewRedraw.h"

#include "app/CCorvellView.h"
#include "foundation/DrawContext.h"

const CRuntimeClass* DocumentViewClass()
{
    return RUNTIME_CLASS(CCorvellView);
}

void RedrawMainView(CView* view)
{
    auto* documentView = dynamic_cast<CCorvellView*>(view);
    if (!documentView)
        return;
    gDrawContext.BeginDraw(documentView);
    documentView->Relayout();
    documentView->Invalidate(TRUE);
    gDrawContext.EndDraw();
}
