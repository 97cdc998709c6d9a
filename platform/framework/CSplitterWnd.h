#pragma once
// A static splitter: a grid of panes, each holding a view made from a runtime
// class. Rows set with SetRowInfo keep their ideal height; the last row takes
// what is left. The bars between panes are m_cySplitter / m_cxSplitter wide
// and cannot be dragged.
#include <vector>

#include "platform/framework/CWnd.h"

class CView;
class QGridLayout;
struct CCreateContext;

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    BOOL CreateStatic(CWnd* parent, int rows, int columns, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = AFX_IDW_PANE_FIRST);
    BOOL CreateView(int row, int column, const CRuntimeClass* viewClass, CSize initialSize,
                    CCreateContext* context);
    void SetRowInfo(int row, int ideal, int minimum);
    void SetColumnInfo(int column, int ideal, int minimum);
    CWnd* GetPane(int row, int column) const;
    void SetActivePane(int row, int column, CWnd* wnd = nullptr);
    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_columns; }
    virtual void RecalcLayout();

    // Overridable looks (kept for derived splitters; the layer draws no bars).
    virtual void OnDrawSplitter(CDC* dc, int type, const CRect& rect) {}
    virtual void OnInvertTracker(const CRect& rect) {}

    int m_cxSplitter = 0, m_cySplitter = 0;
    int m_cxBorderShare = 0, m_cyBorderShare = 0;
    int m_cxSplitterGap = 0, m_cySplitterGap = 0;
    int m_cxBorder = 0, m_cyBorder = 0;

protected:
    void PostNcDestroy() override {}

private:
    int m_rows = 0, m_columns = 0;
    std::vector<int> m_rowIdeal, m_columnIdeal;
    std::vector<CWnd*> m_panes;
    QGridLayout* m_layout = nullptr;
};
