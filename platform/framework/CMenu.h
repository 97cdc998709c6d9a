#pragma once
// Menus: a loaded menu resource (a row of popups for a frame's menu bar) or a
// popup made in code. Items carry their command id; a popup's items are
// updated through the owning frame's routing just before it opens.
#include <QMenu>
#include <QPointer>

#include "platform/framework/AfxTypes.h"
#include "platform/framework/CString.h"

class CCmdTarget;
class CWnd;
class QAction;
class QMenuBar;
struct MenuItemTemplate;

class CMenu {
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Builds the menu of resource id; its popups are GetSubMenu(0..).
    BOOL LoadMenu(UINT id);
    BOOL CreatePopupMenu();
    BOOL CreateMenu() { return CreatePopupMenu(); }
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
    BOOL EnableMenuItem(UINT id, UINT flags);
    UINT CheckMenuItem(UINT id, UINT flags);
    BOOL ModifyMenuText(UINT id, const char* text);
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int pos) const;
    CString GetMenuString(UINT id) const;
    // The popup at a position (owned by this menu).
    QMenu* GetSubMenu(int pos) const;
    BOOL DestroyMenu();

    // Shows the popup at a screen point and, when an item is chosen, sends
    // its command to owner's routing (WM_COMMAND). TPM_RETURNCMD answers the
    // id instead of sending it.
    UINT TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const void* unused = nullptr);

    QMenu* menu() const { return m_menu; }
    QAction* FindItem(UINT id) const;
    // Puts the popups of this menu into a menu bar (replacing what it held).
    void FillMenuBar(QMenuBar* bar) const;

    // Runs the update handlers for the items of a popup through target; items
    // with no handler on the route are disabled when autoDisable is set.
    static void UpdatePopup(QMenu* popup, CCmdTarget* target, bool autoDisable);

    static UINT IdOf(const QAction* action);

private:
    QPointer<QMenu> m_menu;
};

// The CCmdUI of one menu item.
#include "platform/framework/CCmdUI.h"
class CMenuItemCmdUI : public CCmdUI {
public:
    explicit CMenuItemCmdUI(QAction* action);
    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetText(const char* text) override;
    QAction* action() const { return m_action; }
    // Makes sure items for the ids first..last follow this one in its popup
    // (the recent-file list grows its items this way).
    void EnsureSiblings(UINT first, UINT last);

private:
    QAction* m_action;
};
