#pragma once
// One paragraph of a document: a row of text and mathematics, the paragraph
// style that decides its fonts, spacing, alignment and numbering, the number
// label of numbered styles, the numbering state at the paragraph, and its
// place in the document. It lays itself out through its style, keeps its
// previous layout to invalidate only what changed, and paints itself.
#include "foundation/CompList.h"
#include "foundation/EquationNumber.h"
#include "foundation/ParagraphLayout.h"
#include "foundation/TextComp.h"

#include <cstdint>
#include <memory>
#include <optional>

class ByteStream;
class ChangedBands;
class DocumentModel;
class EquationLabel;
class HTMLWriter;
class IdPool;
class LeftOutCharacters;
class NotebookWriter;
class XMLWriter;
class ParagraphList;
class ParagraphStyle;

class ParagraphComp : public TextComp {
public:
    // Edit codes of the key mapping.

    // A paragraph of a style kind (outside 0..10: the plain style) holding
    // the components (null: an empty row).
    ParagraphComp(std::unique_ptr<CompArray> components, int styleIndex);
    explicit ParagraphComp(int styleIndex);
    // The plain style without a label, before reading.
    ParagraphComp();
    ~ParagraphComp() override;
    ParagraphComp(const ParagraphComp&) = delete;
    ParagraphComp& operator=(const ParagraphComp&) = delete;

    // ---- ownership ----
    // Moves the paragraph into a list; when the list belongs to another
    // document, the paragraph leaves the old document's registry, joins the
    // new one's, and lays out afresh.
    void SetOwnerList(ParagraphList* list);
    // Stores the list after reading (the row takes the style's size step first).
    void AttachToList(ParagraphList* list);
    ParagraphList* GetOwnerList() const { return m_ownerList; }
    // Leaves the list without leaving the document's registry.
    void DetachFromList() { MoveToList(nullptr); }
    DocumentModel* GetDocument() const;
    int32_t GetId() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }
    // The id a document keeps for the paragraph while it is out of the
    // document (an undo record holds it); it goes back to the pool when the
    // paragraph is destroyed without returning.
    void ReserveId(int32_t id, std::weak_ptr<IdPool> pool);
    // The id kept in pool for the paragraph (0: none), which stops keeping it.
    int32_t TakeReservedId(const IdPool* pool);

    // ---- style ----
    void SetStyle(ParagraphStyle* style);
    ParagraphStyle* GetStyle() const { return m_style; }
    int GetStyleKind() const;
    bool IsEquationStyle() const;
    EquationLabel* GetLabel() const { return m_label; }
    // Virtual so that a test can count the paragraphs a pass asks.
    virtual bool NeedsLayout() const { return m_needsLayout != 0; }
    void Show() { m_visible = 1; }
    void Hide() { m_visible = 0; }
    bool IsVisible() const { return m_visible != 0; }
    CompList* GetRow() const { return m_text; }

    // ---- text ----
    // Appends the characters in the style's font.
    void AppendString(const Str255& text);
    void InsertTabs(int n);
    int CountLeadingTabs() const;
    // Reads one line of plain text: a carriage return, a line feed or both
    // together end it. UTF-8 text becomes characters of the face that holds
    // each (the text face first, else the mathematics face; a character no
    // face holds is left out, and added to *left when given); other bytes
    // are taken as text-face codes.
    void ReadLine(ByteStream& stream, LeftOutCharacters* left = nullptr);

    // ---- layout and drawing ----
    // The current items become the previous ones; the style lays the
    // paragraph out across the page.
    void Layout(ParagraphComp* previous);
    // Invalidates on the screen what changed since the previous layout.
    void InvalidateChanges(int position);
    void AdvanceCounters(EquationNumber& counters);
    void GetCounters(EquationNumber& out) const { out = m_counters; }
    void PositionFromLinePoint(DocPosition& out, const IntPoint& point);
    // A one-unit box at the right edge of the line at or below y (pagination).
    // A paragraph fitted for printing is one line, unless it is taller than a
    // page: then its lines count as they show, scaled down.
    void GetLineBreak(int32_t y, Rect& out) const;
    // The end of the line that holds row position index.
    DocPosition GetCaretPositionAfter(int index) const;
    void ClearPreviousItems();
    // The row's current items become the previous items.
    void KeepItemsAsPrevious();
    // The items of the layout before (after a partial layout: those it replaced).
    LayoutArray* GetPreviousItems() const { return m_previous.get(); }
    ParagraphLayout::LayoutState& GetLayoutState() { return m_layoutState; }
    virtual void Paint(const Rect& update);
    // Printing: a paragraph whose ink reaches past right (a drawing, a plot
    // or a formula wider than the printable width) is shown scaled down to
    // end there, its height shrinking with it, as one piece that no page
    // break splits. It keeps its layout; the next layout ends the fitting.
    void FitWidth(int32_t right);

    // ---- component operations ----
    TextComp* Clone(LinkRemap& remap) override;
    ParagraphComp* CloneWithLinks();
    void Invalidate() override { SetNeedsLayout(true); }
    void MarkDirty() override;
    void SetOrigin(const IntPoint& point) override;
    void GetOrigin(IntPoint& out) const override { out = m_origin; }
    void SetBounds(const Rect& bounds) override;
    void GetBounds(Rect& out) const override { out = m_bounds; }
    int GetWidth() const override { return m_bounds.Width(); }
    void GetAbsBounds(Rect& out) const override;
    // The absolute bounds widened to the right edge of the widest line: a
    // word wider than the line overflows the bounds, and the screen shows
    // it whole (printing keeps to the bounds).
    void GetAbsInkBounds(Rect& out) const;
    // The right edge of the ink bounds when the paragraph was last placed.
    int32_t GetInkRight() const { return m_inkRight; }
    bool HitTest(const IntPoint& point) const override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;
    void GetTag(TypeTag& out) const override { out = tag_Para; }
    ParagraphComp* GetParagraph() const override { return const_cast<ParagraphComp*>(this); }
    ExprNode* BuildNode() override { return m_text->BuildNode(); }
    CompList* GetChild(int i) const override { return i == 1 ? m_text : nullptr; }
    void WriteLaTeX(LaTeXWriter& writer) override;
    // The export forms, by style kind.
    void WriteNotebook(NotebookWriter& writer);
    void WriteMathML(XMLWriter& writer);
    void WriteHTML(HTMLWriter& writer);
    void WriteText(TextOutBuffer& out) const override { m_text->WriteTextAll(out); }
    // Style kind (16-bit), id (32-bit), then the row.
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;
    void SetSizeStep(signed char step) override;
    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;

private:
    // The list keeps the paragraph's index hint.
    friend class ParagraphList;

    void ReplaceLabel(EquationLabel* label);
    signed char StyleSizeStep() const;
    bool StartsWithBlank() const;
    Str255 LabelText() const;
    // A one-unit box at the right edge of the laid-out line at or below y.
    Rect LineAt(int32_t y) const;
    // A paragraph fitted for printing shows its laid-out self scaled down:
    // where a laid-out y shows (rounded down), and the first laid-out y
    // that shows at or below a y.
    int32_t ShownY(int32_t laidOutY) const;
    int32_t LaidOutYAtOrBelow(int32_t shownY) const;
    // The right edge of the items on the line at y (edges included).
    int32_t LineRightAt(int32_t y) const;
    // Stores the owner list; the list it leaves and the list it joins
    // forget and count the paragraph's ink right edge.
    void MoveToList(ParagraphList* list);
    // A new ink right edge, moved in the owner list's count too.
    void SetInkRight(int32_t right);
    // Finds again how far right the items reach once they are placed: after
    // a partial layout only the new items are looked at, unless a replaced
    // one reached furthest.
    void MeasureItemsRight(const IntPoint& oldOrigin);
    // The invalidation after a partial layout: the new items and those they
    // replaced, and the kept lines after them when they moved.
    void InvalidateRelaid(ChangedBands& bands) const;
    // A fitted paragraph drawn as a picture of its laid-out self, shown in
    // its fitted bounds; only what falls in the area is drawn.
    void PaintFitted(const Rect& shown, const Rect& area);
    // Sets or clears the needs-layout flag; the owner list counts the
    // paragraphs that need layout, so that a pass finds them without asking
    // every paragraph.
    void SetNeedsLayout(bool needs);

    // The style is looked up before the row is made, so that a missing
    // style table leaves nothing behind.
    ParagraphStyle* m_style;
    int32_t m_id = 0;
    int32_t m_reservedId = 0;
    std::weak_ptr<IdPool> m_reservedIn;
    IntPoint m_origin;
    Rect m_bounds;
    CompList* m_text;
    std::unique_ptr<LayoutArray> m_previous;
    ParagraphLayout::LayoutState m_layoutState;
    // How far right the items reach, from the origin (none before placing).
    std::optional<int32_t> m_itemsRight;
    EquationLabel* m_label = nullptr;
    ParagraphList* m_ownerList = nullptr;
    int32_t m_inkRight = 0;
    EquationNumber m_counters;
    // The paragraph's place in its owner list when last looked up there: a
    // hint that the list checks before it searches.
    mutable int m_indexHint = 0;
    uint8_t m_needsLayout = 1;
    uint8_t m_visible = 1;
    // The bounds as laid out (ink included) while the paragraph is fitted.
    std::optional<Rect> m_unfitted;
};
