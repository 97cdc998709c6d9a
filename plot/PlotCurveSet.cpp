#include "plot/PlotCurveSet.h"

#include "foundation/ArchiveRegistry.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

namespace {

// An item record: kind and length.
constexpr int32_t kMinItemRecord = 8;

template <class T>
ArchiveItem* Make()
{
    return new T;
}

} // namespace

PlotCurveSet::PlotCurveSet(const PlotCurveSet& other)
{
    for (const PlotItemList& curve : other.m_curves) {
        PlotItemList copy;
        for (const auto& item : curve)
            copy.push_back(item->Clone());
        m_curves.push_back(std::move(copy));
    }
}

void PlotCurveSet::BeginCurve()
{
    m_open = std::make_unique<PlotItemList>();
}

void PlotCurveSet::AddItem(std::unique_ptr<PlotItem> item)
{
    if (m_open)
        m_open->push_back(std::move(item));
}

int PlotCurveSet::EndCurve()
{
    if (m_open) {
        m_curves.push_back(std::move(*m_open));
        m_open.reset();
    }
    return GetCurveCount();
}

void PlotCurveSet::ApplyAll(const PlotTransform& transform) const
{
    for (const PlotItemList& curve : m_curves)
        for (const auto& item : curve)
            item->DrawInDiagram(transform);
}

bool PlotCurveSet::HitTest(const DPoint& point, const PlotTransform& transform) const
{
    for (const PlotItemList& curve : m_curves)
        for (const auto& item : curve)
            if (item->HitTest(point, transform))
                return true;
    return false;
}

void PlotCurveSet::Write(DocWriter& writer) const
{
    writer.WriteShort(static_cast<int16_t>(m_curves.size()));
    for (const PlotItemList& curve : m_curves) {
        writer.WriteLong(static_cast<int32_t>(curve.size()));
        for (const auto& item : curve)
            writer.WritePlotItem(*item);
    }
}

void PlotCurveSet::Read(DocReader& reader, int listCount)
{
    for (int n = 0; n < listCount; ++n) {
        const int32_t count = reader.ReadCount(kMinItemRecord);
        PlotItemList curve;
        for (int32_t i = 0; i < count; ++i) {
            std::unique_ptr<ArchiveItem> item(reader.Read2DPlotItem());
            if (auto* plotItem = dynamic_cast<PlotItem*>(item.get())) {
                item.release();
                curve.emplace_back(plotItem);
            }
        }
        m_curves.push_back(std::move(curve));
    }
}

void RegisterPlotItems2D()
{
    ArchiveRegistry::RegisterPlotItem(2, plot::kTickX, &Make<PlotTickX>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kTickY, &Make<PlotTickY>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kLine, &Make<PlotLine>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kPoint, &Make<PlotPoint>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kPolyline, &Make<PlotPolyline>);
    ArchiveRegistry::RegisterPlotItem(2, plot::kText, &Make<PlotText>);
}
