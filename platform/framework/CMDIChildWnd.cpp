#include "platform/framework/CMDIChildWnd.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

namespace {
constexpr int kCascadeStep = 24;  // about a title bar's height
}

// Notes the window's rectangle whenever it is moved or resized while shown
// normal. It is a child of the window it watches and goes with it.
class NormalRectTracker : public QObject {
public:
    NormalRectTracker(CMDIChildWnd* child, QObject* watched) : QObject(watched), m_child(child) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange) {
            // "[title]" in the main frame's title, or not; after Qt has put
            // its own version there.
            QPointer<QObject> alive(watched);
            CMDIChildWnd* child = m_child;
            QMetaObject::invokeMethod(
                watched, [alive, child] {
                    if (alive && CWnd::FromWidget(static_cast<QWidget*>(alive.data())) == child)
                        child->OnUpdateFrameTitle(TRUE);
                },
                Qt::QueuedConnection);
        }
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
            auto* sub = static_cast<QMdiSubWindow*>(watched);
            // Only what the user sees counts: while the window is hidden its
            // geometry passes through states that the placement calls set.
            if (sub->isVisible() && !sub->isMaximized() && !sub->isMinimized()) {
                QRect g = sub->geometry();
                m_child->m_normalRect = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
            }
        }
        return false;
    }

private:
    CMDIChildWnd* m_child;
};

CMDIChildWnd::CMDIChildWnd() = default;

QMdiSubWindow* CMDIChildWnd::subWindow() const
{
    return qobject_cast<QMdiSubWindow*>(m_widget);
}

BOOL CMDIChildWnd::CreateFrameWidget(DWORD, CWnd* parent)
{
    m_pMDIFrame = dynamic_cast<CMDIFrameWnd*>(parent);
    if (!m_pMDIFrame) {
        CWinApp* app = AfxGetApp();
        m_pMDIFrame = app ? dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd) : nullptr;
    }
    if (!m_pMDIFrame || !m_pMDIFrame->mdiArea())
        return FALSE;
    auto* sub = new WndWidget<QMdiSubWindow>(this);
    sub->setNativeBehaviour(true);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->installEventFilter(new NormalRectTracker(this, sub));
    SetWidget(sub, true);
    QMdiArea* mdi = m_pMDIFrame->mdiArea();
    const int earlier = int(mdi->subWindowList().size());
    mdi->addSubWindow(sub);
    // New windows cascade inside the area, one title bar apart, rather than
    // where the area's own placement would put them (beside each other,
    // partly outside it).
    sub->setGeometry(CascadeRect(mdi->viewport()->size(), earlier));
    // A hidden window gets its resize event only when shown, perhaps already
    // maximised: the normal rectangle is known from now on.
    QRect g = sub->geometry();
    m_normalRect = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    return TRUE;
}

QRect CMDIChildWnd::CascadeRect(const QSize& area, int index)
{
    const QSize size(std::max(200, area.width() * 3 / 4), std::max(150, area.height() * 3 / 4));
    const int room = std::min(area.width() - size.width(), area.height() - size.height());
    const int place = room >= kCascadeStep ? index % (room / kCascadeStep + 1) : 0;
    return QRect(QPoint(place * kCascadeStep, place * kCascadeStep), size);
}

BOOL CMDIChildWnd::OnCreateClient(CCreateContext* context)
{
    if (context && context->m_pNewDocTemplate)
        m_sharedMenu = &context->m_pNewDocTemplate->SharedMenu();
    return CFrameWnd::OnCreateClient(context);
}

void CMDIChildWnd::SetClientWidget(QWidget* widget)
{
    if (QMdiSubWindow* sub = subWindow())
        sub->setWidget(widget);
}

void CMDIChildWnd::MDIActivate()
{
    if (m_pMDIFrame && subWindow())
        m_pMDIFrame->mdiArea()->setActiveSubWindow(subWindow());
}

void CMDIChildWnd::MDIMaximize()
{
    if (QMdiSubWindow* sub = subWindow())
        sub->showMaximized();
}

void CMDIChildWnd::MDIRestore()
{
    if (QMdiSubWindow* sub = subWindow())
        sub->showNormal();
}

BOOL CMDIChildWnd::ShowWindow(int cmd)
{
    // A window maximised while still hidden stays at its normal size on the
    // screen although marked maximised: it is shown first, then maximised.
    if (QMdiSubWindow* sub = subWindow(); sub && cmd == SW_SHOWMAXIMIZED && sub->isHidden())
        sub->showNormal();
    BOOL result = CFrameWnd::ShowWindow(cmd);
    if (m_pMDIFrame)
        m_pMDIFrame->OnUpdateFrameTitle(TRUE);
    return result;
}

void CMDIChildWnd::ActivateFrame(int cmdShow)
{
    QMdiSubWindow* sub = subWindow();
    if (!sub)
        return;
    if (cmdShow == -1)
        // A child shown (maximised, say) before the main window appeared is
        // not visible yet but keeps its state.
        cmdShow = sub->isHidden() ? SW_SHOWNORMAL : SW_SHOW;
    ShowWindow(cmdShow);
    MDIActivate();
}

BOOL CMDIChildWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    QMdiSubWindow* sub = subWindow();
    if (!sub || !placement)
        return FALSE;
    placement->showCmd = sub->isMaximized() ? SW_SHOWMAXIMIZED : sub->isMinimized() ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    placement->rcNormalPosition = m_normalRect;
    return TRUE;
}

BOOL CMDIChildWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement)
{
    QMdiSubWindow* sub = subWindow();
    if (!sub || !placement)
        return FALSE;
    const CRect& r = placement->rcNormalPosition;
    m_normalRect = r;
    if (placement->showCmd == SW_SHOWMAXIMIZED) {
        sub->showNormal();
        sub->setGeometry(r.left, r.top, r.Width(), r.Height());
        sub->showMaximized();
    } else if (placement->showCmd == SW_SHOWMINIMIZED) {
        sub->showMinimized();
    } else if (sub->isHidden()) {
        // A window not shown yet only takes its rectangle: showing it is
        // left to its first update, which may show it maximised.
        sub->setGeometry(r.left, r.top, r.Width(), r.Height());
    } else {
        sub->showNormal();
        sub->setGeometry(r.left, r.top, r.Width(), r.Height());
    }
    m_normalRect = r;
    return TRUE;
}

bool CMDIChildWnd::PreTranslateKey(const KeyStroke& key)
{
    // The document template's accelerators; the main frame tries its own next.
    return TranslateAccelerator(m_acceleratorId ? m_acceleratorId : m_nIDHelp, key);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* doc = GetActiveDocument();
    if (!doc && m_widget)
        for (QWidget* child : m_widget->findChildren<QWidget*>())
            if (auto* v = dynamic_cast<CView*>(CWnd::FromWidget(child)); v && v->GetDocument()) {
                doc = v->GetDocument();
                break;
            }
    if (doc && m_widget)
        m_widget->setWindowTitle(ToQString(doc->GetTitle()));
    if (m_pMDIFrame)
        m_pMDIFrame->OnUpdateFrameTitle(addToTitle);
}

void CMDIChildWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    int others = 0;
    if (doc) {
        POSITION pos = doc->GetFirstViewPosition();
        while (CView* view = doc->GetNextView(pos))
            if (view->GetParentFrame() != this)
                ++others;
    }
    if (doc && others == 0)
        doc->OnCloseDocument();
    else
        DestroyWindow();
}

void CMDIChildWnd::OnDestroy()
{
    CMDIFrameWnd* frame = m_pMDIFrame;
    const bool maximised = subWindow() && subWindow()->isMaximized();
    CFrameWnd::OnDestroy();
    if (frame && frame->mdiArea() && subWindow()) {
        frame->mdiArea()->removeSubWindow(subWindow());
        // The window that comes forward takes the closed one's maximised state.
        const QList<QMdiSubWindow*> rest = frame->mdiArea()->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (maximised && !rest.isEmpty()) {
            rest.last()->showMaximized();
            frame->mdiArea()->setActiveSubWindow(rest.last());
        }
    }
    if (frame)
        QMetaObject::invokeMethod(
            frame->widget(), [w = QPointer<QWidget>(frame->widget())] {
                if (auto* f = w ? dynamic_cast<CMDIFrameWnd*>(CWnd::FromWidget(w)) : nullptr) {
                    f->UpdateMenuForActiveChild();
                    f->OnUpdateFrameTitle(TRUE);
                }
            }, Qt::QueuedConnection);
}
