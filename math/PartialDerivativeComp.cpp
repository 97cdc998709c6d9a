#include "math/PartialDerivativeComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/EditCodes.h"
#include "foundation/KeyCodes.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphList.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cstdint>

namespace {

// The smallest stored item: two empty rows, each a 32-bit count.
constexpr int32_t kMinItemBytes = 8;

} // namespace

PartialDerivativeComp::PartialDerivativeComp()
{
    InsertVariable(1, new PartialDifferentialComp);
    SetSizeStep(m_sizeStep);
}

PartialDerivativeComp::PartialDerivativeComp(PartialDifferentialComp* differential)
{
    InsertVariable(1, differential);
    SetSizeStep(m_sizeStep);
}

PartialDerivativeComp::PartialDerivativeComp(std::unique_ptr<CompArray> operand,
                                             PartialDifferentialComp* differential)
    : DerivativeComp(std::move(operand))
{
    InsertVariable(1, differential);
    SetSizeStep(m_sizeStep);
}

PartialDerivativeComp::~PartialDerivativeComp()
{
    for (int k = 1; k <= m_variables.GetCount(); ++k)
        delete m_variables.GetAt(k);
}

TextComp* PartialDerivativeComp::Clone(LinkRemap& remap)
{
    PartialDerivativeComp* copy = CopyVariables(1, GetVariableCount(), remap);
    auto operand = m_first->CloneItems(remap);
    copy->m_first->InsertAllAt(std::move(operand), 1);
    copy->SetSizeStep(m_sizeStep);
    return copy;
}

bool PartialDerivativeComp::IsEqual(const TextComp& other) const
{
    auto* derivative = dynamic_cast<const PartialDerivativeComp*>(&other);
    return derivative && derivative->GetVariableCount() == GetVariableCount() && StructComp::IsEqual(other);
}

// ---- the variables ----

void PartialDerivativeComp::InsertVariable(int i, PartialDifferentialComp* item)
{
    if (!item)
        item = new PartialDifferentialComp;
    m_variables.InsertAt(std::clamp(i, 1, GetVariableCount() + 1), item);
    AdoptItem(item);
    Invalidate();
}

PartialDifferentialComp* PartialDerivativeComp::RemoveVariable(int i)
{
    if (i < 1 || i > GetVariableCount())
        return nullptr;
    PartialDifferentialComp* item = m_variables.RemoveAt(i);
    item->SetRowsOwner(item);
    EnsureOneVariable();
    Invalidate();
    return item;
}

void PartialDerivativeComp::EnsureOneVariable()
{
    if (m_variables.GetCount() == 0)
        InsertVariable(1, new PartialDifferentialComp);
}

PartialDerivativeComp* PartialDerivativeComp::ExtractVariables(int from, int to)
{
    from = std::max(from, 1);
    to = std::min(to, GetVariableCount());
    if (from > to)
        return nullptr;
    auto* result = new PartialDerivativeComp;
    for (int k = from; k <= to; ++k)
        result->InsertVariable(result->GetVariableCount() + 1, m_variables.RemoveAt(from));
    delete result->RemoveVariable(1);
    EnsureOneVariable();
    Invalidate();
    return result;
}

PartialDerivativeComp* PartialDerivativeComp::CopyVariables(int from, int to, LinkRemap& remap) const
{
    from = std::max(from, 1);
    to = std::min(to, GetVariableCount());
    if (from > to)
        return nullptr;
    auto* result = new PartialDerivativeComp;
    try {
        for (int k = from; k <= to; ++k)
            result->InsertVariable(result->GetVariableCount() + 1,
                                   static_cast<PartialDifferentialComp*>(m_variables.GetAt(k)->Clone(remap)));
    } catch (...) {
        delete result;
        throw;
    }
    delete result->RemoveVariable(1);
    return result;
}

void PartialDerivativeComp::InsertVariablesFrom(int i, PartialDerivativeComp* other)
{
    i = std::clamp(i, 1, GetVariableCount() + 1);
    while (other->m_variables.GetCount() > 0)
        InsertVariable(i++, other->m_variables.RemoveAt(1));
    delete other;
}

int PartialDerivativeComp::InsertionSlotFor(const DocPosition& position) const
{
    const int n = GetVariableCount();
    if (position.GetKind() == DocPosition::kVariableSlot && position.GetObject() == this)
        return std::clamp(position.GetIndex(), 1, n + 1);
    if (int k = VariableOfPosition(position))
        return k + 1;
    return n + 1;
}

// ---- layout ----

Rect PartialDerivativeComp::MeasureDenominator(int u)
{
    m_denominatorBox = Rect();
    for (int k = 1; k <= GetVariableCount(); ++k) {
        DifferentialComp* item = GetVariable(k);
        item->Measure();
        Rect b;
        item->GetBounds(b);
        if (k == 1) {
            m_denominatorBox = b;
        } else {
            m_denominatorBox.top = std::min(m_denominatorBox.top, b.top);
            m_denominatorBox.bottom = std::max(m_denominatorBox.bottom, b.bottom);
            m_denominatorBox.right += b.Width();
        }
    }
    m_denominatorBox.right += u * GetVariableCount();
    return m_denominatorBox;
}

void PartialDerivativeComp::SetOrigin(const IntPoint& point)
{
    const int u = Unit();
    PlaceNumerator(point, u);
    int x = point.x + (m_bounds.right - m_denominatorBox.Width()) / 2;
    const int baseline = point.y + m_axis - m_denominatorBox.top + u / 2;
    m_denominatorOrigin = IntPoint(x, baseline);
    for (int k = 1; k <= GetVariableCount(); ++k) {
        DifferentialComp* item = GetVariable(k);
        x += u / 2;
        item->SetOrigin(IntPoint(x, baseline));
        x += item->GetWidth() + u / 2;
    }
}

Rect PartialDerivativeComp::DenominatorAbsRect() const
{
    Rect r = m_denominatorBox;
    r.Offset(m_denominatorOrigin);
    return r;
}

void PartialDerivativeComp::GetVariableBox(int i, Rect& out) const
{
    const int n = GetVariableCount();
    if (i >= 1 && i <= n) {
        GetVariable(i)->GetAbsBounds(out);
        return;
    }
    if (i != n + 1) {
        out = Rect();
        return;
    }
    Rect last;
    GetVariable(n)->GetAbsBounds(last);
    const Rect band = DenominatorAbsRect();
    out = Rect(last.right, band.top, last.right + Unit() / 2, band.bottom);
}

// ---- hit testing ----

void PartialDerivativeComp::PositionFromPoint(DocPosition& out, const IntPoint& p, bool nearest)
{
    const Rect band = DenominatorAbsRect();
    const int n = GetVariableCount();
    if (p.x >= band.left && p.x <= band.right && p.y >= band.top && p.y <= band.bottom) {
        for (int k = 1; k <= n; ++k) {
            Rect box;
            GetVariableBox(k, box);
            if (box.right < p.x)
                continue;
            if (p.x < box.left) {
                out = DocPosition(this, k);
                return;
            }
            DifferentialComp* item = GetVariable(k);
            if (item->VariableRow()->HitTest(p)) {
                item->VariableRow()->PositionFromPoint(out, p, nearest);
            } else if (item->OrderRow()->HitTest(p)) {
                item->OrderRow()->PositionFromPoint(out, p, nearest);
            } else {
                out = DocPosition(this, p.x > (box.left + box.right) / 2 ? k + 1 : k);
            }
            return;
        }
        out = DocPosition(this, n + 1);
        return;
    }
    if (m_first->HitTest(p)) {
        m_first->PositionFromPoint(out, p, nearest);
        return;
    }
    TextComp::PositionFromPoint(out, p, true);
}

TextComp* PartialDerivativeComp::ComponentAt(const IntPoint& point)
{
    CompList* rows[] = {m_first, nullptr, nullptr};
    for (int k = 0; k <= GetVariableCount(); ++k) {
        if (k > 0) {
            rows[0] = GetVariable(k)->VariableRow();
            rows[1] = GetVariable(k)->OrderRow();
        }
        for (CompList* row : rows)
            if (row && row->HitTest(point)) {
                TextComp* inner = row->ComponentAtPoint(point);
                return inner ? inner : this;
            }
    }
    return this;
}

// ---- keys and commands ----

int PartialDerivativeComp::MapKey(DocPosition& position, int key, bool shift, bool ctrl)
{
    const bool onSlot = position.GetKind() == DocPosition::kVariableSlot;
    if (key == KeyCode::kBackspace && onSlot)
        return position.GetIndex() <= 1 ? EditCode::kLeaveBefore : EditCode::kSelectPrevious;
    if (key == KeyCode::kTab) {
        if (onSlot)
            return ctrl ? EditCode::kInsertDerivative : EditCode::kNextGridLine;
        // Tab moves between the variables only from inside one of them.
        if (VariableOfPosition(position) != 0)
            return ctrl ? EditCode::kDerivVarSlot : EditCode::kDerivNextVar;
    }
    return BoxComp::MapKey(position, key, shift, ctrl);
}

bool PartialDerivativeComp::IsCommandEnabled(int commandId, int extra) const
{
    return commandId == EditCode::kInsertDerivative || BoxComp::IsCommandEnabled(commandId, extra);
}

// ---- file record ----

void PartialDerivativeComp::Write(DocWriter& writer)
{
    if (GetVariableCount() > INT16_MAX)
        throw CException("A partial derivative has too many variables to be stored");
    m_first->Write(writer);
    writer.WriteShort(static_cast<int16_t>(GetVariableCount()));
    for (int k = 1; k <= GetVariableCount(); ++k) {
        GetVariable(k)->VariableRow()->Write(writer);
        GetVariable(k)->OrderRow()->Write(writer);
    }
}

void PartialDerivativeComp::Read(DocReader& reader)
{
    m_needsLayout = 1;
    while (m_variables.GetCount() > 0)
        delete m_variables.RemoveAt(1);
    try {
        m_first->Read(reader);
        const int n = reader.ReadShort();
        if (n < 1)
            throw CFormatException("A partial derivative has no variable");
        if (n > reader.BytesLeft() / kMinItemBytes)
            throw CFormatException("A partial derivative's variable count is larger than its data");
        for (int k = 1; k <= n; ++k) {
            auto* item = new PartialDifferentialComp;
            InsertVariable(k, item);
            item->VariableRow()->Read(reader);
            item->OrderRow()->Read(reader);
        }
    } catch (...) {
        EnsureOneVariable();
        throw;
    }
}

// ---- selections of whole variables ----

int PartialDerivativeComp::VariableOfPosition(const DocPosition& position) const
{
    if (position.GetObject() == this && position.GetKind() != DocPosition::kListPlace)
        return 0;
    for (CompList* list = position.GetList(); list;) {
        bool isOrder = false;
        if (int k = ItemOfRow(list, isOrder))
            return k;
        TextComp* owner = list->GetOwner();
        if (!owner || owner == this)
            return 0;
        list = owner->GetOwner();
    }
    return 0;
}

int PartialDerivativeComp::VariableOfEnd(const DocPosition& end) const
{
    if (end.GetKind() == DocPosition::kVariableSlot && end.GetObject() == this)
        return std::clamp(end.GetIndex(), 1, GetVariableCount());
    return VariableOfPosition(end);
}

bool PartialDerivativeComp::SelectBetween(const DocPosition& a, const DocPosition& b, DocSelection& out)
{
    const int ka = VariableOfEnd(a);
    const int kb = VariableOfEnd(b);
    if (ka == 0 || kb == 0)
        return false;
    out = DocSelection(DocPosition(this, std::min(ka, kb)), DocPosition(this, std::max(ka, kb) + 1));
    return true;
}

void PartialDerivativeComp::GetSelectionBounds(const DocSelection& selection, Rect& out) const
{
    const int first = selection.First().GetIndex();
    const int last = std::max(selection.Second().GetIndex() - 1, first);
    Rect from;
    Rect to;
    GetVariableBox(first, from);
    GetVariableBox(last, to);
    Rect::Union(from, to, out);
}

DocSelection PartialDerivativeComp::SlotsOfFragment(PartialDerivativeComp* derivative)
{
    ParagraphList::FromObject(nullptr, derivative).release(); // owned by the answered selection
    return DocSelection(DocPosition(derivative, 1), DocPosition(derivative, derivative->GetVariableCount() + 1));
}

DocSelection PartialDerivativeComp::CopySelection(const DocSelection& selection)
{
    if (selection.GetKind() != DocPosition::kVariableSlot)
        return DocSelection();
    LinkRemap remap;
    PartialDerivativeComp* copy =
        CopyVariables(selection.First().GetIndex(), selection.Second().GetIndex() - 1, remap);
    remap.RebindLinks();
    return copy ? SlotsOfFragment(copy) : DocSelection();
}

DocSelection PartialDerivativeComp::DeleteSelection(const DocSelection& selection, DocPosition& removedAt)
{
    removedAt = DocPosition();
    if (selection.GetKind() != DocPosition::kVariableSlot)
        return DocSelection();
    const int first = std::max(selection.First().GetIndex(), 1);
    PartialDerivativeComp* removed = ExtractVariables(first, selection.Second().GetIndex() - 1);
    if (!removed)
        return DocSelection();
    removedAt = DocPosition(this, std::min(first, GetVariableCount() + 1));
    return SlotsOfFragment(removed);
}

PartialDerivativeComp* PartialDerivativeComp::FragmentDerivative(const DocSelection& fragment)
{
    if (fragment.GetKind() == DocPosition::kVariableSlot)
        return dynamic_cast<PartialDerivativeComp*>(fragment.First().GetObject());
    return dynamic_cast<PartialDerivativeComp*>(fragment.GetSingleObject());
}

bool PartialDerivativeComp::CanInsert(const DocSelection& fragment, const DocPosition& at) const
{
    PartialDerivativeComp* derivative = FragmentDerivative(fragment);
    return derivative && derivative != this && at.GetKind() == DocPosition::kVariableSlot && at.GetObject() == this;
}

DocSelection PartialDerivativeComp::Insert(DocSelection& fragment, const DocPosition& at)
{
    if (!CanInsert(fragment, at))
        return DocSelection();
    PartialDerivativeComp* derivative = FragmentDerivative(fragment);
    const int slot = std::clamp(at.GetIndex(), 1, GetVariableCount() + 1);
    const int count = derivative->GetVariableCount();
    // Only the variables move; the fragment's derivative goes with the fragment.
    InsertVariablesFrom(slot, derivative->ExtractVariables(1, count));
    fragment.DestroyWithParagraph();
    Invalidate();
    return DocSelection(DocPosition(this, slot), DocPosition(this, slot + count));
}

void PartialDerivativeComp::SetSelectionFont(const DocSelection& selection, int fontId)
{
    if (selection.GetKind() != DocPosition::kVariableSlot)
        return;
    for (int k = selection.First().GetIndex(); k < selection.Second().GetIndex(); ++k)
        if (DifferentialComp* item = GetVariable(k))
            item->SetFontId(fontId);
    Invalidate();
}
