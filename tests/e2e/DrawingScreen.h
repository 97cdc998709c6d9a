#pragma once
// What the drawing and plot end-to-end tests read off screenshots and write
// before the editor starts: the edited drawing's green frame, the selected
// plot's frame, dark figure pixels,
// boxes of pixels that pass a test, the drawing toolbar's buttons, and
// documents saved as the editor saves them.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class DiagramComp;
class EditorSession;
class ParagraphList;
class TriangleShape;

namespace drawing_screen {

constexpr int kPointerTool = 34046, kPencilTool = 34047, kGrabberTool = 34048, kMagnifierTool = 34049, kCircle = 34052, kTriangle = 34053, kRectangle = 34054,
              kTextLabel = 34057, kPerpendicular = 34059, kDistance = 34061, kEqualLength = 34063, kHorizontal = 34066;

// The frame of the drawing being edited is drawn in this green.
bool IsActiveFrame(QRgb pixel);
// The frame of a selected plot.
bool IsPlotFrame(QRgb pixel);
bool IsDark(QRgb pixel);

// The box of the pixels inside within that pass the test.
std::optional<QRect> BoxOf(const QRect& within, const std::function<bool(int x, int y)>& test);
std::optional<QRect> BoxOf(const QImage& shot, const std::function<bool(QRgb)>& test, const QRect& within);

// Element > Drawing, the menu's last item before its separator; then the
// frame of the drawing being edited, once it shows within area.
std::optional<QRect> InsertDrawing(EditorSession& editor, const QRect& area);

// The drawing toolbar's button of a command: four buttons a row, from the
// pointer on.
QPoint BarButton(const QRect& bar, int command);

// Clicks a tool's button on the drawing bar; true once that button shows
// chosen and the button of the tool before no longer does (each looked at
// with the mouse at away, off the bar).
bool ChooseTool(EditorSession& editor, const QRect& bar, int command, int previous, const QPoint& away);

// From the pointer, each tool chosen on the bar in turn acts in the
// drawing (inside its frame): the pencil draws a segment where the mouse is
// dragged in the empty bottom left corner, the grabber's drag in the empty
// top right corner moves the figure's topmost point (apex) by the drag, the
// magnifier's click below that point doubles its distance from the click;
// then the pointer is chosen again. Failures are the calling test's.
void UseEachTool(EditorSession& editor, const QRect& bar, const QRect& inside, const QPoint& away,
                 const std::function<std::optional<QPoint>()>& apex);

// A new document, filled by fill (nothing: an empty document), saved at path
// with the fonts, layout and components the editor has.
void SaveNewDocument(const QString& path, const std::function<void(ParagraphList&)>& fill = {});

// A document of one drawing: a thick blue triangle with corners (0, 0) and
// (4, 0), both fixed, and the apex given; constrain adds the rest.
void SaveTriangleDocument(const QString& path, double apexX, double apexY,
                          const std::function<void(DiagramComp&, TriangleShape&)>& constrain);

}  // namespace drawing_screen
