#include "foundation/SelectionHighlight.h"

#include "foundation/CompList.h"
#include "foundation/DrawContext.h"

namespace {

Rect BoxOf(const Region& region)
{
    Rect box;
    region.GetBox(box);
    return box;
}

} // namespace

void SelectionHighlight::SetMode(int32_t mode)
{
    m_mode = mode;
    Recompute();
}

void SelectionHighlight::Recompute()
{
    m_selectionRegion = Region();
    m_caretRegion = Region();
    m_extraRegion = Region();
    m_needsRecompute = 1;
    if (m_selection.GetKind() == DocPosition::kWholeObject || !ShowsHighlight())
        return;
    if (m_selection.GetKind() == DocPosition::kNone)
        return;
    if (m_selection.HasExtent()) {
        m_selectionRegion = m_selection.GetRegion();
        return;
    }
    m_caretRegion = m_selection.GetRegion();
    // The caret in an empty slot of a structure would hide on the slot's
    // placeholder box: the box is framed, so that the active slot shows.
    const DocPosition at = m_selection.GetStart();
    CompList* slot = at.GetKind() == DocPosition::kListPlace ? at.GetList() : nullptr;
    if (slot && slot->GetCount() == 0 && !at.IsInParagraph())
        m_extraRegion = Region::RegionFromRect(slot->GetAbsRect());
}

Region SelectionHighlight::UnionOfRegions() const
{
    Region all = m_selectionRegion;
    all.UnionWith(m_caretRegion);
    all.UnionWith(m_extraRegion);
    return all;
}

void SelectionHighlight::Draw() const
{
    if (!ShowsHighlight())
        return;
    if (!m_caretRegion.IsEmpty()) {
        if (m_mode == kActiveMode)
            gDrawContext.FillRegion(m_caretRegion, RGB(0, 0, 0));
        else
            gDrawContext.FillRegion(m_caretRegion, RGB(128, 128, 128));
    } else if (!m_selectionRegion.IsEmpty()) {
        if (m_mode == kActiveMode)
            gDrawContext.FrameOrInvertRegion(m_selectionRegion, true);
        else
            gDrawContext.FrameRegionColor(m_selectionRegion, RGB(0, 0, 0));
    }
    if (!m_extraRegion.IsEmpty() && m_mode == kActiveMode)
        gDrawContext.FrameRegion(m_extraRegion);
}

void SelectionHighlight::SetSelection(const DocSelection& selection, bool redraw)
{
    const Region before = UnionOfRegions();
    m_selection = selection;
    Recompute();
    if (!redraw)
        return;
    if (!before.IsEmpty())
        gDrawContext.InvalidateLogicalRect(BoxOf(before));
    const Region after = UnionOfRegions();
    if (!after.IsEmpty())
        gDrawContext.InvalidateLogicalRect(BoxOf(after));
}

Region SelectionHighlight::MoveSelection(const DocSelection& selection)
{
    const bool bothRanges = m_selection.HasExtent() && selection.HasExtent();
    Region changed = bothRanges ? m_selectionRegion : UnionOfRegions();
    m_selection = selection;
    Recompute();
    changed.Xor(bothRanges ? m_selectionRegion : UnionOfRegions());
    if (!changed.IsEmpty()) {
        const Rect box = BoxOf(changed);
        gDrawContext.InvalidateLogicalRect(box);
        gDrawContext.ShowRect(box);
    }
    return changed;
}
