#include "foundation/DocSelection.h"

#include "foundation/CompList.h"
#include "foundation/CrossRefMaker.h"
#include "foundation/EquationLabel.h"
#include "foundation/FontIds.h"
#include "foundation/FontManager.h"
#include "foundation/InnerSelection.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/PtrArray.h"
#include "foundation/ShowsText.h"
#include "foundation/StyleKinds.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kNoFont = FontId::kMath; // what a selection without characters reports
constexpr int kNoStyle = -1;           // a selection whose components differ in style

// The chain of containers from a paragraph's top row down to a position:
// rows and components alternate, a row first; a component in no row (one
// not in the document, or held by an object) starts its chain instead.
using Chain = PtrArray<CObject>;

std::unique_ptr<Chain> ChainOf(const DocPosition& position)
{
    auto up = std::make_unique<Chain>(16);
    CompList* list = position.GetKind() == DocPosition::kListPlace ? position.GetList() : nullptr;
    TextComp* comp = list ? nullptr : position.GetObject();
    while (list || comp) {
        if (list) {
            up->Append(list);
            comp = list->GetOwner();
            if (!comp || comp->Tag() == tag_Para)
                break;
            list = nullptr;
        } else {
            up->Append(comp);
            list = comp->GetOwner();
            comp = nullptr;
        }
    }
    auto down = std::make_unique<Chain>(16);
    for (int i = up->GetCount(); i >= 1; --i)
        down->Append(up->GetAt(i));
    return down;
}

int CommonPrefix(const Chain& a, const Chain& b)
{
    int n = 0;
    while (n < a.GetCount() && n < b.GetCount() && a.GetAt(n + 1) == b.GetAt(n + 1))
        ++n;
    return n;
}

// The place an end takes in the common row: its own index when it lies in
// the row, else the index of the component of the row that holds it.
struct PlaceInRow {
    int32_t index;
    bool inside;
};

PlaceInRow PlaceOf(const DocPosition& position, const Chain& chain, int common, CompList* row)
{
    if (chain.GetCount() == common)
        return {position.GetIndex(), false};
    return {row->Find(static_cast<TextComp*>(chain.GetAt(common + 1))), true};
}

bool IsBefore(const PlaceInRow& a, const PlaceInRow& b)
{
    return a.index < b.index || (a.index == b.index && !a.inside && b.inside);
}

int StyleFontId(const ParagraphComp* paragraph)
{
    ParagraphStyle* style = paragraph ? paragraph->GetStyle() : nullptr;
    return style ? style->GetFontId() : kNoFont;
}

// The character style a face stands for: the companion faces 5, 6 and 7
// count as plain, bold and math.
int MappedFont(int id)
{
    return id == FontId::kRoman     ? FontId::kText
        : id == FontId::kRomanBold  ? FontId::kBold
        : id == FontId::kRomanOther ? FontId::kMath
                                    : id;
}

// The face typing takes after a link, a reference or a value display (the
// component at `index`): they show text, so the sentence goes on in the face
// of the last character before them. In a text paragraph that is the last
// character of a text face (the mathematics face there being what typing
// after such a structure once left), else the paragraph's own face; in any
// other row the last character's face, else the structure's own.
int FaceAfterText(const DocPosition& at, int index)
{
    CompList* list = at.GetList();
    const int paragraphFont = StyleFontId(at.GetParagraphComp());
    const bool textParagraph = at.IsInParagraph() && MappedFont(paragraphFont) != FontId::kMath;
    for (int i = index - 1; i >= 1; --i) {
        const TextComp* comp = list->GetAt(i);
        if (comp->Tag() == tag_Char && (!textParagraph || MappedFont(comp->GetFontId()) != FontId::kMath))
            return comp->GetFontId();
    }
    return textParagraph ? paragraphFont : list->GetAt(index)->GetFontId();
}

DocSelection TakeFragment(std::unique_ptr<ParagraphList> fragment)
{
    DocSelection span = fragment->GetFullSelection();
    fragment.release(); // owned by the selection from now on (DestroyWithParagraph)
    return span;
}

} // namespace

// ---- construction ----

DocSelection::DocSelection(const DocPosition& a, const DocPosition& b)
{
    if (a.IsSameContainer(b)) {
        bool swap = b < a && !(a == b);
        m_first = swap ? b : a;
        m_second = swap ? a : b;
        if (m_first.GetKind() == DocPosition::kListPlace && m_first.GetIndex() == 0 && m_second.GetIndex() > 1)
            m_first.SetIndex(1);
        return;
    }
    NormalizeAcrossContainers(a, b);
}

void DocSelection::NormalizeAcrossContainers(const DocPosition& a, const DocPosition& b)
{
    auto chainA = ChainOf(a);
    auto chainB = ChainOf(b);
    int common = CommonPrefix(*chainA, *chainB);
    if (common == 0) {
        NormalizeAcrossParagraphs(a, b);
        return;
    }
    // The innermost shared container is a row or a component; which one
    // depends on what the chains start with, so it is asked.
    if (auto* row = dynamic_cast<CompList*>(chainA->GetAt(common))) {
        PlaceInRow pa = PlaceOf(a, *chainA, common, row);
        PlaceInRow pb = PlaceOf(b, *chainB, common, row);
        if (!IsBefore(pa, pb))
            std::swap(pa, pb);
        int32_t first = pa.index;
        int32_t second = pb.inside ? pb.index + 1 : pb.index;
        if (first == 0 && second > 1)
            first = 1;
        m_first = DocPosition(row, first);
        m_second = DocPosition(row, second);
        return;
    }
    auto* comp = static_cast<TextComp*>(chainA->GetAt(common));
    if (auto* inner = dynamic_cast<InnerSelection*>(comp)) {
        DocSelection lines;
        if (inner->SelectBetween(a, b, lines)) {
            *this = lines;
            return;
        }
    }
    if (!comp->GetOwner()) {
        // A component outside any row cannot be selected as a whole: a caret
        // at the second end, as for ends in unrelated rows.
        m_first = m_second = b;
        return;
    }
    *this = DocSelection(comp);
}

void DocSelection::NormalizeAcrossParagraphs(const DocPosition& a, const DocPosition& b)
{
    ParagraphComp* pa = a.GetParagraphComp();
    ParagraphComp* pb = b.GetParagraphComp();
    ParagraphList* list = a.GetParagraph();
    int ia = list ? list->IndexOf(pa) : 0;
    int ib = list && list == b.GetParagraph() ? list->IndexOf(pb) : 0;
    if (ia == 0 || ib == 0) {
        // Ends that belong to no common paragraph list cannot be ordered:
        // the selection collapses to the caret end.
        m_first = m_second = b;
        return;
    }
    const DocPosition& earlier = ia < ib ? a : b;
    const DocPosition& later = ia < ib ? b : a;
    m_first = DocPosition(earlier.GetParagraphComp()->GetRow(), std::max(earlier.GetParagraphIndex(true), 1));
    m_second = DocPosition(later.GetParagraphComp()->GetRow(), std::max(later.GetParagraphIndex(false), 1));
}

DocSelection::DocSelection(CompList* list, int32_t first, int32_t last) : m_first(list, first), m_second(list, last) {}

DocSelection::DocSelection(TextComp* comp)
{
    CompList* owner = comp ? comp->GetOwner() : nullptr;
    if (!owner)
        return;
    int32_t index = owner->Find(comp);
    m_first = DocPosition(owner, index);
    m_second = DocPosition(owner, index + 1);
}

DocSelection DocSelection::Ordered(const DocPosition& first, const DocPosition& second)
{
    DocSelection selection;
    selection.m_first = first;
    selection.m_second = second;
    return selection;
}

DocSelection DocSelection::SelectContent(TextComp* comp)
{
    CompList* list = comp ? comp->GetChild(1) : nullptr;
    return SelectAll(list);
}

DocSelection DocSelection::SelectAll(CompList* list)
{
    return list ? DocSelection(list, 1, list->GetCount() + 1) : DocSelection();
}

DocSelection DocSelection::SelectObject(TextComp* comp)
{
    DocPosition position;
    position.SetObject(comp);
    return Ordered(position, position);
}

DocSelection DocSelection::CaretSelection() const
{
    return DocSelection(m_second, m_second);
}

// ---- queries ----

InnerSelection* DocSelection::Inner() const
{
    return dynamic_cast<InnerSelection*>(m_first.GetObject());
}

bool DocSelection::IsLabelSelection() const
{
    return m_first.GetKind() == DocPosition::kListPlace && m_first.GetIndex() == 0 && m_second.GetIndex() == 1 &&
           m_first.GetList() == m_second.GetList();
}

bool DocSelection::HasExtent() const
{
    if (m_first.GetKind() == DocPosition::kWholeObject) {
        InnerSelection* inner = Inner();
        return inner && inner->HasInnerSelection();
    }
    return m_first != m_second;
}

bool DocSelection::IsInOneParagraph() const
{
    return m_first.GetParagraphComp() && m_first.GetParagraphComp() == m_second.GetParagraphComp();
}

bool DocSelection::IsInsideFormula() const
{
    return IsInOneParagraph() && m_first.GetParagraphComp()->IsEquationStyle() && 0 < m_first.GetIndex() &&
           m_first.GetIndex() < m_second.GetIndex();
}

TextComp* DocSelection::GetSingleObject() const
{
    if (m_first.GetKind() == DocPosition::kWholeObject)
        return m_first.GetObject();
    if (m_first.GetKind() != DocPosition::kListPlace || m_first.GetList() != m_second.GetList())
        return nullptr;
    if (m_first.GetIndex() < 1 || m_second.GetIndex() != m_first.GetIndex() + 1)
        return nullptr;
    return m_first.GetChildAt();
}

bool DocSelection::IsAllCharacters() const
{
    if (m_first.GetKind() != DocPosition::kListPlace || m_first.GetList() != m_second.GetList())
        return false;
    if (m_first.GetIndex() < 1 || m_second.GetIndex() <= m_first.GetIndex())
        return false;
    CompList* list = m_first.GetList();
    for (int i = m_first.GetIndex(); i < m_second.GetIndex(); ++i) {
        TextComp* child = list->GetAt(i);
        if (!child || child->Tag() != tag_Char)
            return false;
    }
    return true;
}

void DocSelection::GetText(Str255& out) const
{
    out.Clear();
    CompList* list = m_first.GetKind() == DocPosition::kListPlace ? m_first.GetList() : nullptr;
    if (!list || list != m_second.GetList())
        return;
    for (int i = std::max(m_first.GetIndex(), 1); i < m_second.GetIndex() && out.GetLength() < Str255::kCapacity; ++i)
        if (TextComp* child = list->GetAt(i))
            out.AppendChar(static_cast<char>(child->GetChar()));
}

int DocSelection::GetCommonFontIndex() const
{
    if (!IsInOneParagraph())
        return MappedFont(StyleFontId(m_first.GetParagraphComp()));
    if (m_first.GetIndex() < 1 || m_first.GetKind() != DocPosition::kListPlace)
        return kNoFont;
    CompList* list = m_first.GetList();
    int first = m_first.GetIndex();
    auto before = [&]() {
        if (TextComp* prev = list->GetAt(first - 1))
            return ShowsText(prev->Tag()) ? FaceAfterText(m_first, first - 1) : prev->GetFontId();
        if (m_first.IsInParagraph())
            return StyleFontId(m_first.GetParagraphComp());
        return list->GetCount() == 0 ? kNoFont : list->GetAt(first) ? list->GetAt(first)->GetFontId() : kNoFont;
    };
    if (m_second.GetIndex() > first && list == m_second.GetList()) {
        int id = list->GetAt(first) ? list->GetAt(first)->GetFontId() : kNoFont;
        for (int i = first + 1; i < m_second.GetIndex(); ++i)
            if (TextComp* child = list->GetAt(i); child && child->GetFontId() != id)
                return MappedFont(before());
        return MappedFont(id);
    }
    return MappedFont(before());
}

int DocSelection::GetUniformFontIndex() const
{
    if (m_first.GetKind() != DocPosition::kListPlace || !HasExtent())
        return GetCommonFontIndex();
    int uniform = kNoStyle;
    bool mixed = false;
    auto take = [&](const CompList& row, int first, int end) {
        for (int i = std::max(first, 1); i < end && i <= row.GetCount() && !mixed; ++i) {
            const TextComp* child = row.GetAt(i);
            if (!child || ShowsText(child->Tag()))
                continue;
            const int font = MappedFont(child->GetFontId());
            mixed = uniform != kNoStyle && font != uniform;
            uniform = font;
        }
    };
    if (!SpansParagraphs()) {
        if (CompList* list = m_first.GetList(); list && list == m_second.GetList())
            take(*list, m_first.GetIndex(), m_second.GetIndex());
    } else if (ParagraphList* paragraphs = m_first.GetParagraph()) {
        const int from = paragraphs->IndexOf(m_first.GetParagraphComp());
        const int to = paragraphs->IndexOf(m_second.GetParagraphComp());
        for (int i = from; i >= 1 && i <= to; ++i) {
            const CompList& row = *paragraphs->GetAt(i)->GetRow();
            take(row, i == from ? m_first.GetIndex() : 1, i == to ? m_second.GetIndex() : row.GetCount() + 1);
        }
    }
    if (mixed)
        return kNoStyle;
    return uniform == kNoStyle ? GetCommonFontIndex() : uniform;
}

FontFace* DocSelection::GetCommonFont() const
{
    return gFontManager ? gFontManager->GetFace(GetCommonFontIndex()) : nullptr;
}

void DocSelection::TrimTrailingSpaces()
{
    if (m_second.GetKind() != DocPosition::kListPlace)
        return;
    CompList* list = m_second.GetList();
    int32_t lowest = m_first.GetList() == list ? std::max(m_first.GetIndex(), 1) : 1;
    while (m_second.GetIndex() > lowest) {
        TextComp* prev = list->GetAt(m_second.GetIndex() - 1);
        if (!prev || prev->Tag() != tag_Char || prev->GetChar() != ' ')
            break;
        m_second.SetIndex(m_second.GetIndex() - 1);
    }
}

bool DocSelection::Contains(const DocPosition& position) const
{
    if (position == m_second)
        return false;
    DocSelection with(m_first, position);
    if (with.m_first != m_first)
        return false;
    return with.m_first.IsSameContainer(m_first) && !(m_second < with.m_second);
}

void DocSelection::GetListBounds(Rect& out) const
{
    if (IsLabelSelection()) {
        if (EquationLabel* label = m_first.GetParagraphComp() ? m_first.GetParagraphComp()->GetLabel() : nullptr) {
            label->GetBounds(out);
            return;
        }
    }
    CompList* list = m_first.GetList();
    if (m_first == m_second || m_first.GetList() != m_second.GetList()) {
        Rect caret;
        list->GetItemRect(std::max(m_first.GetIndex(), 1), caret);
        out = Rect(caret.left, caret.top, caret.left + 1, caret.bottom);
        if (m_first.GetList() != m_second.GetList() && m_second.GetList()) {
            Rect end;
            m_second.GetList()->GetItemRect(m_second.GetIndex(), end);
            Rect::Union(out, Rect(end.left, end.top, end.left + 1, end.bottom), out);
        }
        return;
    }
    list->GetRangeRect(m_first.GetIndex(), m_second.GetIndex() - 1, out);
}

void DocSelection::GetBounds(Rect& out) const
{
    out = Rect();
    switch (m_first.GetKind()) {
    case DocPosition::kListPlace:
        if (m_first.GetList())
            GetListBounds(out);
        break;
    case DocPosition::kGridLine:
    case DocPosition::kVariableSlot:
        if (InnerSelection* inner = Inner())
            inner->GetSelectionBounds(*this, out);
        break;
    case DocPosition::kWholeObject:
        if (TextComp* object = m_first.GetObject())
            object->GetAbsBounds(out);
        break;
    default: break;
    }
}

Region DocSelection::GetRegion() const
{
    Rect bounds;
    GetBounds(bounds);
    if (m_first.GetKind() != DocPosition::kListPlace || !m_first.IsInParagraph() || IsLabelSelection() ||
        m_first == m_second)
        return Region::RegionFromRect(bounds);
    Rect start, end, text;
    m_first.GetList()->GetItemRect(std::max(m_first.GetIndex(), 1), start);
    m_second.GetList()->GetItemRect(m_second.GetIndex(), end);
    if (start.top == end.top && m_first.GetList() == m_second.GetList())
        return Region::RegionFromRect(Rect(start.left, start.top, end.left, std::max(start.bottom, end.bottom)));
    m_first.GetParagraphComp()->GetAbsBounds(text);
    ParagraphComp* last = m_second.GetParagraphComp();
    Rect lastText;
    if (last)
        last->GetAbsBounds(lastText);
    Region region = Region::RegionFromRect(Rect(start.left, start.top, text.right, start.bottom));
    if (end.top > start.bottom)
        region.UnionWith(Region::RegionFromRect(Rect(text.left, start.bottom, text.right, end.top)));
    region.UnionWith(Region::RegionFromRect(Rect(last ? lastText.left : text.left, end.top, end.left, end.bottom)));
    return region;
}

bool DocSelection::PtInSelection(const IntPoint& point) const
{
    return GetRegion().Contains(point);
}

void DocSelection::SetFont(int fontId)
{
    switch (m_first.GetKind()) {
    case DocPosition::kListPlace: {
        if (!SpansParagraphs()) {
            if (CompList* list = m_first.GetList())
                list->SetFont(fontId, std::max(m_first.GetIndex(), 1), m_second.GetIndex());
            return;
        }
        ParagraphList* paragraphs = m_first.GetParagraph();
        if (!paragraphs)
            return;
        int from = paragraphs->IndexOf(m_first.GetParagraphComp());
        int to = paragraphs->IndexOf(m_second.GetParagraphComp());
        for (int i = from; i >= 1 && i <= to; ++i) {
            CompList* row = paragraphs->GetAt(i)->GetRow();
            int first = i == from ? std::max(m_first.GetIndex(), 1) : 1;
            int end = i == to ? m_second.GetIndex() : row->GetCount() + 1;
            row->SetFont(fontId, first, end);
        }
        return;
    }
    case DocPosition::kWholeObject:
        if (TextComp* object = m_first.GetObject()) {
            if (InnerSelection* inner = Inner()) {
                inner->SetSelectionFont(*this, fontId);
                return;
            }
            for (int i = 1; i <= object->GetChildCount(); ++i)
                if (CompList* child = object->GetChild(i))
                    child->SetFont(fontId, 1, child->GetCount() + 1);
        }
        return;
    default:
        if (InnerSelection* inner = Inner())
            inner->SetSelectionFont(*this, fontId);
        return;
    }
}

bool DocSelection::AllParagraphsSourceCode() const
{
    ParagraphList* paragraphs = m_first.GetParagraph();
    if (!paragraphs)
        return false;
    int from = paragraphs->IndexOf(m_first.GetParagraphComp());
    int to = paragraphs->IndexOf(m_second.GetParagraphComp());
    if (from == 0 || to < from)
        return false;
    for (int i = from; i <= to; ++i)
        if (paragraphs->GetAt(i)->GetStyleKind() != StyleKind::kSourceCode)
            return false;
    return true;
}

void DocSelection::DestroyWithParagraph()
{
    ParagraphList* fragment = m_first.GetParagraph();
    m_first = m_second = DocPosition();
    if (fragment && !fragment->GetDocument())
        delete fragment;
}

// ---- editing ----

DocSelection DocSelection::MakeCopyRecord() const
{
    switch (m_first.GetKind()) {
    case DocPosition::kListPlace: break;
    case DocPosition::kWholeObject:
        if (InnerSelection* inner = Inner())
            return inner->CopySelection(*this);
        if (TextComp* object = m_first.GetObject()) {
            LinkRemap remap;
            TextComp* copy = object->Clone(remap);
            remap.RebindLinks();
            TakeFragment(ParagraphList::FromObject(nullptr, copy));
            return SelectObject(copy);
        }
        return DocSelection();
    default:
        if (InnerSelection* inner = Inner())
            return inner->CopySelection(*this);
        return DocSelection();
    }
    if (SpansParagraphs())
        return CopyAcrossParagraphs();
    if (IsLabelSelection()) {
        // The number label is copied as a reference to it; a paragraph
        // without a label gives an empty fragment.
        ParagraphComp* paragraph = m_first.GetParagraphComp();
        EquationLabel* label = paragraph ? paragraph->GetLabel() : nullptr;
        if (TextComp* reference = MakeCrossRef(label)) {
            TakeFragment(ParagraphList::FromObject(nullptr, reference));
            return SelectObject(reference);
        }
        return TakeFragment(ParagraphList::FromComponents(nullptr, nullptr));
    }
    CompList* list = m_first.GetList();
    if (!list)
        return DocSelection();
    LinkRemap remap;
    auto copies = list->CloneRange(std::max(m_first.GetIndex(), 1), m_second.GetIndex() - 1, remap);
    remap.RebindLinks();
    return TakeFragment(ParagraphList::FromComponents(nullptr, std::move(copies)));
}

DocSelection DocSelection::CopyAcrossParagraphs() const
{
    ParagraphList* paragraphs = m_first.GetParagraph();
    int from = paragraphs ? paragraphs->IndexOf(m_first.GetParagraphComp()) : 0;
    int to = paragraphs ? paragraphs->IndexOf(m_second.GetParagraphComp()) : 0;
    if (from == 0 || to < from)
        return DocSelection();
    auto fragment = std::make_unique<ParagraphList>();
    LinkRemap remap;
    for (int i = from; i <= to; ++i) {
        ParagraphComp* source = paragraphs->GetAt(i);
        CompList* row = source->GetRow();
        int first = i == from ? std::max(m_first.GetParagraphIndex(true), 1) : 1;
        int last = i == to ? m_second.GetParagraphIndex(false) - 1 : row->GetCount();
        auto* copy = new ParagraphComp(row->CloneRange(first, last, remap), source->GetStyleKind());
        if (source->GetLabel() && copy->GetLabel())
            remap.AddTarget(source->GetLabel(), copy->GetLabel());
        fragment->Append(copy);
    }
    remap.RebindLinks();
    return TakeFragment(std::move(fragment));
}

DocPosition DocSelection::MakeDeleteRecord()
{
    switch (m_first.GetKind()) {
    case DocPosition::kListPlace: break;
    case DocPosition::kGridLine:
    case DocPosition::kVariableSlot:
        if (InnerSelection* inner = Inner()) {
            DocPosition removedAt;
            *this = inner->DeleteSelection(*this, removedAt);
            return removedAt;
        }
        return DocPosition();
    default: return DocPosition();
    }
    DocPosition start = m_first;
    if (SpansParagraphs()) {
        ParagraphList* paragraphs = m_first.GetParagraph();
        if (!paragraphs)
            return DocPosition();
        auto fragment = paragraphs->DeleteRange(*this);
        fragment->SetOwner(nullptr);
        *this = TakeFragment(std::move(fragment));
        return start;
    }
    CompList* list = m_first.GetList();
    if (!list)
        return DocPosition();
    int first = std::max(m_first.GetIndex(), 1);
    auto removed = m_second.GetIndex() > first ? list->RemoveRange(first, m_second.GetIndex() - 1) : nullptr;
    list->Invalidate();
    start.SetIndex(first);
    *this = TakeFragment(ParagraphList::FromComponents(nullptr, std::move(removed)));
    return start;
}

bool DocSelection::CanInsertAt(const DocPosition& position) const
{
    ParagraphList* fragment = m_first.GetParagraph();
    if (!fragment || fragment->GetDocument())
        return false;
    if (position.GetKind() == DocPosition::kListPlace)
        return position.GetList() != nullptr;
    auto* inner = dynamic_cast<InnerSelection*>(position.GetObject());
    return inner && inner->CanInsert(*this, position);
}

DocSelection DocSelection::InsertAt(const DocPosition& position)
{
    if (!CanInsertAt(position))
        return DocSelection();
    if (position.GetKind() != DocPosition::kListPlace) {
        auto* inner = dynamic_cast<InnerSelection*>(position.GetObject());
        return inner->Insert(*this, position);
    }
    ParagraphList* paragraphs = position.GetParagraph();
    if (m_first.GetParagraph()->GetCount() > 1 && !paragraphs)
        return DocSelection(); // paragraphs go only into a paragraph list: the fragment stays as it is
    std::unique_ptr<ParagraphList> fragment(m_first.GetParagraph());
    m_first = m_second = DocPosition();
    CompList* list = position.GetList();
    if (fragment->GetCount() <= 1) {
        int32_t index = std::clamp(position.Normalize().GetIndex(), 1, list->GetCount() + 1);
        auto components = fragment->GetCount() == 1 ? fragment->GetAt(1)->GetRow()->DetachAll() : nullptr;
        int count = components ? components->GetCount() : 0;
        if (components)
            list->InsertAllAt(std::move(components), index);
        list->Invalidate();
        return DocSelection(list, index, index + count);
    }
    DocPosition start(position.GetParagraphComp()->GetRow(), std::max(position.GetParagraphIndex(false), 1));
    DocPosition end = paragraphs->InsertListAt(position, std::move(fragment));
    return Ordered(start, end);
}
