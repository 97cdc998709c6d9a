#pragma once
// Paste into a drawing selected as a whole: copies of the items of the
// drawing the clipboard holds join it, selected. Undo takes exactly those
// items out again, whatever is selected by then, into a drawing the action
// keeps for Redo; the action frees it when it is committed undone.
#include "drawing/DiagramEdit.h"
#include "drawing/ItemArray.h"
#include "foundation/TAction.h"

class DiagramComp;
class DiagramShape;
class DocClipboard;
class DrawConstraint;
class DrawLabel;

class TPasteDrawingAction : public TAction {
public:
    explicit TPasteDrawingAction(DiagramComp* diagram, DocClipboard* clipboard = nullptr);
    ~TPasteDrawingAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

    // What the paste added (nothing when the clipboard held no drawing).
    const ItemArray<DiagramShape>& GetPastedShapes() const { return m_shapes; }
    DiagramComp* GetDiagram() const { return m_diagram; }
    // While undone: the pasted items taken out, and the records of that.
    DiagramComp* GetRemoved() const { return m_removed; }
    const DiagramEditList& GetEdits() const { return m_edits; }

private:
    void Paste();
    void SelectPasted();

    DocClipboard& m_clipboard;
    DiagramComp* m_diagram;
    ItemArray<DiagramShape> m_shapes;
    ItemArray<DrawConstraint> m_constraints;
    ItemArray<DrawLabel> m_freeLabels;
    DiagramComp* m_removed = nullptr;
    DiagramEditList m_edits;
};
