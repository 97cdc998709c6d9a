#pragma once
// The number label of a numbered paragraph (section, enumerated item,
// numbered equation): a link target that cross-references observe. This is
// what the paragraph needs of it; the label text, measuring and drawing come
// with the cross-references.
#include "foundation/LinkTarget.h"
#include "foundation/Rect.h"
#include "foundation/Str255.h"

class LaTeXWriter;
struct EquationNumber;

class EquationLabel : public LinkTarget {
public:
    // Takes its number from the running counters of a layout pass (through
    // the owner paragraph's style) and refreshes its text when it changed.
    virtual void Update(EquationNumber& counters) = 0;
    // The label's box in document coordinates.
    virtual void GetBounds(Rect& out) const = 0;
    // Called when the owner paragraph moves to another document.
    virtual void Relink() = 0;
    // The label text made by the style ("(3)", "2.", ...).
    virtual Str255 GetText() const = 0;
};
