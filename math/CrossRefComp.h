#pragma once
// A cross-reference ("Ref "): shows the number of a paragraph's label and
// follows it when the numbering changes. The link to the label is an
// observer (the TargetLink part); the reference also keeps the referenced
// paragraph's id, so that a reference read from a file, pasted, or left
// behind by a deleted label finds its label again by id. The id is negated
// when the label lies in another document, and 0 when no paragraph is known.
#include "foundation/BoxComp.h"
#include "foundation/LinkTarget.h"
#include "foundation/Str255.h"

#include <cstdint>

class EquationLabel;

class CrossRefComp : public BoxComp, public TargetLink {
public:
    // Unlinked, number 0, empty text.
    CrossRefComp() = default;
    // Linked to the label, with its text and its paragraph's id at once.
    explicit CrossRefComp(EquationLabel* label);
    // Unlinked, with a stored number and text.
    CrossRefComp(int32_t number, const Str31& text);

    EquationLabel* GetLabel() const;
    int32_t GetNumber() const { return m_number; }
    const Str31& GetText() const { return m_text; }
    Str255 GetTextString() const;

    // Refreshes number and text from the linked label (same-document or
    // other-document form); an unlinked reference keeps what it has.
    void UpdateText();
    // Links an unlinked reference with a positive number to the label of the
    // paragraph of that id in its document; answers the linked label's
    // paragraph, or null.
    ParagraphComp* GetTargetParagraph();

    TextComp* Clone(LinkRemap& remap) override;
    void Measure() override;
    void Draw() override;
    void GetTag(TypeTag& out) const override { out = tag_Ref; }
    bool IsEqual(const TextComp& other) const override;
    ExprNode* BuildNode() override;
    // Whether the reference's equation stands in the reference's own list.
    bool TargetsOwnList();
    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    // Reference number (32-bit), then the text: a length byte and the characters.
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    // The label changed: lay out again (the text is refreshed at the next measure).
    void Changed() override { Invalidate(); }
    // The label goes: keep its last text and become unlinked.
    void TargetGone() override;

private:
    CrossRefComp(const CrossRefComp& other);

    int32_t m_number = 0;
    Str31 m_text;
};

class ParagraphList;

// Links every reference of the paragraphs (in their rows and in every
// nested row) to its label by paragraph id, as after reading a document;
// answers how many references are linked afterwards.
int LinkCrossReferences(ParagraphList& paragraphs);
