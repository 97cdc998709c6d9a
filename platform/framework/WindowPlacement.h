#pragma once
// Where the program puts the windows it places itself (palettes, popup
// menus): wholly on the screen, and clear of the windows it placed before.
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

#include "platform/framework/AfxTypes.h"

class QWidget;

namespace WindowPlacement {

// The room there is for windows at a point: the available area of the screen
// that holds it, of the screen nearest to it when none does.
QRect ScreenAreaAt(const QPoint& point);

// A place for a window of a size inside an area, clear of the taken rectangles
// by a gap: the top-right corner when it is free, else the highest free place
// in the column there, else in a column further left. None when the window
// fits nowhere.
std::optional<QPoint> Apart(const QSize& size, const QRect& area, const std::vector<QRect>& taken, int gap);

// A window of a size at a top-left point moved as little as needed to lie
// inside the area (its top-left corner in it when it is larger).
QPoint Inside(const QSize& size, const QPoint& topLeft, const QRect& area);

// Where a popup of a size opened at a point goes: aligned to the point as
// the TPM_ alignment flags say, and below it, or above it when there is no
// room below, moved as little as needed to lie inside the area.
QPoint Popup(const QSize& size, const QPoint& point, UINT flags, const QRect& area);

// A top-level window's size with its frame: the frame the window system
// drew when it has been shown, else an allowance for a title bar and borders.
QSize FrameSizeOf(const QWidget& window);

} // namespace WindowPlacement
