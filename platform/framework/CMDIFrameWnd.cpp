#include "platform/framework/CMDIFrameWnd.h"

#include <algorithm>

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)

CMDIFrameWnd::CMDIFrameWnd()
{
    MapCommand(ID_WINDOW_CASCADE, [this] { MDICascade(); });
    MapCommand(ID_WINDOW_TILE_HORZ, [this] { mdiArea()->tileSubWindows(); });
    MapCommand(ID_WINDOW_TILE_VERT, [this] { mdiArea()->tileSubWindows(); });
    MapCommand(ID_WINDOW_ARRANGE, [this] { MDIIconArrange(); });
}

BOOL CMDIFrameWnd::CreateFrameWidget(DWORD style, CWnd* parent)
{
    if (!CFrameWnd::CreateFrameWidget(style, parent))
        return FALSE;
    auto* area = new QMdiArea(mainWindow());
    area->setViewMode(QMdiArea::SubWindowView);
    mainWindow()->setCentralWidget(area);
    m_wndMDIClient.Attach(area);
    QObject::connect(area, &QMdiArea::subWindowActivated, area,
                     [this](QMdiSubWindow* sub) { ChildActivated(sub); });
    return TRUE;
}

BOOL CMDIFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    if (!CFrameWnd::LoadFrame(resourceId, style, parent, context))
        return FALSE;
    if (CWinApp* app = AfxGetApp(); app && !app->m_pMainWnd)
        app->m_pMainWnd = this;
    return TRUE;
}

QMdiArea* CMDIFrameWnd::mdiArea() const
{
    return qobject_cast<QMdiArea*>(m_wndMDIClient.widget());
}

// The area's own cascade shrinks every window to its smallest size, which
// shows no text: the windows take the places new windows take instead.
void CMDIFrameWnd::MDICascade()
{
    QMdiArea* area = mdiArea();
    if (!area)
        return;
    QMdiSubWindow* active = area->activeSubWindow();
    const QSize size = area->viewport()->size();
    int index = 0;
    // From the back to the front, so that the active window ends in front.
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::StackingOrder)) {
        if (sub->isMinimized() || sub->isHidden() || !CWnd::FromWidget(sub))
            continue;
        if (sub->isMaximized())
            sub->showNormal();
        sub->setGeometry(CMDIChildWnd::CascadeRect(size, index++));
        sub->raise();
    }
    if (active)
        area->setActiveSubWindow(active);
}

void CMDIFrameWnd::MDIIconArrange()
{
    QMdiArea* area = mdiArea();
    if (!area)
        return;
    const QSize size = area->viewport()->size();
    int left = 0;
    int bottom = size.height();
    int rowHeight = 0;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized() || !CWnd::FromWidget(sub))
            continue;
        const QSize icon = sub->size();
        if (left > 0 && left + icon.width() > size.width()) {
            left = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        sub->move(left, bottom - icon.height());
        left += icon.width();
        rowHeight = std::max(rowHeight, icon.height());
    }
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const
{
    QMdiArea* area = mdiArea();
    QMdiSubWindow* sub = area ? area->activeSubWindow() : nullptr;
    if (!sub && area)
        sub = area->currentSubWindow();
    if (!sub && m_lastActive)
        sub = m_lastActive;
    auto* child = sub ? dynamic_cast<CMDIChildWnd*>(CWnd::FromWidget(sub)) : nullptr;
    if (maximized)
        *maximized = child && sub->isMaximized();
    return child;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? child->GetActiveDocument() : nullptr;
}

bool CMDIFrameWnd::OnCmdMsg(UINT id, CCmdUI* pUI)
{
    if (CMDIChildWnd* child = MDIGetActive(); child && child->OnCmdMsg(id, pUI))
        return true;
    return CFrameWnd::OnCmdMsg(id, pUI);
}

bool CMDIFrameWnd::HasCommandHandler(UINT id)
{
    if (CMDIChildWnd* child = MDIGetActive(); child && child->HasCommandHandler(id))
        return true;
    return CFrameWnd::HasCommandHandler(id);
}

bool CMDIFrameWnd::PreTranslateKey(const KeyStroke& key)
{
    if (CMDIChildWnd* child = MDIGetActive(); child && child->PreTranslateKey(key))
        return true;
    return CFrameWnd::PreTranslateKey(key);
}

void CMDIFrameWnd::OnIdleUpdateCmdUI()
{
    CFrameWnd::OnIdleUpdateCmdUI();
}

void CMDIFrameWnd::ChildActivated(QMdiSubWindow* sub)
{
    if (!sub)
        return;  // the area lost focus; the last document window stays the active one
    if (sub == m_lastActive)
        return;
    auto* old = m_lastActive ? dynamic_cast<CMDIChildWnd*>(CWnd::FromWidget(m_lastActive)) : nullptr;
    auto* now = dynamic_cast<CMDIChildWnd*>(CWnd::FromWidget(sub));
    m_lastActive = sub;
    CView* oldView = old ? old->GetActiveView() : nullptr;
    CView* newView = now ? now->GetActiveView() : nullptr;
    if (oldView)
        oldView->OnActivateView(FALSE, newView, oldView);
    if (newView)
        newView->OnActivateView(TRUE, newView, oldView);
    UpdateMenuForActiveChild();
    OnUpdateFrameTitle(TRUE);
}

void CMDIFrameWnd::UpdateMenuForActiveChild()
{
    CMDIChildWnd* child = MDIGetActive();
    CMenu* menu = &m_menu;
    if (child && child->SharedMenu() && child->SharedMenu()->menu())
        menu = child->SharedMenu();
    InstallMenu(*menu);
}

void CMDIFrameWnd::OnInitMenuPopup(QMenu* popup)
{
    if (QString(popup->title()).remove('&') != "Window" || !mdiArea())
        return;
    for (QAction* a : popup->actions())
        if (a->property("qv_window").isValid())
            delete a;
    QList<QMdiSubWindow*> windows = mdiArea()->subWindowList();
    if (windows.isEmpty())
        return;
    QAction* separator = popup->addSeparator();
    separator->setProperty("qv_window", true);
    QMdiSubWindow* active = MDIGetActive() ? MDIGetActive()->subWindow() : nullptr;
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        if (!CWnd::FromWidget(sub))
            continue;  // going away
        QAction* item = popup->addAction(QString("&%1 %2").arg(number++).arg(sub->windowTitle()));
        item->setProperty("qv_window", true);
        item->setCheckable(true);
        item->setChecked(sub == active);
        QPointer<QMdiSubWindow> target(sub);
        QObject::connect(item, &QAction::triggered, item, [this, target] {
            if (target)
                mdiArea()->setActiveSubWindow(target);
        });
    }
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    BOOL maximized = FALSE;
    CMDIChildWnd* child = MDIGetActive(&maximized);
    CDocument* doc = child ? child->GetActiveDocument() : nullptr;
    if (!addToTitle || !doc) {
        UpdateFrameTitleForDocument(nullptr);
        return;
    }
    CString name = doc->GetTitle();
    if (maximized)
        name = CString("[") + name + "]";
    UpdateFrameTitleForDocument(name);
}
