#include "foundation/LineBreaker.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"
#include "foundation/CompList.h"
#include "foundation/FontIds.h"
#include "foundation/KeyCodes.h"
#include "foundation/Layout.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/LineLayout.h"
#include "foundation/LongWork.h"
#include "foundation/ParagraphLayout.h"
#include "foundation/TextComp.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace ParagraphLayout {

namespace {

using ItemList = std::vector<std::unique_ptr<Layout>>;

bool IsCharacter(const TextComp* comp)
{
    return !TextComp::IsNotChar(comp->Tag());
}

Layout* StartItem(CompList& row, TextComp* comp, int index)
{
    LayoutItemMaker* maker = LayoutItemMaker::Get();
    if (!IsCharacter(comp))
        return maker->MakeStruct(comp, index);
    const unsigned char code = comp->GetChar();
    const int fontId = comp->GetFontId();
    const uint8_t* map = fontId == FontId::kMath ? gWriterSymbolMap : gWriterPlainMap;
    switch (CharTable::GetKind(map[code])) {
    case CharTable::letter: return maker->MakeWord(&row, index, code, fontId);
    case CharTable::blank:
        if (code == ' ')
            return maker->MakeSpace(&row, index, code, fontId);
        if (code == KeyCode::kTab)
            return maker->MakeTab(&row, index, code, fontId);
        return maker->MakeNonAlpha(&row, index, code, fontId);
    default: return maker->MakeNonAlpha(&row, index, code, fontId);
    }
}

// The row's runs and component items, measured, as the row's own layout
// would make them, one at a time from a position where an item starts and
// only as far as the line breaking asks. Each component is a step of the
// long work under way.
class ItemSource {
public:
    ItemSource(CompList& row, int from) : m_row(row), m_next(from) {}

    // Whether item i (from 0) exists; makes the items up to it.
    bool Has(size_t i)
    {
        while (m_items.size() <= i && MakeItem()) {
        }
        return i < m_items.size();
    }
    std::unique_ptr<Layout>& operator[](size_t i) { return m_items[i]; }

private:
    bool MakeItem()
    {
        if (m_next > m_row.GetCount())
            return false;
        LongWork::Step();
        m_items.emplace_back(StartItem(m_row, m_row.GetAt(m_next), m_next));
        Layout& item = *m_items.back();
        for (++m_next; m_next <= m_row.GetCount(); ++m_next) {
            TextComp* comp = m_row.GetAt(m_next);
            if (!IsCharacter(comp) || !item.CanAppend(comp->GetChar(), comp->GetFontId()))
                break;
            LongWork::Step();
        }
        item.Measure();
        return true;
    }

    CompList& m_row;
    int m_next;
    ItemList m_items;
};

// Breaks the measured items into lines appended to out.
class LineBreaker {
public:
    LineBreaker(CompList& row, LayoutArray& out, ItemSource& items, int width, bool mergesSpaces)
        : m_row(row), m_out(out), m_items(items), m_width(width), m_mergesSpaces(mergesSpaces)
    {
    }

    // Breaks the lines up to the end of the row, or up to a line whose first
    // item is settled (answers true then, the line not made).
    bool Run(const Settled& settled = nullptr)
    {
        if (!m_items.Has(0)) {
            auto* line = new LineLayout(&m_row, 1);
            line->Measure();
            line->SetLineWidth(line->GetWidth());
            line->KeepBrokenTop();
            m_out.Append(line);
            return false;
        }
        for (size_t i = 0; m_items.Has(i);) {
            if (i > 0 && settled && settled(*m_items[i]))
                return true;
            i = BreakLine(i);
        }
        return false;
    }

private:
    // Where a line ends: its last item, and the last item whose size or
    // kind the choice looked at.
    struct LineEnd {
        size_t last;
        size_t examined;
    };

    // The end of the line that starts at item i.
    LineEnd FindLineEnd(size_t i, int indent) const
    {
        int32_t w = indent + m_items[i]->GetWidth();
        size_t j = i + 1;
        for (; m_items.Has(j); ++j) {
            // 16 bits on purpose: the line breaks of stored documents depend on it.
            w += static_cast<int16_t>(m_items[j]->GetMeasured().right);
            if (w <= m_width)
                continue;
            for (size_t k = j; k - 1 > i; --k)
                if (AllowsBreakBefore(*m_items[k], *m_items[k - 1]))
                    return {k - 1, j};
            const size_t end = EndOfUnbreakable(i);
            return {end, std::max(j, m_items.Has(end + 1) ? end + 1 : end)};
        }
        return {j - 1, j - 1};
    }

    // A word wider than the line stays whole on its own line, overflowing
    // it, even when it is several character runs (a run longer than an item
    // holds, or runs of several character blocks); the blanks after it stay
    // on the line too, since a blank never starts a line.
    size_t EndOfUnbreakable(size_t i) const
    {
        size_t end = i;
        while (m_items.Has(end + 1)) {
            const Layout& item = *m_items[end];
            const Layout& next = *m_items[end + 1];
            const TypeTag tag = next.Tag();
            const bool blank = tag == tag_spcL || tag == tag_tabL || tag == tag_labl;
            const bool sameWord = item.IsCharacterRun() && next.IsCharacterRun() && !AllowsBreakBefore(next, item);
            if (!blank && !sameWord)
                break;
            ++end;
        }
        return end;
    }

    bool Absorbs(Layout& previous, const Layout& item) const
    {
        if (previous.Tag() != tag_word || !previous.CanMerge(item))
            return false;
        return item.Tag() != tag_spcL || m_mergesSpaces;
    }

    size_t BreakLine(size_t i)
    {
        auto* line = new LineLayout(&m_row, m_items[i]->GetStartIndex());
        line->Measure();
        m_out.Append(line);
        const LineEnd lineEnd = FindLineEnd(i, line->GetWidth());
        const size_t end = lineEnd.last;
        const bool lastLine = !m_items.Has(end + 1);
        line->SetReach(m_items[lineEnd.examined]->EndIndex());
        line->SetEndsInsideRun(!lastLine && !AllowsBreakBefore(*m_items[end + 1], *m_items[end]));
        Rect box = line->GetRect();
        int32_t width = line->GetWidth();
        Layout* previous = nullptr;
        bool absorbed = false;
        // A word that absorbed items is measured again once, before the next
        // item that it does not absorb is placed.
        auto remeasure = [&] {
            if (!absorbed)
                return;
            width -= previous->GetWidth();
            previous->Measure();
            width += previous->GetWidth();
            WidenVertically(box, previous->GetRect());
            absorbed = false;
        };
        for (size_t m = i; m <= end; ++m) {
            std::unique_ptr<Layout> item = std::move(m_items[m]);
            if (m > i && m == end && !lastLine && item->Tag() == tag_spcL)
                break;
            if (previous && Absorbs(*previous, *item)) {
                previous->Merge(*item);
                absorbed = true;
                continue;
            }
            remeasure();
            width += item->GetWidth();
            WidenVertically(box, item->GetRect());
            previous = item.release();
            m_out.Append(previous);
        }
        remeasure();
        Rect lineRect = line->GetRect();
        lineRect.top = box.top;
        lineRect.bottom = box.bottom;
        line->SetRect(lineRect);
        line->SetLineWidth(width);
        line->KeepBrokenTop();
        return end + 1;
    }

    CompList& m_row;
    LayoutArray& m_out;
    ItemSource& m_items;
    int m_width;
    bool m_mergesSpaces;
};

} // namespace

void WidenVertically(Rect& box, const Rect& r)
{
    box.top = std::min(box.top, r.top);
    box.bottom = std::max(box.bottom, r.bottom);
}

void DeleteItems(LayoutArray& items)
{
    for (int i = 1; i <= items.GetCount(); ++i)
        delete items.GetAt(i);
    items.RemoveAll();
}

void AddSpaceAbove(LayoutArray& items, int above)
{
    Rect first = items.GetAt(1)->GetRect();
    first.top -= above;
    items.GetAt(1)->SetRect(first);
}

// The last line's items reach down by below (a label after them does not).
void AddSpaceBelow(LayoutArray& items, int below)
{
    int end = items.GetCount();
    while (end > 1 && items.GetAt(end)->IsLabel())
        --end;
    int lastLine = end;
    while (lastLine > 1 && !items.GetAt(lastLine)->IsLine())
        --lastLine;
    for (int i = lastLine; i <= end; ++i) {
        Rect r = items.GetAt(i)->GetRect();
        r.bottom += below;
        items.GetAt(i)->SetRect(r);
    }
}

int LineOpenerAtOrBefore(const LayoutArray& items, int i)
{
    while (i > 1 && !items.GetAt(i)->IsLine())
        --i;
    return i;
}

bool BreakLines(CompList& row, LayoutArray& out, int from, int width, bool mergesSpaces, const Settled& settled)
{
    ItemSource items(row, from);
    return LineBreaker(row, out, items, width, mergesSpaces).Run(settled);
}

} // namespace ParagraphLayout
