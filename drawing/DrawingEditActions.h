#pragma once
// Cut and delete of the selected items of a drawing. Both take the items
// out into a drawing of their own and keep the records of the removal, so
// that undo puts back exactly what was there, selected as it was; the
// action owns the removed drawing until undo pastes it back or the action is
// committed. Redo removes the same items again, whatever is selected by
// then. Cut puts a copy of the removed drawing on the clipboard: what the
// clipboard holds is never the action's.
#include "drawing/DiagramComp.h"
#include "drawing/DiagramEdit.h"
#include "foundation/TCopyAction.h"

class DiagramComp;

class TDeleteDrawingAction : public TAction {
public:
    explicit TDeleteDrawingAction(DiagramComp* diagram);
    ~TDeleteDrawingAction() override;

    void Do() override;
    void Undo() override;
    // Frees what a done removal took out.
    void Commit() override;

    DiagramComp* GetDiagram() const { return m_diagram; }
    DiagramComp* GetRemoved() const { return m_removed; }
    const DiagramEditList& GetEdits() const { return m_edits; }

private:
    DiagramComp* m_diagram;
    DiagramComp* m_removed = nullptr;
    DiagramEditList m_edits;
    DiagramComp::ItemSelection m_selection;
    bool m_selectionKept = false;
};

class TCutDrawingAction : public TCopyAction {
public:
    explicit TCutDrawingAction(DiagramComp* diagram, DocClipboard* clipboard = nullptr);
    ~TCutDrawingAction() override;

    bool ModifiesDocument() const override { return true; }
    void Do() override;
    // Puts the clipboard's earlier content back (while the program still
    // owns the clipboard) and the items back into the drawing.
    void Undo() override;
    void Commit() override;

    DiagramComp* GetDiagram() const { return m_diagram; }
    DiagramComp* GetRemoved() const { return m_removed; }
    const DiagramEditList& GetEdits() const { return m_edits; }

private:
    DiagramComp* m_diagram;
    DiagramComp* m_removed = nullptr;
    DiagramEditList m_edits;
    DiagramComp::ItemSelection m_selection;
    bool m_selectionKept = false;
};
