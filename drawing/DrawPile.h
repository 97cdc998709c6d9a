#pragma once
// The item pile: the items that lie under one point of a drawing, one per
// row of a small pane, with the constraints that link them drawn as lines
// between the rows. A click on a row's cell selects its item; dragging from
// a vertex row's centre onto another row's item (or from an item onto a
// vertex row's centre) attaches the vertex to that item by a new point-on
// constraint.
//
// Pane geometry in pixels: rows are 24 high; a row has a left cell
// (x < 40), a centre cell (40..104) and a right cell (x > 104). A row
// stands for its centre item; a vertex that ends sides of a compound shape
// shows those sides in its left and right cells. Vertices are hit on their
// dot, circles on their ring, segments, curves and plots on a band 4 pixels
// either side of the row's centre line.
#include "drawing/DiagramItem.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class ActionView;
class CDC;
class DiagramComp;
class DiagramShape;
class DrawConstraint;

namespace pile {
inline constexpr int kRowHeight = 24;
inline constexpr int kCentreLeft = 40;
inline constexpr int kCentreRight = 104;
// Cells: -1 left, 0 centre, 1 right.
int CellAt(int x);
// The x of a cell's anchor point: 20, 72 or 124.
int AnchorX(int cell);
} // namespace pile

struct PileEntry {
    DiagramShape* left = nullptr;
    DiagramShape* centre = nullptr;
    DiagramShape* right = nullptr;
    int32_t row = -1;

    DiagramShape* ItemIn(int cell) const;
    int CentreY() const { return row * pile::kRowHeight + pile::kRowHeight / 2; }
};

// A row for a shape: a vertex with an owner shape shows the owner's two
// sides at it beside it; any other shape stands alone.
PileEntry MakePileEntry(DiagramShape* shape);

struct PileLink {
    DrawConstraint* constraint = nullptr;
    PileEntry* source = nullptr;
    PileEntry* target = nullptr;
    int32_t sourceCell = 0;
    int32_t targetCell = 0;
};

class DrawPile {
public:
    // Adds a constraint the pile made to the drawing; the default adds it
    // directly and selects it alone.
    using ConstraintAdder = std::function<void(DrawConstraint*)>;

    // Numbers the rows in order and links the rows each constraint binds.
    DrawPile(std::vector<PileEntry> entries, const std::vector<DrawConstraint*>& constraints, DiagramComp* diagram,
             ActionView* view);
    ~DrawPile();
    DrawPile(const DrawPile&) = delete;
    DrawPile& operator=(const DrawPile&) = delete;

    void SetConstraintAdder(ConstraintAdder adder) { m_addConstraint = std::move(adder); }

    // The mouse in pane pixels; each answers whether the pane must be
    // painted again.
    void OnMouseDown(int x, int y);
    bool OnMouseMove(int x, int y);
    bool OnMouseUp(int x, int y, bool extend);
    // Paints the pane: white, the rows, the links, and the rubber line of a
    // drag under way.
    void Redraw(CDC& dc) const;

    bool HitEntry(const PileEntry& entry, int x, int y) const;
    bool HitLink(const PileLink& link, int x, int y) const;
    // The constraint that attaches the vertex of one end's centre cell to
    // the item in the other end's cell, as a link between them; the link's
    // constraint is null when the cells allow none.
    PileLink MakeAttachConstraint(PileEntry* source, int sourceCell, PileEntry* target, int targetCell) const;

    // Whether every item the pile's rows show still belongs to its drawing.
    bool IsCurrent() const;
    // Whether the link's constraint is in the drawing (an undo may take it
    // out and a redo put it back): only such links are drawn and pressed.
    bool IsLive(const PileLink& link) const;

    DiagramComp* GetDiagram() const { return m_diagram; }
    ActionView* GetView() const { return m_view; }
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    const PileEntry& GetEntry(int i) const { return *m_entries[static_cast<size_t>(i)]; }
    int GetLinkCount() const { return static_cast<int>(m_links.size()); }
    const PileLink& GetLink(int i) const { return *m_links[static_cast<size_t>(i)]; }
    // The pane's height that shows every row.
    int GetHeight() const { return GetEntryCount() * pile::kRowHeight; }
    bool IsDraggingEntry() const { return m_draggingEntry; }
    bool IsPressingLink() const { return m_pressingLink; }

private:
    void AddLink(DrawConstraint* constraint, DiagramItem* a, DiagramItem* b);
    // The entry of a pane y: rows past the last count as the last.
    PileEntry* EntryAtY(int y) const;
    bool EndEntryDrag(int x, int y, bool extend);
    bool EndLinkPress(int x, int y, bool extend);
    void DrawEntry(CDC& dc, const PileEntry& entry) const;
    void DrawLink(CDC& dc, const PileLink& link) const;

    std::vector<std::unique_ptr<PileEntry>> m_entries;
    std::vector<std::unique_ptr<PileLink>> m_links;
    bool m_draggingEntry = false;
    bool m_pressingLink = false;
    bool m_rubberLine = false;
    PileEntry* m_pressedEntry = nullptr;
    int m_pressedCell = 0;
    PileLink* m_pressedLink = nullptr;
    DiagramComp* m_diagram;
    ActionView* m_view;
    int m_startX = 0;
    int m_startY = 0;
    int m_lastX = 0;
    int m_lastY = 0;
    ConstraintAdder m_addConstraint;
};
