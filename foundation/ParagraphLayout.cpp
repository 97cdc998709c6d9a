#include "foundation/ParagraphLayout.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/FontManager.h"
#include "foundation/KeyCodes.h"
#include "foundation/LabelLayout.h"
#include "foundation/Layout.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/LayoutLimits.h"
#include "foundation/LineLayout.h"
#include "foundation/LongWork.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextComp.h"

#include <algorithm>
#include <cmath>
#include <functional>
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

void WidenVertically(Rect& box, const Rect& r)
{
    box.top = std::min(box.top, r.top);
    box.bottom = std::max(box.bottom, r.bottom);
}

// Breaks the measured items into lines appended to out.
class LineBreaker {
public:
    using Settled = std::function<bool(const Layout& first)>;

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
    // The index of the last item of the line that starts at item i.
    size_t FindLineEnd(size_t i, int indent) const
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
                    return k - 1;
            return EndOfUnbreakable(i);
        }
        return j - 1;
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
        const size_t end = FindLineEnd(i, line->GetWidth());
        const bool lastLine = !m_items.Has(end + 1);
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

LayoutArray& RowItems(CompList& row)
{
    if (!row.GetItems())
        row.DetachItems();  // installs an empty array
    return *row.GetItems();
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

Context ContextOf(const ParagraphStyle& style, const ParagraphComp& paragraph, const ParagraphComp* previous,
                  int width)
{
    Context context;
    context.style = &style;
    context.fonts = gFontManager;
    for (int i = 0; gFontManager && i < FontManager::kFaceCount; ++i)
        if (const FontFace* face = gFontManager->GetFace(i))
            context.faceChanges += face->GetChangeCount();
    context.fontId = style.GetFontId();
    context.labelFontId = style.GetLabelFontId();
    context.width = width;
    context.above = style.GetSpaceAbove(previous);
    context.below = style.GetSpaceBelow();
    context.firstIndent = style.GetFirstIndent(paragraph);
    context.indent = style.GetIndent(paragraph);
    context.lineHeight = style.GetLineHeight();
    context.labelGap = style.GetLabelGap();
    context.sizeLevel = gDrawContext.GetSizeLevel();
    context.resolution = gDrawContext.GetResolutionY();
    context.pageWidth = gDrawContext.GetPageWidth();
    context.pageHeight = gDrawContext.GetPageHeight();
    context.leftMargin = gDrawContext.GetLeftMargin();
    context.printing = gDrawContext.IsPrinting();
    context.mergesSpaces = style.MergesSpaces();
    return context;
}

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

int LineOpenerAtOrBefore(const LayoutArray& items, int i)
{
    while (i > 1 && !items.GetAt(i)->IsLine())
        --i;
    return i;
}

// Lays out again only the lines a change of the row reaches, keeping the
// placed lines before them and after them, when the layout before was made
// under the same context and placed. The lines are made anew from the line
// before the one holding the position before the first change: a change
// there can only move words onto that line. Making stops at the first new
// line that starts where a kept line started (the row's length change
// counted): from there the row is as it was, and so are its lines.
class Relayout {
public:
    Relayout(CompList& row, LayoutArray& old, LayoutState& state, const CompList::Edits& edits)
        : m_row(row), m_old(old), m_state(state), m_edits(edits)
    {
    }

    bool Run(LayoutArray& out, int width, bool mergesSpaces, int above, int below)
    {
        if (!FindChange())
            return false;
        LayoutArray fresh;
        bool settled = false;
        try {
            ItemSource items(m_row, m_old.GetAt(m_restart)->GetStartIndex());
            settled = LineBreaker(m_row, fresh, items, width, mergesSpaces).Run([this](const Layout& first) {
                return IsKeptLineStart(first.GetStartIndex());
            });
        } catch (...) {
            DeleteItems(fresh);
            throw;
        }
        const int keptFrom = settled ? m_cursor : m_textCount + 1;
        MoveTailPositions(keptFrom);
        Splice(out, fresh, keptFrom);
        if (m_restart == 1)
            AddSpaceAbove(out, above);
        if (!settled)
            AddSpaceBelow(out, below);
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
        const int holding = LineOpenerAtOrBefore(m_old, LastItemAtOrBefore(m_old, m_textCount, before));
        m_restart = holding > 1 ? LineOpenerAtOrBefore(m_old, holding - 1) : 1;
        m_cursor = m_restart;
        return m_old.GetAt(m_restart)->GetStartIndex() <= m_row.GetCount();
    }

    // Whether a kept line started where a new line would start (in the row
    // as it is): the old items are passed in order as the new lines go on.
    bool IsKeptLineStart(int32_t position)
    {
        const int32_t oldPosition = position - m_shift;
        if (oldPosition < m_keepFrom)
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
        std::vector<Layout*> made;
        for (int i = 1; i <= fresh.GetCount(); ++i)
            made.push_back(fresh.GetAt(i));
        if (!made.empty())
            m_old.InsertRange(m_restart, made.data(), int(made.size()));
        fresh.RemoveAll();
        m_state.first = m_restart;
        m_state.end = m_restart + int(made.size());
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

// A label that shows as the one of the layout before, so that the kept
// first line and its placed label may stay.
bool SameLabel(const LayoutArray* old, const LabelLayout* label)
{
    const Layout* last = old && old->GetCount() > 0 ? old->GetAt(old->GetCount()) : nullptr;
    if (!label)
        return !last || !last->IsLabel();
    auto* before = dynamic_cast<const LabelLayout*>(last);
    return before && before->GetText() == label->GetText() && before->GetMeasured() == label->GetMeasured();
}

void AppendLabel(LayoutArray& items, std::unique_ptr<LabelLayout> label)
{
    Rect first = items.GetAt(1)->GetRect();
    WidenVertically(first, label->GetRect());
    items.GetAt(1)->SetRect(first);
    items.Append(label.release());
}

// Lays the paragraph out, in part when it can; a label (null: none) is
// appended after every item, its height in the first line's.
void LayOutItems(const ParagraphStyle& style, ParagraphComp& paragraph, const ParagraphComp* previous, int left,
                 int right, std::unique_ptr<LabelLayout> label)
{
    CompList& row = *paragraph.GetRow();
    LayoutArray& out = RowItems(row);
    DeleteItems(out);
    LayoutState& state = paragraph.GetLayoutState();
    const Context context = ContextOf(style, paragraph, previous, right - left);
    const CompList::Edits edits = row.TakeEdits();
    LayoutArray* old = paragraph.GetPreviousItems();
    const bool reusable = old && state.placed && state.context == context && SameLabel(old, label.get());
    // The kept items still follow the shift.
    const LayoutState before = state;
    state = LayoutState();
    state.context = context;
    state.shift = before.shift;
    state.tailFrom = before.tailFrom;
    try {
        if (reusable) {
            Relayout relayout(row, *old, state, edits);
            if (relayout.Run(out, right - left, style.MergesSpaces(), context.above, context.below)) {
                if (label && !relayout.LabelKept())
                    AppendLabel(out, std::move(label));
                row.SetLaidOut();
                return;
            }
        }
        state.tailFrom = INT32_MAX;
        ItemSource items(row, 1);
        LineBreaker(row, out, items, right - left, style.MergesSpaces()).Run();
        AddSpaceAbove(out, context.above);
        AddSpaceBelow(out, context.below);
    } catch (...) {
        DeleteItems(out);
        throw;
    }
    if (label)
        AppendLabel(out, std::move(label));
    row.SetLaidOut();
}

} // namespace

bool AllowsBreakBefore(const Layout& item, const Layout& previous)
{
    const TypeTag tag = item.Tag();
    if (tag == tag_word || tag == tag_nonA || tag == tag_strL)
        return previous.Tag() == tag_spcL;
    return !(tag == tag_spcL || tag == tag_tabL || tag == tag_labl);
}

int StretchShare(int width, int slack, int total)
{
    const double share = double(width) * slack / total;
    const double whole = std::trunc(share);
    return int(whole) + (share - whole > 0.5 ? 1 : 0);
}

void LayOutPlain(const ParagraphStyle& style, ParagraphComp& paragraph, const ParagraphComp* previous, int left,
                 int right)
{
    SizeStepScope size(style.GetSizeStep(&paragraph));
    LayOutItems(style, paragraph, previous, left, right, nullptr);
}

void LayOutLabelled(const ParagraphStyle& style, ParagraphComp& paragraph, const ParagraphComp* previous, int left,
                    int right)
{
    SizeStepScope size(style.GetSizeStep(&paragraph));
    auto label = std::make_unique<LabelLayout>(paragraph);
    label->Measure();
    LayOutItems(style, paragraph, previous, left, right, std::move(label));
}

namespace {

struct Line {
    LineLayout* opener = nullptr;
    std::vector<Layout*> items;
};

class Placer {
public:
    Placer(const ParagraphStyle& style, ParagraphComp& paragraph, const IntPoint& point, Alignment alignment)
        : m_style(style), m_paragraph(paragraph), m_point(point), m_alignment(alignment),
          m_pageWidth(gDrawContext.GetPageWidth()), m_pageHeight(gDrawContext.GetPageHeight()),
          m_leftMargin(gDrawContext.GetLeftMargin())
    {
    }

    // Places the lines; after a partial layout only the new ones, the kept
    // lines after them moved down as far as the new lines moved them.
    void Run()
    {
        CompList& row = *m_paragraph.GetRow();
        const IntPoint& origin = row.GetOrigin();
        if (origin.x != m_point.x || origin.y != m_point.y)
            row.MoveBy(IntPoint(m_point.x - origin.x, m_point.y - origin.y));
        LayoutArray* items = row.GetItems();
        const int textCount = row.TextItemCount();
        if (items && textCount < items->GetCount())
            m_label = items->GetAt(items->GetCount());
        LayoutState& state = m_paragraph.GetLayoutState();
        const int first = state.IsPartial() ? state.first : 1;
        const int end = state.IsPartial() ? state.end : textCount + 1;
        SplitLines(items, first, end);
        // Lines of any height stack without wrapping (see LayoutLimits).
        int32_t baseline = 0;
        int32_t previousBottom = 0;
        if (first > 1) {
            const Layout& before = *items->GetAt(LineOpenerAtOrBefore(*items, first - 1));
            baseline = before.GetOffset().y;
            previousBottom = before.GetRect().bottom;
        }
        PlaceLines(baseline, previousBottom, first == 1, end > textCount);
        if (end <= textCount)
            state.tailMoved = MoveTail(*items, end, textCount, baseline, previousBottom);
        const int32_t height =
            m_lines.empty() ? 0 : LayoutLimits::Clamp(int64_t(baseline) + previousBottom - m_point.y);
        m_paragraph.SetBounds(Rect(0, 0, m_pageWidth - m_leftMargin, height));
    }

private:
    void SplitLines(LayoutArray* items, int first, int end)
    {
        for (int i = first; items && i < end; ++i) {
            Layout* item = items->GetAt(i);
            if (item->IsLine())
                m_lines.push_back(Line{static_cast<LineLayout*>(item), {}});
            else if (!m_lines.empty())
                m_lines.back().items.push_back(item);
        }
    }

    // Places the split lines below the line of baseline and previousBottom
    // (or from the top when they start the paragraph); answers the last
    // line's in them.
    void PlaceLines(int32_t& baseline, int32_t& previousBottom, bool startsParagraph, bool endsParagraph)
    {
        for (size_t li = 0; li < m_lines.size(); ++li) {
            LineLayout& opener = *m_lines[li].opener;
            Rect r = opener.GetRect();
            const bool first = li == 0 && startsParagraph;
            if (first) {
                baseline = LayoutLimits::Sum(m_point.y, -int64_t(r.top));
            } else {
                baseline = LayoutLimits::Sum(baseline, Advance(opener, previousBottom));
                r = opener.GetRect();
            }
            previousBottom = r.bottom;
            PlaceLine(m_lines[li], baseline, first, li + 1 == m_lines.size() && endsParagraph);
        }
    }

    // How far the line's baseline stands below the one before, at least the
    // style's line height: a line that would stand closer is given a higher
    // top.
    int32_t Advance(LineLayout& opener, int32_t previousBottom) const
    {
        Rect r = opener.GetRect();
        r.top = opener.GetBrokenTop();
        int32_t advance = LayoutLimits::Sum(previousBottom, -int64_t(r.top));
        if (advance < m_style.GetLineHeight()) {
            advance = m_style.GetLineHeight();
            r.top = previousBottom - advance;
        }
        opener.SetRect(r);
        return advance;
    }

    // The kept lines from item end on, placed before, follow the new lines:
    // the first one's top is found again, and all move down as far as its
    // baseline moved. Answers how far, and the last line's baseline and bottom.
    int32_t MoveTail(LayoutArray& items, int end, int textCount, int32_t& baseline, int32_t& previousBottom)
    {
        auto& next = static_cast<LineLayout&>(*items.GetAt(end));
        const int32_t oldTop = next.GetRect().top;
        m_paragraph.GetLayoutState().tailTopBefore = oldTop;
        const int32_t moved = LayoutLimits::Sum(baseline, Advance(next, previousBottom)) - next.GetOffset().y;
        const int32_t top = next.GetRect().top;
        for (int i = end + 1; top != oldTop && i <= textCount && !items.GetAt(i)->IsLine(); ++i)
            items.GetAt(i)->Placed().top = top;
        for (int i = end; moved != 0 && i <= textCount; ++i)
            items.GetAt(i)->MoveBy(IntPoint(0, moved));
        const Layout& last = *items.GetAt(LineOpenerAtOrBefore(items, textCount));
        baseline = last.GetOffset().y;
        previousBottom = last.GetRect().bottom;
        return moved;
    }

    static void SetWidth(Layout& item, int width)
    {
        Rect r = item.GetRect();
        r.right = r.left + width;
        item.SetRect(r);
    }

    static void TakeLineHeight(Layout& item, const Rect& line)
    {
        Rect r = item.GetRect();
        r.top = line.top;
        r.bottom = line.bottom;
        item.SetRect(r);
    }

    void AlignOpener(Line& line, bool first)
    {
        LineLayout& opener = *line.opener;
        const int natural = opener.GetLineWidth();
        const int listIndent = m_pageWidth - m_pageHeight;
        switch (m_alignment) {
        case Alignment::centred:
            // A line wider than the page starts at the left edge.
            opener.SetWidth(std::max(0, (m_pageWidth - m_leftMargin - natural) / 2));
            break;
        case Alignment::numberedEquation:
            opener.SetWidth(listIndent + std::max(0, ((m_pageHeight - listIndent - m_leftMargin) - natural) / 2));
            break;
        case Alignment::left:
            if (first && m_label) {
                TakeLineHeight(*m_label, opener.GetRect());
                Rect r = m_label->GetRect();
                r.right += m_style.GetLabelGap();
                m_label->SetRect(r);
                opener.SetWidth(opener.GetWidth() - m_label->GetWidth());
            }
            break;
        default: break;
        }
    }

    void PlaceLine(Line& line, int baseline, bool first, bool last)
    {
        AlignOpener(line, first);
        const Rect lineRect = line.opener->GetRect();
        IntPoint pen(m_point.x, baseline);
        line.opener->MoveTo(pen);
        pen.x += line.opener->GetWidth();
        if (first && m_label && m_alignment == Alignment::left) {
            m_label->MoveTo(pen);
            pen.x += m_label->GetWidth();
        }
        line.opener->SetTextStart(pen.x);
        for (Layout* item : line.items)
            TakeLineHeight(*item, lineRect);
        if (m_alignment == Alignment::justified && !last)
            Justify(line, pen);
        else
            PlaceInOrder(line.items, pen);
        if (first && m_label && m_alignment == Alignment::numberedEquation)
            PlaceEquationLabel(lineRect, baseline);
        Layout& end = line.items.empty() ? *line.opener : *line.items.back();
        const int reach = m_pageWidth - end.AbsRect().right;
        if (reach > 0) {
            Rect r = end.GetRect();
            r.right += reach;
            end.SetRect(r);
        }
    }

    static void PlaceInOrder(const std::vector<Layout*>& items, IntPoint& pen)
    {
        for (Layout* item : items) {
            item->MoveTo(pen);
            pen.x = LayoutLimits::Sum(pen.x, item->GetWidth());
        }
    }

    // Spreads the slack of a line over its blank runs (not the last item)
    // and ends the last item's content at the page width. A line without
    // slack or without stretchable blanks keeps its natural spacing.
    void Justify(Line& line, IntPoint& pen) const
    {
        if (line.items.empty())
            return;
        int32_t natural = pen.x;
        int32_t stretchable = 0;
        for (Layout* item : line.items) {
            natural += item->GetWidth();
            if (item != line.items.back() && item->Tag() == tag_spcL)
                stretchable += item->GetWidth();
        }
        int32_t slack = m_pageWidth - natural;
        if (slack <= 0 || stretchable <= 0) {
            PlaceInOrder(line.items, pen);
            return;
        }
        Layout* lastItem = line.items.back();
        for (Layout* item : line.items) {
            if (item == lastItem)
                break;
            // The slack and the gap below are tested as 16 bits, as the layouts of stored documents were made.
            if (item->Tag() == tag_spcL && static_cast<int16_t>(slack) > 0 && stretchable > 0) {
                const int width = item->GetWidth();
                const int extra = StretchShare(width, slack, stretchable);
                slack -= extra;
                stretchable -= width;
                Rect r = item->GetRect();
                r.right += extra;
                item->SetRect(r);
            }
            item->MoveTo(pen);
            pen.x += item->GetWidth();
        }
        const int gap = m_pageWidth - (pen.x + lastItem->GetWidth());
        if (static_cast<int16_t>(gap) > 0) {
            Rect r = lastItem->GetRect();
            r.left -= gap;
            lastItem->SetRect(r);
        }
        lastItem->MoveTo(pen);
        pen.x += lastItem->GetWidth();
    }

    void PlaceEquationLabel(const Rect& lineRect, int baseline)
    {
        TakeLineHeight(*m_label, lineRect);
        SetWidth(*m_label, m_pageWidth - m_pageHeight);
        m_label->MoveTo(IntPoint(m_pageHeight, baseline));
    }

    const ParagraphStyle& m_style;
    ParagraphComp& m_paragraph;
    IntPoint m_point;
    Alignment m_alignment;
    int m_pageWidth;
    int m_pageHeight;
    int m_leftMargin;
    std::vector<Line> m_lines;
    Layout* m_label = nullptr;
};

} // namespace

void Place(const ParagraphStyle& style, ParagraphComp& paragraph, const IntPoint& point, Alignment alignment)
{
    SizeStepScope size(style.GetSizeStep(&paragraph));
    Placer(style, paragraph, point, alignment).Run();
}

} // namespace ParagraphLayout
