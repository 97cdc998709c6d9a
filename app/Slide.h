#pragma once
// One slide of a slide show: the paragraphs of the document it shows, in the
// order they were added. The paragraphs belong to the document's paragraph
// list; the slide only points at them.
#include <cstddef>
#include <cstdint>
#include <vector>

class ParagraphComp;

class Slide {
public:
    // The file form keeps a slide's paragraph count in 16 bits.
    static constexpr int32_t kMaxParagraphs = 65535;

    int32_t GetCount() const { return static_cast<int32_t>(m_paragraphs.size()); }
    ParagraphComp* GetAt(int32_t i) const { return m_paragraphs[static_cast<size_t>(i)]; }
    // Appends one paragraph; the array grows by exactly one entry. A slide
    // that is full takes no more.
    void Append(ParagraphComp* paragraph);
    // Drops every entry of the paragraph.
    void Forget(const ParagraphComp* paragraph);
    bool Contains(const ParagraphComp* paragraph) const;

private:
    std::vector<ParagraphComp*> m_paragraphs;
};
