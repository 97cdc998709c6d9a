#pragma once
// What the document asks of its main view (the document view that shows it):
// take the document's paragraph and slide lists, keep and restore the child
// frame's placement through the display record, and select and show a range.
// The document view implements it; tests give the document a small view of
// their own.
class DisplayRecord;
class DocSelection;
class ParagraphList;
class SlideList;

class DocumentViewSeam {
public:
    virtual ~DocumentViewSeam() = default;

    virtual void SetParagraphList(ParagraphList* paragraphs) = 0;
    virtual void SetSlideList(SlideList* slides) = 0;
    // Copies the child frame's normal (restored) rectangle into the record.
    virtual void StoreFramePlacement(DisplayRecord& record) = 0;
    // Places the child frame at the record's rectangle, clamped into the
    // MDI client area, shown normal.
    virtual void ApplyFramePlacement(const DisplayRecord& record) = 0;
    virtual void SetSelection(const DocSelection& selection, bool redraw) = 0;
    virtual void ScrollToShow(const DocSelection& selection) = 0;
};
