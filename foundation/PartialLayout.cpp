#include "foundation/PartialLayout.h"

#include "foundation/Layout.h"
#include "foundation/LineBreaker.h"
#include "foundation/LineLayout.h"

#include <algorithm>
#include <vector>

namespace ParagraphLayout {

namespace {

// The last item (from 1) whose row position is at or before position, among
// the first count items of a layout (in row order; a line opener stands at
// its first item's position).
int LastItemAtOrBefore(const LayoutArray& items, int count, int32_t position)
{
    int low = 1;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (items.GetAt(middle)->GetStartIndex() <= position)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

// Lays out again only the lines a change of the row reaches, keeping the
// placed lines before them and after them, when the layout before was made
// under the same context and placed. The lines are made anew from the first
// line whose breaking looked at the position before the first change (see
// FindRestart). Making stops at the first new line that starts where a kept
// line other than the first started (the row's length change counted): from
// there the row is as it was, and so are its lines.
class PartialLayout {
public:
    PartialLayout(CompList& row, LayoutArray& old, LayoutState& state, const CompList::Edits& edits)
        : m_row(row), m_old(old), m_state(state), m_edits(edits)
    {
    }

    bool Run(LayoutArray& out)
    {
        const Context& context = m_state.context;
        if (!FindChange())
            return false;
        LayoutArray fresh;
        bool settled = false;
        try {
            settled = BreakLines(m_row, fresh, m_old.GetAt(m_restart)->GetStartIndex(), context.width, context.mergesSpaces,
                                 [this](const Layout& first) { return IsKeptLineStart(first.GetStartIndex()); });
        } catch (...) {
            DeleteItems(fresh);
            throw;
        }
        const int keptFrom = settled ? m_cursor : m_textCount + 1;
        MoveTailPositions(keptFrom);
        Splice(out, fresh, keptFrom);
        if (m_restart == 1)
            AddSpaceAbove(out, context.above);
        if (!settled)
            AddSpaceBelow(out, context.below);
        return true;
    }

    bool LabelKept() const { return m_restart > 1; }

private:
    bool FindChange()
    {
        m_textCount = m_old.GetCount();
        if (m_textCount > 0 && m_old.GetAt(m_textCount)->IsLabel())
            --m_textCount;
        if (m_textCount < 2 || !m_old.GetAt(1)->IsLine() || m_old.GetAt(m_textCount)->IsLine())
            return false;
        const int32_t oldCount = m_old.GetAt(m_textCount)->EndIndex() - 1;
        const int32_t first = m_edits.first;
        const int32_t tail = std::max(0, std::min({m_edits.tail, oldCount, m_row.GetCount()}));
        m_shift = m_row.GetCount() - oldCount;
        m_keepFrom = oldCount - tail + 1;
        const int32_t before = std::clamp(first - 1, 1, oldCount);
        m_restart = FindRestart(LineOpenerAtOrBefore(m_old, LastItemAtOrBefore(m_old, m_textCount, before)), before);
        m_cursor = m_restart;
        return m_old.GetAt(m_restart)->GetStartIndex() <= m_row.GetCount();
    }

    const LineLayout& OldLine(int i) const { return static_cast<const LineLayout&>(*m_old.GetAt(i)); }

    // The first line whose breaking looked at position changed or beyond
    // (its reach), searched back from the line holding it. A line ends at
    // the last break allowed before the item where it overflowed, so no line
    // before the one preceding a line that starts at an allowed break looked
    // past that break: the search stops there. Only lines that start inside
    // a run (a run too wide for a line, split at its components) take it
    // further back: a shrinking run may join lines two or more above.
    int FindRestart(int holding, int32_t changed) const
    {
        int restart = holding;
        for (int line = holding; line > 1;) {
            const int previous = LineOpenerAtOrBefore(m_old, line - 1);
            if (OldLine(previous).GetReach() > changed)
                restart = previous;
            if (!OldLine(previous).EndsInsideRun())
                break;
            line = previous;
        }
        return restart;
    }

    // Whether a kept line started where a new line would start (in the row
    // as it is): the old items are passed in order as the new lines go on.
    bool IsKeptLineStart(int32_t position)
    {
        // The first line has its own indent and the space above: it is
        // never kept as a later one.
        const int32_t oldPosition = position - m_shift;
        if (oldPosition < m_keepFrom || oldPosition <= 1)
            return false;
        while (m_cursor <= m_textCount && m_old.GetAt(m_cursor)->GetStartIndex() < oldPosition)
            ++m_cursor;
        return m_cursor <= m_textCount && m_old.GetAt(m_cursor)->IsLine() &&
               m_old.GetAt(m_cursor)->GetStartIndex() == oldPosition;
    }

    // The kept items from keptFrom on move by the change of the row's length.
    // They follow the paragraph's shift, which moves them all at once; only
    // items that start or stop following it are visited: those between
    // where the last change and this one left the kept lines.
    void MoveTailPositions(int keptFrom)
    {
        const int following = std::min(m_state.tailFrom, m_textCount + 1);
        for (int i = following; i < m_restart; ++i)
            m_old.GetAt(i)->FollowShift(nullptr);
        for (int i = keptFrom; i < following; ++i)
            m_old.GetAt(i)->FollowShift(&m_state.shift);
        m_state.shift += m_shift;
    }

    // The row's items become the kept lines before, the new lines and the
    // kept lines from keptFrom on, in place of the old array, whose tail
    // moves once; the old items keep only those replaced.
    void Splice(LayoutArray& out, LayoutArray& fresh, int keptFrom)
    {
        std::vector<Layout*> replaced;
        for (int i = m_restart; i < keptFrom; ++i)
            replaced.push_back(m_old.GetAt(i));
        Layout* label = m_old.GetCount() > m_textCount ? m_old.GetAt(m_old.GetCount()) : nullptr;
        if (label && !LabelKept()) {
            replaced.push_back(label);
            m_old.RemoveAt(m_old.GetCount());
        }
        if (keptFrom > m_restart)
            m_old.RemoveRange(m_restart, keptFrom - 1);
        m_old.InsertAll(m_restart, fresh);
        m_state.first = m_restart;
        m_state.end = m_restart + fresh.GetCount();
        fresh.RemoveAll();
        m_state.tailFrom = keptFrom <= m_textCount ? m_state.end : INT32_MAX;
        out.RemoveAll();
        out.Swap(m_old);
        for (Layout* item : replaced)
            m_old.Append(item);
    }

    CompList& m_row;
    LayoutArray& m_old;
    LayoutState& m_state;
    CompList::Edits m_edits;
    int m_textCount = 0;
    int m_restart = 1;
    int m_cursor = 1;
    int32_t m_shift = 0;
    int32_t m_keepFrom = 0;
};

} // namespace

bool LayOutInPart(CompList& row, LayoutArray& old, LayoutState& state, const CompList::Edits& edits,
                  LayoutArray& out, bool& labelKept)
{
    PartialLayout layout(row, old, state, edits);
    if (!layout.Run(out))
        return false;
    labelKept = layout.LabelKept();
    return true;
}

} // namespace ParagraphLayout
