#include "platform/framework/CFrameWnd.h"

#include <QApplication>
#include <algorithm>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "platform/framework/CCmdUI.h"
#include "platform/framework/CControlBar.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "platform/framework/InputGateFilter.h"
#include "platform/framework/KeyTranslation.h"
#include "platform/framework/MenuBarFocusReturn.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

CFrameWnd::CFrameWnd()
{
    // The status bar's lock key panes show while their lock is on.
    const std::pair<UINT, int> locks[] = {
        {ID_INDICATOR_CAPS, VK_CAPITAL}, {ID_INDICATOR_NUM, VK_NUMLOCK}, {ID_INDICATOR_SCRL, VK_SCROLL}};
    for (const auto& [id, key] : locks) {
        // A copy of the key, as a structured binding cannot be captured by every compiler we build with.
        const int vk = key;
        MapUpdate(id, [vk](CCmdUI* ui) { ui->Enable((GetKeyState(vk) & 1) != 0); });
    }
}

CFrameWnd::~CFrameWnd()
{
    if (m_modalLoop)
        m_modalLoop->exit(IDCANCEL);
}

QMainWindow* CFrameWnd::mainWindow() const
{
    return qobject_cast<QMainWindow*>(m_widget);
}

BOOL CFrameWnd::CreateFrameWidget(DWORD style, CWnd* parent)
{
    QWidget* parentWidget = parent ? parent->widget() : nullptr;
    auto* window = new WndWidget<QMainWindow>(this, parentWidget);
    window->setNativeBehaviour(true);
    if (parentWidget)
        window->setWindowFlags(Qt::Dialog);
    if (style & WS_POPUP)
        window->setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    SetWidget(window, true);
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = resourceId;
    if (m_strTitle.IsEmpty()) {
        CString title;
        if (title.LoadString(resourceId))
            m_strTitle = title.Left(title.Find('\n') < 0 ? title.GetLength() : title.Find('\n'));
    }
    if (!CreateFrameWidget(style, parent))
        return FALSE;
    SetWindowText(m_strTitle);
    if (m_menu.LoadMenu(resourceId))
        InstallMenu(m_menu);
    if (OnCreate() == -1 || !OnCreateClient(context)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::Create(const char*, const char* title, DWORD style, const CRect& rect, CWnd* parent, UINT menuId,
                       DWORD, CCreateContext* context)
{
    m_strTitle = title ? title : "";
    if (!CreateFrameWidget(style, parent))
        return FALSE;
    SetWindowText(m_strTitle);
    if (!rect.IsRectEmpty())
        m_widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (menuId && m_menu.LoadMenu(menuId)) {
        m_acceleratorId = menuId;
        InstallMenu(m_menu);
    }
    if (OnCreate() == -1 || !OnCreateClient(context)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CFrameWnd::InstallMenu(CMenu& menu)
{
    QMainWindow* window = mainWindow();
    if (!window || !menu.menu())
        return;
    QMenuBar* bar = window->menuBar();
    menu.FillMenuBar(bar);
    for (QMenu* popup : menu.menu()->findChildren<QMenu*>()) {
        QObject::disconnect(popup, &QMenu::aboutToShow, nullptr, nullptr);
        QObject::connect(popup, &QMenu::aboutToShow, popup, [this, popup] {
            CMenu::UpdatePopup(popup, this, m_bAutoMenuEnable);
            OnInitMenuPopup(popup);
        });
        QObject::connect(popup, &QMenu::hovered, popup, [this](QAction* a) {
            if (UINT id = CMenu::IdOf(a))
                SetMessageText(id);
        });
        QObject::connect(popup, &QMenu::aboutToHide, popup, [this] { SetMessageText(AFX_IDLE_MESSAGE); });
        QObject::disconnect(popup, &QMenu::triggered, nullptr, nullptr);
        if (popup->parent() != menu.menu())
            continue;
        MenuBarFocusReturn::Watch(bar, popup);
        QObject::connect(popup, &QMenu::triggered, popup, [this](QAction* a) {
            // The menu still handles the key or click that chose the item
            // (Exit destroys this frame and the menu with it).
            WndBridge::DispatchScope choosing;
            if (UINT id = CMenu::IdOf(a))
                OnCmdMsgFromUser(id);
        });
    }
}

BOOL CFrameWnd::OnCreateClient(CCreateContext* context)
{
    if (context && context->m_pNewViewClass)
        return CreateView(context) != nullptr;
    return TRUE;
}

void CFrameWnd::SetClientWidget(QWidget* widget)
{
    if (QMainWindow* window = mainWindow())
        window->setCentralWidget(widget);
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    if (!context || !context->m_pNewViewClass)
        return nullptr;
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    if (auto* v = dynamic_cast<CView*>(view)) {
        if (!v->Create(this, id, context)) {
            delete v;
            return nullptr;
        }
        SetClientWidget(v->widget());
    }
    return view;
}

CView* CFrameWnd::GetActiveView() const
{
    return dynamic_cast<CView*>(CWnd::FromWidget(m_activeViewWidget));
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = GetActiveView();
    if (old == view)
        return;
    m_activeViewWidget = view ? view->widget() : nullptr;
    if (notify) {
        if (old)
            old->OnActivateView(FALSE, view, old);
        if (view)
            view->OnActivateView(TRUE, view, old);
    }
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    CView* view = GetActiveView();
    if (!view && m_widget) {
        // The first view of the frame becomes the active one.
        for (QWidget* child : m_widget->findChildren<QWidget*>())
            if (auto* v = dynamic_cast<CView*>(CWnd::FromWidget(child)); v && v->widget() == child) {
                view = v;
                break;
            }
        if (view)
            SetActiveView(view, FALSE);
    }
    if (m_widget)
        for (QWidget* child : m_widget->findChildren<QWidget*>())
            if (auto* v = dynamic_cast<CView*>(CWnd::FromWidget(child)); v && v->widget() == child)
                v->OnInitialUpdate();
    if (makeVisible) {
        ActivateFrame();
        if (view) {
            view->OnActivateView(TRUE, view, view);
            view->SetFocus();
        }
    }
    OnUpdateFrameTitle(TRUE);
    (void)doc;
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (!m_widget)
        return;
    if (cmdShow == -1)
        cmdShow = m_widget->isVisible() ? SW_SHOW : SW_SHOWNORMAL;
    ShowWindow(cmdShow);
    m_widget->raise();
    m_widget->activateWindow();
}

void CFrameWnd::UpdateFrameTitleForDocument(const char* docName)
{
    CString title = m_strTitle;
    if (docName && *docName)
        title = title.IsEmpty() ? CString(docName) : title + " - " + docName;
    SetWindowText(title);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(addToTitle && doc ? doc->GetTitle().c_str() : nullptr);
}

bool CFrameWnd::OnCmdMsg(UINT id, CCmdUI* pUI)
{
    if (CView* view = GetActiveView(); view && view->OnCmdMsg(id, pUI))
        return true;
    if (CWnd::OnCmdMsg(id, pUI))
        return true;
    if (IsTopLevelRoute())
        if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(id, pUI))
            return true;
    return false;
}

bool CFrameWnd::HasCommandHandler(UINT id)
{
    if (CView* view = GetActiveView(); view && view->HasCommandHandler(id))
        return true;
    if (CWnd::HasCommandHandler(id))
        return true;
    if (IsTopLevelRoute())
        if (CWinApp* app = AfxGetApp(); app && app->HasCommandHandler(id))
            return true;
    return false;
}

BOOL CFrameWnd::OnCmdMsgFromUser(UINT id)
{
    // A command whose item is disabled (by its update handler, or for want of
    // a handler) is not run: menus and accelerators obey the same state.
    if (!LetCommandThrough(id, this))
        return FALSE;
    CCmdUIProbe probe(id);
    probe.DoUpdate(this, m_bAutoMenuEnable);
    if (!probe.m_bEnabled)
        return FALSE;
    bool done = OnCmdMsg(id, nullptr);
    if (CWinApp* app = AfxGetApp())
        app->ScheduleIdle();
    return done;
}

bool CFrameWnd::TranslateAccelerator(UINT tableId, const KeyStroke& key)
{
    const auto* table = ResourceStore::instance().accelerators(tableId);
    if (!table || key.qtKey == 0)
        return false;
    Qt::KeyboardModifiers mods = key.modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    QKeySequence pressed(QKeyCombination(mods, Qt::Key(key.qtKey)));
    for (const AcceleratorTemplate& entry : *table)
        if (entry.key.matches(pressed) == QKeySequence::ExactMatch) {
            // The command takes the whole route, from the top-level frame.
            CFrameWnd* top = GetTopLevelFrame();
            (top ? top : this)->OnCmdMsgFromUser(entry.command);
            return true;
        }
    return false;
}

bool CFrameWnd::PreTranslateKey(const KeyStroke& key)
{
    return TranslateAccelerator(m_acceleratorId ? m_acceleratorId : m_nIDHelp, key);
}

void CFrameWnd::EnableDocking(DWORD style)
{
    m_dockStyle = style;
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (std::find(m_bars.begin(), m_bars.end(), bar) == m_bars.end())
        m_bars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT, const CRect*)
{
    if (bar)
        bar->Dock(this);
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD)
{
    if (bar)
        bar->Float(this, point);
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL)
{
    if (bar)
        bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    for (CControlBar* bar : std::vector<CControlBar*>(m_bars))
        bar->OnUpdateCmdUI(this, m_bAutoMenuEnable);
}

void CFrameWnd::SetMessageText(const char* text)
{
    UserInterface::Current().SetStatusText(ToQString(CString(text)).toStdString());
}

void CFrameWnd::SetMessageText(UINT id)
{
    // The prompt of a command is its resource string's first line.
    CString prompt;
    if (prompt.LoadString(id)) {
        int end = prompt.Find('\n');
        SetMessageText(end < 0 ? prompt : prompt.Left(end));
    }
}

int CFrameWnd::RunModalLoop(DWORD)
{
    QEventLoop loop;
    m_modalLoop = &loop;
    m_modalResult = IDCANCEL;
    int result = loop.exec();
    m_modalLoop = nullptr;
    return result;
}

void CFrameWnd::EndModalLoop(int result)
{
    m_modalResult = result;
    if (m_modalLoop)
        m_modalLoop->exit(result);
}

void CFrameWnd::OnClose()
{
    if (m_modalLoop) {
        EndModalLoop(IDCANCEL);
        return;
    }
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // Closing the main window is File/Exit.
        app->OnCmdMsg(ID_APP_EXIT, nullptr);
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    for (CControlBar* bar : std::vector<CControlBar*>(m_bars))
        bar->DestroyWindow();
    m_bars.clear();
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}
