// The document view's side of its drawings: which drawing is being edited
// (with the drawing bars shown for it), and the Drawing menu's commands on
// that drawing.
#include "app/CCorvellView.h"

#include "app/CMainFrame.h"
#include "app/DrawingCommands.h"
#include "app/DrawingDialogCommands.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/TypeTag.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CFrameWnd.h"

DiagramComp* CCorvellView::GetEditedDrawing() const
{
    return dynamic_cast<DiagramComp*>(m_currentDrawing);
}

// The drawing that stops being edited loses its frame and its inner
// selection; the new one gets the frame, the bars and its waiting plots.
void CCorvellView::SetCurrentDrawing(DiagramComp* drawing)
{
    DiagramComp* old = GetEditedDrawing();
    if (drawing == old)
        return;
    DrawTargetScope draw(this);
    if (old) {
        old->EndEdit(true);
        old->InvalidateBox();
        if (gMainFrame && gMainFrame->GetDrawing() == old)
            gMainFrame->HideDrawingBars();
    }
    m_currentDrawing = drawing;
    if (!drawing)
        return;
    // The plots the kernel has yet to compute get their curves now.
    drawing->RecomputePlots(true);
    if (IsActiveDocumentView())
        ShowDrawingBars();
}

// The bars follow the drawing of the active view only.
bool CCorvellView::IsActiveDocumentView()
{
    CFrameWnd* frame = GetParentFrame();
    return gMainFrame && (!frame || frame->GetActiveView() == this || frame->GetActiveView() == nullptr);
}

void CCorvellView::ShowDrawingBars()
{
    if (gMainFrame && GetEditedDrawing())
        gMainFrame->ShowDrawingBars(GetEditedDrawing());
}

// Without its contents the view edits no drawing; the old contents may be
// gone already, so nothing of them is touched.
void CCorvellView::ForgetCurrentDrawing()
{
    if (gMainFrame && m_currentDrawing && gMainFrame->GetDrawing() == GetEditedDrawing())
        gMainFrame->HideDrawingBars();
    m_currentDrawing = nullptr;
}

// The selected drawing (a whole object) of the commands that act on it.
DiagramComp* CCorvellView::SelectedDrawing() const
{
    if (m_viewMode != kEditMode || GetSelection().GetKind() != DocPosition::kWholeObject)
        return nullptr;
    return GetEditedDrawing();
}

// Hiding and showing marks and changing the stacking order act at once,
// without an undo step; the document has changed all the same.
void CCorvellView::OnDrawingDisplay(UINT id)
{
    DiagramComp* drawing = SelectedDrawing();
    if (!drawing)
        return;
    const bool needsShapes = id == ID_DRAWING_TO_FRONT || id == ID_DRAWING_TO_BACK;
    if (needsShapes && !drawing->HasSelectedShapes())
        return;
    {
        DrawTargetScope draw(this);
        switch (id) {
        case ID_DRAWING_HIDE_CONSTRAINTS: drawing->OnHideConstraints(); break;
        case ID_DRAWING_SHOW_CONSTRAINTS: drawing->OnShowConstraints(); break;
        case ID_DRAWING_HIDE_VERTICES: drawing->OnHideVertices(); break;
        case ID_DRAWING_SHOW_VERTICES: drawing->OnShowVertices(); break;
        case ID_DRAWING_TO_FRONT: drawing->BringToFront(); break;
        case ID_DRAWING_TO_BACK: drawing->SendToBack(); break;
        default: return;
        }
    }
    SetDocumentModified();
}

void CCorvellView::OnDrawingUpdate()
{
    if (DiagramComp* drawing = SelectedDrawing())
        PerformAction(new TUpdateDiagramAction(drawing));
}

void CCorvellView::OnDrawingColorCommand()
{
    DiagramComp* drawing = SelectedDrawing();
    if (!drawing || !drawing->HasSelectedShapes())
        return;
    DrawTargetScope draw(this);
    OnDrawingColor(*this, *drawing);
}

void CCorvellView::OnDrawingPropertiesCommand()
{
    DiagramComp* drawing = SelectedDrawing();
    if (!drawing)
        return;
    DrawTargetScope draw(this);
    OnDrawingProperties(*this, *drawing);
}

// Make Equation Constraint and Show Variable Value act on the drawing that
// holds the selection, whole or inside.
void CCorvellView::OnDrawingInside(UINT id)
{
    auto* drawing = dynamic_cast<DiagramComp*>(GetSelection().FindEnclosing(tag_Draw));
    if (m_viewMode != kEditMode || !drawing)
        return;
    TAction* action = nullptr;
    {
        DrawTargetScope draw(this);
        action = id == ID_DRAWING_VARIABLE_VALUE ? OnShowVariableValue(*this, *drawing)
                                                 : CreateDrawingCommand(*this, *drawing, int(id));
    }
    if (action)
        PerformAction(action);
}

// Colour and the stacking order also need shapes selected inside the drawing.
void CCorvellView::OnUpdateDrawingObject(CCmdUI* ui)
{
    const UINT id = ui->m_nID;
    const bool needsShapes = id == ID_DRAWING_COLOR || id == ID_DRAWING_TO_FRONT || id == ID_DRAWING_TO_BACK;
    DiagramComp* drawing = SelectedDrawing();
    ui->Enable(HasCommandHandler(id) && drawing && (!needsShapes || drawing->HasSelectedShapes()));
}

void CCorvellView::OnUpdateDrawingInside(CCmdUI* ui)
{
    ui->Enable(HasCommandHandler(ui->m_nID) && m_viewMode == kEditMode &&
               GetSelection().FindEnclosing(tag_Draw) != nullptr);
}
