#include "foundation/CompList.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharBinding.h"
#include "foundation/CharBlockComp.h"
#include "foundation/CharComp.h"
#include "foundation/CharTable.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/FontManager.h"
#include "foundation/KeyCodes.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/Layout.h"
#include "foundation/LayoutItemMaker.h"
#include "foundation/LayoutLimits.h"
#include "foundation/LineLayout.h"
#include "foundation/LinkRemap.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextComp.h"
#include "platform/Exceptions.h"

#include <algorithm>

namespace {

bool IsCharacter(const TextComp* comp)
{
    return comp && !TextComp::IsNotChar(comp->Tag());
}

// The character-table kind of a character, looked up by its stored code.
int32_t CharKind(const TextComp* comp)
{
    const uint8_t* map = comp->GetFontId() == FontId::kMath ? gWriterSymbolMap : gWriterPlainMap;
    return CharTable::GetKind(map[comp->GetChar()]);
}

void DeleteItems(LayoutArray* items)
{
    if (!items)
        return;
    for (int i = 1; i <= items->GetCount(); ++i)
        delete items->GetAt(i);
    items->RemoveAll();
}

// While a row passes its size step down, the rows inside mark only
// themselves and the outer row passes the change up once: a step costs one
// walk of the tree however deep it is.
int gQuietRows = 0;
// Rows read inside one another. Their components get their size steps once,
// from the outermost row when everything is read, rather than again at every
// level a read subtree is adopted into.
int gRowsReading = 0;

class Nesting {
public:
    explicit Nesting(int& depth) : m_depth(depth) { ++m_depth; }
    ~Nesting() { --m_depth; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& m_depth;
};

} // namespace

CompList::CompList() : m_comps(std::make_unique<CompArray>()), m_items(std::make_unique<LayoutArray>()) {}

CompList::CompList(std::unique_ptr<CompArray> components) : CompList()
{
    if (!components)
        return;
    m_comps = std::move(components);
    Moved(1);
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->SetOwner(this);
}

CompList::CompList(const Str255& text) : CompList()
{
    FontFace* face = gFontManager ? gFontManager->GetFace(FontId::kText) : nullptr;
    if (!face)
        throw CException("The fonts are not set up");
    for (int i = 0; i < text.GetLength(); ++i)
        m_comps->Append(face->GetCharacter(text.GetByteAt(i)));
}

CompList::~CompList()
{
    DeleteItems(m_items.get());
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->Delete();
}

// ---- contents ----

void CompList::Adopt(TextComp* comp)
{
    comp->SetOwner(this);
    comp->SetSizeStep(m_sizeStep);
}

void CompList::Append(TextComp* comp)
{
    m_comps->Append(comp);
    Edited(GetCount(), GetCount() + 1);
    Adopt(comp);
    Invalidate();
}

int CompList::Find(const TextComp* comp) const
{
    // Characters are shared by every row: only a scan finds their first place.
    if (!comp || comp->GetOwner() != this)
        return m_comps->Find(comp);
    const int hint = comp->m_rowIndex;
    if (hint >= 1 && hint <= m_indexed && GetAt(hint) == comp)
        return hint;
    while (m_indexed < GetCount()) {
        TextComp* at = GetAt(++m_indexed);
        if (at->GetOwner() == this)
            at->m_rowIndex = m_indexed;
        if (at == comp)
            return m_indexed;
    }
    return 0;
}

void CompList::InsertAt(TextComp* comp, int i)
{
    Moved(i);
    m_comps->InsertAt(i, comp);
    Edited(i, i + 1);
    Adopt(comp);
    Invalidate();
}

void CompList::InsertAllAt(std::unique_ptr<CompArray> components, int i)
{
    if (!components || components->GetCount() == 0)
        return;
    i = std::clamp(i, 1, GetCount() + 1);
    Moved(i);
    const int added = components->GetCount();
    if (GetCount() == 0) {
        // An empty row (a new answer's paragraph) takes the array itself.
        m_comps = std::move(components);
        Edited(i, i + added);
        for (int k = 1; k <= GetCount(); ++k)
            Adopt(GetAt(k));
        Invalidate();
        return;
    }
    // One move of the tail: inserting one at a time would shift it once per component.
    m_comps->InsertAll(i, *components);
    for (int k = 1; k <= added; ++k)
        Adopt(components->GetAt(k));
    Edited(i, i + added);
    Invalidate();
}

TextComp* CompList::SetAt(TextComp* comp, int i)
{
    if (i < 1 || i > GetCount() + 1)
        throw CException("A component was placed outside its row");
    Moved(i);
    TextComp* old = m_comps->RemoveAt(i);
    m_comps->InsertAt(i, comp);
    Edited(i, i + 1);
    Adopt(comp);
    Invalidate();
    return old;
}

TextComp* CompList::RemoveAt(int i)
{
    TextComp* comp = m_comps->RemoveAt(i);
    if (comp) {
        Moved(i);
        Edited(i, i);
        Invalidate();
    }
    return comp;
}

std::unique_ptr<CompArray> CompList::RemoveRange(int first, int last)
{
    auto removed = std::make_unique<CompArray>();
    first = std::max(first, 1);
    last = std::min(last, GetCount());
    if (first > last)
        return removed;
    Moved(first);
    for (int i = first; i <= last; ++i)
        removed->Append(GetAt(i));
    m_comps->RemoveRange(first, last);
    Edited(first, first);
    Invalidate();
    return removed;
}

std::unique_ptr<CompArray> CompList::DetachAll()
{
    auto all = std::move(m_comps);
    m_comps = std::make_unique<CompArray>();
    m_edits = Edits();
    Moved(1);
    Invalidate();
    return all;
}

std::unique_ptr<LayoutArray> CompList::DetachItems(std::unique_ptr<LayoutArray> replacement)
{
    auto items = m_items ? std::move(m_items) : std::make_unique<LayoutArray>();
    if (replacement)
        replacement->RemoveAll();
    else
        replacement = std::make_unique<LayoutArray>();
    m_items = std::move(replacement);
    return items;
}

void CompList::SetOwner(TextComp* owner, int showsPlaceholder)
{
    m_owner = owner;
    m_showsPlaceholder = showsPlaceholder;
}

void CompList::SetSizeStep(signed char step)
{
    m_sizeStep = step;
    PassSizeStep();
    Invalidate();
}

void CompList::PassSizeStep()
{
    m_edits = Edits();
    Nesting quiet(gQuietRows);
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->SetSizeStep(m_sizeStep);
}

void CompList::SetFont(int fontId, int first, int end)
{
    FontFace* face = gFontManager ? gFontManager->GetFace(fontId) : nullptr;
    first = std::max(first, 1);
    end = std::min(end, GetCount() + 1);
    for (int i = first; i < end; ++i) {
        TextComp* comp = GetAt(i);
        if (!IsCharacter(comp)) {
            comp->SetFontId(fontId);
            Edited(i, i + 1);
        } else if (face && comp->GetFontId() != fontId) {
            Moved(i);
            m_comps->RemoveAt(i);
            m_comps->InsertAt(i, face->GetCharacter(comp->GetChar()));
            Edited(i, i + 1);
        }
    }
    Invalidate();
}

void CompList::Invalidate()
{
    m_needsLayout = 1;
    if (m_owner && gQuietRows == 0)
        m_owner->Invalidate();
}

void CompList::ComponentChanged(const TextComp* comp)
{
    const int i = Find(comp);
    if (i > 0)
        Edited(i, i + 1);
    else
        m_edits = Edits();
    Invalidate();
}

void CompList::InvalidateAll()
{
    m_edits = Edits();
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->MarkDirty();
    m_needsLayout = 1;
}

CompList::Edits CompList::TakeEdits()
{
    const Edits edits = m_edits;
    m_edits = Edits{GetCount() + 1, GetCount()};
    return edits;
}

void CompList::Edited(int first, int end)
{
    m_edits.first = std::min(m_edits.first, first);
    m_edits.tail = std::min(m_edits.tail, GetCount() + 1 - end);
}

// ---- comparison and copies ----

bool CompList::IsEqual(const CompList& other) const
{
    if (GetCount() != other.GetCount())
        return false;
    for (int i = 1; i <= GetCount(); ++i)
        if (!GetAt(i)->IsEqual(*other.GetAt(i)))
            return false;
    return true;
}

CompList* CompList::Clone() const
{
    LinkRemap remap;
    CompList* copy = CloneWithRemap(remap);
    remap.RebindLinks();
    return copy;
}

CompList* CompList::CloneWithRemap(LinkRemap& remap) const
{
    return new CompList(CloneItems(remap));
}

std::unique_ptr<CompArray> CompList::CloneRange(int first, int last, LinkRemap& remap) const
{
    auto copies = std::make_unique<CompArray>();
    first = std::max(first, 1);
    last = std::min(last, GetCount());
    try {
        for (int i = first; i <= last; ++i)
            copies->Append(GetAt(i)->Clone(remap));
    } catch (...) {
        for (int i = 1; i <= copies->GetCount(); ++i)
            copies->GetAt(i)->Delete();
        throw;
    }
    return copies;
}

// ---- queries ----

int CompList::GetPlainText(Str255& out) const
{
    out.Clear();
    for (int i = 1; i <= GetCount() && out.GetLength() < Str255::kCapacity; ++i)
        if (IsCharacter(GetAt(i)))
            out.AppendChar(static_cast<char>(GetAt(i)->GetChar()));
    return out.GetLength();
}

bool CompList::HasOperatorChar() const
{
    // A sign in first place is a prefix ("-a"), which binds tighter than "/".
    for (int i = 2; i <= GetCount(); ++i)
        if (CharBinding::Of(GetAt(i)) >= CharBinding::kQuotient)
            return true;
    return false;
}

bool CompList::HasStructureOrHighChar() const
{
    for (int i = 1; i <= GetCount(); ++i)
        if (!IsCharacter(GetAt(i)) || GetAt(i)->GetChar() >= 128)
            return true;
    return false;
}

DocSelection CompList::SelectWordAt(int i)
{
    TextComp* at = GetAt(i);
    if (!IsCharacter(at)) {
        int place = GetCount() == 0 ? 1 : std::clamp(i, 1, GetCount() + 1);
        return DocSelection(this, place, place);
    }
    int32_t kind = CharKind(at);
    auto sameKind = [&](int k) { return IsCharacter(GetAt(k)) && CharKind(GetAt(k)) == kind; };
    int first = i;
    while (first > 1 && sameKind(first - 1))
        --first;
    int last = i;
    while (last < GetCount() && sameKind(last + 1))
        ++last;
    return DocSelection(this, first, last + 1);
}

ExprNode* CompList::BuildTextNode()
{
    RowNodeBuilder* builder = RowNodeBuilder::Get();
    return builder ? builder->BuildTextNode(*this) : nullptr;
}

ExprNode* CompList::BuildNode()
{
    RowNodeBuilder* builder = RowNodeBuilder::Get();
    return builder ? builder->BuildNode(*this) : nullptr;
}

// ---- layout ----

void CompList::Layout(int width)
{
    if (!m_needsLayout && m_items)
        return;
    SizeStepScope size(m_sizeStep);
    try {
        BuildItems();
        LayoutItemMaker* maker = LayoutItemMaker::Get();
        if (static_cast<int16_t>(width) < m_extent.Width()) {
            DeleteItems(m_items.get());
            ::Layout* gray = maker->MakeGray(this);
            m_items->Append(gray);
            gray->Measure();
            m_extent = gray->GetRect();
        }
    } catch (...) {
        DeleteItems(m_items.get());
        m_items.reset();
        m_needsLayout = 1;
        throw;
    }
    m_natural = m_extent;
    m_laidOut = 1;
}

void CompList::BuildItems()
{
    m_edits = Edits();
    DeleteItems(m_items.get());
    m_items = std::make_unique<LayoutArray>();
    LayoutItemMaker* maker = LayoutItemMaker::Get();
    if (GetCount() == 0) {
        ::Layout* placeholder = maker->MakePlaceholder(this, m_showsPlaceholder);
        m_items->Append(placeholder);
        placeholder->Measure();
        m_extent = placeholder->GetRect();
        return;
    }
    m_extent.SetEmpty();
    ::Layout* current = nullptr;
    for (int i = 1; i <= GetCount(); ++i) {
        TextComp* comp = GetAt(i);
        if (current && IsCharacter(comp) && current->CanAppend(comp->GetChar(), comp->GetFontId()))
            continue;
        if (current)
            FinishItem(current);
        current = StartItem(comp, i);
    }
    FinishItem(current);
}

::Layout* CompList::StartItem(TextComp* comp, int index)
{
    LayoutItemMaker* maker = LayoutItemMaker::Get();
    ::Layout* item;
    if (!IsCharacter(comp)) {
        item = maker->MakeStruct(comp, index);
    } else {
        unsigned char code = comp->GetChar();
        int fontId = comp->GetFontId();
        switch (CharKind(comp)) {
        case CharTable::letter:
            item = maker->MakeWord(this, index, code, fontId);
            break;
        case CharTable::blank:
            if (code == ' ')
                item = maker->MakeSpace(this, index, code, fontId);
            else if (code == KeyCode::kTab)
                item = maker->MakeTab(this, index, code, fontId);
            else
                item = maker->MakeNonAlpha(this, index, code, fontId);
            break;
        default:
            item = maker->MakeNonAlpha(this, index, code, fontId);
            break;
        }
    }
    m_items->Append(item);
    return item;
}

void CompList::FinishItem(::Layout* item)
{
    item->Measure();
    const Rect& r = item->GetRect();
    m_extent.top = std::min(m_extent.top, r.top);
    m_extent.bottom = std::max(m_extent.bottom, r.bottom);
    m_extent.right = LayoutLimits::Sum(m_extent.right, item->GetWidth());
}

void CompList::LayoutToContextWidth()
{
    Layout(gDrawContext.GetPageWidth() - gDrawContext.GetLeftMargin());
}

void CompList::SetOrigin(const IntPoint& point)
{
    if (point.x == m_origin.x && point.y == m_origin.y && !m_needsLayout)
        return;
    m_origin = IntPoint(point.x - m_extent.left, point.y);
    if (m_items) {
        IntPoint cursor = point;
        for (int i = 1; i <= m_items->GetCount(); ++i) {
            ::Layout* item = m_items->GetAt(i);
            Rect r = item->GetRect();
            r.top = m_extent.top;
            r.bottom = m_extent.bottom;
            item->SetRect(r);
            item->MoveTo(cursor);
            cursor.x = LayoutLimits::Sum(cursor.x, item->GetWidth());
        }
    }
    m_needsLayout = 0;
    m_laidOut = 0;
}

void CompList::MoveBy(const IntPoint& offset)
{
    m_origin.x += offset.x;
    m_origin.y += offset.y;
    if (m_items)
        for (int i = 1; i <= m_items->GetCount(); ++i)
            m_items->GetAt(i)->MoveBy(offset);
}

void CompList::FitToRect(const Rect& rect)
{
    int n = m_items ? m_items->GetCount() : 0;
    for (int i = 1; i <= n; ++i) {
        ::Layout* item = m_items->GetAt(i);
        Rect r = item->GetRect();
        if (i == 1)
            r.left += rect.left - m_extent.left;
        if (i == n)
            r.right += rect.right - m_extent.right;
        r.top = rect.top;
        r.bottom = rect.bottom;
        item->SetRect(r);
    }
    m_extent = rect;
}

void CompList::Draw()
{
    if (!m_items)
        return;
    SizeStepScope size(m_sizeStep);
    for (int i = 1; i <= m_items->GetCount(); ++i)
        m_items->GetAt(i)->Draw();
}

void CompList::DrawWithin(const Rect& area)
{
    if (!m_items)
        return;
    SizeStepScope size(m_sizeStep);
    // Items stand line by line from the top (a label, placed after
    // everything, stands on the first line): the first item that reaches
    // the area is found by halving, and drawing stops below it.
    const int count = TextItemCount();
    for (int k = m_items->GetCount(); k > count; --k)
        if (m_items->GetAt(k)->AbsRect().Intersects(area))
            m_items->GetAt(k)->Draw();
    for (int k = FirstItemDownTo(area.top); k <= count; ++k) {
        ::Layout* item = m_items->GetAt(k);
        const Rect r = item->AbsRect();
        if (r.top > area.bottom)
            break;
        if (r.Intersects(area))
            item->Draw();
    }
}

Rect CompList::GetAbsRect() const
{
    Rect r = m_extent;
    r.Offset(m_origin);
    return r;
}

bool CompList::HitTest(const IntPoint& point) const
{
    return GetAbsRect().Contains(point);
}

int CompList::TextItemCount() const
{
    int count = m_items ? m_items->GetCount() : 0;
    while (count > 0 && m_items->GetAt(count)->IsLabel())
        --count;
    return count;
}

int CompList::FirstItemDownTo(int32_t y) const
{
    int low = 1;
    int high = TextItemCount();
    while (low <= high) {
        const int mid = (low + high) / 2;
        if (m_items->GetAt(mid)->AbsRect().bottom < y)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return low;
}

::Layout* CompList::FindItemAcross(int32_t y, const std::function<bool(const ::Layout&)>& test) const
{
    const int count = TextItemCount();
    for (int k = FirstItemDownTo(y); k <= count; ++k) {
        ::Layout* item = m_items->GetAt(k);
        // Every item of a line spans the line's height: a line that starts
        // below y ends the search.
        if (item->IsLine() && item->AbsRect().top > y)
            break;
        if (test(*item))
            return item;
    }
    for (int k = count + 1; m_items && k <= m_items->GetCount(); ++k)
        if (test(*m_items->GetAt(k)))
            return m_items->GetAt(k);
    return nullptr;
}

::Layout* CompList::FirstItemHitBy(const IntPoint& point) const
{
    return FindItemAcross(point.y, [&point](const ::Layout& item) { return item.HitTest(point); });
}

::Layout* CompList::FirstItemReaching(int x) const
{
    if (!m_items)
        return nullptr;
    for (int i = 1; i <= m_items->GetCount(); ++i)
        if (m_items->GetAt(i)->AbsRect().right >= x)
            return m_items->GetAt(i);
    return nullptr;
}

TextComp* CompList::ComponentAtPoint(const IntPoint& point)
{
    ::Layout* item = FirstItemReaching(point.x);
    if (!item)
        return nullptr;
    SizeStepScope size(m_sizeStep);
    return item->ComponentAt(point);
}

void CompList::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    ::Layout* item = FirstItemReaching(point.x);
    if (!item) {
        out = DocPosition(this, GetCount() + 1);
        return;
    }
    SizeStepScope size(m_sizeStep);
    item->PositionAt(point, out, nearest);
}

void CompList::PositionFromLinePoint(DocPosition& out, const IntPoint& point)
{
    out = DocPosition(this, GetCount() + 1);
    if (!m_items || m_items->GetCount() == 0)
        return;
    if (point.x < m_items->GetAt(1)->AbsRect().left) {
        out = DocPosition(this, 1);
        return;
    }
    if (::Layout* item = FirstItemHitBy(point))
        item->PositionAt(point, out, true);
}

::Layout* CompList::ItemForIndex(int i) const
{
    if (!m_items)
        return nullptr;
    // Items stand in the order of the positions they start at (a label,
    // placed after everything, starts at 0 and is left out of the search).
    // The item wanted is the last one starting at or before i when it holds
    // i; otherwise the last item before the next line (what a walk from the
    // first item would find).
    int count = m_items->GetCount();
    while (count > 0 && m_items->GetAt(count)->IsLabel())
        --count;
    int low = 1;
    int high = count;
    while (low <= high) {
        const int mid = (low + high) / 2;
        if (m_items->GetAt(mid)->GetStartIndex() <= i)
            low = mid + 1;
        else
            high = mid - 1;
    }
    ::Layout* candidate = high >= 1 ? m_items->GetAt(high) : nullptr;
    if (candidate && !candidate->IsLine() && candidate->ContainsIndex(i))
        return candidate;
    ::Layout* lastText = nullptr;
    for (int k = high; k >= 1 && !lastText; --k)
        if (!m_items->GetAt(k)->IsLine())
            lastText = m_items->GetAt(k);
    for (int k = high + 1; k <= m_items->GetCount(); ++k) {
        ::Layout* item = m_items->GetAt(k);
        if (item->IsLine())
            break;
        lastText = item;
    }
    return lastText;
}

void CompList::GetItemRect(int i, Rect& out)
{
    if (GetCount() == 0) {
        out = GetAbsRect();
        // An empty laid-out paragraph: the caret stands where its text
        // would start (after the label, at the centre of a centred line).
        if (::Layout* line = m_items && m_items->GetCount() > 0 ? m_items->GetAt(1) : nullptr; line && line->IsLine()) {
            out = line->AbsRect();
            out.left = static_cast<LineLayout*>(line)->GetTextStart();
            out.right = out.left + 1;
        }
        return;
    }
    if (i > GetCount()) {
        GetItemRect(GetCount(), out);
        // The last item of a line reaches to the page's right edge; the
        // caret after a structure stands at the structure's own right edge.
        if (TextComp* last = GetAt(GetCount()); last->Tag() != tag_Char) {
            Rect bounds;
            last->GetAbsBounds(bounds);
            if (!bounds.IsEmpty())
                out.right = bounds.right;
        }
        out.left = out.right;
        out.right = out.right + 1;
        return;
    }
    SizeStepScope size(m_sizeStep);
    if (::Layout* item = ItemForIndex(i))
        item->GetAbsRect(i, out);
    else
        out = GetAbsRect();
}

void CompList::GetRangeRect(int first, int last, Rect& out)
{
    first = std::max(first, 1);
    GetItemRect(first, out);
    last = std::min(last, GetCount());
    if (last <= first)
        return;
    Rect end;
    GetItemRect(last, end);
    // The boxes of one line's positions share its top and bottom and grow
    // left to right: their union is that of the first and the last. A range
    // over several lines also covers the row's whole width between them, as
    // the selection's region does.
    if (end.top != out.top) {
        const Rect row = GetAbsRect();
        Rect::Union(out, Rect(row.left, out.top, row.right, end.bottom), out);
    }
    Rect::Union(out, end, out);
}

// ---- text forms ----

void CompList::Write(DocWriter& writer) const
{
    RegisterComponentClasses();
    writer.BeginList();
    for (int i = 1; i <= GetCount(); ++i)
        writer.WriteListComponent(GetAt(i));
    writer.EndList();
}

void CompList::Read(DocReader& reader)
{
    RegisterComponentClasses();
    const bool outermost = gRowsReading == 0;
    Nesting reading(gRowsReading);
    int32_t count = reader.BeginList();
    try {
        for (int32_t n = 0; n < count; ++n) {
            TextComp* comp = reader.ReadComponent();
            if (!comp->IsCharBlock()) {
                m_comps->Append(comp);
                comp->SetOwner(this);
                continue;
            }
            std::unique_ptr<TextComp, void (*)(TextComp*)> block(comp, [](TextComp* c) { c->Delete(); });
            auto& chars = static_cast<CharBlockComp&>(*comp);
            for (int k = 0; k < chars.GetLength(); ++k)
                m_comps->Append(chars.GetCharAt(k));
        }
    } catch (...) {
        reader.EndList();
        FinishRead(outermost);
        throw;
    }
    reader.EndList();
    FinishRead(outermost);
}

void CompList::FinishRead(bool outermost)
{
    m_edits = Edits();
    if (outermost)
        PassSizeStep();
    m_needsLayout = 1;
}

void CompList::WriteTextAll(TextOutBuffer& out) const
{
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->WriteText(out);
}

void CompList::WriteLaTeX(LaTeXWriter& writer, int mode, bool align) const
{
    writer.BeginRow(mode);
    if (align) {
        bool hasRelation = false;
        for (int i = 1; i <= GetCount() && !hasRelation; ++i)
            hasRelation = IsCharacter(GetAt(i)) && CharKind(GetAt(i)) == CharTable::relation;
        if (!hasRelation)
            writer.WriteString(" & & ");
    }
    writer.EnterRow(*this);
    for (int i = 1; i <= GetCount(); ++i)
        writer.WriteChar(*GetAt(i), align);
    writer.LeaveRow();
    writer.EndRow(mode);
}
