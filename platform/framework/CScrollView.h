#pragma once
// A view that scrolls over a document larger than its window (over
// QAbstractScrollArea; the viewport shows the drawing and gets the mouse).
// Scroll sizes are in pixels (MM_TEXT); the page and line steps default to a
// tenth of the total and of the page.
//
// Coordinates: OnPrepareDC does NOT move the context's origin by the scroll
// position. The program's drawing context subtracts the scroll position
// itself, so doing it here too would apply it twice.
#include "platform/framework/CView.h"

class QScrollBar;

enum : int { MM_TEXT = 1 };

// The sizes that mean "the default step".
inline const CSize sizeDefault(0, 0);

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
enum : UINT { SIF_RANGE = 1, SIF_PAGE = 2, SIF_POS = 4, SIF_TRACKPOS = 16, SIF_ALL = 23 };

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    void SetScrollSizes(int mapMode, CSize total, const CSize& page = sizeDefault,
                        const CSize& line = sizeDefault);
    CSize GetTotalSize() const { return m_total; }
    void GetDeviceScrollSizes(int& mapMode, CSize& total, CSize& page, CSize& line) const;
    CPoint GetScrollPosition() const;
    void ScrollToPosition(CPoint position);
    // Scrolls by an amount, clamped to the scroll range; true when the
    // position changed.
    virtual BOOL OnScrollBy(CSize by, BOOL doScroll = TRUE);
    // Scroll-bar actions by code (SB_...). The bar has moved already; the
    // base version does nothing more.
    virtual BOOL OnScroll(UINT scrollCode, UINT pos, BOOL doScroll = TRUE) { return TRUE; }
    virtual void OnHScroll(UINT code, UINT pos, void* bar) {}
    virtual void OnVScroll(UINT code, UINT pos, void* bar) {}
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;

    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;
    QWidget* drawingWidget() const override;

protected:
    QWidget* CreateViewWidget(QWidget* parent) override;
    void OnSize(UINT type, int cx, int cy) override;
    // The wheel scrolls three lines a notch.
    BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint) override;
    void UpdateBars();
    QScrollBar* bar(int which) const;

private:
    friend class ScrollViewWidget;
    void BarAction(int which, int action);
    CSize m_total{0, 0};
    CSize m_page{0, 0};
    CSize m_line{0, 0};
    int m_mapMode = MM_TEXT;
};
