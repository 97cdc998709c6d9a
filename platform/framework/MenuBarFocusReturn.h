#pragma once
// After Escape closes a menu of the menu bar, the keys go back to the widget
// that had them before (the document's view). Left to itself the bar keeps
// them, navigating its titles: typed text would reach no document, and an
// Escape meant for running work would reach only the bar.
#include <QObject>
#include <QPointer>

class QMenu;
class QMenuBar;
class QWidget;

class MenuBarFocusReturn : public QObject {
public:
    // Watches a menu of the bar (a menu watched already: nothing more).
    static void Watch(QMenuBar* bar, QMenu* menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MenuBarFocusReturn(QMenuBar* bar);
    // Remembers the widget that has the keys now, unless it is the bar or a menu.
    void Remember(QWidget* focus);
    void GiveKeysBack();

    QPointer<QMenuBar> m_bar;
    QPointer<QWidget> m_keysOwner;
};
