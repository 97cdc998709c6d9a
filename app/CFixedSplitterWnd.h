#pragma once
// A static splitter whose panes touch: no visible bar between them, none to
// drag, and the plain arrow wherever the mouse is.
#include "platform/framework/CSplitterWnd.h"

class CFixedSplitterWnd : public CSplitterWnd {
    DECLARE_DYNAMIC(CFixedSplitterWnd)
public:
    CFixedSplitterWnd();

    // Fills the splitter's rectangle with the button face (without a device
    // context: asks for the rectangle to be repainted, children left alone).
    void OnDrawSplitter(CDC* dc, int type, const CRect& rect) override;
    // There is no tracker to show.
    void OnInvertTracker(const CRect&) override {}

protected:
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
};
