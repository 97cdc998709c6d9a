#pragma once
// A row of components: the text of a paragraph, a numerator, a grid cell.
// It owns its components (deleting each through Delete, so shared characters
// survive) in a 1-based order (0 means not found; a caret position in a row
// of n components is 1..n + 1), lays them out into one line of layout items,
// places, draws and hit-tests that line, and stores itself in the archive.
#include "foundation/PtrArray.h"
#include "foundation/Rect.h"
#include "platform/framework/CObject.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

class DocPosition;
class DocReader;
class DocSelection;
class DocWriter;
class ExprNode;
class LaTeXWriter;
class Layout;
class LinkRemap;
class Str255;
class TextComp;
class TextOutBuffer;

using CompArray = PtrArray<TextComp>;
using LayoutArray = PtrArray<Layout>;

class CompList : public CObject {
public:
    static const CRuntimeClass classCompList;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCompList; }

    CompList();
    // Adopts the components (null: an empty row) and becomes their owner.
    explicit CompList(std::unique_ptr<CompArray> components);
    // The characters of the text in order, in the text face.
    explicit CompList(const Str255& text);
    ~CompList() override;
    CompList(const CompList&) = delete;
    CompList& operator=(const CompList&) = delete;

    // ---- contents ----
    int GetCount() const { return m_comps->GetCount(); }
    int GetCapacity() const { return m_comps->GetCapacity(); }
    // Component i; null outside 1..count.
    TextComp* GetAt(int i) const { return m_comps->GetAt(i); }
    // The position of the component; 0 when absent. A component the row owns
    // is found through the place the row last recorded in it, so that every
    // component of a long row finding itself costs the row's length once.
    int Find(const TextComp* comp) const;
    void Append(TextComp* comp);
    // Inserts before position i (1..count + 1; others are clamped into it).
    void InsertAt(TextComp* comp, int i);
    // Inserts every component of the array at position i and frees the array.
    void InsertAllAt(std::unique_ptr<CompArray> components, int i);
    // Replaces position i (1..count) or appends (count + 1) and answers the
    // component that stood there (the caller's to delete; null when appended).
    // Any other position is refused with a CException, leaving the row as it was.
    TextComp* SetAt(TextComp* comp, int i);
    // Removes and answers component i (not deleted); null outside 1..count.
    TextComp* RemoveAt(int i);
    // Removes positions first..last (clamped to the row) and answers them in order.
    std::unique_ptr<CompArray> RemoveRange(int first, int last);
    std::unique_ptr<CompArray> RemoveFrom(int i) { return RemoveRange(i, GetCount()); }
    // The whole component array; the row is left empty.
    std::unique_ptr<CompArray> DetachAll();
    // The layout items; the row is left with an empty item array: the one
    // given, emptied, when there is one (its room is reused; the caller has
    // deleted its items), or a new one.
    std::unique_ptr<LayoutArray> DetachItems(std::unique_ptr<LayoutArray> replacement = nullptr);

    void SetOwner(TextComp* owner, int showsPlaceholder);
    TextComp* GetOwner() const { return m_owner; }
    int ShowsPlaceholder() const { return m_showsPlaceholder; }
    void SetSizeStep(signed char step);
    signed char GetSizeStep() const { return m_sizeStep; }
    // Positions first..end - 1 take the font: characters become the shared
    // character of the same code in the new face, structures pass it on.
    void SetFont(int fontId, int first, int end);
    // Marks the row as needing layout and passes the change to the owner.
    void Invalidate();
    // A component of the row changed inside: recorded among the changes, and
    // the row invalidated.
    void ComponentChanged(const TextComp* comp);
    // Marks every component dirty and the row as needing layout (no propagation).
    void InvalidateAll();
    bool NeedsLayout() const { return m_needsLayout != 0; }
    bool IsLaidOut() const { return m_laidOut != 0; }

    // The components changed since the changes were last taken: those from
    // first on, but for the last tail ones, which are as they were. Every
    // component counts as changed in a new row and after a change of size
    // or of every component.
    struct Edits {
        int first = 1;
        int tail = 0;
    };
    // The changes so far; counting starts afresh with nothing changed.
    Edits TakeEdits();

    // ---- comparison and copies ----
    bool IsEqual(const CompList& other) const;
    // A deep copy whose copied references point at copied targets.
    CompList* Clone() const;
    // Deep copies with the caller's remap (the caller rebinds the links).
    CompList* CloneWithRemap(LinkRemap& remap) const;
    std::unique_ptr<CompArray> CloneItems(LinkRemap& remap) const { return CloneRange(1, GetCount(), remap); }
    // Copies positions first..last into a new array; when a copy fails, the
    // copies made so far are deleted and the failure passes on.
    std::unique_ptr<CompArray> CloneRange(int first, int last, LinkRemap& remap) const;
    std::unique_ptr<CompArray> CloneSafe(LinkRemap& remap) const { return CloneItems(remap); }

    // ---- queries ----
    // The codes of the characters in order (others skipped), at most 255; answers the count.
    int GetPlainText(Str255& out) const;
    // "/" or a sign that binds less tightly ("+", "-", a blank, a relation,
    // an arrow, a comma, ...) after the first component.
    bool HasOperatorChar() const;
    bool HasStructureOrHighChar() const;
    // The run of adjacent characters of one character-table kind around position i.
    DocSelection SelectWordAt(int i);
    // Kernel-expression nodes of the row (owned by the caller); null while no
    // kernel subsystem is installed.
    ExprNode* BuildTextNode();
    ExprNode* BuildNode();

    // ---- layout and geometry ----
    void Layout(int width);
    void LayoutToContextWidth();
    void SetOrigin(const IntPoint& point);
    void MoveBy(const IntPoint& offset);
    void Draw();
    // Draws only the items that meet the area: a page or a screen of a long
    // row costs what it shows.
    void DrawWithin(const Rect& area);
    bool HitTest(const IntPoint& point) const;
    TextComp* ComponentAtPoint(const IntPoint& point);
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest);
    void PositionFromLinePoint(DocPosition& out, const IntPoint& point);
    // The caret box of position i.
    void GetItemRect(int i, Rect& out);
    // The box of positions first..last: within a line the union of their
    // caret boxes, over several lines the row's width between the first and
    // the last (extending a selection costs the same in any row).
    void GetRangeRect(int first, int last, Rect& out);
    // The item that holds position i, or the last one before the line after
    // it; found by halving, as items stand in the order of their positions.
    ::Layout* ItemForIndex(int i) const;
    // Items stand line by line from the top, the labels after everything.
    // The number of items before the labels; the first of them whose bottom
    // is at or below y (found by halving), or one past them when none is.
    int TextItemCount() const;
    int FirstItemDownTo(int32_t y) const;
    // The first item, in order (the labels last), that passes the test;
    // only the items of the lines across the height y are tried.
    ::Layout* FindItemAcross(int32_t y, const std::function<bool(const ::Layout&)>& test) const;
    // The first item, in order, that holds the point.
    ::Layout* FirstItemHitBy(const IntPoint& point) const;
    void FitToRect(const Rect& rect);
    int GetWidth() const { return m_extent.Width(); }
    const Rect& GetRect() const { return m_extent; }
    const Rect& GetNaturalRect() const { return m_natural; }
    void SetRect(const Rect& rect) { m_extent = rect; }
    Rect GetAbsRect() const;
    const IntPoint& GetOrigin() const { return m_origin; }
    // The laid-out items, or null.
    LayoutArray* GetItems() const { return m_items.get(); }
    // Marks the row laid out (the paragraph layout fills the items itself).
    void SetLaidOut() { m_laidOut = 1; }
    void ClearLayoutFlags() { m_needsLayout = m_laidOut = 0; }

    // ---- text forms ----
    void Write(DocWriter& writer) const;
    // Reads a counted list of component records; character runs become shared
    // characters. On failure the components read so far stay in the row.
    void Read(DocReader& reader);
    void WriteTextAll(TextOutBuffer& out) const;
    void WriteLaTeX(LaTeXWriter& writer, int mode, bool align) const;

private:
    void Adopt(TextComp* comp);
    // Gives every component the row's size step (each passes it on inward).
    void PassSizeStep();
    void FinishRead(bool outermost);
    void BuildItems();
    ::Layout* StartItem(TextComp* comp, int index);
    void FinishItem(::Layout* item);
    ::Layout* FirstItemReaching(int x) const;
    // Positions from i on may have moved: their recorded places are stale.
    void Moved(int i) { m_indexed = std::min(m_indexed, i - 1); }
    // Positions first..end - 1 are new or changed, counted in the row as it now is.
    void Edited(int first, int end);

    std::unique_ptr<CompArray> m_comps;
    std::unique_ptr<LayoutArray> m_items;
    TextComp* m_owner = nullptr;
    Rect m_extent;
    Rect m_natural;
    IntPoint m_origin;
    signed char m_sizeStep = 0;
    uint8_t m_needsLayout = 1;
    uint8_t m_laidOut = 0;
    int m_showsPlaceholder = 1;
    // Positions 1..m_indexed have recorded their place in the components the
    // row owns (see Find); every change before the end lowers it.
    mutable int m_indexed = 0;
    Edits m_edits;
};

inline const CRuntimeClass CompList::classCompList = {"CompList", nullptr, RUNTIME_CLASS(CObject)};
