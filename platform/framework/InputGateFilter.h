#pragma once
// The windows' side of the input gate: an application-wide event filter that,
// while input is held, keeps keys, mouse buttons, context menus, drops and
// closing away from every window except the modal dialog in front (a kernel
// question) and the menus (whose commands the command route gates). A mouse
// gesture begun before the hold still ends: its release, after the last move
// held before it, reaches the window that holds the mouse. Escape
// stops the work; closing a window asks to stop it first and closes it once
// the work has ended.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class QMouseEvent;

class CCmdTarget;

// Commands while input is held: those of the modal window in front (a kernel
// question) and the one that stops the work run; closing a document or the
// program asks to stop the work and runs once it has ended; any other is
// refused. True when the command, sent to target, may run now.
bool LetCommandThrough(unsigned id, const CCmdTarget* target);
// Whether a menu item of target may show enabled while input is held.
bool CommandAvailableWhileHolding(unsigned id, const CCmdTarget* target);

class InputGateFilter : public QObject {
public:
    // Installs the one filter on the application (again: nothing).
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A move or release for the window of a gesture under way: true when it
    // goes through now.
    bool PassGestureEvent(QWidget* widget, QMouseEvent* event);

    std::unique_ptr<QEvent> m_lastMove;
    QPointer<QWidget> m_lastMoveTarget;
    bool m_replaying = false;
};
