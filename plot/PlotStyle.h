#pragma once
// How large plot pictures, drawings and plot labels are, by a size class 0..4
// taken from the drawing context's size level (class 0 when the fixed
// smallest style is asked for). Lengths are kept in points and answered in
// device pixels of the current device.
#include <cstdint>

class PlotStyle {
public:
    static constexpr int kClassCount = 5;

    // fixedSmallest: class 0 whatever the drawing context's level.
    explicit PlotStyle(bool fixedSmallest = false);

    int GetSizeClass() const { return m_class; }
    int GetPlotWidth2D() const;
    int GetPlotHeight2D() const;
    int GetPlotWidth3D() const;
    int GetPlotHeight3D() const;
    // The reference size of a drawing (5000 units of its width and height).
    int GetScaledWidth() const;
    int GetScaledHeight() const;
    // The drawing's zoom factor for this class.
    double GetScale() const;
    // 16.16 fixed point.
    int32_t GetCameraDistance() const;
    int GetFontSize() const;
    // Selects the drawing context's plain font at the label size: scaled by
    // the resolution (points) or taken as device units.
    void SelectFont(bool scaled) const;

    // The size class of a drawing context size level.
    static int ClassOfLevel(int level);

private:
    bool m_fixedSmallest;
    int m_class;
};
