#pragma once
// The ordered paragraphs of a document, and the fragment form in which
// paragraphs travel between the document, the clipboard and undo. It finds
// paragraphs by vertical position, lays out and places them one below the
// other, paginates, splits and joins at positions, and drives storage and
// the exports of the whole document. Positions are 1-based.
#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/PtrArray.h"
#include "foundation/Rect.h"
#include "foundation/StyleKinds.h"

#include <cstdint>
#include <memory>
#include <set>

class ByteStream;
class DocReader;
class DocWriter;
class DocumentModel;
class HTMLWriter;
class LaTeXWriter;
class LeftOutCharacters;
class NotebookWriter;
class XMLWriter;
class PageRecord;
class ParagraphComp;
class TextComp;
class TextOutBuffer;

class ParagraphList {
public:
    static constexpr int kPlainKind = StyleKind::kPlain;

    explicit ParagraphList(DocumentModel* document = nullptr);
    ~ParagraphList();
    ParagraphList(const ParagraphList&) = delete;
    ParagraphList& operator=(const ParagraphList&) = delete;

    // ---- membership ----
    // Moves every paragraph from the old document's registry to the new one's.
    void SetOwner(DocumentModel* document);
    DocumentModel* GetDocument() const { return m_document; }
    int32_t GetOwnerId() const;
    int GetCount() const { return m_paragraphs->GetCount(); }
    ParagraphComp* GetAt(int i) const { return m_paragraphs->GetAt(i); }
    // The paragraph's index in this list; 0 when it is not in it.
    int IndexOf(const ParagraphComp* paragraph) const;
    ParagraphComp* FindById(int32_t id) const;
    void Append(ParagraphComp* paragraph);
    void InsertAt(ParagraphComp* paragraph, int i);
    // Removes paragraph i (null outside 1..count) and detaches it from the list.
    ParagraphComp* RemoveAt(int i);
    ParagraphComp* PopFront() { return RemoveAt(1); }
    // Unregisters and deletes every paragraph.
    void DeleteAll();
    // Position 1 of paragraph i's row.
    DocPosition PositionAt(int i) const;
    // From the start of the first paragraph's row to the end of the last one's.
    DocSelection GetFullSelection() const;
    int32_t GetHeight() const { return m_height; }
    // The right edge of the widest line of any paragraph (see
    // ParagraphComp::GetAbsInkBounds) as last placed; 0 without paragraphs.
    // Kept as the paragraphs are placed, come and go: no paragraph is asked.
    int32_t GetInkRight() const;

    // ---- lookup by point ----
    // The first paragraph whose bottom is at or below y; the last one for a y
    // beyond every paragraph; 0 for an empty list.
    int FindIndexAtY(int32_t y) const;
    ParagraphComp* GetParagraphAtY(int32_t y) const { return GetAt(FindIndexAtY(y)); }
    TextComp* ComponentAt(const IntPoint& point) const;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) const;

    // ---- layout and drawing ----
    // Each pass leaves every reference showing its label's current number,
    // wherever the reference lies: RelayoutAll and Paginate number every
    // label before laying anything out, and UpdateLayoutFrom lays out again
    // a reference it passed before its label was renumbered.
    void UpdateLayout();
    void UpdateLayoutFrom(int index, int position);
    void RelayoutAll(bool invalidateTail);
    void SetEquationSizeStep(bool larger);
    // Page breaks for printing, with every paragraph wider than the page
    // fitted to its width; raises CException when the printable height
    // leaves no room for a line.
    void Paginate(PageRecord& pages);
    void StackVisible();
    void ShowAll();
    void HideAll();
    void PaintRange(const Rect& update) const;

    // ---- splitting and joining ----
    // Splits the paragraph of the position there (a position inside a
    // structure splits the top row after that structure) and answers a new
    // list holding the rest of the document.
    std::unique_ptr<ParagraphList> SplitAt(const DocPosition& position);
    // Joins the other list's first paragraph to this list's last one, appends
    // the rest and answers where the two rows met. An empty list adds nothing.
    DocPosition AppendList(std::unique_ptr<ParagraphList> other);
    // Cuts the selection out and answers it as a list.
    std::unique_ptr<ParagraphList> DeleteRange(const DocSelection& selection);
    // Inserts the list at the position and answers the end of what was inserted.
    DocPosition InsertListAt(const DocPosition& position, std::unique_ptr<ParagraphList> list);

    // ---- fragments ----
    // Copies the selection (ends in document order) into a new list without
    // document; span receives the selection over the whole copy.
    std::unique_ptr<ParagraphList> CopyRange(const DocSelection& selection, DocSelection* span = nullptr) const;
    static std::unique_ptr<ParagraphList> FromComponents(DocumentModel* document, std::unique_ptr<CompArray> components,
                                                         DocSelection* span = nullptr);
    static std::unique_ptr<ParagraphList> FromObject(DocumentModel* document, TextComp* comp,
                                                     DocSelection* span = nullptr);
    // A grid made of copied cells, an equation set made of copied lines.
    static std::unique_ptr<ParagraphList> FromCells(DocumentModel* document, TextComp* grid,
                                                    DocSelection* span = nullptr)
    {
        return FromObject(document, grid, span);
    }
    static std::unique_ptr<ParagraphList> FromEquationLines(DocumentModel* document, TextComp* equationSet,
                                                            DocSelection* span = nullptr)
    {
        return FromObject(document, equationSet, span);
    }

    // ---- storage and export ----
    // A 32-bit count, then every paragraph's fields.
    void Write(DocWriter& writer, bool flushEach) const;
    void ReadCounted(DocReader& reader);
    // One paragraph per line of plain text; the characters no face holds are
    // left out and added to *left when given.
    void ReadText(ByteStream& stream, LeftOutCharacters* left = nullptr);
    void WriteTextAll(TextOutBuffer& out) const;
    void WriteLaTeX(LaTeXWriter& writer) const;
    void WriteNotebook(NotebookWriter& writer) const;
    void WriteMathML(XMLWriter& writer) const;
    void WriteHTML(HTMLWriter& writer) const;

private:
    using ParagraphArray = PtrArray<ParagraphComp>;

    // A paragraph counts its ink right edge, and whether it needs layout, in
    // the list it names as its owner, and moves them when they change.
    friend class ParagraphComp;
    void CountInkRight(int32_t right) { m_inkRights.insert(right); }
    void ForgetInkRight(int32_t right);

    // Takes a paragraph into this list without registering it again when it
    // stays in the same document.
    void MoveIn(ParagraphComp* paragraph);
    ParagraphComp* TakeOut(int i);
    // Moves paragraphs from..count to the end of the target list.
    void MoveAllTo(ParagraphList& target, int from);
    void Destroy(ParagraphComp* paragraph);
    // The index in the paragraph's top row at which a position splits it.
    static int TopRowIndex(const DocPosition& position);
    void PlaceAt(ParagraphComp* paragraph, const IntPoint& pen, Rect& changed);
    void InvalidateTail(int32_t newHeight);
    // The index of the first paragraph from `from` on that needs layout;
    // count + 1 when none does. Asks no paragraph while none needs layout.
    int NextNeedingLayout(int from) const;
    // Whether paragraph index is an equation that no list item follows
    // (past further equations): the web exports close their lists before it.
    bool EndsLists(int index) const;
    // Numbers every label in document order (labels tell their references).
    void NumberAll();
    // Lays out the paragraphs that a renumbered label marked after the pass
    // had passed them, and moves what follows them.
    void SettleReferences();

    DocumentModel* m_document = nullptr;
    int32_t m_ownerId = 0;
    std::unique_ptr<ParagraphArray> m_paragraphs;
    int32_t m_height = 0;
    // The ink right edges of the paragraphs that name this list as their owner.
    std::multiset<int32_t> m_inkRights;
    // How many of the paragraphs that name this list as their owner need layout.
    int m_needingLayout = 0;
};
