#pragma once
// A tagged variable of the kernel: a row standing for a variable the kernel
// names by number. The mouse reaches it only as a whole.
#include "foundation/StructComp.h"

#include <cstdint>

class TagVarComp : public StructComp {
public:
    TagVarComp() = default;
    TagVarComp(std::unique_ptr<CompArray> content, int32_t tagNumber);

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_TagV; }
    bool IsEqual(const TextComp& other) const override;

    void Measure() override;
    void Draw() override;
    // Before the component, or after it when nearest is set and the point is
    // right of its middle; the caret never goes inside from the mouse.
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    TextComp* ComponentAt(const IntPoint&) override { return this; }
    // Just after the component.
    void GetEntryPosition(DocPosition& out) override { TextComp::GetEntryPosition(out); }

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    int32_t GetTagNumber() const { return m_tagNumber; }

private:
    int32_t m_tagNumber = 0;
};
