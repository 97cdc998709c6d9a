#include "foundation/ParagraphLayout.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/FontIds.h"
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
// would make them. Each component is a step of the long work under way.
ItemList BuildItems(CompList& row)
{
    ItemList items;
    items.reserve(size_t(row.GetCount()));
    Layout* current = nullptr;
    for (int i = 1; i <= row.GetCount(); ++i) {
        LongWork::Step();
        TextComp* comp = row.GetAt(i);
        if (current && IsCharacter(comp) && current->CanAppend(comp->GetChar(), comp->GetFontId()))
            continue;
        if (current)
            current->Measure();
        items.emplace_back(StartItem(row, comp, i));
        current = items.back().get();
    }
    if (current)
        current->Measure();
    return items;
}

void WidenVertically(Rect& box, const Rect& r)
{
    box.top = std::min(box.top, r.top);
    box.bottom = std::max(box.bottom, r.bottom);
}

// Breaks the measured items into lines appended to out.
class LineBreaker {
public:
    LineBreaker(CompList& row, LayoutArray& out, ItemList& items, int width, bool mergesSpaces)
        : m_row(row), m_out(out), m_items(items), m_width(width), m_mergesSpaces(mergesSpaces)
    {
    }

    void Run()
    {
        if (m_items.empty()) {
            auto* line = new LineLayout(&m_row, 1);
            line->Measure();
            line->SetLineWidth(line->GetWidth());
            m_out.Append(line);
            return;
        }
        size_t i = 0;
        while (i < m_items.size())
            i = BreakLine(i);
    }

private:
    // The index of the last item of the line that starts at item i.
    size_t FindLineEnd(size_t i, int indent) const
    {
        int32_t w = indent + m_items[i]->GetWidth();
        for (size_t j = i + 1; j < m_items.size(); ++j) {
            // 16 bits on purpose: the line breaks of stored documents depend on it.
            w += static_cast<int16_t>(m_items[j]->GetMeasured().right);
            if (w <= m_width)
                continue;
            for (size_t k = j; k - 1 > i; --k)
                if (AllowsBreakBefore(*m_items[k], *m_items[k - 1]))
                    return k - 1;
            return EndOfUnbreakable(i);
        }
        return m_items.size() - 1;
    }

    // A word wider than the line stays whole on its own line, overflowing
    // it, even when it is several character runs (a run longer than an item
    // holds, or runs of several character blocks); the blanks after it stay
    // on the line too, since a blank never starts a line.
    size_t EndOfUnbreakable(size_t i) const
    {
        size_t end = i;
        while (end + 1 < m_items.size()) {
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
        const bool lastLine = end + 1 == m_items.size();
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
        return end + 1;
    }

    CompList& m_row;
    LayoutArray& m_out;
    ItemList& m_items;
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

void AddSpaceAboveAndBelow(LayoutArray& items, int above, int below)
{
    int lastLine = 1;
    for (int i = 1; i <= items.GetCount(); ++i)
        if (items.GetAt(i)->IsLine())
            lastLine = i;
    for (int i = lastLine; i <= items.GetCount(); ++i) {
        Rect r = items.GetAt(i)->GetRect();
        r.bottom += below;
        items.GetAt(i)->SetRect(r);
    }
    Rect first = items.GetAt(1)->GetRect();
    first.top -= above;
    items.GetAt(1)->SetRect(first);
}

void LayOutItems(const ParagraphStyle& style, ParagraphComp& paragraph, const ParagraphComp* previous, int left,
                 int right)
{
    CompList& row = *paragraph.GetRow();
    LayoutArray& out = RowItems(row);
    DeleteItems(out);
    try {
        ItemList items = BuildItems(row);
        LineBreaker(row, out, items, right - left, style.MergesSpaces()).Run();
        AddSpaceAboveAndBelow(out, style.GetSpaceAbove(previous), style.GetSpaceBelow());
    } catch (...) {
        DeleteItems(out);
        throw;
    }
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
    LayOutItems(style, paragraph, previous, left, right);
}

void LayOutLabelled(const ParagraphStyle& style, ParagraphComp& paragraph, const ParagraphComp* previous, int left,
                    int right)
{
    SizeStepScope size(style.GetSizeStep(&paragraph));
    auto label = std::make_unique<LabelLayout>(paragraph);
    label->Measure();
    LayOutItems(style, paragraph, previous, left, right);
    LayoutArray& items = *paragraph.GetRow()->GetItems();
    Rect first = items.GetAt(1)->GetRect();
    WidenVertically(first, label->GetRect());
    items.GetAt(1)->SetRect(first);
    items.Append(label.release());
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

    void Run()
    {
        CompList& row = *m_paragraph.GetRow();
        const IntPoint& origin = row.GetOrigin();
        if (origin.x != m_point.x || origin.y != m_point.y)
            row.MoveBy(IntPoint(m_point.x - origin.x, m_point.y - origin.y));
        SplitLines(row);
        // Lines of any height stack without wrapping (see LayoutLimits).
        int32_t baseline = 0;
        int32_t previousBottom = 0;
        for (size_t li = 0; li < m_lines.size(); ++li) {
            LineLayout& opener = *m_lines[li].opener;
            Rect r = opener.GetRect();
            if (li == 0) {
                baseline = LayoutLimits::Sum(m_point.y, -int64_t(r.top));
            } else {
                int32_t advance = LayoutLimits::Sum(previousBottom, -int64_t(r.top));
                if (advance < m_style.GetLineHeight()) {
                    advance = m_style.GetLineHeight();
                    r.top = previousBottom - advance;
                    opener.SetRect(r);
                }
                baseline = LayoutLimits::Sum(baseline, advance);
            }
            previousBottom = r.bottom;
            PlaceLine(m_lines[li], baseline, li == 0, li + 1 == m_lines.size());
        }
        const int32_t height =
            m_lines.empty() ? 0 : LayoutLimits::Clamp(int64_t(baseline) + previousBottom - m_point.y);
        m_paragraph.SetBounds(Rect(0, 0, m_pageWidth - m_leftMargin, height));
    }

private:
    void SplitLines(CompList& row)
    {
        LayoutArray* items = row.GetItems();
        for (int i = 1; items && i <= items->GetCount(); ++i) {
            Layout* item = items->GetAt(i);
            if (item->IsLine())
                m_lines.push_back(Line{static_cast<LineLayout*>(item), {}});
            else if (item->IsLabel())
                m_label = item;
            else if (!m_lines.empty())
                m_lines.back().items.push_back(item);
        }
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
