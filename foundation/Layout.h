#pragma once
// One laid-out piece of a row: a run of characters, a run of blanks or tabs,
// one embedded component, a line opening, a placeholder, a grey box or a
// number label. Items carry the geometry of the row: where each piece stands,
// which component index it starts at, and how points and indexes map to
// caret positions. This base gives the common fields and the answers of an
// item that covers one component; the concrete items override them.
#include "foundation/Rect.h"
#include "foundation/TypeTag.h"
#include "platform/framework/CObject.h"

#include <cstddef>
#include <cstdint>

class DocPosition;
class TextComp;

class Layout : public CObject {
public:
    explicit Layout(int32_t startIndex = 1) : m_start(startIndex) {}

    // Items are made and dropped by the hundred thousand when a document is
    // laid out: they come from free lists kept by size.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);

    // Whether the run takes one more character (then it is appended).
    virtual bool CanAppend(unsigned char code, int fontId) { return false; }
    virtual bool CanMerge(const Layout& next) const { return false; }
    virtual void Merge(Layout& next) {}
    virtual bool IsCharacterRun() const { return false; }
    virtual bool IsLine() const { return false; }
    virtual bool IsBlankRun() const { return false; }
    virtual void Measure() {}
    // Places the item's left edge at p.x and its baseline at p.y.
    virtual void MoveTo(const IntPoint& p)
    {
        m_offset.x = p.x - m_rect.left;
        m_offset.y = p.y;
    }
    virtual void MoveBy(const IntPoint& p)
    {
        m_offset.x += p.x;
        m_offset.y += p.y;
    }
    // The caret position for a point (nearest: the nearer side of a character).
    virtual void PositionAt(const IntPoint& point, DocPosition& out, bool nearest);
    virtual TextComp* ComponentAt(const IntPoint& point) { return nullptr; }
    virtual void Draw() {}
    virtual bool ContainsIndex(int32_t index) const { return index == GetStartIndex(); }
    void NearestPositionAt(const IntPoint& point, DocPosition& out) { PositionAt(point, out, true); }
    // The placed box plus the offset; character runs give the caret box of an index.
    virtual void GetAbsRect(int32_t index, Rect& out) const
    {
        out = m_rect;
        out.Offset(m_offset);
    }
    // The right edge of what the item shows: its box may reach further (the
    // last item of a line reaches the page's right edge).
    virtual int32_t ContentRight() const { return m_offset.x + m_measured.right; }
    virtual bool IsLabel() const { return false; }
    virtual void GetTag(TypeTag& out) const { out = tag_null; }
    // Whether the item shows the same as other: the same kind in the same
    // absolute box (items with content compare it too). Where the item
    // starts in the row is not compared.
    virtual bool IsEqual(const Layout& other) const;
    virtual bool AcceptsFollowing(const Layout& item) const { return false; }
    virtual int32_t EndIndex() const { return GetStartIndex() + 1; }
    // From now on the item's row position moves with the shift (null: it
    // stays), where it stands now kept: a paragraph moves the positions of
    // all the items after a change at once, by changing the shift they follow.
    void FollowShift(const int32_t* shift)
    {
        const int32_t start = GetStartIndex();
        m_shift = shift;
        m_start = shift ? start - *shift : start;
    }

    // The absolute box contains the point, all edges included.
    bool HitTest(const IntPoint& point) const;

    TypeTag Tag() const
    {
        TypeTag tag;
        GetTag(tag);
        return tag;
    }
    int32_t GetStartIndex() const { return m_shift ? m_start + *m_shift : m_start; }
    const Rect& GetMeasured() const { return m_measured; }
    const Rect& GetRect() const { return m_rect; }
    void SetRect(const Rect& rect) { m_rect = rect; }
    Rect& Placed() { return m_rect; }
    const IntPoint& GetOffset() const { return m_offset; }
    int32_t GetWidth() const { return m_rect.Width(); }
    Rect AbsRect() const
    {
        Rect r = m_rect;
        r.Offset(m_offset);
        return r;
    }

private:
    int32_t m_start;
    const int32_t* m_shift = nullptr;

protected:
    Rect m_measured;
    Rect m_rect;
    IntPoint m_offset;
};
