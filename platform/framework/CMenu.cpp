#include "platform/framework/CMenu.h"
#include "platform/framework/WindowPlacement.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

#include "platform/framework/CWnd.h"
#include "platform/framework/ResourceStore.h"
#include "platform/framework/WndBridge.h"

namespace {

const char* const kIdProperty = "qv_command";

QAction* addItem(QMenu* menu, UINT id, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setProperty(kIdProperty, id);
    return action;
}

void addItems(QMenu* menu, const std::vector<MenuItemTemplate>& items)
{
    for (const MenuItemTemplate& item : items) {
        if (item.separator)
            menu->addSeparator();
        else if (item.isPopup())
            addItems(menu->addMenu(item.text), item.items);
        else
            addItem(menu, item.id, item.text);
    }
}

std::vector<QAction*> allItems(QMenu* menu)
{
    std::vector<QAction*> result;
    if (!menu)
        return result;
    for (QAction* a : menu->actions()) {
        if (a->menu())
            for (QAction* inner : allItems(a->menu()))
                result.push_back(inner);
        else if (!a->isSeparator())
            result.push_back(a);
    }
    return result;
}

}

CMenu::~CMenu()
{
    DestroyMenu();
}

UINT CMenu::IdOf(const QAction* action)
{
    return action ? action->property(kIdProperty).toUInt() : 0;
}

BOOL CMenu::LoadMenu(UINT id)
{
    const MenuTemplate* t = ResourceStore::instance().menu(id);
    if (!t)
        return FALSE;
    DestroyMenu();
    m_menu = new QMenu;
    addItems(m_menu, t->items);
    return TRUE;
}

BOOL CMenu::CreatePopupMenu()
{
    DestroyMenu();
    m_menu = new QMenu;
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
    if (!m_menu)
        return FALSE;
    if (flags & MF_SEPARATOR) {
        m_menu->addSeparator();
        return TRUE;
    }
    QAction* action = addItem(m_menu, UINT(id), ToQString(CString(text)));
    action->setEnabled(!(flags & (MF_GRAYED | MF_DISABLED)));
    if (flags & MF_CHECKED) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    return TRUE;
}

QAction* CMenu::FindItem(UINT id) const
{
    for (QAction* a : allItems(m_menu))
        if (IdOf(a) == id)
            return a;
    return nullptr;
}

BOOL CMenu::EnableMenuItem(UINT id, UINT flags)
{
    QAction* a = FindItem(id);
    if (!a)
        return FALSE;
    a->setEnabled(!(flags & (MF_GRAYED | MF_DISABLED)));
    return TRUE;
}

UINT CMenu::CheckMenuItem(UINT id, UINT flags)
{
    QAction* a = FindItem(id);
    if (!a)
        return UINT(-1);
    UINT was = a->isChecked() ? UINT(MF_CHECKED) : 0u;
    a->setCheckable(true);
    a->setChecked(flags & MF_CHECKED);
    return was;
}

BOOL CMenu::ModifyMenuText(UINT id, const char* text)
{
    QAction* a = FindItem(id);
    if (a)
        a->setText(ToQString(CString(text)));
    return a != nullptr;
}

int CMenu::GetMenuItemCount() const
{
    return m_menu ? int(m_menu->actions().size()) : -1;
}

UINT CMenu::GetMenuItemID(int pos) const
{
    if (!m_menu || pos < 0 || pos >= m_menu->actions().size())
        return UINT(-1);
    QAction* a = m_menu->actions()[pos];
    return a->menu() ? UINT(-1) : IdOf(a);
}

CString CMenu::GetMenuString(UINT id) const
{
    QAction* a = FindItem(id);
    return a ? FromQString(a->text()) : CString();
}

QMenu* CMenu::GetSubMenu(int pos) const
{
    if (!m_menu || pos < 0 || pos >= m_menu->actions().size())
        return nullptr;
    return m_menu->actions()[pos]->menu();
}

BOOL CMenu::DestroyMenu()
{
    if (!m_menu)
        return FALSE;
    if (WndBridge::dispatchDepth() > 0)
        m_menu->deleteLater(); // it may be the menu whose choice is running
    else
        delete m_menu.data();
    m_menu = nullptr;
    return TRUE;
}

UINT CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const void*)
{
    if (!m_menu)
        return 0;
    const QPoint point(x, y);
    const QPoint at = WindowPlacement::Popup(m_menu->sizeHint(), point, flags, WindowPlacement::ScreenAreaAt(point));
    QAction* chosen = m_menu->exec(at);
    UINT id = IdOf(chosen);
    SetCurrentKeyModifiers(QGuiApplication::queryKeyboardModifiers());
    if (id == 0 || (flags & TPM_RETURNCMD))
        return id;
    if (owner)
        owner->SendMessage(WM_COMMAND, id);
    return 1;
}

void CMenu::FillMenuBar(QMenuBar* bar) const
{
    bar->clear();
    if (!m_menu)
        return;
    for (QAction* a : m_menu->actions())
        bar->addAction(a);
}

void CMenu::UpdatePopup(QMenu* popup, CCmdTarget* target, bool autoDisable)
{
    if (!popup || !target)
        return;
    int index = 0;
    // Read afresh at every step: an item's update may add items after it
    // (the recent-file list does), and they are updated in the same pass.
    for (qsizetype i = 0; i < popup->actions().size(); ++i) {
        QAction* a = popup->actions().at(i);
        if (a->isSeparator() || a->menu() || IdOf(a) == 0)
            continue;
        CMenuItemCmdUI ui(a);
        ui.m_nIndex = index++;
        ui.DoUpdate(target, autoDisable);
    }
}

CMenuItemCmdUI::CMenuItemCmdUI(QAction* action) : m_action(action)
{
    m_nID = CMenu::IdOf(action);
}

void CMenuItemCmdUI::Enable(BOOL on)
{
    CCmdUI::Enable(on);
    m_action->setEnabled(on != FALSE);
}

void CMenuItemCmdUI::SetCheck(int check)
{
    CCmdUI::SetCheck(check);
    m_action->setCheckable(true);
    m_action->setChecked(check != 0);
}

// A new text without a shortcut part keeps the item's shortcut text, so that
// an item renamed by its update ("Undo typing") still shows its key.
void CMenuItemCmdUI::SetText(const char* text)
{
    QString newText = ToQString(CString(text));
    const QString oldText = m_action->text();
    if (!newText.contains('\t') && oldText.contains('\t'))
        newText += oldText.mid(oldText.indexOf('\t'));
    m_action->setText(newText);
}

void CMenuItemCmdUI::EnsureSiblings(UINT first, UINT last)
{
    QList<QObject*> owners = m_action->associatedObjects();
    QMenu* popup = nullptr;
    for (QObject* w : owners)
        if ((popup = qobject_cast<QMenu*>(w)))
            break;
    if (!popup)
        return;
    QAction* after = m_action;
    for (UINT id = first; id <= last; ++id) {
        QAction* existing = nullptr;
        for (QAction* a : popup->actions())
            if (CMenu::IdOf(a) == id)
                existing = a;
        if (!existing) {
            QList<QAction*> actions = popup->actions();
            int at = int(actions.indexOf(after));
            QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
            existing = new QAction(popup);
            existing->setProperty(kIdProperty, id);
            existing->setVisible(false);
            popup->insertAction(before, existing);
        }
        after = existing;
    }
}
