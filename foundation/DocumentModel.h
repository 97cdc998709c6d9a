#pragma once
// What the paragraphs and the paragraph list need of the document that owns
// them: its id, the registry that hands out paragraph ids, and the display
// settings the styles and the exports read.
#include <cstdint>

class ParagraphComp;

class DocumentModel {
public:
    virtual ~DocumentModel() = default;

    virtual int32_t GetDocId() const = 0;
    // Gives the paragraph an id of this document (SetId) and records it.
    virtual void RegisterParagraph(ParagraphComp& paragraph) = 0;
    // Forgets the paragraph; its id becomes 0.
    virtual void UnregisterParagraph(ParagraphComp& paragraph) = 0;
    // Takes out of the registry a paragraph that an edit moves out of the
    // document and an undo may put back. A document with an id pool keeps the
    // id for it (ParagraphComp::ReserveId) until it returns or is destroyed.
    virtual void DetachParagraph(ParagraphComp& paragraph) { UnregisterParagraph(paragraph); }
    // Registers a paragraph that enters the document; one the document kept
    // an id for gets that id back.
    virtual void ReturnParagraph(ParagraphComp& paragraph) { RegisterParagraph(paragraph); }
    // The Display "Larger Equations" setting.
    virtual bool LargerEquations() const = 0;
    // The page numbering of the display record, for the LaTeX export.
    virtual bool NumberPrintedPages() const = 0;
    virtual int16_t FirstPageNumber() const = 0;
};
