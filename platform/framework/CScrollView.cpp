#include "platform/framework/CScrollView.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

class ScrollViewWidget : public WndWidget<QAbstractScrollArea> {
public:
    ScrollViewWidget(CScrollView* owner, QWidget* parent) : WndWidget<QAbstractScrollArea>(owner, parent)
    {
        viewport()->setMouseTracking(true);
        viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
        setFrameShape(QFrame::NoFrame);
        connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
                [owner](int action) { owner->BarAction(SB_HORZ, action); });
        connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
                [owner](int action) { owner->BarAction(SB_VERT, action); });
    }

protected:
    bool viewportEvent(QEvent* e) override
    {
        DispatchScope scope;
        return QAbstractScrollArea::viewportEvent(e);
    }
    void scrollContentsBy(int, int) override
    {
        // The whole picture moves: the view draws it again.
        if (auto* view = dynamic_cast<CView*>(owner()))
            view->Invalidate(FALSE);
    }
};

QWidget* CScrollView::CreateViewWidget(QWidget* parent)
{
    return new ScrollViewWidget(this, parent);
}

QWidget* CScrollView::drawingWidget() const
{
    auto* area = qobject_cast<QAbstractScrollArea*>(m_widget);
    return area ? area->viewport() : nullptr;
}

QScrollBar* CScrollView::bar(int which) const
{
    auto* area = qobject_cast<QAbstractScrollArea*>(m_widget);
    if (!area)
        return nullptr;
    return which == SB_HORZ ? area->horizontalScrollBar() : area->verticalScrollBar();
}

void CScrollView::SetScrollSizes(int mapMode, CSize total, const CSize& page, const CSize& line)
{
    m_mapMode = mapMode;
    m_total = CSize(std::max(total.cx, 0), std::max(total.cy, 0));
    m_page = page == sizeDefault ? CSize(m_total.cx / 10, m_total.cy / 10) : page;
    m_line = line == sizeDefault ? CSize(m_page.cx / 10, m_page.cy / 10) : line;
    UpdateBars();
}

void CScrollView::GetDeviceScrollSizes(int& mapMode, CSize& total, CSize& page, CSize& line) const
{
    mapMode = m_mapMode;
    total = m_total;
    page = m_page;
    line = m_line;
}

void CScrollView::UpdateBars()
{
    QWidget* view = drawingWidget();
    if (!view)
        return;
    CRect client;
    GetClientRect(&client);
    for (int which : {SB_HORZ, SB_VERT}) {
        QScrollBar* b = bar(which);
        int total = which == SB_HORZ ? m_total.cx : m_total.cy;
        int visible = which == SB_HORZ ? client.Width() : client.Height();
        b->setRange(0, std::max(0, total - visible));
        b->setPageStep(std::max(1, which == SB_HORZ ? m_page.cx : m_page.cy));
        b->setSingleStep(std::max(1, which == SB_HORZ ? m_line.cx : m_line.cy));
    }
}

void CScrollView::OnSize(UINT, int, int)
{
    UpdateBars();
}

BOOL CScrollView::OnMouseWheel(UINT, short delta, CPoint)
{
    int lines = -delta / 40;  // 120 a notch: three lines
    return OnScrollBy(CSize(0, lines * std::max(1, m_line.cy)));
}

CPoint CScrollView::GetScrollPosition() const
{
    QScrollBar* h = bar(SB_HORZ);
    QScrollBar* v = bar(SB_VERT);
    return h && v ? CPoint(h->value(), v->value()) : CPoint();
}

void CScrollView::ScrollToPosition(CPoint position)
{
    if (QScrollBar* h = bar(SB_HORZ))
        h->setValue(position.x);
    if (QScrollBar* v = bar(SB_VERT))
        v->setValue(position.y);
}

BOOL CScrollView::OnScrollBy(CSize by, BOOL doScroll)
{
    CPoint before = GetScrollPosition();
    QScrollBar* h = bar(SB_HORZ);
    QScrollBar* v = bar(SB_VERT);
    if (!h || !v)
        return FALSE;
    int x = std::clamp(before.x + by.cx, h->minimum(), h->maximum());
    int y = std::clamp(before.y + by.cy, v->minimum(), v->maximum());
    if (x == before.x && y == before.y)
        return FALSE;
    if (doScroll)
        ScrollToPosition(CPoint(x, y));
    return TRUE;
}

BOOL CScrollView::GetScrollInfo(int which, SCROLLINFO* info, UINT mask) const
{
    QScrollBar* b = bar(which);
    if (!b || !info)
        return FALSE;
    info->fMask = mask;
    info->nMin = b->minimum();
    info->nMax = b->maximum() + b->pageStep() - 1;
    info->nPage = UINT(b->pageStep());
    info->nPos = b->value();
    info->nTrackPos = b->sliderPosition();
    return TRUE;
}

void CScrollView::BarAction(int which, int action)
{
    UINT code = SB_ENDSCROLL;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    QScrollBar* b = bar(which);
    UINT pos = UINT(b ? b->sliderPosition() : 0);
    if (which == SB_HORZ)
        OnHScroll(code, pos, nullptr);
    else
        OnVScroll(code, pos, nullptr);
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    // Deliberately leaves the origin alone: the program's drawing context
    // subtracts the scroll position itself (see the note at the top).
    CView::OnPrepareDC(dc, info);
}
