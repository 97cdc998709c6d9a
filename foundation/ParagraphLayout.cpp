#include "foundation/ParagraphLayout.h"

#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/LabelLayout.h"
#include "foundation/Layout.h"
#include "foundation/LayoutLimits.h"
#include "foundation/LineBreaker.h"
#include "foundation/LineLayout.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/PartialLayout.h"
#include "foundation/SizeStepScope.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace ParagraphLayout {

namespace {

LayoutArray& RowItems(CompList& row)
{
    if (!row.GetItems())
        row.DetachItems();  // installs an empty array
    return *row.GetItems();
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
    state.Begin(context);
    try {
        bool labelKept = false;
        if (reusable && LayOutInPart(row, *old, state, edits, out, labelKept)) {
            if (label && !labelKept)
                AppendLabel(out, std::move(label));
            row.SetLaidOut();
            return;
        }
        state.tailFrom = INT32_MAX;
        BreakLines(row, out, 1, context.width, context.mergesSpaces);
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
