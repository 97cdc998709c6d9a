#pragma once
// The number label of a numbered paragraph (section, enumerated item,
// numbered equation): it keeps the counters as they stood for its paragraph
// at the last layout and the text the paragraph's style makes of them, and
// it is the link target that cross-references observe. When the number
// changes, every reference is told; when the label goes, every reference
// keeps its last text and becomes unlinked.
#include "foundation/EquationNumber.h"
#include "foundation/IntPoint.h"
#include "foundation/LinkTarget.h"
#include "foundation/Rect.h"
#include "foundation/Str255.h"

class LaTeXWriter;
class ParagraphComp;

class EquationLabel : public LinkTarget {
public:
    // Number 0, empty text, origin 0, empty size, needs measuring.
    explicit EquationLabel(ParagraphComp* owner = nullptr);
    ~EquationLabel() override;

    // Advances the running counters of a layout pass through the owner's
    // style; when the number differs from the stored one, stores it, remakes
    // the text, tells the references and invalidates the owner paragraph.
    virtual void Update(EquationNumber& counters);
    // The label's box in document coordinates (the size at the origin).
    virtual void GetBounds(Rect& out) const;
    // Called when the owner paragraph moves to another document: references
    // refresh their text (same-document or other-document form).
    virtual void Relink();
    // The label text made by the style ("(3)", "2.", ...).
    virtual Str255 GetText() const;

    // The text a reference to this label shows.
    void GetReferenceText(Str255& out, bool fromOtherDocument) const;
    // Size of the text in the style's label font at size step 0.
    void Measure();
    void Draw();
    void Offset(const IntPoint& by) { m_origin = IntPoint(m_origin.x + by.x, m_origin.y + by.y); }
    void SetOrigin(const IntPoint& origin) { m_origin = origin; }
    const IntPoint& GetOrigin() const { return m_origin; }
    const Rect& GetSize() const { return m_size; }
    bool NeedsMeasure() const { return m_needsMeasure != 0; }

    // The section counter, then "." and the equation counter when above 0.
    void WriteNumber(LaTeXWriter& writer) const;
    void GetNumberText(Str255& out) const;
    // The label's name in LaTeX: the number, after "sec", "item" or
    // "subitem" for the labels of sections and list items.
    void GetLaTeXName(Str255& out) const;
    // "\label{" name "}".
    void WriteLaTeXLabel(LaTeXWriter& writer) const;

    ParagraphComp* GetOwner() const { return m_owner; }
    const EquationNumber& GetNumber() const { return m_number; }

private:
    int LabelFontId() const;

    ParagraphComp* m_owner;
    EquationNumber m_number;
    Str31 m_text;
    IntPoint m_origin;
    Rect m_size;
    uint8_t m_needsMeasure = 1;
};
