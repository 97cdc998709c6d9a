#pragma once
// The braces of equation sets and split definitions, in the mathematics face.
#include "foundation/Rect.h"

namespace GridBraces {

constexpr unsigned char kLeftBrace = 123;
constexpr unsigned char kRightBrace = 125;

// The advance of the brace at the current size.
int Width(unsigned char brace);
// The brace at x between box.top and box.bottom (document coordinates):
// stretched when the box is at least twice as high as the brace character,
// else the single character on the box's vertical middle.
void Draw(unsigned char brace, int x, const Rect& box);

} // namespace GridBraces
