#include "platform/framework/CControlBar.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/WindowPlacement.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {

// The small window of a floating bar: closing it with its close box hides
// the bar as its View command would, so that the command's check follows.
class FloatingBarWindow : public QWidget {
public:
    FloatingBarWindow(QWidget* parent, std::function<void()> closed)
        : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_closed(std::move(closed))
    {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        QWidget::closeEvent(event);
        if (event->isAccepted())
            m_closed();
    }

private:
    std::function<void()> m_closed;
};

} // namespace

CControlBar::~CControlBar()
{
    if (m_frame)
        m_frame->RemoveControlBar(this);
    QPointer<QWidget> own = m_ownsWidget ? m_widget.data() : nullptr;
    Detach();
    delete m_container.data();
    delete own.data();
}

void CControlBar::CreateBarWidget(CFrameWnd* frame, DWORD style, UINT id)
{
    m_frame = frame;
    m_dwStyle = style;
    m_controlId = int(id);
    auto* w = new WndWidget<QWidget>(this, frame ? frame->widget() : nullptr);
    w->setNativeBehaviour(true);
    w->hide();
    SetWidget(w, true);
    if (frame)
        frame->AddControlBar(this);
}

void CControlBar::Dock(CFrameWnd* frame)
{
    if (m_dockStyle == 0 || !frame || !frame->mainWindow() || !m_widget)
        return;
    auto* toolbar = qobject_cast<QToolBar*>(m_container.data());
    if (!toolbar) {
        m_widget->setParent(nullptr);
        delete m_container.data();
        toolbar = new QToolBar(ToQString(m_title), frame->mainWindow());
        toolbar->setMovable(false);
        toolbar->setFloatable(false);
        // The bar sits in a holder the toolbar owns, so that it can leave
        // the toolbar again (a toolbar deletes the widgets it was given).
        auto* holder = new QWidget;
        auto* layout = new QVBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_widget);
        toolbar->addWidget(holder);
        frame->mainWindow()->addToolBar(Qt::TopToolBarArea, toolbar);
        m_container = toolbar;
    }
    m_floating = false;
    Relayout();
    m_widget->show();
    toolbar->setVisible(m_visible);
}

void CControlBar::Float(CFrameWnd* frame, CPoint point)
{
    if (!frame || !m_widget)
        return;
    QWidget* window = qobject_cast<QToolBar*>(m_container.data()) ? nullptr : m_container.data();
    if (!window) {
        m_widget->setParent(nullptr);
        delete m_container.data();
        window = new FloatingBarWindow(frame->widget(), [this] { m_visible = false; });
        window->setWindowTitle(ToQString(m_title));
        // A palette never takes the keyboard from the document: showing it
        // or clicking its buttons leaves typing where it was.
        window->setAttribute(Qt::WA_ShowWithoutActivating);
        window->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->addWidget(m_widget);
        m_container = window;
    }
    m_floating = true;
    Relayout();
    m_widget->show();
    window->move(point.x, point.y);
    window->setVisible(m_visible);
}

BOOL CControlBar::ShowWindow(int cmd)
{
    BOOL was = IsWindowVisible();
    m_visible = cmd != SW_HIDE;
    if (m_container)
        m_container->setVisible(m_visible);
    else if (m_widget)
        m_widget->setVisible(m_visible);
    return was;
}

BOOL CControlBar::IsWindowVisible() const
{
    // What the user sees: the bar shows while its window is shown, even when
    // the main window itself is hidden (as in headless tests).
    return m_visible && (m_container || m_widget);
}

void CControlBar::SetWindowText(const char* text)
{
    m_title = text ? text : "";
    if (m_container)
        m_container->setWindowTitle(ToQString(m_title));
}

void CControlBar::GetWindowRect(CRect* rect) const
{
    if (m_floating && m_container) {
        QRect g = m_container->frameGeometry();
        *rect = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
        return;
    }
    CWnd::GetWindowRect(rect);
}

QSize CControlBar::FloatingFrameSize() const
{
    if (!m_floating || !m_container)
        return {};
    // A window never shown has not taken its layout's size yet.
    if (QLayout* layout = m_container->layout())
        layout->activate();
    return WindowPlacement::FrameSizeOf(*m_container);
}

BOOL CControlBar::DestroyWindow()
{
    if (m_frame)
        m_frame->RemoveControlBar(this);
    m_frame = nullptr;
    BOOL done = CWnd::DestroyWindow();
    delete m_container.data();
    return done;
}
