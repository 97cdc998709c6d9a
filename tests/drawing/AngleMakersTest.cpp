// The makers of constraints between two segments: which pairs share an
// end, touch or merely cross, the corner and arms each pair gives, and the
// selections parallel, perpendicular and fixed angle accept.
#include "DrawingTestSupport.h"

#include "drawing/AngleMakers.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

class AngleMakersTest : public MakerTest {
protected:
    SegmentShape* Segment(DPoint a, DPoint b)
    {
        auto* segment = new SegmentShape(new VertexShape(a.x, a.y), new VertexShape(b.x, b.y));
        drawing->AddShape(segment);
        return segment;
    }

    // The arms and corner as the names of the segments' ends.
    static std::string Names(const std::array<VertexShape*, 3>& angle, const SegmentShape& s, const SegmentShape& t)
    {
        std::string names;
        for (VertexShape* v : angle) {
            if (!names.empty())
                names += ' ';
            names += v == s.GetStart() ? "s0" : v == s.GetEnd() ? "s1" : v == t.GetStart() ? "t0" : "t1";
        }
        return names;
    }
};

TEST_F(AngleMakersTest, CornersOfSharedEndsAndTouchingEnds)
{
    struct Row {
        const char* name;
        DPoint s0, s1, t0, t1;
        const char* angle; // "" when the segments neither share an end nor touch
    };
    const Row rows[] = {
        {"starts at one place", {0, 0}, {2, 0}, {0, 0}, {0, 2}, "s1 s0 t1"},
        {"start on the other's end", {0, 0}, {2, 0}, {0, 2}, {0, 0}, "s1 s0 t0"},
        {"end on the other's start", {2, 0}, {0, 0}, {0, 0}, {0, 2}, "s0 s1 t1"},
        {"ends at one place", {2, 0}, {0, 0}, {0, 2}, {0, 0}, "s0 s1 t0"},
        {"first's start on the second's middle", {1, 0}, {1, 2}, {0, 0}, {2, 0}, "t0 s0 s1"},
        {"first's end on the second's middle", {1, 2}, {1, 0}, {0, 0}, {2, 0}, "s0 s1 t0"},
        {"second's start on the first's middle", {0, 0}, {2, 0}, {1, 0}, {1, 2}, "s0 t0 t1"},
        {"second's end on the first's middle", {0, 0}, {2, 0}, {1, 2}, {1, 0}, "t0 t1 s0"},
        {"crossing in their middles", {0, 0}, {2, 2}, {0, 2}, {2, 0}, ""},
        {"apart", {0, 0}, {2, 0}, {0, 1}, {2, 1}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SegmentShape* s = Segment(row.s0, row.s1);
        SegmentShape* t = Segment(row.t0, row.t1);
        std::array<VertexShape*, 3> angle{};
        const bool found = FindCorner(*s, *t, drawing->GetDC(), angle);
        EXPECT_EQ(found ? Names(angle, *s, *t) : std::string(), row.angle);
    }
}

TEST_F(AngleMakersTest, ParallelWantsSegmentsApartPerpendicularAndAngleSegmentsThatMeet)
{
    SegmentShape* a = Segment({0, 0}, {2, 0});
    SegmentShape* b = Segment({0, 0}, {0, 2}); // shares a's start
    SegmentShape* c = Segment({1, -1}, {1, 1}); // crosses a
    SegmentShape* d = Segment({0, 3}, {2, 4});  // apart
    SegmentShape* e = Segment({1, 0}, {1, -2}); // starts on a
    auto* v1 = new VertexShape(5, 5);
    auto* v2 = new VertexShape(6, 5);
    auto* v3 = new VertexShape(6, 6);
    for (DiagramShape* v : {v1, v2, v3})
        drawing->AddShape(v);
    const ParallelMaker parallel;
    const PerpendicularMaker perpendicular;
    const FixAngleMaker angle;
    struct Row {
        const char* name;
        std::vector<DiagramShape*> selection;
        const char* accepts; // parallel, perpendicular, angle
    };
    const Row rows[] = {
        {"nothing", {}, "000"},
        {"one segment", {a}, "000"},
        {"sharing an end", {a, b}, "011"},
        {"crossing", {a, c}, "100"},
        {"apart", {a, d}, "100"},
        {"an end on the other (sharing no end)", {e, a}, "111"},
        {"three vertices", {v1, v2, v3}, "001"},
        {"two vertices", {v1, v2}, "000"},
        {"three segments", {a, b, e}, "000"},
        {"a segment and a vertex", {a, v1}, "000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DrawingMaker* makers[] = {&parallel, &perpendicular, &angle};
        EXPECT_EQ(Accepts(makers, Select(row.selection)), row.accepts);
    }
    EXPECT_EQ(perpendicular.GetErrorMessage(), "To make a right angle constraint you must have two segments selected.");
}

} // namespace
