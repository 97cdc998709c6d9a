#include "foundation/ParagraphList.h"

#include "foundation/ByteStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DocumentModel.h"
#include "foundation/DrawContext.h"
#include "foundation/EquationLabel.h"
#include "foundation/HTMLWriter.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/LayoutLimits.h"
#include "foundation/NotebookWriter.h"
#include "foundation/LinkRemap.h"
#include "foundation/PageRecord.h"
#include "foundation/ParagraphComp.h"
#include "foundation/StyleKinds.h"
#include "foundation/TextOutBuffer.h"
#include "foundation/XMLWriter.h"
#include "platform/Exceptions.h"

#include <algorithm>

namespace {

bool IsListItemKind(int kind)
{
    return kind == StyleKind::kNumbered || kind == StyleKind::kItemized || kind == StyleKind::kSubEnumerated ||
        kind == StyleKind::kSubItemized;
}

// The smallest stored paragraph: style kind, id and an empty row's count.
constexpr int32_t kMinParagraphBytes = 10;

Rect AbsBoundsOf(const ParagraphComp* paragraph)
{
    Rect r;
    paragraph->GetAbsBounds(r);
    return r;
}

// What the screen shows of a paragraph: a word wider than the line reaches
// past the page's right edge.
Rect InkBoundsOf(const ParagraphComp* paragraph)
{
    Rect r;
    paragraph->GetAbsInkBounds(r);
    return r;
}

} // namespace

ParagraphList::ParagraphList(DocumentModel* document)
    : m_document(document), m_ownerId(document ? document->GetDocId() : 0),
      m_paragraphs(std::make_unique<ParagraphArray>())
{
}

ParagraphList::~ParagraphList()
{
    DeleteAll();
}

// ---- membership ----

void ParagraphList::SetOwner(DocumentModel* document)
{
    for (int i = 1; i <= GetCount(); ++i) {
        ParagraphComp* p = GetAt(i);
        if (m_document) {
            if (document)
                m_document->UnregisterParagraph(*p);
            else
                m_document->DetachParagraph(*p);
            p->SetId(0);
        }
        if (document)
            document->ReturnParagraph(*p);
    }
    if (document)
        m_ownerId = document->GetDocId();
    m_document = document;
}

int32_t ParagraphList::GetOwnerId() const
{
    return m_document ? m_document->GetDocId() : m_ownerId;
}

int ParagraphList::IndexOf(const ParagraphComp* paragraph) const
{
    // By place in the list, never by vertical position: the layout may be
    // stale and slides hide paragraphs. The place found last time is tried
    // first, so that typing on in one paragraph searches nothing.
    if (!paragraph)
        return 0;
    const int hint = paragraph->m_indexHint;
    if (GetAt(hint) == paragraph)
        return hint;
    const int found = m_paragraphs->Find(paragraph);
    if (found > 0)
        paragraph->m_indexHint = found;
    return found;
}

ParagraphComp* ParagraphList::FindById(int32_t id) const
{
    for (int i = 1; i <= GetCount(); ++i)
        if (GetAt(i)->GetId() == id)
            return GetAt(i);
    return nullptr;
}

void ParagraphList::Append(ParagraphComp* paragraph)
{
    paragraph->SetOwnerList(this);
    m_paragraphs->Append(paragraph);
    paragraph->m_indexHint = GetCount();
}

void ParagraphList::InsertAt(ParagraphComp* paragraph, int i)
{
    paragraph->SetOwnerList(this);
    m_paragraphs->InsertAt(i, paragraph);
    paragraph->m_indexHint = i;
    paragraph->Invalidate();
    paragraph->KeepItemsAsPrevious();
}

ParagraphComp* ParagraphList::RemoveAt(int i)
{
    ParagraphComp* paragraph = m_paragraphs->RemoveAt(i);
    if (paragraph)
        paragraph->DetachFromList();
    return paragraph;
}

ParagraphComp* ParagraphList::TakeOut(int i)
{
    return m_paragraphs->RemoveAt(i);
}

void ParagraphList::MoveIn(ParagraphComp* paragraph)
{
    paragraph->SetOwnerList(this);
    m_paragraphs->Append(paragraph);
    paragraph->m_indexHint = GetCount();
}

void ParagraphList::MoveAllTo(ParagraphList& target, int from)
{
    for (int i = from; i <= GetCount(); ++i)
        target.MoveIn(GetAt(i));
    auto kept = std::make_unique<ParagraphArray>();
    for (int i = 1; i < from; ++i)
        kept->Append(GetAt(i));
    m_paragraphs = std::move(kept);
}

void ParagraphList::Destroy(ParagraphComp* paragraph)
{
    if (DocumentModel* doc = paragraph->GetDocument())
        doc->UnregisterParagraph(*paragraph);
    delete paragraph;
}

void ParagraphList::DeleteAll()
{
    while (GetCount() > 0)
        Destroy(TakeOut(GetCount()));
    m_paragraphs = std::make_unique<ParagraphArray>();
}

DocPosition ParagraphList::PositionAt(int i) const
{
    ParagraphComp* p = GetAt(i);
    return p ? DocPosition(p->GetRow(), 1) : DocPosition();
}

DocSelection ParagraphList::GetFullSelection() const
{
    if (GetCount() == 0)
        return DocSelection();
    CompList* last = GetAt(GetCount())->GetRow();
    return DocSelection(PositionAt(1), DocPosition(last, last->GetCount() + 1));
}

// ---- lookup by point ----

int ParagraphList::FindIndexAtY(int32_t y) const
{
    int n = GetCount();
    if (y >= m_height || n < 2)
        return n;
    int lo = 1;
    int hi = n;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (y <= AbsBoundsOf(GetAt(mid)).bottom)
            hi = mid;
        else
            lo = mid + 1;
    }
    return hi;
}

TextComp* ParagraphList::ComponentAt(const IntPoint& point) const
{
    ParagraphComp* p = GetParagraphAtY(point.y);
    return p ? p->ComponentAt(point) : nullptr;
}

void ParagraphList::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) const
{
    ParagraphComp* p = GetParagraphAtY(point.y);
    if (p)
        p->PositionFromPoint(out, point, nearest);
    else
        out = DocPosition();
}

// ---- layout and drawing ----

// Moves a laid-out paragraph to the pen; changed receives its old and new
// places as the screen shows them.
void ParagraphList::PlaceAt(ParagraphComp* paragraph, const IntPoint& pen, Rect& changed)
{
    Rect before = InkBoundsOf(paragraph);
    paragraph->SetOrigin(pen);
    Rect::Union(before, InkBoundsOf(paragraph), changed);
}

void ParagraphList::InvalidateTail(int32_t newHeight)
{
    // A line that moved up out of the band may reach past the page's edge.
    const int32_t right = std::max(gDrawContext.GetPageWidth(), GetInkRight());
    if (m_height > newHeight)
        gDrawContext.InvalidateLogicalRect(Rect(gDrawContext.GetLeftMargin(), newHeight, right, m_height));
}

void ParagraphList::UpdateLayout()
{
    IntPoint pen(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin());
    ParagraphComp* previous = nullptr;
    for (int i = 1; i <= GetCount(); ++i) {
        ParagraphComp* p = GetAt(i);
        if (p->NeedsLayout()) {
            p->Layout(previous);
            p->SetOrigin(pen);
            pen.y = LayoutLimits::Clamp(AbsBoundsOf(p).bottom);
            gDrawContext.InvalidateLogicalRect(InkBoundsOf(p));
        } else {
            Rect r = AbsBoundsOf(p);
            if (r.top == pen.y) {
                pen.y = LayoutLimits::Clamp(r.bottom);
            } else {
                Rect changed;
                PlaceAt(p, pen, changed);
                pen.y = LayoutLimits::Sum(pen.y, r.Height());
                gDrawContext.InvalidateLogicalRect(changed);
            }
        }
        previous = p;
    }
    InvalidateTail(pen.y);
    m_height = pen.y;
}

void ParagraphList::UpdateLayoutFrom(int index, int position)
{
    index = std::clamp(index, 1, std::max(GetCount(), 1));
    EquationNumber counters;
    IntPoint pen(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin());
    ParagraphComp* previous = GetAt(index - 1);
    if (previous) {
        previous->GetCounters(counters);
        pen.y = LayoutLimits::Clamp(AbsBoundsOf(previous).bottom);
    }
    bool changing = true;
    for (int i = index; i <= GetCount(); ++i) {
        ParagraphComp* p = GetAt(i);
        EquationNumber before;
        p->GetCounters(before);
        p->AdvanceCounters(counters);
        if (i == index || (changing && p->NeedsLayout())) {
            p->Layout(previous);
            p->SetOrigin(pen);
            if (i == index)
                p->InvalidateChanges(position);
            else
                gDrawContext.InvalidateLogicalRect(InkBoundsOf(p));
        } else {
            changing = false;
            const bool relaid = p->NeedsLayout();
            if (relaid)
                p->Layout(previous);
            const bool moved = AbsBoundsOf(p).top != pen.y || p->NeedsLayout();
            if (moved) {
                Rect changed;
                PlaceAt(p, pen, changed);
                gDrawContext.InvalidateLogicalRect(changed);
            }
            // A paragraph that stays where it was and leaves the numbering as it
            // was leaves the paragraphs after it where they are, with the
            // numbers they have: only those that need layout for a change of
            // their own (a reference told of a new number, say) are visited.
            if (!relaid && !moved && counters == before) {
                const int next = NextNeedingLayout(i + 1);
                if (next > GetCount()) {
                    SettleReferences();
                    return;
                }
                i = next - 1;
                p = GetAt(i);
                p->GetCounters(counters);
            }
        }
        pen.y = LayoutLimits::Clamp(AbsBoundsOf(p).bottom);
        previous = p;
    }
    InvalidateTail(pen.y);
    m_height = pen.y;
    SettleReferences();
}

int ParagraphList::NextNeedingLayout(int from) const
{
    if (m_needingLayout == 0)
        return GetCount() + 1;
    int i = std::max(from, 1);
    while (i <= GetCount() && !GetAt(i)->NeedsLayout())
        ++i;
    return i;
}

void ParagraphList::NumberAll()
{
    EquationNumber counters;
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->AdvanceCounters(counters);
}

void ParagraphList::SettleReferences()
{
    if (m_needingLayout > 0)
        UpdateLayout();
}

void ParagraphList::RelayoutAll(bool invalidateTail)
{
    NumberAll();
    IntPoint pen(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin());
    ParagraphComp* previous = nullptr;
    for (int i = 1; i <= GetCount(); ++i) {
        ParagraphComp* p = GetAt(i);
        p->MarkDirty();
        p->Layout(previous);
        p->SetOrigin(pen);
        pen.y = LayoutLimits::Clamp(AbsBoundsOf(p).bottom);
        previous = p;
    }
    if (invalidateTail)
        InvalidateTail(pen.y);
    m_height = pen.y;
}

void ParagraphList::SetEquationSizeStep(bool larger)
{
    for (int i = 1; i <= GetCount(); ++i)
        if (GetAt(i)->IsEquationStyle())
            GetAt(i)->SetSizeStep(larger ? -1 : 0);
}

void ParagraphList::Paginate(PageRecord& pages)
{
    int32_t pageHeight = gDrawContext.GetPrintableHeight();
    if (pageHeight <= 0)
        throw CException("The printable area of the page is too small to print on");
    int32_t pageBreak = pageHeight;
    int32_t lastBreak = 0;
    int page = 1;
    NumberAll();
    IntPoint pen(0, 0);
    ParagraphComp* previous = nullptr;
    for (int i = 1; i <= GetCount(); ++i) {
        ParagraphComp* p = GetAt(i);
        p->MarkDirty();
        p->Layout(previous);
        p->SetOrigin(pen);
        p->FitWidth(gDrawContext.GetPageWidth());
        pen.y = LayoutLimits::Clamp(AbsBoundsOf(p).bottom);
        while (pen.y > pageBreak) {
            Rect line;
            p->GetLineBreak(pageBreak, line);
            if (pageBreak < line.bottom)
                pageBreak = line.top;
            if (pageBreak <= lastBreak)
                pageBreak = lastBreak + pageHeight;
            pages.SetPageBreak(page, pageBreak);
            lastBreak = pageBreak;
            pageBreak += pageHeight;
            ++page;
        }
        previous = p;
    }
    pages.SetPageBreak(page, pageBreak);
    m_height = pen.y;
}

void ParagraphList::StackVisible()
{
    IntPoint pen(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin());
    for (int i = 1; i <= GetCount(); ++i) {
        ParagraphComp* p = GetAt(i);
        p->SetOrigin(pen);
        if (p->IsVisible())
            pen.y = LayoutLimits::Clamp(AbsBoundsOf(p).bottom);
    }
    m_height = pen.y;
}

void ParagraphList::ShowAll()
{
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->Show();
}

void ParagraphList::HideAll()
{
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->Hide();
}

int32_t ParagraphList::GetInkRight() const
{
    return m_inkRights.empty() ? 0 : std::max(0, *m_inkRights.rbegin());
}

void ParagraphList::ForgetInkRight(int32_t right)
{
    if (auto at = m_inkRights.find(right); at != m_inkRights.end())
        m_inkRights.erase(at);
}

void ParagraphList::PaintRange(const Rect& update) const
{
    int last = FindIndexAtY(update.bottom);
    for (int i = std::max(FindIndexAtY(update.top), 1); i <= last; ++i)
        GetAt(i)->Paint(update);
}

// ---- splitting and joining ----

int ParagraphList::TopRowIndex(const DocPosition& position)
{
    ParagraphComp* paragraph = position.GetParagraphComp();
    CompList* row = position.GetList();
    if (!paragraph || !row)
        throw CException("The position is not in a paragraph");
    int index = position.GetIndex();
    bool nested = false;
    while (row != paragraph->GetRow()) {
        TextComp* holder = row->GetOwner();
        CompList* outer = holder ? holder->GetOwner() : nullptr;
        if (!outer)
            throw CException("The position is not in a paragraph");
        index = outer->Find(holder);
        row = outer;
        nested = true;
    }
    // A place inside a structure splits after that structure.
    return std::clamp(nested ? index + 1 : index, 1, row->GetCount() + 1);
}

std::unique_ptr<ParagraphList> ParagraphList::SplitAt(const DocPosition& position)
{
    int at = IndexOf(position.GetParagraphComp());
    if (at == 0)
        throw CException("The position is not in this document");
    int index = TopRowIndex(position);
    ParagraphComp* head = GetAt(at);
    auto rest = std::make_unique<ParagraphList>(m_document);
    rest->m_ownerId = m_ownerId;
    rest->MoveIn(new ParagraphComp(head->GetRow()->RemoveFrom(index), head->GetStyleKind()));
    auto kept = std::make_unique<ParagraphArray>();
    for (int i = 1; i <= GetCount(); ++i) {
        if (i <= at)
            kept->Append(GetAt(i));
        else
            rest->MoveIn(GetAt(i));
    }
    m_paragraphs = std::move(kept);
    return rest;
}

DocPosition ParagraphList::AppendList(std::unique_ptr<ParagraphList> other)
{
    if (!other || other->GetCount() == 0) {
        if (GetCount() == 0)
            return DocPosition();
        CompList* row = GetAt(GetCount())->GetRow();
        return DocPosition(row, row->GetCount() + 1);
    }
    if (GetCount() == 0) {
        other->MoveAllTo(*this, 1);
        return PositionAt(1);
    }
    ParagraphComp* first = other->TakeOut(1);
    ParagraphComp* last = GetAt(GetCount());
    CompList* row = last->GetRow();
    DocPosition joint(row, row->GetCount() + 1);
    row->InsertAllAt(first->GetRow()->DetachAll(), row->GetCount() + 1);
    if (first->GetStyle() != last->GetStyle())
        last->SetStyle(first->GetStyle());
    other->Destroy(first);
    other->MoveAllTo(*this, 1);
    return joint;
}

std::unique_ptr<ParagraphList> ParagraphList::DeleteRange(const DocSelection& selection)
{
    auto tail = SplitAt(selection.GetEnd());
    auto middle = SplitAt(selection.GetStart());
    AppendList(std::move(tail));
    return middle;
}

DocPosition ParagraphList::InsertListAt(const DocPosition& position, std::unique_ptr<ParagraphList> list)
{
    if (!list || list->GetCount() == 0)
        return position;
    auto tail = SplitAt(position);
    AppendList(std::move(list));
    return AppendList(std::move(tail));
}

// ---- fragments ----

std::unique_ptr<ParagraphList> ParagraphList::CopyRange(const DocSelection& selection, DocSelection* span) const
{
    const DocPosition& start = selection.GetStart();
    const DocPosition& end = selection.GetEnd();
    ParagraphComp* first = start.GetParagraphComp();
    ParagraphComp* last = end.GetParagraphComp();
    int firstIndex = IndexOf(first);
    int lastIndex = IndexOf(last);
    if (firstIndex == 0 || lastIndex == 0 || !start.GetList() || !end.GetList())
        throw CException("The selection is not in this document");

    auto copy = std::make_unique<ParagraphList>();
    LinkRemap remap;
    // A part of a paragraph is copied with the paragraph's style, so references
    // copied along with it follow the copy's label.
    auto copyPart = [&remap](ParagraphComp* source, std::unique_ptr<CompArray> comps) {
        auto* part = new ParagraphComp(std::move(comps), source->GetStyleKind());
        if (source->GetLabel() && part->GetLabel())
            remap.AddTarget(source->GetLabel(), part->GetLabel());
        return part;
    };
    if (first == last) {
        copy->Append(copyPart(first, start.GetList()->CloneRange(start.GetIndex(), end.GetIndex() - 1, remap)));
    } else {
        CompList* firstRow = first->GetRow();
        copy->Append(copyPart(first, firstRow->CloneRange(TopRowIndex(start), firstRow->GetCount(), remap)));
        for (int i = firstIndex + 1; i < lastIndex; ++i)
            copy->Append(static_cast<ParagraphComp*>(GetAt(i)->Clone(remap)));
        copy->Append(copyPart(last, last->GetRow()->CloneRange(1, TopRowIndex(end) - 1, remap)));
    }
    remap.RebindLinks();
    if (span)
        *span = copy->GetFullSelection();
    return copy;
}

std::unique_ptr<ParagraphList> ParagraphList::FromComponents(DocumentModel* document,
                                                             std::unique_ptr<CompArray> components,
                                                             DocSelection* span)
{
    auto list = std::make_unique<ParagraphList>(document);
    list->Append(new ParagraphComp(std::move(components), kPlainKind));
    if (span)
        *span = list->GetFullSelection();
    return list;
}

std::unique_ptr<ParagraphList> ParagraphList::FromObject(DocumentModel* document, TextComp* comp, DocSelection* span)
{
    auto components = std::make_unique<CompArray>();
    components->Append(comp);
    return FromComponents(document, std::move(components), span);
}

// ---- storage and export ----

void ParagraphList::Write(DocWriter& writer, bool flushEach) const
{
    writer.WriteLong(GetCount());
    for (int i = 1; i <= GetCount(); ++i) {
        GetAt(i)->Write(writer);
        if (flushEach)
            writer.Flush();
    }
}

void ParagraphList::ReadCounted(DocReader& reader)
{
    int32_t count = reader.ReadLong();
    if (count < 1)
        return;
    if (count > reader.BytesLeft() / kMinParagraphBytes)
        throw CFormatException("The paragraph count is larger than the data that follows");
    for (int32_t n = 0; n < count; ++n) {
        std::unique_ptr<ParagraphComp> paragraph(new ParagraphComp);
        paragraph->Read(reader);
        paragraph->AttachToList(this);
        m_paragraphs->Append(paragraph.release());
    }
}

void ParagraphList::ReadText(ByteStream& stream, LeftOutCharacters* left)
{
    DeleteAll();
    int32_t length = stream.GetLength();
    while (stream.GetPosition() < length) {
        std::unique_ptr<ParagraphComp> paragraph(new ParagraphComp);
        paragraph->ReadLine(stream, left);
        Append(paragraph.release());
    }
}

void ParagraphList::WriteTextAll(TextOutBuffer& out) const
{
    for (int i = 1; i <= GetCount(); ++i) {
        if (i > 1)
            out.EndLine();
        GetAt(i)->WriteText(out);
    }
    out.Flush();
}

void ParagraphList::WriteLaTeX(LaTeXWriter& writer) const
{
    writer.BeginDocument(m_document && m_document->NumberPrintedPages(),
                         m_document ? m_document->FirstPageNumber() : int16_t(1));
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->WriteLaTeX(writer);
    writer.WriteEnd();
}

void ParagraphList::WriteNotebook(NotebookWriter& writer) const
{
    writer.Begin();
    for (int i = 1; i <= GetCount(); ++i)
        GetAt(i)->WriteNotebook(writer);
    writer.End();
}

// An equation between the items of a list belongs to the item before it;
// one after the list's last item stands after the list.
bool ParagraphList::EndsLists(int index) const
{
    if (!GetAt(index)->IsEquationStyle())
        return false;
    for (int i = index + 1; i <= GetCount(); ++i)
        if (!GetAt(i)->IsEquationStyle())
            return !IsListItemKind(GetAt(i)->GetStyleKind());
    return true;
}

void ParagraphList::WriteMathML(XMLWriter& writer) const
{
    writer.WriteProlog();
    for (int i = 1; i <= GetCount(); ++i) {
        if (EndsLists(i))
            writer.CloseOpenBlocks();
        GetAt(i)->WriteMathML(writer);
    }
    writer.WriteTail();
}

void ParagraphList::WriteHTML(HTMLWriter& writer) const
{
    writer.WriteHead();
    for (int i = 1; i <= GetCount(); ++i) {
        if (EndsLists(i))
            writer.CloseOpenBlocks();
        GetAt(i)->WriteHTML(writer);
    }
    writer.WriteTail();
}
