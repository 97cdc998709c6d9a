#include "platform/framework/CStatusBar.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "platform/QtUserInterface.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

class PaneCmdUI : public CCmdUI {
public:
    PaneCmdUI(QLabel* label, const QString& text, UINT id) : m_label(label), m_text(text) { m_nID = id; }
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        m_label->setText(on ? m_text : QString());
    }
    void SetText(const char* text) override { m_label->setText(ToQString(CString(text))); }

private:
    QLabel* m_label;
    QString m_text;
};

}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    auto* frame = dynamic_cast<CFrameWnd*>(parent);
    if (!frame || !frame->mainWindow())
        return FALSE;
    m_frame = frame;
    m_dwStyle = style;
    m_controlId = int(id);
    auto* bar = new WndWidget<QStatusBar>(this, frame->mainWindow());
    bar->setNativeBehaviour(true);
    SetWidget(bar, true);
    frame->mainWindow()->setStatusBar(bar);
    frame->AddControlBar(this);
    m_visible = true;
    QtUserInterface::Instance().SetStatusBar(bar);
    return TRUE;
}

QStatusBar* CStatusBar::statusBar() const
{
    return qobject_cast<QStatusBar*>(m_widget);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    QStatusBar* bar = statusBar();
    if (!bar)
        return FALSE;
    for (Pane& p : m_panes)
        delete p.label.data();
    m_panes.clear();
    for (int i = 0; i < count; ++i) {
        Pane pane;
        pane.id = ids[i];
        pane.label = new QLabel(bar);
        if (i == 0) {
            pane.label->setText(AFX_IDLE_MESSAGE);
            bar->addWidget(pane.label, 1);
        } else {
            CString text;
            text.LoadString(ids[i]);
            pane.text = ToQString(text);
            pane.label->setMinimumWidth(pane.label->fontMetrics().horizontalAdvance(pane.text) + 8);
            pane.label->setAlignment(Qt::AlignCenter);
            bar->addPermanentWidget(pane.label);
        }
        m_panes.push_back(pane);
    }
    return TRUE;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id)
            return int(i);
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && size_t(index) < m_panes.size() ? m_panes[size_t(index)].id : 0;
}

BOOL CStatusBar::SetPaneText(int index, const char* text, BOOL)
{
    if (index < 0 || size_t(index) >= m_panes.size() || !m_panes[size_t(index)].label)
        return FALSE;
    if (index == 0 && statusBar())
        statusBar()->clearMessage();
    m_panes[size_t(index)].label->setText(ToQString(CString(text)));
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    if (index < 0 || size_t(index) >= m_panes.size() || !m_panes[size_t(index)].label)
        return CString();
    if (index == 0 && statusBar() && !statusBar()->currentMessage().isEmpty())
        return FromQString(statusBar()->currentMessage());
    return FromQString(m_panes[size_t(index)].label->text());
}

BOOL CStatusBar::ShowWindow(int cmd)
{
    BOOL was = IsWindowVisible();
    m_visible = cmd != SW_HIDE;
    if (m_widget)
        m_widget->setVisible(m_visible);
    return was;
}

BOOL CStatusBar::IsWindowVisible() const
{
    return m_visible && m_widget;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    for (size_t i = 1; i < m_panes.size(); ++i) {
        if (!m_panes[i].label)
            continue;
        PaneCmdUI ui(m_panes[i].label, m_panes[i].text, m_panes[i].id);
        ui.m_nIndex = int(i);
        ui.DoUpdate(target, disableIfNoHandler);
    }
}
