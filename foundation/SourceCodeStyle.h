#pragma once
// Source code (kind 7): the code face, every line indented by half the list
// indent, every blank its own item, no stretching; consecutive source-code
// paragraphs have no space between them.
#include "foundation/PlainParagraphStyle.h"
#include "foundation/StyleKinds.h"

class SourceCodeStyle : public PlainParagraphStyle {
public:
    int GetKind() const override { return StyleKind::kSourceCode; }
    int GetFontId() const override { return 4; }
    int GetLineHeight() const override { return Scaled(kCodeLine); }
    int GetSpaceAbove(const ParagraphComp* previous) const override;
    int GetSpaceBelow() const override { return Scaled(kCode); }
    int GetFirstIndent(const ParagraphComp&) const override { return ListIndent() / 2; }
    int GetIndent(const ParagraphComp& paragraph) const override { return GetFirstIndent(paragraph); }
    void Place(ParagraphComp& paragraph, const IntPoint& point) override;
};
