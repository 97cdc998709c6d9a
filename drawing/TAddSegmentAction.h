#pragma once
// A segment (or curve) the pencil drew, added with its ends joined to what
// the drawing holds there: an end on a free vertex takes that vertex; an end
// on a lone edge or on the open end of a path joins the new edge into one
// path with them, closing the path when both ends lie on it and merging two
// paths when each end lies on another. Nothing the join takes over is freed
// while the action may be undone: undo gives back every vertex, edge and
// path as it was, and redo puts the joined figure back.
#include "drawing/DiagramActions.h"
#include "drawing/ItemArray.h"

#include <map>
#include <vector>

class DiagramComp;
class DiagramShape;
class EdgeShape;
class PolygonShape;
class VertexShape;

class TAddSegmentAction : public TDiagramAction {
public:
    // The edge stands out of the drawing, with vertices of its own.
    TAddSegmentAction(DiagramComp* diagram, EdgeShape* edge);
    ~TAddSegmentAction() override;

    void Do() override;
    void Undo() override;
    void Commit() override;

    EdgeShape* GetEdge() const { return m_edge; }
    // The path the edge joined, or null when it stands on its own.
    PolygonShape* GetPath() const { return m_path; }

private:
    // What the join changes: the drawing's shape list, the parts of the
    // paths it touches and the owners of every shape it touches.
    struct State {
        ItemArray<DiagramShape> shapes;
        std::map<PolygonShape*, std::pair<ItemArray<EdgeShape>, ItemArray<VertexShape>>> paths;
        std::map<DiagramShape*, DiagramShape*> owners;
    };
    void FirstDo();
    // The edge's end at the position of one of its own vertices: an
    // existing vertex it may take, or null.
    VertexShape* JoinableVertexAt(VertexShape* own) const;
    void JoinEnd(VertexShape* vertex, DiagramShape* owner);
    void MoveIntoPath(PolygonShape* path, DiagramShape* shape);
    void NoteTouched(DiagramShape* shape);
    State Capture() const;
    void Restore(const State& state);
    void UseEnds(bool joined);

    EdgeShape* m_edge;
    VertexShape* m_own[2] = {nullptr, nullptr};
    VertexShape* m_joined[2] = {nullptr, nullptr};
    PolygonShape* m_path = nullptr;
    bool m_newPath = false;
    // Paths merged into the chosen one: kept empty until the action is final.
    std::vector<PolygonShape*> m_merged;
    std::vector<DiagramShape*> m_touched;
    State m_before;
    State m_after;
    bool m_prepared = false;
};
