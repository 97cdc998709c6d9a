#pragma once
// The editing view inside the kernel's expression-input frame: it edits a
// free-standing paragraph list in which the user types the answer to a
// kernel question as two-dimensional mathematics. It keeps the base view's
// actions, undo step, Edit and Element commands and navigation keys; Enter
// confirms the question instead of breaking the paragraph, a line feed is
// typed as a blank, and a mouse gesture only ever moves the selection.
#include "app/CBaseView.h"

struct IntPoint;

class CCorvellDialogView : public CBaseView {
    DECLARE_DYNCREATE(CCorvellDialogView)
public:
    // The view takes the list (owned by the caller), lays it out and puts
    // the caret at the start of the first paragraph.
    void SetParagraphList(ParagraphList* paragraphs);

    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnInitialUpdate() override;

protected:
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    // Runs the action of an edit code; false for codes left to the framework.
    bool RunEditCode(int code, unsigned char key, int charSet, bool shift);

private:
    // The tracker of a press at a document point.
    MouseTracker* MakeTracker(const IntPoint& at, UINT flags);
};
