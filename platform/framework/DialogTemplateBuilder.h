#pragma once
// Turns a dialog template into Qt widgets: dialog units become pixels through
// the dialog font's base units (x * average width / 4, y * height / 8), and
// each control becomes the widget of its kind at its place, with a window
// object of the matching class that answers to its id. Custom controls
// ("custom:<class>") come from factories registered by class name; a class
// without a factory gets a plain window that a CWnd subclass can attach to.
#include <QFont>
#include <QSize>
#include <functional>

#include "platform/framework/ResourceStore.h"

class CWnd;
class QWidget;

using ControlFactory = std::function<QWidget*(QWidget* parent)>;
void RegisterControlClass(const QString& className, ControlFactory factory);

// The font of a dialog template and its base units in pixels.
QFont DialogFont(const DialogTemplate& t);
QSize DialogBaseUnits(const QFont& font);
QRect DialogUnitsToPixels(const QFont& font, int x, int y, int cx, int cy);

// Builds the controls of t into container; owner receives their notifications.
void BuildDialogControls(CWnd* owner, const DialogTemplate& t, QWidget* container);
