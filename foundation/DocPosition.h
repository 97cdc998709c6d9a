#pragma once
// One place in a document where the caret can stand or a selection can begin
// or end. This holds the value and the few operations the component model
// needs; the queries and movement operations are added with the selection
// commands.
#include <cstdint>

class CompList;
class ParagraphComp;
class TextComp;

class DocPosition {
public:
    enum Kind : int32_t { kNone = 0, kListPlace = 1, kGridLine = 2, kVariableSlot = 3, kWholeObject = 4 };

    // The empty position.
    DocPosition() = default;
    // A list place: before child index of the row (count + 1 is the end).
    DocPosition(CompList* list, int32_t index);

    int32_t GetKind() const { return m_kind; }
    int32_t GetIndex() const { return m_index; }
    void SetIndex(int32_t index) { m_index = index; }
    ParagraphComp* GetParagraphComp() const { return m_paragraph; }
    // The row holding a list place; null for other kinds.
    CompList* GetList() const;
    // The component of a grid line, variable slot or whole object.
    TextComp* GetObject() const;

    bool operator==(const DocPosition& other) const;

private:
    void* m_object = nullptr;
    ParagraphComp* m_paragraph = nullptr;
    int32_t m_index = -1;
    int32_t m_kind = kNone;
    uint8_t m_flag = 0;
};
