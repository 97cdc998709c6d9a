#include "platform/framework/MenuBarFocusReturn.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {

// The name of the bar's one watcher, by which it is found again.
const char* const kWatcherName = "MenuBarFocusReturn";

} // namespace

void MenuBarFocusReturn::Watch(QMenuBar* bar, QMenu* menu)
{
    if (!bar || !menu)
        return;
    QObject* watcher = bar->findChild<QObject*>(kWatcherName, Qt::FindDirectChildrenOnly);
    if (!watcher)
        watcher = new MenuBarFocusReturn(bar);
    menu->removeEventFilter(watcher);
    menu->installEventFilter(watcher);
}

MenuBarFocusReturn::MenuBarFocusReturn(QMenuBar* bar) : QObject(bar), m_bar(bar)
{
    setObjectName(kWatcherName);
    // The bar takes the keys from the widget that has them when a menu is
    // opened with Alt and its letter, or closed with Escape.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now && now == m_bar)
            Remember(old);
    });
}

void MenuBarFocusReturn::Remember(QWidget* focus)
{
    if (!focus || !m_bar || qobject_cast<QMenuBar*>(focus) || qobject_cast<QMenu*>(focus))
        return;
    if (focus->window() == m_bar->window())
        m_keysOwner = focus;
}

bool MenuBarFocusReturn::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        Remember(QApplication::focusWidget());
    } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // The menu closes and hands the keys to the bar while it handles the
        // key: they go back once it has.
        QMetaObject::invokeMethod(this, &MenuBarFocusReturn::GiveKeysBack, Qt::QueuedConnection);
    }
    return false;
}

void MenuBarFocusReturn::GiveKeysBack()
{
    // Only when the bar holds the keys with no menu open: another menu opened
    // meanwhile keeps them.
    if (!m_keysOwner || !m_bar || QApplication::focusWidget() != m_bar || QApplication::activePopupWidget())
        return;
    // Leaving the bar ends its navigation of the titles.
    m_keysOwner->setFocus(Qt::PopupFocusReason);
}
