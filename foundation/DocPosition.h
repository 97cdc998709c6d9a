#pragma once
// One place in a document where the caret can stand or a selection can begin
// or end: a place between the children of a row (kind 1), a line of a grid
// (kind 2), a slot between the variables of a partial derivative (kind 3) or
// one component as a whole (kind 4). A small value passed by copy.
#include "foundation/Rect.h"
#include "foundation/TypeTag.h"

#include "platform/CursorShapes.h"
#include <cstdint>
#include <optional>

class CompList;
class DocumentModel;
class ParagraphComp;
class ParagraphList;
class TextComp;

class DocPosition {
public:
    enum Kind : int32_t { kNone = 0, kListPlace = 1, kGridLine = 2, kVariableSlot = 3, kWholeObject = 4 };

    // The empty position.
    DocPosition() = default;
    // A list place: before child index of the row (count + 1 is the end).
    DocPosition(CompList* list, int32_t index);
    // A grid line: a column line when column is set, else a row line.
    DocPosition(TextComp* grid, int32_t line, bool column);
    // A variable slot of a partial derivative.
    DocPosition(TextComp* derivative, int32_t slot);
    // The component as a whole object.
    void SetObject(TextComp* comp);

    int32_t GetKind() const { return m_kind; }
    int32_t GetIndex() const { return m_index; }
    uint8_t GetFlag() const { return m_flag; }
    void SetIndex(int32_t index) { m_index = index; }
    int32_t IncrementIndex() { return ++m_index; }
    // Never below 1; answers the new index.
    int32_t DecrementIndex();
    ParagraphComp* GetParagraphComp() const { return m_paragraph; }
    // The row holding a list place; for the other kinds the row that holds
    // the component; null for the empty position.
    CompList* GetList() const;
    // The component of a grid line, variable slot or whole object.
    TextComp* GetObject() const;
    // The child of the holding row at the index; null outside 1..count.
    TextComp* GetChildAt() const;
    // A list place in a paragraph's top row.
    bool IsInParagraph() const;
    bool IsObject() const { return m_kind == kWholeObject; }
    // The paragraph list holding the position's paragraph, and its document.
    ParagraphList* GetParagraph() const;
    DocumentModel* GetDocument() const;

    // The nearest enclosing component with the tag (tag_null: of any tag),
    // climbing through owner rows; null when the climb leaves the document.
    TextComp* FindEnclosing(TypeTag tag) const;
    // Just before the nearest enclosing component, in its owner row.
    DocPosition BeforeEnclosing() const;
    // Just before or after a component, in its owner row; the empty
    // position for a component without one.
    static DocPosition Before(TextComp* comp);
    static DocPosition After(TextComp* comp);
    // The start of the child row to the right (or the end of the one to the
    // left) inside the enclosing component, else just after (before) it.
    DocPosition NextField() const;
    DocPosition PreviousField() const;
    // The index in the paragraph's top row: the position's own when it lies
    // there, else that of the top-level component holding it, plus 1 unless
    // exact. 0 when the position is not inside a paragraph.
    int32_t GetParagraphIndex(bool exact) const;
    // Index 0 of a list place becomes the row's end when the paragraph's
    // style puts the caret at the end, else 1.
    DocPosition Normalize() const;

    bool operator==(const DocPosition& other) const;
    bool operator!=(const DocPosition& other) const { return !(*this == other); }
    // Index order inside one container; positions in different rows follow
    // the order of their paragraphs in the paragraph list.
    bool operator<(const DocPosition& other) const;
    bool IsSameContainer(const DocPosition& other) const;

    // ---- caret steps (each answers a new position; the empty position stays) ----
    // One place right: a structure is passed over whole; the end of a row
    // leads to the next row of the structure, paragraph or document.
    DocPosition Next() const;
    // One place left, the mirror of Next.
    DocPosition Previous() const;
    // One place right, entering a structure instead of passing it.
    DocPosition CtrlNext() const;
    // One place left, entering a structure from its right.
    DocPosition CtrlPrevious() const;
    // Half a line up or down in a paragraph's top row; inside a structure
    // the row above or below, else before or after the structure.
    DocPosition Up() const;
    DocPosition Down() const;

    // The mouse cursor over the position; none for the empty position.
    std::optional<Qt::CursorShape> GetCursor() const;
    // The caret rectangle at the position.
    void GetCaretRect(Rect& out) const;

private:
    // The component the position starts its climb at: the row's owner for a
    // list place, the component itself otherwise.
    TextComp* StartComponent() const;
    DocPosition NextInList() const;
    DocPosition PreviousInList() const;
    DocPosition VerticalInParagraph(bool down) const;

    void* m_object = nullptr;
    ParagraphComp* m_paragraph = nullptr;
    int32_t m_index = -1;
    int32_t m_kind = kNone;
    uint8_t m_flag = 0;
};
