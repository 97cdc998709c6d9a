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
    // The Display "Larger Equations" setting.
    virtual bool LargerEquations() const = 0;
    // The page numbering of the display record, for the LaTeX export.
    virtual bool NumberPrintedPages() const = 0;
    virtual int16_t FirstPageNumber() const = 0;
};
