// The drawing history sweep (see DrawingHistory.h): the cases users ran
// into, a fixed set of seeds of random histories, and the fuzz target's
// corpus, which holds every history that once failed.
#include "DrawingHistory.h"
#include "DrawingTestSupport.h"

#include "support/CorpusReplay.h"

namespace {

using namespace drawing_history;

struct Case {
    const char* name;
    std::vector<uint8_t> script;
};

const Case kCases[] = {
    {"two triangles on the same corners, all three corners deleted and committed",
     Script(Scene::TwoTrianglesOnOneCorners,
            {{Step::SelectVertex, {0}},
             {Step::SelectVertex, {1}},
             {Step::SelectVertex, {2}},
             {Step::Delete},
             {Step::Commit},
             {Step::SaveAndRead}})},
    {"a rectangle on a segment, both ends deleted, undone, redone",
     Script(Scene::RectangleOnSegment,
            {{Step::SelectVertex, {0}},
             {Step::SelectVertex, {1}},
             {Step::Delete},
             {Step::Undo},
             {Step::Undo},
             {Step::Commit}})},
    {"a rectangle on a triangle's corners, two of them deleted",
     Script(Scene::RectangleOnTriangle, {{Step::SelectVertex, {0}}, {Step::SelectVertex, {1}}, {Step::Delete}})},
    {"a rectangle on a triangle's corners, all three deleted",
     Script(Scene::RectangleOnTriangle,
            {{Step::SelectVertex, {0}}, {Step::SelectVertex, {1}}, {Step::SelectVertex, {2}}, {Step::Delete}})},
    {"a rectangle on a triangle's corners, all four corners cut",
     Script(Scene::RectangleOnTriangle,
            {{Step::SelectVertex, {0}},
             {Step::SelectVertex, {1}},
             {Step::SelectVertex, {2}},
             {Step::SelectVertex, {3}},
             {Step::Cut},
             {Step::Commit}})},
    {"a rectangle on a triangle's corners, a corner and the triangle deleted",
     Script(Scene::RectangleOnTriangle, {{Step::SelectVertex, {0}}, {Step::SelectShape, {0}}, {Step::Delete}})},
    {"a rectangle's corner that is a circle's centre deleted, undone, redone",
     Script(Scene::CornerIsCentre, {{Step::SelectVertex, {0}}, {Step::Delete}, {Step::Undo}, {Step::Undo}})},
    {"one of two circles on one centre copied into the other drawing",
     Script(Scene::ConcentricCircles,
            {{Step::SelectShape, {0}}, {Step::Copy}, {Step::PasteInOther}, {Step::Commit}, {Step::SaveAndRead}})},
    {"the point an equation shows deleted",
     Script(Scene::ConcentricCircles, {{Step::SelectVertex, {2}}, {Step::Delete}})},
    {"the filled shape at the bottom deleted and undone",
     Script(Scene::EveryKind, {{Step::SelectShape, {0}}, {Step::Delete}})},
    {"a distance's label pasted into the other drawing, then a corner the distance binds cut",
     Script(Scene::TwoTrianglesOnOneCorners,
            {{Step::SelectLabel, {0}}, {Step::Cut}, {Step::PasteInOther}, {Step::SelectVertex, {0}}, {Step::Cut}})},
};

} // namespace

TEST_F(DrawingTest, SharedItemsStayExactAndSafeThroughEveryHistory)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunHistory(c.script.data(), c.script.size()), "");
    }
    constexpr uint32_t kSeeds = 32;
    constexpr int kSteps = 30;
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<uint8_t> script = RandomScript(seed, kSteps);
        EXPECT_EQ(RunHistory(script.data(), script.size()), "");
    }
}

TEST_F(DrawingTest, TheDrawingHistoryFuzzCorpusReplays)
{
    ReplayCorpus("tests/drawing/fuzz/corpus", [](const uint8_t* data, size_t size) {
        const std::string faults = RunHistory(data, size);
        EXPECT_EQ(faults, "");
        return faults.empty();
    });
}
