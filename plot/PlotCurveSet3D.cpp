// The walks of a 3-D plot's scene: drawing behind and in front of the
// surfaces, and the renderer's collection of patches.
#include "plot/PlotCurveSet.h"
#include "render3d/Render3d.h"

namespace {

template <typename Visit>
void ForEach3D(const std::vector<PlotItemList>& curves, Visit visit)
{
    for (const PlotItemList& curve : curves)
        for (const auto& item : curve)
            if (auto* item3D = dynamic_cast<const PlotItem3D*>(item.get()))
                visit(*item3D);
}

int PatchCount(const PlotItemList& curve)
{
    int count = 0;
    for (const auto& item : curve)
        if (auto* item3D = dynamic_cast<const PlotItem3D*>(item.get()); item3D && item3D->IsPatch())
            ++count;
    return count;
}

} // namespace

void PlotCurveSet::SetCurve(int index, PlotItemList curve)
{
    if (index >= 0 && index < GetCurveCount())
        m_curves[static_cast<size_t>(index)] = std::move(curve);
    else
        m_curves.push_back(std::move(curve));
}

void PlotCurveSet::DrawBack3D(const ThreeDPlotComp& plot) const
{
    ForEach3D(m_curves, [&](const PlotItem3D& item) { item.DrawBack(plot); });
}

void PlotCurveSet::DrawFront3D(const ThreeDPlotComp& plot) const
{
    ForEach3D(m_curves, [&](const PlotItem3D& item) { item.DrawFront(plot); });
}

// A patch the renderer refuses leaves its slot empty; the rest still draw.
Collection3d* PlotCurveSet::MakeCollection(const ThreeDPlotComp& plot) const
{
    int groups = 0;
    for (const PlotItemList& curve : m_curves)
        groups += PatchCount(curve) > 0 ? 1 : 0;
    if (groups == 0)
        return nullptr;
    Collection3d* collection = NewCollection(groups);
    int entry = 1;
    for (const PlotItemList& curve : m_curves) {
        const int patches = PatchCount(curve);
        if (patches == 0)
            continue;
        Group3d* group = NewGroup(patches);
        int index = 0;
        for (const auto& item : curve)
            if (auto* item3D = dynamic_cast<const PlotItem3D*>(item.get()); item3D && item3D->IsPatch())
                item3D->AddPatch(plot, group, index);
        collection->groups[static_cast<size_t>(entry++)] = group;
    }
    return collection;
}
