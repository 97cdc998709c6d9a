#pragma once
// The slides of a document: each slide is a list of the document's
// paragraphs, and during a show only the current slide's paragraphs are
// visible, stacked from the top of the page. The slide count is stored in the
// document header; the slides themselves follow the paragraph list in the
// file, each as a 16-bit paragraph count and the paragraphs' 1-based indexes
// in the document's paragraph list.
//
// A slide never keeps a paragraph that was deleted: the document tells the
// slide list (Forget) when a paragraph leaves it for good. A paragraph that
// is only out of the list for a while (held by an undo step) stays on its
// slide but is neither shown nor stored until it comes back.
#include "app/Slide.h"

#include <cstdint>
#include <memory>
#include <vector>

class DocReader;
class DocSelection;
class DocWriter;
class ParagraphList;

class SlideList {
public:
    // The file form keeps the slide count in 16 bits.
    static constexpr int32_t kMaxSlides = 32767;

    explicit SlideList(ParagraphList* paragraphs) : m_paragraphs(paragraphs) {}
    ~SlideList();
    SlideList(const SlideList&) = delete;
    SlideList& operator=(const SlideList&) = delete;

    ParagraphList* GetParagraphList() const { return m_paragraphs; }
    int16_t GetCount() const { return static_cast<int16_t>(m_slides.size()); }
    int16_t GetCurrent() const { return m_current; }
    Slide* GetSlide(int i) const { return m_slides[static_cast<size_t>(i)].get(); }

    // ---- building (each marks the document modified) ----
    void NewSlide();
    // Appends the paragraphs from the selection's first end's paragraph to
    // its second end's paragraph to the last slide, making the first slide
    // when there is none.
    void AddSelection(const DocSelection& selection);
    void CloneLast();
    void DeleteAll();
    // The new slide i is the old slide order[i]; old slides not named are
    // deleted. Indexes outside the old slides are passed over, and a slide
    // named twice is copied.
    void Reorder(const int* order, int n);
    // Deletes every slide without marking the document (a document emptied
    // before it is read or closed).
    void Clear();

    // ---- the show ----
    void StartShow();
    void Next();
    void Previous();
    void EndShow();

    // ---- storage ----
    // The count read from the header: that many empty slides, filled by Read.
    void SetCount(int16_t count);
    // Each slide: its count of paragraphs still in the list, then their indexes.
    void Write(DocWriter& writer) const;
    // Reads the slides announced by SetCount. An index that names no
    // paragraph of the list is passed over.
    void Read(DocReader& reader);

    // The paragraph is gone from the document: no slide keeps it.
    void Forget(const ParagraphComp* paragraph);

private:
    Slide& LastSlide();
    void ShowCurrent();
    void MarkModified();

    ParagraphList* m_paragraphs;
    int16_t m_current = 0;
    std::vector<std::unique_ptr<Slide>> m_slides;
};
