#include "platform/framework/CToolBar.h"

#include <QGridLayout>
#include <QToolButton>

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/ResourceStore.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

class ToolButtonCmdUI : public CCmdUI {
public:
    explicit ToolButtonCmdUI(QToolButton* button, UINT id) : m_button(button) { m_nID = id; }
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        m_button->setEnabled(on != FALSE);
    }
    void SetCheck(int check) override
    {
        CCmdUI::SetCheck(check);
        m_button->setCheckable(true);
        m_button->setChecked(check != 0);
    }

private:
    QToolButton* m_button;
};

}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    auto* frame = dynamic_cast<CFrameWnd*>(parent);
    CreateBarWidget(frame, style, id);
    m_layout = new QGridLayout(m_widget);
    m_layout->setContentsMargins(1, 1, 1, 1);
    m_layout->setSpacing(0);
    m_visible = (style & WS_VISIBLE) != 0;
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    const ToolBarTemplate* t = ResourceStore::instance().toolbar(resourceId);
    if (!t || !m_widget)
        return FALSE;
    QImage strip = ResourceStore::instance().image(t->image);
    int imageIndex = 0;
    for (UINT id : t->buttons) {
        Button b;
        b.id = id;
        if (id == 0) {
            b.style = TBBS_SEPARATOR;
        } else {
            auto* button = new QToolButton(m_widget);
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            QRect cell(imageIndex * t->buttonWidth, 0, t->buttonWidth, t->buttonHeight);
            if (!strip.isNull() && strip.rect().contains(cell)) {
                button->setIcon(QIcon(QPixmap::fromImage(strip.copy(cell))));
                button->setIconSize(QSize(t->buttonWidth, t->buttonHeight));
            } else {
                auto label = t->labels.find(id);
                button->setText(label != t->labels.end() ? label->second : QString::number(id));
            }
            ++imageIndex;
            CString tip;
            if (tip.LoadString(id) && tip.Find('\n') >= 0)
                button->setToolTip(ToQString(tip.Mid(tip.Find('\n') + 1)));
            QObject::connect(button, &QToolButton::clicked, button, [this, id] {
                if (m_frame)
                    m_frame->OnCmdMsgFromUser(id);
            });
            b.widget = button;
        }
        m_buttons.push_back(b);
    }
    Relayout();
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[size_t(index)].id : 0;
}

int CToolBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_buttons[size_t(i)].id == id)
            return i;
    return -1;
}

UINT CToolBar::GetButtonStyle(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[size_t(index)].style : 0;
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    if (index < 0 || index >= GetCount())
        return;
    m_buttons[size_t(index)].style = style;
    Relayout();
}

QToolButton* CToolBar::GetButton(int index) const
{
    return index >= 0 && index < GetCount() ? m_buttons[size_t(index)].widget.data() : nullptr;
}

void CToolBar::Relayout()
{
    if (!m_layout)
        return;
    for (const Button& b : m_buttons)
        if (b.widget)
            m_layout->removeWidget(b.widget);
    bool wrap = m_floating || m_dockStyle == 0;
    int row = 0, column = 0;
    for (const Button& b : m_buttons) {
        if (b.widget) {
            m_layout->addWidget(b.widget, row, column++);
        } else if (!wrap) {
            m_layout->setColumnMinimumWidth(column++, 6);
        }
        if (wrap && (b.style & TBBS_WRAPPED)) {
            ++row;
            column = 0;
        }
    }
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    int index = 0;
    for (const Button& b : m_buttons) {
        if (b.widget) {
            ToolButtonCmdUI ui(b.widget, b.id);
            ui.m_nIndex = index;
            ui.DoUpdate(target, disableIfNoHandler);
        }
        ++index;
    }
}
