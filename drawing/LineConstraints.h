#pragma once
// Constraints on lines through vertices: a point on a segment ("SegC"), two
// parallel lines ("ParC"), a right angle ("PerC"), and the three kinds that
// hold the direction of a line: horizontal ("horC"), vertical ("vrtC") and a
// slope given by a locked direction (dx, dy) ("slpC").
#include "drawing/DrawConstraint.h"

class SegmentShape;

// P on the line through the segment's ends E1 and E2. Record: E1, E2, P.
class PointOnSegmentConstraint : public DrawConstraint {
public:
    PointOnSegmentConstraint() = default;
    PointOnSegmentConstraint(VertexShape* e1, VertexShape* e2, VertexShape* p, bool visible = true);

    TypeTag GetTag() const override { return tag_SegC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool HitsBoundVertex(const DPoint& point, const DiagramDC& dc) const override;
    DiagramItem* GetFirstItem() const override;
    // The segment joining E1 and E2, asked of E1's owner.
    DiagramItem* GetSecondItem() const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    void Build();

    VertexShape* m_p = nullptr;
    VertexShape* m_e1 = nullptr;
    VertexShape* m_e2 = nullptr;
};

// A1A2 parallel to B1B2. Record: A1, A2, B1, B2.
class ParallelConstraint : public DrawConstraint {
public:
    ParallelConstraint() = default;
    ParallelConstraint(VertexShape* a1, VertexShape* a2, VertexShape* b1, VertexShape* b2, bool visible = true);

    TypeTag GetTag() const override { return tag_ParC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    void Build();
    // The connector of the midpoints and the two bars across it.
    void Strokes(const DiagramDC& dc, DPoint (&points)[6]) const;

    VertexShape* m_a1 = nullptr;
    VertexShape* m_a2 = nullptr;
    VertexShape* m_b1 = nullptr;
    VertexShape* m_b2 = nullptr;
};

// A right angle at Q between P1 and P2. Record: P1, Q, P2.
class PerpendicularConstraint : public DrawConstraint {
public:
    PerpendicularConstraint() = default;
    PerpendicularConstraint(VertexShape* p1, VertexShape* corner, VertexShape* p2, bool visible = true);

    TypeTag GetTag() const override { return tag_PerC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

private:
    void Build();
    // B1, R, B2: the square corner's two strokes B1-R and B2-R.
    void Corner(const DiagramDC& dc, DPoint& b1, DPoint& r, DPoint& b2) const;

    VertexShape* m_p1 = nullptr;
    VertexShape* m_corner = nullptr;
    VertexShape* m_p2 = nullptr;
};

// The base of the kinds that hold the direction of the line P1P2; they share
// the marker (two short bars along the line at its midpoint).
class LineDirectionConstraint : public DrawConstraint {
public:
    LineDirectionConstraint() = default;
    LineDirectionConstraint(VertexShape* p1, VertexShape* p2, bool visible);

    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;
    // Builds the kind's one equation.
    virtual void BuildEquations() = 0;

protected:
    void Bars(const DiagramDC& dc, DPoint (&points)[4]) const;

    VertexShape* m_p1 = nullptr;
    VertexShape* m_p2 = nullptr;
};

class HorizontalConstraint : public LineDirectionConstraint {
public:
    HorizontalConstraint() = default;
    HorizontalConstraint(VertexShape* p1, VertexShape* p2, bool visible = true);
    explicit HorizontalConstraint(const SegmentShape* segment);
    TypeTag GetTag() const override { return tag_horC; }
    DrawConstraint* Copy(ItemCopyMap& map) override;
    void BuildEquations() override;
};

class VerticalConstraint : public LineDirectionConstraint {
public:
    VerticalConstraint() = default;
    VerticalConstraint(VertexShape* p1, VertexShape* p2, bool visible = true);
    explicit VerticalConstraint(const SegmentShape* segment);
    TypeTag GetTag() const override { return tag_vrtC; }
    DrawConstraint* Copy(ItemCopyMap& map) override;
    void BuildEquations() override;
};

// Record: P1, P2, dx, dy; reading locks dx and dy again.
class SlopeConstraint : public LineDirectionConstraint {
public:
    SlopeConstraint() = default;
    SlopeConstraint(VertexShape* p1, VertexShape* p2, bool visible = true);
    explicit SlopeConstraint(const SegmentShape* segment);
    SlopeConstraint(VertexShape* p1, VertexShape* p2, DrawVariable* dx, DrawVariable* dy, bool visible);
    ~SlopeConstraint() override;
    TypeTag GetTag() const override { return tag_slpC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    void SetVariableTag(DiagramComp* diagram) override;
    void BuildEquations() override;

private:
    DrawVariable* m_dx = nullptr;
    DrawVariable* m_dy = nullptr;
};
