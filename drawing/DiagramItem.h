#pragma once
// The root of everything a drawing holds: shapes and constraints. An item is
// created visible and unselected; only the visible flag is stored. The
// defaults here are what an item without that feature answers.
#include "drawing/ItemArray.h"
#include "foundation/ArchiveItem.h"
#include "foundation/DPoint.h"

class DiagramComp;
class DiagramDC;
class DrawLabel;

class DiagramItem : public ArchiveItem {
public:
    ~DiagramItem() override = default;

    // The visible byte.
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    virtual bool IsShape() const { return false; }
    // The item hit at a world point: this item, one of its parts, or null.
    virtual DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) { return nullptr; }
    virtual bool IsSelected() const { return m_selected; }
    virtual void Select() { m_selected = true; }
    virtual void Deselect() { m_selected = false; }
    virtual void HideVertex() {}
    virtual void HideConstraint() {}
    virtual void ShowVertex() {}
    virtual void ShowConstraint() {}
    virtual void Draw(DiagramDC& dc) {}
    virtual bool HasLabelDecoration() const { return false; }
    virtual void DrawLabelDecoration(DiagramDC& dc) {}
    // Items whose label draws a leader line to them when selected.
    virtual bool HasLabelAnchor() const { return false; }
    virtual DPoint GetLabelAnchor(const DiagramDC& dc) const { return {}; }

    // Items with a label of their own override these.
    virtual bool CanShowLabel() const { return false; }
    virtual DrawLabel* MakeLabel(DiagramComp* diagram) { return nullptr; }
    virtual bool HasLabel() const { return false; }
    virtual DrawLabel* GetLabel() const { return nullptr; }
    virtual void ClearLabel() {}
    virtual void SetLabel(DrawLabel* label) {}
    virtual void PlaceLabel(const DiagramDC& dc) {}

    bool IsVisible() const { return m_visible; }

protected:
    bool m_visible = true;
    bool m_selected = false;
};
