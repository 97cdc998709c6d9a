#include "platform/framework/CSplitterWnd.h"

#include <QGridLayout>

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int columns, DWORD, UINT id)
{
    if (!parent || !parent->widget() || rows < 1 || columns < 1)
        return FALSE;
    auto* w = new WndWidget<QWidget>(this, parent->widget());
    w->setNativeBehaviour(true);
    SetWidget(w, true);
    m_controlId = int(id);
    m_rows = rows;
    m_columns = columns;
    m_rowIdeal.assign(size_t(rows), -1);
    m_columnIdeal.assign(size_t(columns), -1);
    m_panes.assign(size_t(rows * columns), nullptr);
    m_layout = new QGridLayout(w);
    m_layout->setContentsMargins(m_cxBorder, m_cyBorder, m_cxBorder, m_cyBorder);
    if (auto* frame = dynamic_cast<CFrameWnd*>(parent))
        frame->SetClientWidget(w);
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int column, const CRuntimeClass* viewClass, CSize initialSize,
                              CCreateContext* context)
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns || !viewClass)
        return FALSE;
    CObject* object = viewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(object);
    if (!view) {
        delete object;
        return FALSE;
    }
    if (!view->Create(this, UINT(AFX_IDW_PANE_FIRST + row * 16 + column), context)) {
        delete view;
        return FALSE;
    }
    m_panes[size_t(row * m_columns + column)] = view;
    m_layout->addWidget(view->widget(), row, column);
    if (m_rowIdeal[size_t(row)] < 0 && initialSize.cy > 0)
        m_rowIdeal[size_t(row)] = initialSize.cy;
    view->widget()->show();
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int)
{
    if (row >= 0 && row < m_rows)
        m_rowIdeal[size_t(row)] = ideal;
}

void CSplitterWnd::SetColumnInfo(int column, int ideal, int)
{
    if (column >= 0 && column < m_columns)
        m_columnIdeal[size_t(column)] = ideal;
}

CWnd* CSplitterWnd::GetPane(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return nullptr;
    return m_panes[size_t(row * m_columns + column)];
}

void CSplitterWnd::SetActivePane(int row, int column, CWnd* wnd)
{
    CWnd* pane = wnd ? wnd : GetPane(row, column);
    if (!pane)
        return;
    pane->SetFocus();
    if (auto* view = dynamic_cast<CView*>(pane))
        if (CFrameWnd* frame = GetParentFrame())
            frame->SetActiveView(view);
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_layout)
        return;
    m_layout->setHorizontalSpacing(m_cxSplitter + m_cxSplitterGap - 1 > 0 ? m_cxSplitter : 0);
    m_layout->setVerticalSpacing(m_cySplitter + m_cySplitterGap - 1 > 0 ? m_cySplitter : 0);
    for (int r = 0; r < m_rows; ++r) {
        bool last = r == m_rows - 1;
        m_layout->setRowStretch(r, last ? 1 : 0);
        for (int c = 0; c < m_columns; ++c)
            if (CWnd* pane = GetPane(r, c); pane && pane->widget()) {
                if (!last && m_rowIdeal[size_t(r)] >= 0)
                    pane->widget()->setFixedHeight(m_rowIdeal[size_t(r)]);
                else
                    pane->widget()->setMinimumHeight(std::max(0, m_rowIdeal[size_t(r)]));
            }
    }
}
