#include "platform/framework/WndBridge.h"

#include <QApplication>
#include <cmath>

namespace {

int g_dispatchDepth = 0;

UINT mouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

CPoint pointOf(const QPointF& p)
{
    return CPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

}

WndBridge::DispatchScope::DispatchScope() { ++g_dispatchDepth; }
WndBridge::DispatchScope::~DispatchScope() { --g_dispatchDepth; }
int WndBridge::dispatchDepth() { return g_dispatchDepth; }

void WndBridge::widgetGone()
{
    if (CWnd* owner = m_owner) {
        m_owner = nullptr;
        owner->WidgetDestroyed();
    }
}

bool WndBridge::deliverKeyPress(QWidget* self, QKeyEvent* event)
{
    event->accept();
    SetCurrentKeyModifiers(event->modifiers());
    KeyStroke key = TranslateKeyEvent(*event);
    if (!m_owner || key.vk == 0)
        return false;
    QPointer<QWidget> alive(self);
    CWnd* owner = m_owner;
    if (owner->PreTranslateKey(key))
        return true;
    UINT flags = event->isAutoRepeat() ? 0x4000u : 0u;
    owner->OnKeyDown(key.vk, key.repeat, flags);
    if (key.ch >= 0 && alive && m_owner == owner)
        owner->OnChar(UINT(key.ch), key.repeat, key.symbolFace ? flags | kSymbolFaceChar : flags);
    return false;
}

void WndBridge::deliverKeyRelease(QKeyEvent* event)
{
    event->accept();
    SetCurrentKeyModifiers(event->modifiers());
    KeyStroke key = TranslateKeyEvent(*event);
    if (m_owner && key.vk != 0)
        m_owner->OnKeyUp(key.vk, 1, 0);
}

void WndBridge::deliverMouse(QWidget* self, QMouseEvent* event)
{
    event->accept();
    SetCurrentKeyModifiers(event->modifiers());
    if (!m_owner)
        return;
    CPoint point = pointOf(event->position());
    UINT flags = mouseFlags(event->buttons(), event->modifiers());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::LeftButton)
            m_owner->OnLButtonDown(flags, point);
        else if (event->button() == Qt::RightButton)
            m_owner->OnRButtonDown(flags, point);
        break;
    case QEvent::MouseButtonDblClick:
        if (event->button() == Qt::LeftButton)
            m_owner->OnLButtonDblClk(flags, point);
        else if (event->button() == Qt::RightButton)
            m_owner->OnRButtonDown(flags, point);
        break;
    case QEvent::MouseButtonRelease:
        if (event->button() == Qt::LeftButton)
            m_owner->OnLButtonUp(flags, point);
        else if (event->button() == Qt::RightButton)
            m_owner->OnRButtonUp(flags, point);
        break;
    case QEvent::MouseMove: {
        QPointer<QWidget> alive(self);
        CWnd* owner = m_owner;
        QWidget* area = self;
        if (auto* scroll = qobject_cast<QAbstractScrollArea*>(self))
            area = scroll->viewport();
        SetCursorTarget(area);
        if (!owner->OnSetCursor(owner, HTCLIENT, WM_MOUSEMOVE) && alive)
            area->unsetCursor();
        if (alive && m_owner == owner)
            owner->OnMouseMove(flags, point);
        break;
    }
    default:
        break;
    }
}

void WndBridge::deliverWheel(QWheelEvent* event)
{
    event->accept();
    if (m_owner) {
        QPoint p = event->globalPosition().toPoint();
        m_owner->OnMouseWheel(mouseFlags(event->buttons(), event->modifiers()), short(event->angleDelta().y()),
                              CPoint(p.x(), p.y()));
    }
}

void WndBridge::deliverContextMenu(QWidget* self, QContextMenuEvent* event)
{
    event->accept();
    if (m_owner) {
        QPoint p = event->globalPos();
        m_owner->OnContextMenu(m_owner, CPoint(p.x(), p.y()));
    }
    (void)self;
}

void WndBridge::deliverResize(QWidget* self)
{
    if (!m_owner)
        return;
    CRect client;
    m_owner->GetClientRect(&client);
    UINT type = self->isMaximized() ? SIZE_MAXIMIZED : self->isMinimized() ? SIZE_MINIMIZED : SIZE_RESTORED;
    m_owner->OnSize(type, client.Width(), client.Height());
}

void WndBridge::deliverPaint()
{
    if (m_owner)
        m_owner->OnPaint();
}

bool WndBridge::deliverClose()
{
    if (!m_owner)
        return true;
    CWnd* owner = m_owner;
    owner->OnClose();
    // OnClose decides: a window that still exists afterwards stays open
    // (DestroyWindow deletes the widget itself).
    return false;
}

void WndBridge::deliverFocus(bool in)
{
    if (!m_owner)
        return;
    if (in)
        m_owner->OnSetFocus(nullptr);
    else
        m_owner->OnKillFocus(nullptr);
}

void WndBridge::deliverShow(bool shown)
{
    if (m_owner)
        m_owner->OnShowWindow(shown, 0);
}
