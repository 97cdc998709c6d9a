#include "platform/framework/CWnd.h"
#include "platform/framework/WindowPlacement.h"
#include "platform/framework/InputGateFilter.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QGroupBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include "platform/Exceptions.h"
#include "platform/draw/CDC.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/DialogTemplateBuilder.h"
#include "platform/framework/ResourceStore.h"
#include "platform/framework/WndBridge.h"
#include "platform/framework/WorkerThread.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {
const char* const kOwnerProperty = "qv_cwnd";
QPointer<QWidget> g_capture;
QPointer<QWidget> g_cursorTarget;
int g_cursorHidden = 0;
}

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    for (auto& [id, timer] : m_timers)
        delete timer;
    m_timers.clear();
    if (QWidget* w = m_widget) {
        if (auto* bridge = dynamic_cast<WndBridge*>(w); bridge && bridge->owner() == this)
            bridge->setOwner(nullptr);
        w->setProperty(kOwnerProperty, QVariant());
        if (m_previousOwner && m_previousOwner->m_widget == w)
            m_previousOwner->SetWidget(w, m_previousOwner->m_ownsWidget);
        if (m_ownsWidget) {
            m_widget = nullptr;
            if (WndBridge::dispatchDepth() > 0) {
                w->hide();
                w->deleteLater();
            } else {
                delete w;
            }
        }
    }
}

CWnd* CWnd::FromWidget(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    if (auto* bridge = dynamic_cast<const WndBridge*>(widget); bridge && bridge->owner())
        return bridge->owner();
    QVariant v = widget->property(kOwnerProperty);
    return v.isValid() ? reinterpret_cast<CWnd*>(v.value<quintptr>()) : nullptr;
}

void CWnd::SetWidget(QWidget* widget, bool owned)
{
    m_widget = widget;
    m_ownsWidget = owned;
    if (widget)
        widget->setProperty(kOwnerProperty, QVariant::fromValue(quintptr(this)));
}

void CWnd::Attach(QWidget* widget)
{
    // A member control bound to a template's control answers to its id, and
    // hands the widget back to the template's object when it lets go.
    m_previousOwner = FromWidget(widget);
    if (m_previousOwner == this)
        m_previousOwner = nullptr;
    if (m_previousOwner && m_controlId == 0)
        m_controlId = m_previousOwner->m_controlId;
    if (auto* bridge = dynamic_cast<WndBridge*>(widget))
        bridge->setOwner(this);
    SetWidget(widget, false);
}

QWidget* CWnd::Detach()
{
    QWidget* w = m_widget;
    if (w) {
        if (auto* bridge = dynamic_cast<WndBridge*>(w); bridge && bridge->owner() == this)
            bridge->setOwner(nullptr);
        w->setProperty(kOwnerProperty, QVariant());
        if (m_previousOwner && m_previousOwner->m_widget == w)
            m_previousOwner->SetWidget(w, m_previousOwner->m_ownsWidget);
    }
    m_previousOwner = nullptr;
    m_widget = nullptr;
    m_ownsWidget = false;
    return w;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    CWnd* item = parent ? parent->GetDlgItem(int(id)) : nullptr;
    if (!item || !item->m_widget)
        return FALSE;
    QWidget* w = item->m_widget;
    Attach(w);
    m_controlId = int(id);
    return TRUE;
}

void CWnd::WidgetDestroyed()
{
    if (m_destroying)
        return;
    m_destroying = true;
    OnDestroy();
    m_widget = nullptr;
    m_ownsWidget = false;
    m_destroying = false;
    PostNcDestroy();
}

BOOL CWnd::DestroyWindow()
{
    QWidget* w = m_widget;
    if (!w || m_destroying)
        return FALSE;
    m_destroying = true;
    for (auto& [id, timer] : m_timers)
        delete timer;
    m_timers.clear();
    if (g_capture == w)
        g_capture = nullptr;
    OnDestroy();
    // Child windows go first, while this one still exists.
    std::vector<QPointer<QWidget>> children;
    for (QWidget* child : w->findChildren<QWidget*>())
        children.emplace_back(child);
    for (const QPointer<QWidget>& child : children) {
        if (!child)
            continue;  // went with a window destroyed before it
        auto* bridge = dynamic_cast<WndBridge*>(child.data());
        if (bridge && bridge->owner() && bridge->owner() != this)
            bridge->owner()->DestroyWindow();
    }
    if (auto* bridge = dynamic_cast<WndBridge*>(w); bridge && bridge->owner() == this)
        bridge->setOwner(nullptr);
    w->setProperty(kOwnerProperty, QVariant());
    bool owned = m_ownsWidget;
    m_widget = nullptr;
    m_ownsWidget = false;
    if (owned) {
        w->hide();
        if (WndBridge::dispatchDepth() > 0)
            w->deleteLater();
        else
            delete w;
    }
    m_destroying = false;
    PostNcDestroy();
    return TRUE;
}

BOOL CWnd::ShowWindow(int cmd)
{
    if (!m_widget)
        return FALSE;
    BOOL wasVisible = m_widget->isVisible();
    switch (cmd) {
    case SW_HIDE: m_widget->hide(); break;
    case SW_SHOWMAXIMIZED: m_widget->showMaximized(); break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: m_widget->showMinimized(); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE: m_widget->showNormal(); break;
    default: m_widget->show(); break;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_widget && m_widget->isVisible();
}

void CWnd::SetWindowText(const char* text)
{
    if (!m_widget)
        return;
    if (!IsUiThread()) {
        // A worker's text is set on the user-interface thread, later.
        QPointer<QWidget> target(m_widget);
        CString copy(text);
        RunOnUiThread([target, copy] {
            if (CWnd* wnd = target ? CWnd::FromWidget(target) : nullptr)
                wnd->SetWindowText(copy);
        }, false);
        return;
    }
    QString t = ToQString(CString(text));
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        edit->setText(t);
    else if (auto* combo = qobject_cast<QComboBox*>(m_widget); combo && combo->isEditable())
        combo->setEditText(t);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(m_widget))
        plain->setPlainText(t);
    else if (auto* label = qobject_cast<QLabel*>(m_widget))
        label->setText(t);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        button->setText(t);
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        group->setTitle(t);
    else
        m_widget->setWindowTitle(t);
}

CString CWnd::GetWindowText() const
{
    if (!m_widget)
        return CString();
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget))
        return FromQString(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(m_widget))
        return FromQString(combo->currentText());
    if (auto* plain = qobject_cast<QPlainTextEdit*>(m_widget))
        return FromQString(plain->toPlainText());
    if (auto* label = qobject_cast<QLabel*>(m_widget))
        return FromQString(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(m_widget))
        return FromQString(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(m_widget))
        return FromQString(group->title());
    return FromQString(m_widget->windowTitle());
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_widget)
        return FALSE;
    BOOL wasDisabled = !m_widget->isEnabled();
    m_widget->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_widget && m_widget->isEnabled();
}

void CWnd::GetClientRect(CRect* rect) const
{
    QWidget* area = m_widget;
    if (auto* scroll = qobject_cast<QAbstractScrollArea*>(m_widget))
        area = scroll->viewport();
    *rect = area ? CRect(0, 0, area->width(), area->height()) : CRect();
}

void CWnd::GetWindowRect(CRect* rect) const
{
    if (!m_widget) {
        *rect = CRect();
        return;
    }
    QRect frame = m_widget->isWindow() ? m_widget->frameGeometry() : m_widget->geometry();
    QPoint topLeft = m_widget->isWindow() ? frame.topLeft() : m_widget->mapToGlobal(QPoint(0, 0));
    *rect = CRect(topLeft.x(), topLeft.y(), topLeft.x() + frame.width(), topLeft.y() + frame.height());
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    if (m_widget)
        m_widget->setGeometry(x, y, width, height);
    (void)repaint;
}

void CWnd::MoveWindow(const CRect& rect, BOOL repaint)
{
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    if (!m_widget)
        return;
    QWidget* over = alternateOwner ? alternateOwner->m_widget.data() : m_widget->parentWidget();
    QRect area = over ? QRect(over->mapToGlobal(QPoint(0, 0)), over->size())
                      : (m_widget->screen() ? m_widget->screen()->availableGeometry() : QRect(0, 0, 1024, 768));
    QSize size = m_widget->frameGeometry().size();
    QPoint topLeft = area.center() - QPoint(size.width() / 2, size.height() / 2);
    // A window over an owner partly off the screen stays on the screen.
    if (!m_widget->isWindow() && m_widget->parentWidget())
        topLeft = m_widget->parentWidget()->mapFromGlobal(topLeft);
    else
        topLeft = WindowPlacement::Inside(size, topLeft, WindowPlacement::ScreenAreaAt(area.center()));
    m_widget->move(topLeft);
}

CWnd* CWnd::GetParent() const
{
    for (QWidget* w = m_widget ? m_widget->parentWidget() : nullptr; w; w = w->parentWidget())
        if (CWnd* wnd = FromWidget(w))
            return wnd;
    return nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* w = GetParent(); w; w = w->GetParent())
        if (auto* frame = dynamic_cast<CFrameWnd*>(w))
            return frame;
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* top = dynamic_cast<CFrameWnd*>(const_cast<CWnd*>(this));
    for (CFrameWnd* f = GetParentFrame(); f; f = f->GetParentFrame())
        top = f;
    return top;
}

void CWnd::ClientToScreen(CPoint* point) const
{
    if (!m_widget)
        return;
    QWidget* area = m_widget;
    if (auto* scroll = qobject_cast<QAbstractScrollArea*>(m_widget))
        area = scroll->viewport();
    QPoint p = area->mapToGlobal(QPoint(point->x, point->y));
    *point = CPoint(p.x(), p.y());
}

void CWnd::ClientToScreen(CRect* rect) const
{
    CPoint tl = rect->TopLeft(), br = rect->BottomRight();
    ClientToScreen(&tl);
    ClientToScreen(&br);
    *rect = CRect(tl.x, tl.y, br.x, br.y);
}

void CWnd::ScreenToClient(CPoint* point) const
{
    if (!m_widget)
        return;
    QWidget* area = m_widget;
    if (auto* scroll = qobject_cast<QAbstractScrollArea*>(m_widget))
        area = scroll->viewport();
    QPoint p = area->mapFromGlobal(QPoint(point->x, point->y));
    *point = CPoint(p.x(), p.y());
}

void CWnd::ScreenToClient(CRect* rect) const
{
    CPoint tl = rect->TopLeft(), br = rect->BottomRight();
    ScreenToClient(&tl);
    ScreenToClient(&br);
    *rect = CRect(tl.x, tl.y, br.x, br.y);
}

static QWidget* paintTarget(QWidget* w)
{
    if (auto* scroll = qobject_cast<QAbstractScrollArea*>(w))
        return scroll->viewport();
    return w;
}

void CWnd::InvalidateArea(const QRegion* region)
{
    if (!m_widget)
        return;
    if (region)
        paintTarget(m_widget)->update(*region);
    else
        paintTarget(m_widget)->update();
}

BOOL CWnd::OnEraseBkgnd(CDC* dc)
{
    CRect box;
    dc->GetClipBox(&box);
    dc->FillSolidRect(box, RGB(255, 255, 255));
    return TRUE;
}

void CWnd::Invalidate(BOOL)
{
    InvalidateArea(nullptr);
}

void CWnd::InvalidateRect(const CRect* rect, BOOL)
{
    if (!rect)
        return InvalidateArea(nullptr);
    QRegion region(QRect(rect->left, rect->top, rect->Width(), rect->Height()));
    InvalidateArea(&region);
}

void CWnd::InvalidateRgn(const CRgn* region, BOOL)
{
    if (!region)
        return InvalidateArea(nullptr);
    InvalidateArea(&region->region());
}

void CWnd::UpdateWindow()
{
    if (m_widget && m_widget->isVisible())
        paintTarget(m_widget)->repaint();
}

void CWnd::RedrawWindow(const CRect* rect, const CRgn* region, UINT)
{
    if (region)
        InvalidateRgn(region);
    else
        InvalidateRect(rect);
    UpdateWindow();
}

void CWnd::ScrollWindow(int dx, int dy, const CRect*, const CRect*)
{
    if (m_widget)
        paintTarget(m_widget)->scroll(dx, dy);
}

CWnd* CWnd::SetFocus()
{
    CWnd* old = GetFocus();
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
    return old;
}

CWnd* CWnd::GetFocus()
{
    QWidget* w = QApplication::focusWidget();
    for (; w; w = w->parentWidget())
        if (CWnd* wnd = FromWidget(w))
            return wnd;
    return nullptr;
}

namespace {

// Takes the capture from its window and tells it.
void LoseCapture()
{
    CWnd* owner = CWnd::FromWidget(g_capture);
    g_capture = nullptr;
    if (owner)
        owner->OnCaptureChanged(nullptr);
}

// Qt ends its implicit grab without a word when a modal window opens over
// the window, the window is hidden, or another window takes the release:
// the window that holds the capture is told, as the system tells a window
// whose capture is taken away.
class CaptureWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        QWidget* owner = g_capture;
        if (!owner)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::MouseButtonRelease:
            if (widget && widget != owner && !owner->isAncestorOf(widget) &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                LoseCapture();
            break;
        case QEvent::WindowBlocked:
            if (widget && widget == owner->window())
                LoseCapture();
            break;
        case QEvent::Hide:
            if (widget && (widget == owner || widget->isAncestorOf(owner)))
                LoseCapture();
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void CWnd::SetCapture()
{
    // Qt grabs the mouse implicitly while a button is held; the layer
    // remembers who asked, and watches for the grab ending unreleased.
    static CaptureWatch* watch = nullptr;
    if (!watch && qApp) {
        watch = new CaptureWatch;
        watch->setParent(qApp);
        qApp->installEventFilter(watch);
    }
    if (g_capture && g_capture != m_widget)
        LoseCapture();
    g_capture = m_widget;
}

void CWnd::ReleaseCapture()
{
    g_capture = nullptr;
}

CWnd* CWnd::GetCapture()
{
    return g_capture ? FromWidget(g_capture) : nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void*)
{
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [this, id] { OnTimer(id); });
    }
    timer->start(int(elapseMs));
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return FALSE;
    delete it->second;
    m_timers.erase(it);
    return TRUE;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    if (!m_widget)
        return nullptr;
    for (QWidget* child : m_widget->findChildren<QWidget*>()) {
        CWnd* wnd = FromWidget(child);
        if (wnd && wnd != this && wnd->m_controlId == id && wnd->m_widget == child)
            return wnd;
    }
    return nullptr;
}

void CWnd::SetDlgItemText(int id, const char* text)
{
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    CWnd* item = GetDlgItem(id);
    text = item ? item->GetWindowText() : CString();
    return text.GetLength();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned)
{
    CString text;
    if (isSigned)
        text.Format("%d", int(value));
    else
        text.Format("%u", value);
    SetDlgItemText(id, text);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const
{
    CString text;
    GetDlgItemText(id, text);
    bool ok = false;
    QString t = ToQString(text).trimmed();
    UINT value = isSigned ? UINT(t.toInt(&ok)) : t.toUInt(&ok);
    if (translated)
        *translated = ok;
    return ok ? value : 0;
}

void CWnd::CheckDlgButton(int id, UINT check)
{
    CWnd* item = GetDlgItem(id);
    if (auto* button = item ? qobject_cast<QAbstractButton*>(item->m_widget) : nullptr) {
        QButtonGroup* group = button->group();
        bool exclusive = group && group->exclusive() && check == 0;
        if (exclusive)
            group->setExclusive(false);
        button->setChecked(check != 0);
        if (exclusive)
            group->setExclusive(true);
    }
}

UINT CWnd::IsDlgButtonChecked(int id) const
{
    CWnd* item = GetDlgItem(id);
    auto* button = item ? qobject_cast<QAbstractButton*>(item->m_widget) : nullptr;
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId)
{
    // The group's exclusivity is lifted meanwhile, so that no button checked
    // is possible (checkId outside the range).
    for (int id = firstId; id <= lastId; ++id) {
        CWnd* item = GetDlgItem(id);
        auto* button = item ? qobject_cast<QAbstractButton*>(item->m_widget) : nullptr;
        if (!button)
            continue;
        QButtonGroup* group = button->group();
        bool exclusive = group && group->exclusive();
        if (exclusive)
            group->setExclusive(false);
        button->setChecked(id == checkId);
        if (exclusive)
            group->setExclusive(true);
    }
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const
{
    for (int id = firstId; id <= lastId; ++id)
        if (IsDlgButtonChecked(id))
            return id;
    return 0;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsUiThread()) {
        // From a worker: delivered on the user-interface thread, later.
        PostMessage(message, wParam, lParam);
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_COMMAND:
        return OnCmdMsgFromUser(UINT(wParam & 0xFFFF));
    default:
        return OnMessage(message, wParam, lParam);
    }
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    QWidget* w = m_widget;
    if (!w)
        return FALSE;
    QPointer<QWidget> target(w);
    QMetaObject::invokeMethod(
        w,
        [target, message, wParam, lParam] {
            if (CWnd* wnd = target ? CWnd::FromWidget(target) : nullptr)
                wnd->SendMessage(message, wParam, lParam);
        },
        Qt::QueuedConnection);
    return TRUE;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::OnControlNotify(UINT code, UINT id)
{
    if (HandleOwnNotify(code, id))
        return;
    if (code == BN_CLICKED)
        OnCmdMsg(id, nullptr);
}

BOOL CWnd::CreateControlsFromTemplate(UINT templateId, QWidget* container)
{
    const DialogTemplate* t = ResourceStore::instance().dialog(templateId);
    QWidget* into = container ? container : m_widget.data();
    if (!t || !into)
        return FALSE;
    BuildDialogControls(this, *t, into);
    return TRUE;
}

void CWnd::GotoDlgCtrl(CWnd* control)
{
    if (!control || !control->m_widget)
        return;
    control->m_widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control->m_widget))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(control->m_widget); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

BOOL CWnd::OnCmdMsgFromUser(UINT id)
{
    if (!LetCommandThrough(id, this))
        return FALSE;
    return OnCmdMsg(id, nullptr);
}

bool CWnd::PreTranslateKey(const KeyStroke& key)
{
    CFrameWnd* frame = GetTopLevelFrame();
    return frame && frame != this ? frame->PreTranslateKey(key) : false;
}

void SetCursorShape(Qt::CursorShape shape)
{
    SetCursorImage(QCursor(shape));
}

void SetCursorTarget(QWidget* widget)
{
    g_cursorTarget = widget;
}

void SetCursorImage(const QCursor& cursor)
{
    // The cursor of the window whose mouse move is being handled, else of
    // the window under the mouse.
    QWidget* w = g_cursorTarget ? g_cursorTarget.data() : QApplication::widgetAt(QCursor::pos());
    if (w)
        w->setCursor(g_cursorHidden > 0 ? QCursor(Qt::BlankCursor) : cursor);
}

int ShowCursor(BOOL show)
{
    g_cursorHidden += show ? -1 : 1;
    if (g_cursorHidden == 1 && !show)
        QApplication::setOverrideCursor(Qt::BlankCursor);
    else if (g_cursorHidden == 0 && show)
        QApplication::restoreOverrideCursor();
    return -g_cursorHidden;
}

BOOL GetCursorPos(CPoint* point)
{
    QPoint p = QCursor::pos();
    *point = CPoint(p.x(), p.y());
    return TRUE;
}

void MessageBeep(UINT type)
{
    UserInterface::Current().MessageBeep(type);
}
