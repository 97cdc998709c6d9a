#pragma once
// The bridge from a Qt widget's events to its CWnd's On... calls. Every widget
// made for a CWnd is a WndWidget<QtClass>; it accepts all key and mouse events
// (they never reach parent widgets), translates keys once (accelerators first,
// then OnKeyDown, then OnChar), delivers double clicks in place of the second
// press, asks for the cursor on every move, and reports its destruction.
#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QWidget>

#include "platform/framework/CWnd.h"

// The widget whose cursor SetCursorShape changes (the one under a mouse move).
void SetCursorTarget(QWidget* widget);

class WndBridge {
public:
    explicit WndBridge(CWnd* owner) : m_owner(owner) {}
    virtual ~WndBridge() = default;
    CWnd* owner() const { return m_owner; }
    // A frame or control keeps Qt's own handling of input and painting after
    // the owner's calls (Tab moves the focus, title bars drag, a list moves
    // its selection); a view or custom control does everything itself.
    void setNativeBehaviour(bool on) { m_controlKeys = on; m_ownPaint = !on; }
    void setOwner(CWnd* owner) { m_owner = owner; }
    // The widget's destructor reports here; the owner lets go of it.
    void widgetGone();

    // True when an accelerator took the key.
    bool deliverKeyPress(QWidget* self, QKeyEvent* event);
    void deliverKeyRelease(QKeyEvent* event);
    void deliverMouse(QWidget* self, QMouseEvent* event);
    void deliverWheel(QWheelEvent* event);
    void deliverContextMenu(QWidget* self, QContextMenuEvent* event);
    void deliverResize(QWidget* self);
    void deliverPaint();
    bool deliverClose();  // true: the window may close now
    void deliverFocus(bool in);
    void deliverShow(bool shown);
    // Alt with a key (and without Ctrl) opens a menu by its underlined letter.
    static bool isMenuKey(QEvent* event)
    {
        auto modifiers = static_cast<QKeyEvent*>(event)->modifiers();
        return (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier);
    }

    // How many events of bridged widgets (and commands chosen from menus) are
    // being dispatched right now: a widget or menu destroyed while one runs is
    // deleted later, not under its own feet.
    static int dispatchDepth();
    struct DispatchScope {
        DispatchScope();
        ~DispatchScope();
    };

protected:
    bool m_controlKeys = false;
    bool m_ownPaint = true;

    CWnd* m_owner;
};

template <class Base>
class WndWidget : public Base, public WndBridge {
public:
    template <class... Args>
    explicit WndWidget(CWnd* owner, Args&&... args) : Base(std::forward<Args>(args)...), WndBridge(owner)
    {
        QWidget::setMouseTracking(true);
    }
    ~WndWidget() override { widgetGone(); }

protected:
    bool event(QEvent* e) override
    {
        DispatchScope scope;
        // Tab and Shift+Tab are keys like any other, not focus moves.
        if (e->type() == QEvent::KeyPress && m_owner && !m_controlKeys) {
            auto* key = static_cast<QKeyEvent*>(e);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                keyPressEvent(key);
                return true;
            }
        }
        if (e->type() == QEvent::ShortcutOverride && m_owner && !m_controlKeys && !isMenuKey(e)) {
            e->accept();  // keys reach the window before any menu shortcut
            return true;
        }
        return Base::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        QPointer<QWidget> alive(this);
        bool accelerator = deliverKeyPress(this, e);
        if (m_controlKeys && alive && !accelerator)
            Base::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override { deliverKeyRelease(e); }
#define QV_BRIDGE_MOUSE(handler)                                                                   \
    void handler(QMouseEvent* e) override                                                          \
    {                                                                                              \
        QPointer<QWidget> alive(this);                                                             \
        deliverMouse(this, e);                                                                     \
        if (m_controlKeys && alive)                                                                \
            Base::handler(e);                                                                      \
    }
    QV_BRIDGE_MOUSE(mousePressEvent)
    QV_BRIDGE_MOUSE(mouseReleaseEvent)
    QV_BRIDGE_MOUSE(mouseDoubleClickEvent)
    QV_BRIDGE_MOUSE(mouseMoveEvent)
#undef QV_BRIDGE_MOUSE
    void wheelEvent(QWheelEvent* e) override { deliverWheel(e); }
    void contextMenuEvent(QContextMenuEvent* e) override { deliverContextMenu(this, e); }
    void resizeEvent(QResizeEvent* e) override
    {
        Base::resizeEvent(e);
        deliverResize(this);
    }
    void paintEvent(QPaintEvent* e) override
    {
        if (!m_ownPaint)
            Base::paintEvent(e);
        deliverPaint();
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!m_owner)
            Base::closeEvent(e);
        else if (deliverClose())
            e->accept();
        else
            e->ignore();
    }
    void focusInEvent(QFocusEvent* e) override
    {
        Base::focusInEvent(e);
        deliverFocus(true);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        Base::focusOutEvent(e);
        deliverFocus(false);
    }
    void showEvent(QShowEvent* e) override
    {
        Base::showEvent(e);
        deliverShow(true);
    }
    void hideEvent(QHideEvent* e) override
    {
        Base::hideEvent(e);
        deliverShow(false);
    }
};
