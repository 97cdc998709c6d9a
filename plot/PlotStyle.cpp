#include "plot/PlotStyle.h"

#include "foundation/DrawContext.h"

#include <array>

namespace {

using ClassTable = std::array<int, PlotStyle::kClassCount>;

constexpr ClassTable kWidth2D = {272, 286, 342, 400, 514};
constexpr ClassTable kHeight2D = {204, 214, 256, 300, 386};
constexpr ClassTable kWidth3D = {243, 256, 308, 360, 463};
constexpr ClassTable kHeight3D = {228, 240, 288, 338, 434};
constexpr ClassTable kDiagramWidth = {400, 400, 480, 560, 720};
constexpr ClassTable kDiagramHeight = {300, 330, 360, 420, 540};
constexpr ClassTable kCameraDistance = {42, 40, 32, 26, 23};
constexpr ClassTable kFontSize = {6, 6, 8, 9, 10};
// Decimal values as stored, not exact fractions.
constexpr std::array<double, PlotStyle::kClassCount> kDiagramScale = {0.7143, 0.7143, 0.8571, 1.0, 1.2857};
constexpr int kFixedFontSize = 6;
constexpr int kPointsPerInch = 72;

int Horizontal(int points)
{
    return points * gDrawContext.GetResolutionX() / kPointsPerInch;
}

int Vertical(int points)
{
    return points * gDrawContext.GetResolutionY() / kPointsPerInch;
}

} // namespace

PlotStyle::PlotStyle(bool fixedSmallest)
    : m_fixedSmallest(fixedSmallest), m_class(fixedSmallest ? 0 : ClassOfLevel(gDrawContext.GetSizeLevel()))
{
}

int PlotStyle::ClassOfLevel(int level)
{
    if (level >= 0 && level <= 3)
        return 4;
    if (level == 4 || level == 5)
        return 3;
    if (level == 6)
        return 2;
    return 1;
}

int PlotStyle::GetPlotWidth2D() const { return Horizontal(kWidth2D[m_class]); }
int PlotStyle::GetPlotHeight2D() const { return Vertical(kHeight2D[m_class]); }
int PlotStyle::GetPlotWidth3D() const { return Horizontal(kWidth3D[m_class]); }
int PlotStyle::GetPlotHeight3D() const { return Vertical(kHeight3D[m_class]); }
int PlotStyle::GetScaledWidth() const { return Horizontal(kDiagramWidth[m_class]); }
int PlotStyle::GetScaledHeight() const { return Vertical(kDiagramHeight[m_class]); }
double PlotStyle::GetScale() const { return kDiagramScale[m_class]; }
int32_t PlotStyle::GetCameraDistance() const { return kCameraDistance[m_class] * 65536; }

int PlotStyle::GetFontSize() const
{
    return m_fixedSmallest ? kFixedFontSize : kFontSize[m_class];
}

void PlotStyle::SelectFont(bool scaled) const
{
    gDrawContext.SelectPlainFont(GetFontSize(), scaled);
}
