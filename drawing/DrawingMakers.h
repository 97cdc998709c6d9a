#pragma once
// The makers behind the drawing toolbar's commands, Point (34050) to Make
// tangent (34069). Text label (34057) has no maker, so the list skips it.
// The list is filled once at the end of start-up and emptied at exit.
#include "drawing/DrawingMaker.h"

#include <memory>
#include <vector>

namespace drawing {

constexpr int kFirstMakerCommand = 34050;
constexpr int kTextLabelCommand = 34057;
constexpr int kLastMakerCommand = 34069;

// The position in the maker list of a toolbar command, or -1 for a command
// that has no maker.
int MakerIndex(int commandId);

}  // namespace drawing

extern std::vector<std::unique_ptr<DrawingMaker>> gDrawingMakers;

// Appends the makers in toolbar order.
void FillDrawingMakers();
void ClearDrawingMakers();

// The maker of a toolbar command, or null when it has none (or the list is
// not filled).
DrawingMaker* DrawingMakerForCommand(int commandId);
