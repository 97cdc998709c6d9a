#pragma once
// Measuring contexts that each keep one font selected. A device context
// forgets the advances of its characters whenever another font is selected
// into it, and layout switches fonts several times per paragraph (labels,
// size steps, formulas); measuring on a context of its own per font keeps
// the advances known. Only targets whose metrics come from an image at a
// resolution are served this way: their text metrics depend on the font and
// the resolution alone, so the measuring context answers exactly what the
// target would. Any other target measures itself.
class CDC;

namespace MeasuringContexts {

// The context on which text in the font selected into target measures as
// it does on target: a measuring context with that font, or target itself.
const CDC& For(const CDC& target);
// Forgets every measuring context (after fonts change).
void Clear();

} // namespace MeasuringContexts
