#pragma once
// Text in a drawing: a row of math components centred horizontally on a
// world point (anchor + offset), either belonging to an item (a vertex's
// coordinates, a constraint's value) or free. Its frame, 3 pixels around the
// laid-out text, is kept in world coordinates for hit testing.
//
// Record: anchor x, anchor y, offset x, offset y (doubles), then the row.
#include "foundation/DPoint.h"

class CompList;
class MathMLOutput;
class DiagramComp;
class DiagramDC;
class DiagramItem;
class DocReader;
class DocWriter;
class ItemCopyMap;
struct IntPoint;

class DrawLabel {
public:
    // For reading: no owner, no drawing, an empty row, shown.
    DrawLabel();
    // A missing row becomes an empty one; the label starts at the centre of
    // the drawing's window.
    DrawLabel(DiagramItem* owner, DiagramComp* diagram, CompList* text);
    DrawLabel(DiagramComp* diagram, const DPoint& anchor, const DPoint& offset, bool shown, CompList* text);
    ~DrawLabel();
    DrawLabel(const DrawLabel&) = delete;
    DrawLabel& operator=(const DrawLabel&) = delete;

    // A copy whose value displays follow the copied variables.
    DrawLabel* Clone(ItemCopyMap& map) const;

    DiagramItem* GetOwner() const { return m_owner; }
    void SetOwner(DiagramItem* owner) { m_owner = owner; }
    DiagramComp* GetDiagram() const { return m_diagram; }
    void SetDiagram(DiagramComp* diagram);
    CompList* GetText() const { return m_text; }
    DPoint GetAnchor() const { return m_anchor; }
    DPoint GetOffset() const { return m_offset; }
    void SetOffset(const DPoint& offset) { m_offset = offset; }
    bool IsShown() const { return m_shown; }
    void Show() { m_shown = true; }
    void Hide() { m_shown = false; }
    bool IsSelected() const { return m_selected; }
    void Select() { m_selected = true; }
    void Deselect() { m_selected = false; }
    DPoint GetFrameTopLeft() const { return m_frameTopLeft; }
    DPoint GetFrameBottomRight() const { return m_frameBottomRight; }

    void SetAnchor(const DPoint& anchor);
    // Places the laid-out row at its point and computes the frame.
    void Layout();
    // Lays the row out again from scratch, then places it.
    void Relayout();
    bool HitFrame(const DPoint& world) const;
    // Whether a document point lies on the row's text.
    bool HitText(const IntPoint& point) const;
    void Draw(DiagramDC& dc);
    // The row as SVG text (or MathML or XHTML in a foreign object, when the
    // writer can write rows) at the frame's top-left; nothing while hidden.
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const;

    // The label of an item's record: made for the owner and listed with
    // the drawing being read.
    static DrawLabel* ReadFor(DiagramItem* owner, DocReader& reader, void* context);

    void Write(DocWriter& writer) const;
    // Raises CFormatException for coordinates that are not finite.
    void Read(DocReader& reader);

private:
    DiagramItem* m_owner = nullptr;
    DiagramComp* m_diagram = nullptr;
    CompList* m_text;
    DPoint m_anchor;
    DPoint m_offset;
    bool m_selected = false;
    bool m_shown = true;
    DPoint m_frameTopLeft;
    DPoint m_frameBottomRight;
};
