#pragma once
// A sweep over what a user does to drawings whose items are shared. A
// script of bytes names a scene (two drawings of one document, read from
// the document's file) and then the steps: selections of any size, delete,
// cut, copy, paste into the same drawing or the other one, undo and redo,
// commit, a vertex dragged, a maker applied to the selection, the document
// saved and read again; in a solving history also a value typed.
//
// After every step each drawing is painted and saved (what the address
// sanitizer watches), the ownership rule holds, and the document saved,
// read and saved again gives the same bytes. Every action, once performed,
// is undone and redone at once: its undo gives back the document's bytes
// (and, for a removal, the selection) as they were before it, its redo the
// bytes and selection it made. The seeded test and the fuzz target run the
// same entry; leaks are the leak sanitizer's to report.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace drawing_history {

enum class Scene : uint8_t {
    // Two triangles on the same three corners, as a file may hold them.
    TwoTrianglesOnOneCorners,
    // A rectangle made by its maker on a segment: it takes the segment's ends.
    RectangleOnSegment,
    // A rectangle made on the three corners of a triangle.
    RectangleOnTriangle,
    // A rectangle whose first corner is a circle's centre, constrained.
    CornerIsCentre,
    // Two circles on one centre, a radius constraint on the second; an
    // equation whose label shows the x of a segment's end.
    ConcentricCircles,
    // A point listed on its own that is also a circle's centre and a corner.
    ListedCentre,
    // A shape of every kind, the filled triangle at the bottom.
    EveryKind,
    // Free points only, for the makers to build on.
    Points,
    Count,
    // Only in solving histories: a triangle whose base the name b labels, an
    // equation b=2a, and a's value shown in a free label; b has a value only
    // once the kernel has given it one.
    NamedSide = Count,
    CountWhenSolving
};

enum class Step : uint8_t {
    // Each takes one argument byte: which item of the kind (modulo their
    // number) is toggled into or out of the selection.
    SelectVertex,
    SelectShape,
    SelectPart,
    SelectConstraint,
    SelectLabel,
    // A band around the whole drawing.
    SelectAll,
    Deselect,
    Delete,
    Cut,
    Copy,
    Paste,
    PasteInOther,
    // Undoes the kept action, or redoes it when it is undone.
    Undo,
    Commit,
    // Arguments: which vertex, then x and y offsets in pixels (signed).
    Drag,
    // Argument: which maker (modulo the makers that need no dialog).
    Make,
    SaveAndRead,
    // The other drawing becomes the one the steps act on.
    OtherDrawing,
    Count,
    // Only in solving histories: a value typed into the display of a
    // constraint's variable. Arguments: which constraint with a value, the
    // new value (a multiple of the old one), and whether Locked is set.
    TypeValue = Count,
    CountWhenSolving
};

struct Options {
    // Values are typed too, and after every step that solves (a maker, a
    // typed value, a drag) each equation that held before it, and each new
    // one, holds, no length is negative and no segment, angle arm or circle
    // shrank to a point, unless the user was told why not.
    bool solving = false;
};

struct ScriptStep {
    Step step;
    std::vector<uint8_t> arguments = {};
};

std::vector<uint8_t> Script(Scene scene, std::initializer_list<ScriptStep> steps);
std::vector<uint8_t> Script(Scene scene, const std::vector<ScriptStep>& steps);
// A scene and steps drawn from the seed; the same seed draws the same
// history as before in a history that does not solve.
std::vector<uint8_t> RandomScript(uint32_t seed, int steps, Options options = {});

// Runs the script; answers the faults found, each with the step that found
// it, or nothing. The drawing context, fonts and component kinds must be
// set up (the drawing tests' fixture, or the fuzz target's process set-up).
std::string RunHistory(const uint8_t* data, size_t size, Options options = {});

} // namespace drawing_history
