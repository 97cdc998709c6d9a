#include "foundation/ParagraphComp.h"

#include "foundation/ByteStream.h"
#include "foundation/ChangedBands.h"
#include "foundation/CharComp.h"
#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DocumentModel.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/EquationLabel.h"
#include "foundation/EquationRows.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/HTMLWriter.h"
#include "foundation/IdPool.h"
#include "foundation/FontManager.h"
#include "foundation/KeyCodes.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/Layout.h"
#include "foundation/LayoutLimits.h"
#include "foundation/LeftOutCharacters.h"
#include "foundation/LinkRemap.h"
#include "foundation/NotebookWriter.h"
#include "foundation/ParagraphList.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/SizeStepScope.h"
#include "foundation/StyleKinds.h"
#include "foundation/StyleTable.h"
#include "foundation/XMLWriter.h"
#include "platform/Exceptions.h"

#include <QList>
#include <QString>
#include <QStringDecoder>

#include <algorithm>

namespace {

FontFace* FaceOf(int fontId)
{
    FontFace* face = gFontManager ? gFontManager->GetFace(fontId) : nullptr;
    if (!face)
        throw CException("The fonts are not set up");
    return face;
}

// One line of text, UTF-8 or text-face codes, appended as ReadLine reads it;
// the characters no face holds are left out and added to *left when given.
void AppendLine(CompList& row, const std::string& line, LeftOutCharacters* left)
{
    FontFace* text = FaceOf(FontId::kText);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(line));
    if (utf8.hasError()) {
        for (char c : line)
            row.Append(text->GetCharacter(static_cast<unsigned char>(c)));
        return;
    }
    for (char32_t ch : decoded.toUcs4()) {
        unsigned char code = 0;
        if (FontFace* face = FaceHolding(ch, text, &code))
            row.Append(face->GetCharacter(code));
        else if (left)
            left->Add(ch);
    }
}

// a / b rounded down and up, for b > 0.
int64_t DivideDown(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : (a - b + 1) / b;
}

int64_t DivideUp(int64_t a, int64_t b)
{
    return a >= 0 ? (a + b - 1) / b : a / b;
}

// How far right items first..end - 1 reach, from x (none without items).
std::optional<int32_t> ItemsRight(const LayoutArray& items, int first, int end, int32_t x)
{
    std::optional<int32_t> right;
    for (int i = first; i < end; ++i)
        right = std::max(right.value_or(INT32_MIN), items.GetAt(i)->AbsRect().right - x);
    return right;
}

void DeleteItems(LayoutArray* items)
{
    if (!items)
        return;
    for (int i = 1; i <= items->GetCount(); ++i)
        delete items->GetAt(i);
    items->RemoveAll();
}

} // namespace

ParagraphComp::ParagraphComp(std::unique_ptr<CompArray> components, int styleIndex)
    : m_style(StyleTable::Lookup(styleIndex)), m_text(new CompList(std::move(components)))
{
    m_text->SetOwner(this, 0);
    m_label = m_style->MakeLabel(*this);
    m_text->SetSizeStep(StyleSizeStep());
}

ParagraphComp::ParagraphComp(int styleIndex) : ParagraphComp(nullptr, styleIndex) {}

ParagraphComp::ParagraphComp() : m_style(StyleTable::Lookup(StyleKind::kPlain)), m_text(new CompList)
{
    m_text->SetOwner(this, 0);
}

ParagraphComp::~ParagraphComp()
{
    MoveToList(nullptr);
    ReserveId(0, {});
    delete m_label;
    delete m_text;
    DeleteItems(m_previous.get());
}

signed char ParagraphComp::StyleSizeStep() const
{
    return m_style->GetSizeStep(this);
}

void ParagraphComp::ReplaceLabel(EquationLabel* label)
{
    delete m_label;
    m_label = label;
}

// ---- ownership ----

DocumentModel* ParagraphComp::GetDocument() const
{
    return m_ownerList ? m_ownerList->GetDocument() : nullptr;
}

void ParagraphComp::SetOwnerList(ParagraphList* list)
{
    DocumentModel* oldDoc = GetDocument();
    DocumentModel* newDoc = list ? list->GetDocument() : nullptr;
    if (oldDoc != newDoc) {
        if (oldDoc) {
            if (newDoc)
                oldDoc->UnregisterParagraph(*this);
            else
                oldDoc->DetachParagraph(*this);
            m_id = 0;
        }
        MoveToList(list);
        if (newDoc)
            newDoc->ReturnParagraph(*this);
        if (m_label)
            m_label->Relink();
        m_text->SetSizeStep(StyleSizeStep());
        m_text->InvalidateAll();
        SetNeedsLayout(true);
    }
    MoveToList(list);
}

void ParagraphComp::MoveToList(ParagraphList* list)
{
    if (list == m_ownerList)
        return;
    if (m_ownerList) {
        m_ownerList->ForgetInkRight(m_inkRight);
        m_ownerList->m_needingLayout -= m_needsLayout;
    }
    if (list) {
        list->CountInkRight(m_inkRight);
        list->m_needingLayout += m_needsLayout;
    }
    m_ownerList = list;
}

void ParagraphComp::SetInkRight(int32_t right)
{
    if (right == m_inkRight)
        return;
    if (m_ownerList) {
        m_ownerList->ForgetInkRight(m_inkRight);
        m_ownerList->CountInkRight(right);
    }
    m_inkRight = right;
}

void ParagraphComp::SetNeedsLayout(bool needs)
{
    if (needs == (m_needsLayout != 0))
        return;
    m_needsLayout = needs ? 1 : 0;
    if (m_ownerList)
        m_ownerList->m_needingLayout += needs ? 1 : -1;
}

void ParagraphComp::ReserveId(int32_t id, std::weak_ptr<IdPool> pool)
{
    if (m_reservedId != 0)
        if (auto kept = m_reservedIn.lock())
            kept->Release(m_reservedId);
    m_reservedId = id;
    m_reservedIn = std::move(pool);
}

int32_t ParagraphComp::TakeReservedId(const IdPool* pool)
{
    auto kept = m_reservedIn.lock();
    if (m_reservedId == 0 || !kept || kept.get() != pool)
        return 0;
    int32_t id = m_reservedId;
    m_reservedId = 0;
    m_reservedIn.reset();
    return id;
}

void ParagraphComp::AttachToList(ParagraphList* list)
{
    m_text->SetSizeStep(StyleSizeStep());
    MoveToList(list);
}

// ---- style ----

void ParagraphComp::SetStyle(ParagraphStyle* style)
{
    if (m_label) {
        ReplaceLabel(nullptr);
        ClearPreviousItems();
    }
    m_style = style;
    m_label = style->MakeLabel(*this);
    m_text->SetSizeStep(StyleSizeStep());
    Rect old;
    GetAbsBounds(old);
    gDrawContext.InvalidateLogicalRect(old);
    Invalidate();
}

int ParagraphComp::GetStyleKind() const
{
    return m_style->GetKind();
}

bool ParagraphComp::IsEquationStyle() const
{
    int kind = GetStyleKind();
    return kind == StyleKind::kEquation || kind == StyleKind::kNumberedEquation;
}

// ---- text ----

void ParagraphComp::AppendString(const Str255& text)
{
    FontFace* face = FaceOf(m_style->GetFontId());
    for (int i = 0; i < text.GetLength(); ++i)
        m_text->Append(face->GetCharacter(text.GetByteAt(i)));
}

void ParagraphComp::InsertTabs(int n)
{
    FontFace* face = FaceOf(m_style->GetFontId());
    for (int i = 0; i < n; ++i)
        m_text->Append(face->GetCharacter('\t'));
}

int ParagraphComp::CountLeadingTabs() const
{
    int n = 0;
    while (n < m_text->GetCount() && !IsNotChar(m_text->GetAt(n + 1)->Tag()) && m_text->GetAt(n + 1)->GetChar() == '\t')
        ++n;
    return n;
}

void ParagraphComp::ReadLine(ByteStream& stream, LeftOutCharacters* left)
{
    std::string line;
    int32_t length = stream.GetLength();
    while (stream.GetPosition() < length) {
        uint8_t c = 0;
        stream.Read(&c, 1);
        if (c == '\n')
            break;
        if (c == '\r') {
            // A line feed right after the carriage return belongs to the same line end.
            if (stream.GetPosition() < length) {
                uint8_t next = 0;
                stream.Read(&next, 1);
                if (next != '\n')
                    stream.Seek(stream.GetPosition() - 1);
            }
            break;
        }
        line.push_back(char(c));
    }
    AppendLine(*m_text, line, left);
    Invalidate();
}


// ---- layout and drawing ----

void ParagraphComp::ClearPreviousItems()
{
    DeleteItems(m_previous.get());
    m_previous.reset();
}

void ParagraphComp::KeepItemsAsPrevious()
{
    // The array of the items before last becomes the row's new item array.
    DeleteItems(m_previous.get());
    m_previous = m_text->DetachItems(std::move(m_previous));
}

void ParagraphComp::Layout(ParagraphComp* previous)
{
    m_unfitted.reset();
    KeepItemsAsPrevious();
    m_style->Layout(*this, previous, gDrawContext.GetLeftMargin(), gDrawContext.GetPageWidth());
    m_layoutState.placed = false;
}

void ParagraphComp::SetOrigin(const IntPoint& point)
{
    if (!m_needsLayout && !m_text->IsLaidOut()) {
        m_text->MoveBy(IntPoint(point.x - m_origin.x, point.y - m_origin.y));
        SetInkRight(LayoutLimits::Sum(m_inkRight, int64_t(point.x) - m_origin.x));
        m_origin = point;
        return;
    }
    const IntPoint oldOrigin = m_origin;
    m_style->Place(*this, point);
    m_text->ClearLayoutFlags();
    SetNeedsLayout(false);
    m_origin = point;
    m_layoutState.placed = true;
    MeasureItemsRight(oldOrigin);
    Rect ink;
    GetAbsInkBounds(ink);
    SetInkRight(ink.right);
}

void ParagraphComp::InvalidateChanges(int /*position*/)
{
    // Every item that moved or changed is invalidated, old and new place:
    // one typed character re-centres a whole centred line, and a shorter
    // layout leaves its old last items to be erased. Whole items are
    // invalidated even where only part of an item changed: a larger area
    // only costs drawing time. The boxes go to the window as a few bands
    // (see ChangedBands), whatever the row's length.
    SizeStepScope size(StyleSizeStep());
    LayoutArray* items = m_text->GetItems();
    if (!m_previous || m_previous->GetCount() == 0 || !items) {
        Rect all;
        GetAbsInkBounds(all);
        gDrawContext.InvalidateLogicalRect(all);
        return;
    }
    ChangedBands bands;
    if (m_layoutState.IsPartial()) {
        InvalidateRelaid(bands);
        bands.Invalidate();
        return;
    }
    int n = std::min(m_previous->GetCount(), items->GetCount());
    for (int i = 1; i <= n; ++i) {
        ::Layout* before = m_previous->GetAt(i);
        ::Layout* now = items->GetAt(i);
        if (now->IsEqual(*before)) {
            bands.Unchanged();
            continue;
        }
        bands.Changed(now->AbsRect());
        bands.Changed(before->AbsRect());
    }
    for (int i = n + 1; i <= m_previous->GetCount(); ++i)
        bands.Changed(m_previous->GetAt(i)->AbsRect());
    if (items->GetCount() > m_previous->GetCount()) {
        Rect bounds;
        GetAbsInkBounds(bounds);
        Rect first = items->GetAt(n + 1)->AbsRect();
        bands.Changed(Rect(bounds.left, first.top, bounds.right, bounds.bottom));
    }
    bands.Invalidate();
}

void ParagraphComp::InvalidateRelaid(ChangedBands& bands) const
{
    const LayoutArray& items = *m_text->GetItems();
    const int first = m_layoutState.first;
    const int count = m_layoutState.end - first;
    // A label is made anew only with the first line, the old one then last
    // among the replaced items; a kept label shows as it did. It stands on
    // the first line, so it goes first, in the order of the rows.
    int replaced = m_previous->GetCount();
    const ::Layout* label = items.GetAt(items.GetCount());
    const ::Layout* oldLabel = m_previous->GetAt(replaced);
    if (oldLabel && oldLabel->IsLabel()) {
        --replaced;
        if (!label->IsLabel() || !label->IsEqual(*oldLabel)) {
            bands.Changed(label->AbsRect());
            bands.Changed(oldLabel->AbsRect());
        }
    }
    for (int i = 1; i <= std::max(count, replaced); ++i) {
        const ::Layout* before = i <= replaced ? m_previous->GetAt(i) : nullptr;
        const ::Layout* now = i <= count ? items.GetAt(first + i - 1) : nullptr;
        if (before && now && now->IsEqual(*before)) {
            bands.Unchanged();
            continue;
        }
        if (now)
            bands.Changed(now->AbsRect());
        if (before)
            bands.Changed(before->AbsRect());
    }
    const ::Layout* kept = items.GetAt(m_layoutState.end);
    if (!kept || !kept->IsLine())
        return;
    Rect bounds;
    GetAbsInkBounds(bounds);
    const Rect line = kept->AbsRect();
    const int32_t moved = m_layoutState.tailMoved;
    const int32_t raised = m_layoutState.tailTopBefore - kept->GetRect().top;
    if (moved != 0)
        bands.Changed(Rect(bounds.left, std::min(line.top, line.top - moved) - std::max(0, -raised), bounds.right,
                           std::max(bounds.bottom, bounds.bottom - moved)));
    else if (raised != 0)
        bands.Changed(Rect(bounds.left, std::min(line.top, line.top + raised), bounds.right, line.bottom));
}

void ParagraphComp::MeasureItemsRight(const IntPoint& oldOrigin)
{
    const LayoutArray* items = m_text->GetItems();
    if (!items) {
        m_itemsRight.reset();
        return;
    }
    const int count = items->GetCount();
    if (m_layoutState.IsPartial() && m_itemsRight && m_previous) {
        const auto replaced = ItemsRight(*m_previous, 1, m_previous->GetCount() + 1, oldOrigin.x);
        if (!replaced || *replaced < *m_itemsRight) {
            const int32_t made = ItemsRight(*items, m_layoutState.first, m_layoutState.end, m_origin.x).value_or(INT32_MIN);
            const ::Layout* last = items->GetAt(count);
            const int32_t label = last && last->IsLabel() ? *ItemsRight(*items, count, count + 1, m_origin.x) : INT32_MIN;
            m_itemsRight = std::max({*m_itemsRight, made, label});
            return;
        }
    }
    m_itemsRight = ItemsRight(*items, 1, count + 1, m_origin.x);
}

void ParagraphComp::AdvanceCounters(EquationNumber& counters)
{
    if (m_label)
        m_label->Update(counters);
    else
        m_style->CounterStep(counters);
    if (!(counters == m_counters))
        m_counters = counters;
}

void ParagraphComp::SetBounds(const Rect& bounds)
{
    m_bounds = bounds;
    m_text->SetRect(bounds);
}

void ParagraphComp::GetAbsBounds(Rect& out) const
{
    out = m_bounds;
    out.Offset(m_origin);
}

void ParagraphComp::GetAbsInkBounds(Rect& out) const
{
    GetAbsBounds(out);
    if (m_unfitted)
        return;
    if (m_itemsRight)
        out.right = LayoutLimits::Clamp(std::max<int64_t>(out.right, int64_t(m_origin.x) + *m_itemsRight));
    else if (const LayoutArray* items = m_text->GetItems())
        out.right = std::max(out.right, ItemsRight(*items, 1, items->GetCount() + 1, 0).value_or(INT32_MIN));
}

bool ParagraphComp::HitTest(const IntPoint& point) const
{
    Rect bounds;
    GetAbsBounds(bounds);
    return bounds.Contains(point);
}

TextComp* ParagraphComp::ComponentAt(const IntPoint& point)
{
    if (point.x < gDrawContext.GetLeftMargin() || point.x > gDrawContext.GetPageWidth())
        return nullptr;
    ::Layout* item = m_text->FirstItemHitBy(point);
    return item ? item->ComponentAt(point) : nullptr;
}

void ParagraphComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    SizeStepScope size(StyleSizeStep());
    IntPoint p = point;
    if (p.x < gDrawContext.GetLeftMargin())
        p.x = gDrawContext.GetLeftMargin() + 1;
    // Right of the page the point is pulled back to the end of its line: the
    // line's last item reaches the page's right edge, or past it when what
    // it shows is wider than the line, and a click beyond goes after it.
    if (p.x > gDrawContext.GetPageWidth())
        p.x = std::min(p.x, std::max(gDrawContext.GetPageWidth() - 2, LineRightAt(p.y)));
    if (::Layout* item = m_text->FirstItemHitBy(p))
        item->PositionAt(p, out, nearest);
    else
        out = DocPosition(m_text, m_text->GetCount() + 1);
}

int32_t ParagraphComp::LineRightAt(int32_t y) const
{
    int32_t right = INT32_MIN;
    m_text->FindItemAcross(y, [y, &right](const ::Layout& item) {
        const Rect box = item.AbsRect();
        if (box.top <= y && y <= box.bottom)
            right = std::max(right, box.right);
        return false;
    });
    return right;
}

void ParagraphComp::PositionFromLinePoint(DocPosition& out, const IntPoint& point)
{
    if (m_label) {
        Rect label;
        m_label->GetBounds(label);
        if (label.Contains(point)) {
            out = DocPosition(m_text, 0);
            return;
        }
    }
    m_text->PositionFromLinePoint(out, point);
}

void ParagraphComp::GetLineBreak(int32_t y, Rect& out) const
{
    Rect shown;
    GetAbsBounds(shown);
    if (!m_unfitted) {
        out = LineAt(y);
        return;
    }
    // A fitted paragraph is one piece on its page; taller than a page, it
    // breaks between its lines as they show scaled down.
    if (shown.Height() <= gDrawContext.GetPrintableHeight() || m_unfitted->Height() <= 0) {
        out = Rect(shown.right, shown.top, shown.right + 1, shown.bottom);
        return;
    }
    const Rect line = LineAt(LaidOutYAtOrBelow(y));
    out = Rect(shown.right, ShownY(line.top), shown.right + 1, ShownY(line.bottom));
}

int32_t ParagraphComp::ShownY(int32_t laidOutY) const
{
    const int64_t top = int64_t(m_unfitted->top) + m_origin.y;
    const int64_t scaled = DivideDown((laidOutY - top) * m_bounds.Height(), std::max(1, m_unfitted->Height()));
    return LayoutLimits::Clamp(m_bounds.top + m_origin.y + scaled);
}

int32_t ParagraphComp::LaidOutYAtOrBelow(int32_t shownY) const
{
    const int64_t top = int64_t(m_bounds.top) + m_origin.y;
    const int64_t unscaled = DivideUp((shownY - top) * m_unfitted->Height(), std::max(1, m_bounds.Height()));
    return LayoutLimits::Clamp(m_unfitted->top + m_origin.y + unscaled);
}

Rect ParagraphComp::LineAt(int32_t y) const
{
    // The line that holds the first item reaching down to y (found by
    // halving), or the last line.
    LayoutArray* items = m_text->GetItems();
    int i = items ? std::min(m_text->FirstItemDownTo(y), m_text->TextItemCount()) : 0;
    while (i >= 1 && !items->GetAt(i)->IsLine())
        --i;
    Rect line;
    if (i >= 1)
        line = items->GetAt(i)->AbsRect();
    else
        GetAbsBounds(line);
    return Rect(line.right, line.top, line.right + 1, line.bottom);
}

DocPosition ParagraphComp::GetCaretPositionAfter(int index) const
{
    int count = m_text->GetCount();
    LayoutArray* items = m_text->GetItems();
    for (int i = 1; items && i <= items->GetCount(); ++i) {
        ::Layout* item = items->GetAt(i);
        if (!item->IsLine() || item->GetStartIndex() <= index)
            continue;
        int k = item->GetStartIndex();
        if (k > 1 && k <= count)
            return DocPosition(m_text, k - 1);
        break;
    }
    return DocPosition(m_text, count + 1);
}

void ParagraphComp::Paint(const Rect& update)
{
    Rect bounds;
    if (gDrawContext.IsPrinting())
        GetAbsBounds(bounds);
    else
        GetAbsInkBounds(bounds);
    if (!m_visible || !bounds.Intersects(update))
        return;
    Rect area;
    Rect::Intersection(bounds, update, area);
    gDrawContext.EraseRect(area);
    if (m_unfitted)
        PaintFitted(bounds, area);
    else
        m_text->DrawWithin(area);
}

void ParagraphComp::FitWidth(int32_t right)
{
    Rect ink;
    GetAbsInkBounds(ink);
    if (ink.right <= right || right <= ink.left || ink.Height() <= 0)
        return;
    const int64_t width = int64_t(right) - ink.left;
    const int64_t height = std::max<int64_t>(1, int64_t(ink.Height()) * width / ink.Width());
    ink.OffsetNeg(m_origin);
    m_unfitted = ink;
    m_bounds = Rect(ink.left, ink.top, ink.left + int32_t(width), ink.top + int32_t(height));
}

// The paragraph recorded at its laid-out size, then played into its
// fitted bounds. The recording reaches a sixth of an inch past the paragraph
// on every side: its edge clips what it holds, and a line lying on that edge
// (the frame of a drawing at the margin) would be rounded away where a print
// preview scales the page down, at any zoom from an eighth of the size up.
void ParagraphComp::PaintFitted(const Rect& shown, const Rect& area)
{
    Rect laidOut = *m_unfitted;
    laidOut.Offset(m_origin);
    const int64_t room = std::max(1, gDrawContext.GetResolutionX() / 6);
    const int64_t width = std::max(1, laidOut.Width());
    const int64_t fitted = std::max(1, shown.Width());
    // The room in laid-out units, and the same room once fitted.
    const auto recorded = int32_t((room * width + fitted - 1) / fitted);
    const auto played = int32_t((recorded * fitted + width / 2) / width);
    Rect frame = laidOut;
    frame.Deflate(-recorded, -recorded);
    Rect into = shown;
    into.Deflate(-played, -played);
    // Only the lines that show in the area go into the picture (those whose
    // scaled box meets it as an item meets an area): a page of a long
    // paragraph costs what the page shows.
    const Rect band(laidOut.left, LaidOutYAtOrBelow(area.top + 1) - 1, laidOut.right,
                    LaidOutYAtOrBelow(area.bottom + 1) - 1);
    gDrawContext.BeginMetafile(gDrawContext.GetTarget(), frame);
    m_text->DrawWithin(band);
    HENHMETAFILE picture = gDrawContext.EndMetafile();
    gDrawContext.PlayMetafile(picture, into);
    DrawContext::DeleteMetafile(picture);
}

// ---- component operations ----

TextComp* ParagraphComp::Clone(LinkRemap& remap)
{
    auto* copy = new ParagraphComp(m_text->CloneItems(remap), GetStyleKind());
    // References copied together with this equation follow the copy's label.
    if (m_label && copy->m_label)
        remap.AddTarget(m_label, copy->m_label);
    return copy;
}

ParagraphComp* ParagraphComp::CloneWithLinks()
{
    LinkRemap remap;
    auto* copy = static_cast<ParagraphComp*>(Clone(remap));
    remap.RebindLinks();
    return copy;
}

void ParagraphComp::MarkDirty()
{
    m_text->InvalidateAll();
    DeleteItems(m_text->GetItems());
    m_itemsRight.reset();
    SetNeedsLayout(true);
}

void ParagraphComp::SetSizeStep(signed char step)
{
    m_text->SetSizeStep(step);
    SetNeedsLayout(true);
}

int ParagraphComp::MapKey(DocPosition& position, int key, bool /*shift*/, bool ctrl)
{
    switch (key) {
    case KeyCode::kBackspace: {
        int index = position.GetIndex();
        if (index <= 1) {
            // The first paragraph of its list has nothing to join with.
            bool first = !m_ownerList || m_ownerList->IndexOf(this) <= 1;
            return first ? EditCode::kNone : EditCode::kJoinParagraphs;
        }
        CompList* row = position.GetList() ? position.GetList() : m_text;
        TextComp* before = row->GetAt(index - 1);
        return before && !IsNotChar(before->Tag()) ? EditCode::kDelete : EditCode::kSelectPrevious;
    }
    case KeyCode::kTab:
        return EditCode::kTypeTab;
    case KeyCode::kLineFeed:
    case KeyCode::kReturn:
        return ctrl ? EditCode::kToggleParagraph : EditCode::kNewParagraph;
    default:
        return EditCode::kType;
    }
}

void ParagraphComp::Write(DocWriter& writer)
{
    writer.WriteShort(static_cast<int16_t>(GetStyleKind()));
    writer.WriteLong(m_id);
    m_text->Write(writer);
}

void ParagraphComp::Read(DocReader& reader)
{
    int kind = reader.ReadShort();
    m_style = StyleTable::Lookup(kind);
    ReplaceLabel(kind == StyleKind::kPlain ? nullptr : m_style->MakeLabel(*this));
    m_id = reader.ReadLong();
    m_text->Read(reader);
    SetNeedsLayout(true);
}

bool ParagraphComp::StartsWithBlank() const
{
    TextComp* first = m_text->GetAt(1);
    if (!first || IsNotChar(first->Tag()))
        return false;
    return first->GetChar() == ' ' || first->GetChar() == '\t';
}

void ParagraphComp::WriteLaTeX(LaTeXWriter& writer)
{
    int count = m_text->GetCount();
    if (IsEquationStyle() && count == 1 && m_text->GetAt(1)->Tag() == tag_eqSt && (!m_label || !m_label->HasLinks())) {
        if (auto* rows = dynamic_cast<EquationRows*>(m_text->GetAt(1))) {
            // A numbered equation restarts the items' count on the screen.
            if (GetStyleKind() == StyleKind::kNumberedEquation)
                writer.EndLists();
            writer.BeginEqnarray();
            rows->WriteLaTeXRows(writer);
            writer.EndEqnarray();
            return;
        }
    }
    int kind = GetStyleKind();
    // Source code set in another face than the code face is written as text.
    if (kind == StyleKind::kSourceCode)
        for (int i = 1; i <= count; ++i)
            if (m_text->GetAt(i)->GetFontId() != FontId::kCode)
                kind = StyleKind::kPlain;

    switch (kind) {
    case StyleKind::kTitle: writer.BeginTitle(); break;
    case StyleKind::kSection: writer.BeginSection(m_label); break;
    case StyleKind::kHeading: writer.BeginHeading(); break;
    case StyleKind::kNumbered: writer.BeginEnumeratedItem(m_label); break;
    case StyleKind::kEquation: writer.BeginDisplayMath(); break;
    case StyleKind::kNumberedEquation: writer.BeginNumberedEquation(m_label); break;
    case StyleKind::kSourceCode: writer.BeginVerbatim(); break;
    case StyleKind::kItemized: writer.BeginItemizedItem(); break;
    case StyleKind::kSubEnumerated: writer.BeginSubEnumeratedItem(m_label); break;
    case StyleKind::kSubItemized: writer.BeginSubItemizedItem(); break;
    default: writer.BeginParagraph(StartsWithBlank()); break;
    }
    writer.EnterRow(*m_text);
    for (int i = 1; i <= count; ++i)
        writer.WriteChar(*m_text->GetAt(i), false);
    writer.LeaveRow();
    switch (kind) {
    case StyleKind::kTitle: writer.EndTitle(); break;
    case StyleKind::kSection: writer.EndSection(m_label); break;
    case StyleKind::kHeading: writer.EndHeading(); break;
    case StyleKind::kNumbered: writer.EndEnumeratedItem(m_label); break;
    case StyleKind::kEquation: writer.EndDisplayMath(); break;
    case StyleKind::kNumberedEquation: writer.EndNumberedEquation(m_label); break;
    case StyleKind::kSourceCode: writer.NewLine(); break;
    case StyleKind::kSubEnumerated: writer.EndSubEnumeratedItem(m_label); break;
    default: writer.EndItem(); break;
    }
}

void ParagraphComp::WriteNotebook(NotebookWriter& writer)
{
    switch (GetStyleKind()) {
    case StyleKind::kTitle: writer.WriteTitle(*m_text); break;
    case StyleKind::kSection: writer.WriteSection(*m_text); break;
    case StyleKind::kHeading: writer.WriteSubsection(*m_text); break;
    case StyleKind::kEquation: writer.WriteDisplayFormula(*m_text); break;
    case StyleKind::kNumberedEquation: writer.WriteNumberedEquation(*m_text); break;
    case StyleKind::kSourceCode: writer.WriteInput(*m_text); break;
    default: writer.WriteText(*m_text); break;
    }
}

Str255 ParagraphComp::LabelText() const
{
    return m_label ? m_label->GetText() : Str255();
}

void ParagraphComp::WriteMathML(XMLWriter& writer)
{
    if (m_text->GetCount() == 1) {
        TypeTag tag = m_text->GetAt(1)->Tag();
        if (tag == tag_Meta || tag == tag_Draw || m_text->GetAt(1)->IsPlot()) {
            if (auto* form = dynamic_cast<XhtmlForm*>(m_text->GetAt(1))) {
                writer.StartObject(*m_text, GetStyleKind());
                form->WriteXhtml(writer);
                return;
            }
        }
    }
    switch (GetStyleKind()) {
    case StyleKind::kTitle: writer.WriteTitle(*m_text); break;
    case StyleKind::kSection: writer.WriteHeading2(*m_text); break;
    case StyleKind::kHeading: writer.WriteHeading3(*m_text); break;
    case StyleKind::kNumbered: writer.WriteEnumeratedItem(*m_text); break;
    case StyleKind::kEquation: writer.WritePlainEquation(*m_text); break;
    case StyleKind::kNumberedEquation: writer.WriteNumberedEquation(*m_text, LabelText()); break;
    case StyleKind::kSourceCode: writer.WriteSourceCode(*m_text); break;
    case StyleKind::kItemized: writer.WriteItemizedItem(*m_text); break;
    case StyleKind::kSubEnumerated: writer.WriteSubEnumeratedItem(*m_text); break;
    case StyleKind::kSubItemized: writer.WriteSubItemizedItem(*m_text); break;
    default: writer.WriteParagraph(*m_text); break;
    }
}

void ParagraphComp::WriteHTML(HTMLWriter& writer)
{
    if (m_text->GetCount() == 1) {
        TypeTag tag = m_text->GetAt(1)->Tag();
        if (tag == tag_Meta || tag == tag_Tabl || tag == tag_Draw || m_text->GetAt(1)->IsPlot()) {
            if (writer.WriteObject(*m_text->GetAt(1)))
                return;
        }
    }
    switch (GetStyleKind()) {
    case StyleKind::kTitle: writer.WriteTitle(*m_text); break;
    case StyleKind::kSection: writer.WriteHeading2(*m_text); break;
    case StyleKind::kHeading: writer.WriteHeading3(*m_text); break;
    case StyleKind::kNumbered: writer.WriteEnumeratedItem(*m_text); break;
    case StyleKind::kEquation: writer.WritePlainEquation(*m_text); break;
    case StyleKind::kNumberedEquation: writer.WriteNumberedEquation(*m_text, LabelText()); break;
    case StyleKind::kSourceCode: writer.WriteSourceCode(*m_text); break;
    case StyleKind::kItemized: writer.WriteItemizedItem(*m_text); break;
    case StyleKind::kSubEnumerated: writer.WriteSubEnumeratedItem(*m_text); break;
    case StyleKind::kSubItemized: writer.WriteSubItemizedItem(*m_text); break;
    default: writer.WriteParagraph(*m_text); break;
    }
}
