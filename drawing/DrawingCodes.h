#pragma once
// The numbers that drawings fix: pen style bits, colours, the dash table,
// tolerances, the transform's defaults and limits, and the record framing.
#include "platform/draw/GdiTypes.h"

#include <array>
#include <cstdint>

namespace drawing {

// Pen style: bits 0-2 line thickness, bits 3-5 dash pattern; on edges bit 6
// asks for an arrowhead at the end vertex and bit 7 at the start vertex.
constexpr int32_t kThicknessMask = 0x7;
constexpr int kDashShift = 3;
constexpr int32_t kDashMask = 0x7;
constexpr int32_t kThin = 0;
constexpr int32_t kMedium = 1;
constexpr int32_t kThick = 2;
constexpr int32_t kDefaultPenStyle = kMedium;
constexpr int32_t kEndArrowBit = 0x40;
constexpr int32_t kStartArrowBit = 0x80;
// An arrowhead is 1.5 x this length long and 0.5 x it wide at its base, in
// points: the screen's uses 12 x 0.5, the exported picture's 12 x 0.8.
constexpr double kArrowUnitPoints = 12.0;
constexpr double kScreenArrowFactor = 0.5;
constexpr double kExportArrowFactor = 0.8;
// An edge's label sits this many points beside its midpoint.
constexpr double kEdgeLabelPoints = 12.0;
// A Bezier curve is drawn, hit and outlined as this many chords.
constexpr int kBezierChords = 32;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kHighlightRed = RGB(255, 0, 0);
constexpr COLORREF kConstraintPink = RGB(244, 154, 193);
constexpr COLORREF kConstraintGrey = RGB(193, 193, 193);
// The frame of the drawing being edited and a value display whose text is not its value.
constexpr COLORREF kActiveGreen = RGB(0, 128, 17);
constexpr COLORREF kValuePurple = RGB(170, 0, 200);
constexpr COLORREF kDefaultGridColour = RGB(0xC1, 0xC1, 0xC1);

// Cumulative lengths of one dash period in device pixels: on until the
// first, off until the second, on until the third, off until the fourth.
// Row 0 is never used: index 0 draws solid lines.
using DashRow = std::array<int16_t, 4>;
constexpr std::array<DashRow, 8> kDashTable = {{
    {8, 8, 16, 16},
    {10, 16, 26, 32},
    {6, 12, 18, 24},
    {10, 16, 18, 24},
    {10, 20, 30, 40},
    {4, 8, 12, 16},
    {4, 8, 12, 16},
    {4, 8, 12, 16},
}};

constexpr int kPointsPerInch = 72;
// Hit tolerance of vertices and lines, in points of the page.
constexpr double kHitPoints = 2.0;
// A vertex mark reaches this many pixels either side of its point.
constexpr int kVertexMarkReach = 2;
// A vertex coordinate label sits this many points up and right of the vertex.
constexpr double kVertexLabelPoints = 12.0;
// A label's frame lies this many pixels outside its text.
constexpr int kLabelFrameMargin = 3;
// The items are drawn this many pixels inside the frame.
constexpr int kFrameInset = 2;

// The transform: world units per point at zoom 1, and the range of base
// scales inside which zooming is free.
constexpr double kDefaultScale = 0.04;
// The size of a shape a maker draws without enough selected vertices.
constexpr double kMakerSizePoints = 75.0;
constexpr double kMinZoomScale = 0.0002;
constexpr double kMaxZoomScale = 5000.0;
// Device coordinates are kept within this many pixels of the drawing's
// origin, so that a far-away world point cannot overflow them.
constexpr double kMaxDeviceReach = 1 << 24;

// Width and height are stored in 1/5000 of the reference size.
constexpr int32_t kReferenceSize = 5000;
constexpr double kSizeUnit = 1.0 / kReferenceSize;

// Drag constraints and pending moves are never stored; the value displays
// show two decimals and count as changed beyond this difference.
constexpr double kValueTolerance = 0.01;

// The cursor shown over a label's frame.
constexpr int kLabelFrameCursor = 181;
// The program's cursors of the drawing tools (0 is the system arrow).
constexpr int kGrabCursor = 181;
constexpr int kPencilCursor = 187;
constexpr int kZoomInCursor = 188;
constexpr int kZoomOutCursor = 189;
constexpr int kPanningCursor = 190;

// The drawing tools: their kinds and the toolbar commands that choose them.
enum class ToolKind : int32_t { Pointer = 0, Pencil = 1, Grabber = 2, Magnifier = 3 };
constexpr int kPointerToolCommand = 34046;
constexpr int kPencilToolCommand = 34047;
constexpr int kGrabberToolCommand = 34048;
constexpr int kMagnifierToolCommand = 34049;
// The magnifier's zoom of one click (its inverse with Shift).
constexpr double kMagnifierFactor = 2.0;

} // namespace drawing
