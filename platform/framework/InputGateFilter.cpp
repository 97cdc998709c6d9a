#include "platform/framework/InputGateFilter.h"

#include "platform/InputGate.h"
#include "platform/framework/AfxTypes.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace {

// Input for the modal dialog in front, or for a menu, goes through.
bool IsExempt(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w))
            return true;
        if (w->isWindow())
            return w == QApplication::activeModalWidget();
    }
    return false;
}

bool IsRefusedInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::Drop: return true;
    default: return false;
    }
}

// Held without a beep: the rest of a refused press, moves that would drive a
// drag, a drag entering.
bool IsSilentlyHeld(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::KeyRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove: return true;
    default: return false;
    }
}

// The window that holds the mouse for a gesture begun before input was held
// (a drag whose step waits for the work), or null.
QWidget* GestureOwner(QWidget* widget)
{
    CWnd* capture = CWnd::GetCapture();
    QWidget* owner = capture ? capture->widget() : nullptr;
    return owner && (owner == widget || owner->isAncestorOf(widget)) ? owner : nullptr;
}

bool ClosesSomething(unsigned id)
{
    return id == ID_FILE_CLOSE || id == ID_APP_EXIT;
}

// A command of the modal window in front goes through like its input.
bool IsExemptTarget(const CCmdTarget* target)
{
    const auto* window = dynamic_cast<const CWnd*>(target);
    return window && window->widget() && IsExempt(window->widget());
}

} // namespace

bool LetCommandThrough(unsigned id, const CCmdTarget* target)
{
    if (!InputGate::IsHolding() || IsExemptTarget(target))
        return true;
    return InputGate::LetCommandThrough(id, ClosesSomething(id), [id] {
        if (CWnd* main = AfxGetMainWnd())
            main->OnCmdMsgFromUser(id);
    });
}

bool CommandAvailableWhileHolding(unsigned id, const CCmdTarget* target)
{
    return !InputGate::IsHolding() || IsExemptTarget(target) || ClosesSomething(id) ||
        InputGate::Current()->AllowsCommand(id);
}

void InputGateFilter::Install()
{
    static InputGateFilter* installed = nullptr;
    if (installed || !qApp)
        return;
    installed = new InputGateFilter;
    installed->setParent(qApp);
    qApp->installEventFilter(installed);
}

bool InputGateFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (!InputGate::IsHolding()) {
        if (m_lastMove)
            m_lastMove.reset();
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    const QEvent::Type type = event->type();
    const bool escape = type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (IsExempt(widget)) {
        // The menu bar holds the keys while its titles are navigated: Escape
        // there stops the work too, and goes on to end the navigation. In an
        // open menu it only closes the menu.
        if (escape && qobject_cast<QMenuBar*>(widget))
            InputGate::Current()->Stop();
        return false;
    }
    if (type == QEvent::KeyPress) {
        if (escape)
            InputGate::Current()->Stop();
        else
            InputGate::Refuse();
        return true;
    }
    // Closing the program's window or a document's window waits for the work;
    // a palette hides as ever.
    if (type == QEvent::Close && (qobject_cast<QMainWindow*>(widget) || qobject_cast<QMdiSubWindow*>(widget))) {
        event->ignore();
        QPointer<QWidget> window(widget);
        InputGate::Current()->CloseWhenStopped([window] {
            if (window)
                window->close();
        });
        return true;
    }
    if (IsRefusedInput(type)) {
        InputGate::Refuse();
        return true;
    }
    if ((type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) && GestureOwner(widget)) {
        if (PassGestureEvent(widget, static_cast<QMouseEvent*>(event)))
            return false;
        event->ignore();
        return true;
    }
    if (IsSilentlyHeld(type)) {
        event->ignore();
        return true;
    }
    return false;
}

bool InputGateFilter::PassGestureEvent(QWidget* widget, QMouseEvent* event)
{
    // The gesture began before input was held, and only its owner can end
    // it: the release goes through (the owner defers it while its step
    // runs), after the last move held before it, so that the gesture ends
    // where the pointer was.
    if (m_replaying)
        return true;
    if (event->type() == QEvent::MouseMove) {
        m_lastMove.reset(event->clone());
        m_lastMoveTarget = widget;
        return false;
    }
    std::unique_ptr<QEvent> move = std::move(m_lastMove);
    QPointer<QWidget> target = m_lastMoveTarget;
    if (move && target) {
        m_replaying = true;
        QCoreApplication::sendEvent(target, move.get());
        m_replaying = false;
    }
    return true;
}
