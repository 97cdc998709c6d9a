#pragma once
// A cubic Bezier edge ("BCrv"): the ends are joined by a curve shaped by two
// control vertices, all four ordinary vertices the constraints can hold. It
// is drawn, hit and outlined as 32 chords whose points come from two weight
// tables computed once.
//
// Record: the edge's, then control 1 and control 2 (vertex references) and
// the handles-shown byte.
#include "drawing/EdgeShape.h"

#include <array>

// The weights of P0 and P1 at t = k / 32 (those of P3 and P2 are the same
// tables read backwards); the ends are exact.
struct BezierTables {
    std::array<double, drawing::kBezierChords + 1> a{};
    std::array<double, drawing::kBezierChords + 1> b{};
};
const BezierTables& GetBezierTables();
// Fills the tables; start-up calls it before any drawing exists.
void InitBezierTables();

class CurveShape : public EdgeShape {
public:
    CurveShape() = default;
    CurveShape(VertexShape* start, VertexShape* end, VertexShape* control1, VertexShape* control2,
               DiagramShape* owner = nullptr);
    CurveShape(VertexShape* start, VertexShape* end, VertexShape* control1, VertexShape* control2, bool handlesShown,
               DrawLabel* label, int32_t penStyle, COLORREF colour, DiagramShape* owner = nullptr);
    // Lets go of the control vertices, then of the ends.
    ~CurveShape() override;

    TypeTag GetTag() const override { return tag_BCrv; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;

    // The four vertices (hidden controls too), then the chords.
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    DrawConstraint* MakeAttachConstraint(VertexShape* vertex) override;
    void HideConstraint() override { m_handlesShown = false; }
    void ShowConstraint() override { m_handlesShown = true; }
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    DiagramShape* Clone(ItemCopyMap& map) override;
    bool IsCurve() const override { return true; }
    // A free curve owns the vertices only it uses.
    DiagramShape* SetOwner(DiagramShape* owner) override;
    void AppendOutlinePoints(std::vector<DPoint>& points) const override;
    DiagramEditGroup* RemovePart(DiagramShape* part) override;

    void DrawStartArrow(DiagramDC& dc) const override;
    void DrawEndArrow(DiagramDC& dc) const override;
    bool AppendPathStep(const DiagramDC& dc, std::string& text, bool lineBefore,
                        VertexShape*& current) const override;

    // The handle lines and control vertices, when shown.
    void DrawHandles(DiagramDC& dc) const;
    // P0, P1, P2 for 0, 1, 2 and P3 for any other index.
    VertexShape* GetControlPoint(int index) const;
    VertexShape* GetControl1() const { return m_control1; }
    VertexShape* GetControl2() const { return m_control2; }
    bool HandlesShown() const { return m_handlesShown; }
    // The 32 points after P0 towards P3 (forward) or after P3 towards P0.
    std::vector<DPoint> Flatten(bool forward) const;

protected:
    std::vector<VertexShape**> VertexSlots() override;

private:
    VertexShape* m_control1 = nullptr;
    VertexShape* m_control2 = nullptr;
    bool m_handlesShown = true;
};
