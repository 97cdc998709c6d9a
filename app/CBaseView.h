#pragma once
// The scrolling editing view shared by the document view and the editor view
// of the kernel query frame. It owns the selection highlight, the single undo
// step (the kept action and the typing action that later characters extend)
// and the active mouse tracker, and turns the Edit and Element menus, the
// element, symbol and drawing toolbars, navigation keys, mouse moves and timer
// ticks into actions that it runs through PerformAction.
//
// Coordinates: the document is laid out in document pixels; the view shows
// it from its scroll position. Drawing goes through the program's drawing
// context with this view as its target, which subtracts the scroll position.
#include <memory>
#include <optional>
#include <string>

#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/DrawTarget.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/FontIds.h"
#include "platform/framework/CScrollView.h"

class MouseTracker;
class SelectionHighlight;
class TAction;
class TTypingAction;
class TextComp;

class CBaseView : public CScrollView, public ActionView, public DrawTarget {
    DECLARE_DYNAMIC(CBaseView)
public:
    // View modes: editing, and the slide show (any mode but editing refuses edits).
    enum : int32_t { kEditMode = 0, kSlideShowMode = 2 };
    static constexpr uint8_t kDefaultDisplaySize = 5;
    // The math face, in which symbols are typed.
    static constexpr int kMathFace = FontId::kMath;

    // Edit menu commands.
    enum : UINT {
        ID_EDIT_COPY_METAFILE = 34010,
        ID_EDIT_COPY_MATHML = 34011,
        ID_EDIT_COPY_SVG = 34012,
        ID_EDIT_SELECT_ALL_ITEMS = 34014,
        ID_SET_PLOT_PARAMETERS = 34020,
        ID_LINK_PROPERTIES = 34021,
        ID_SYMBOL_FIRST = 32901,
        ID_SYMBOL_LAST = 32972,
        ID_DRAWING_TOOL_FIRST = 34050,
        ID_DRAWING_TOOL_LAST = 34069,
    };

    CBaseView();
    ~CBaseView() override;

    // ---- the view's own operations ----
    // Stores the size level, makes it the drawing context's base size and lays out again.
    virtual void SetDisplaySize(int index);
    void SetSelection(const DocSelection& selection, bool redraw) override;
    // Runs an action and keeps it as the undo step (the one before is
    // committed and dropped). Refused with a beep while a mouse drag runs;
    // an action that fails is dropped with a beep. Answers whether it was kept.
    virtual bool PerformAction(TAction* action);
    virtual void SetStatusText(const char* text, bool force);
    virtual bool CanEdit() const;
    // The element commands that ask first; null when cancelled.
    virtual TextComp* InsertMatrix();
    virtual TextComp* InsertTable();
    virtual TextComp* InsertEquationSet();
    virtual TextComp* InsertSplitDefinition();
    virtual TextComp* InsertOverscript();

    // ---- ActionView ----
    DocSelection GetSelection() const override;
    void ScrollToShow(const DocSelection& selection) override;
    void UpdateLayoutFrom(int paragraphIndex, int indexInParagraph) override { InsertParagraphs(paragraphIndex, indexInParagraph); }
    void SetDocumentModified() override {}
    void InvalidateSelection(const DocSelection& selection) override;
    void ShowSelection(const DocSelection& selection) override;
    ParagraphList* GetParagraphList() const override { return m_paragraphs; }

    // ---- DrawTarget ----
    CDC* CreateTargetDC() override;
    void PrepareTargetDC(CDC* dc) override { OnPrepareDC(dc); }
    IntPoint TargetScrollPosition() const override;
    int TargetSizeLevel() const override { return m_displaySize; }
    void InvalidateTargetRect(const Rect& rect, bool erase) override;
    void ShowTargetRect(const Rect& rect) override;

    // ---- layout and drawing ----
    // Long work (see LongWork) lays the document out: the window shows what
    // it showed until the work has ended.
    bool DrawingHeld() const override;
    void SetParagraphs(ParagraphList* paragraphs) { m_paragraphs = paragraphs; }
    // Lays out the whole list, recomputes the scroll sizes and sets the
    // selection again (scrolled into sight, not redrawn).
    void Relayout();
    // Lays out every paragraph again: in document order, or the current
    // slide's paragraphs stacked during a slide show.
    void LayOutAll();
    // Lays the list out again from a paragraph (1-based) and the index in it.
    void InsertParagraphs(int paragraphIndex, int indexInParagraph);
    void InvalidateCurrentSelection();
    // Invalidates, with a margin for a frame drawn round it, a region in document coordinates.
    void InvalidateFramedRegion(const Region& region);
    // Repaints the paragraphs meeting the region (document coordinates) and the highlight.
    void DrawRegion(const Region& region);
    void UpdateScrollSizes();
    // The document rectangle the client area shows.
    Rect GetVisibleRect() const;
    void HideCursorWhileTyping();
    // Styles a range with the font index, or starts typing in that font at a caret.
    void ReplaceSelection(const DocSelection& selection, int fontIndex);
    void OnDraw(CDC* dc) override;
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;

    // ---- state ----
    int32_t GetViewMode() const { return m_viewMode; }
    void SetViewMode(int32_t mode) { m_viewMode = mode; }
    int GetDisplaySize() const { return m_displaySize; }
    MouseTracker* GetTracker() const { return m_tracker; }
    TAction* GetKeptAction() const { return m_actions.GetKept(); }
    TTypingAction* GetTypingAction() const { return m_actions.GetTyping(); }
    // Later characters start a new typing action (a click moved the caret).
    void ClearTypingAction() { m_actions.ClearTyping(); }
    SelectionHighlight& GetHighlight() const { return *m_highlight; }
    bool IsCursorVisible() const { return m_cursorVisible; }
    // The selection is a paragraph's number label (first index 0, second 1):
    // no typing, cutting or pasting there.
    static bool IsLabelSelection(const DocSelection& selection);

    // Copy as MathML and Copy as SVG need the writers of the export code;
    // they stay disabled until these are installed.
    static void SetCopyWritersAvailable(bool mathml, bool svg);

protected:
    // The menu of the Undo item and the view mode that allows copying.
    void OnEditUndo();
    void OnUpdateEditUndo(CCmdUI* ui);
    void OnEditCut();
    void OnUpdateEditCut(CCmdUI* ui);
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI* ui);
    void OnCopyAs(UINT id);
    void OnUpdateCopyAs(CCmdUI* ui);
    void OnEditPaste();
    void OnUpdateEditPaste(CCmdUI* ui);
    void OnSelectAll();
    void OnUpdateEditMode(CCmdUI* ui);
    void OnElement(UINT id);
    void OnUpdateElement(CCmdUI* ui);
    void OnSymbol(UINT id);
    void OnDrawingTool(UINT id);
    void OnUpdateDrawingTool(CCmdUI* ui);
    void OnInsertItem(UINT id);
    void OnUpdateInsertItem(CCmdUI* ui);
    void OnLinkProperties();
    void OnUpdateLinkProperties(CCmdUI* ui);
    void OnUpdateSetPlotParameters(CCmdUI* ui);

    // Typing a character given as its code in a character set: it goes into
    // the face being typed in when that face shows it, else into the face
    // that holds it (a new typing action then starts); a character that no
    // face holds beeps.
    void TypeCharacter(unsigned char code, int charSet);
    // A new typing action in a face, performed and kept as the typing action.
    bool StartTyping(TTypingAction* typing);

    // Asks the sizes of a new grid or the entries of a new equation set or
    // split definition; false when cancelled.
    static bool AskMatrixSize(int& rows, int& columns);
    static bool AskTableSize(int& rows, int& columns);
    static bool AskEquationSetSize(int& entries);
    static bool AskSplitDefinitionSize(int& entries);
    // The stored overscript kind of the document, and where a new one is kept.
    virtual int GetOverscriptKind() const;
    virtual void StoreOverscriptKind(int kind) {}

    // Navigation keys, mouse moves with a tracker, timer ticks, sizing.
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    // A gesture whose capture is taken away, or that moves on without its
    // button, ends where it was: its release will not come.
    void OnCaptureChanged(CWnd* newCapture) override;
    void EndUnreleasedGesture();
    void OnTimer(UINT_PTR id) override;
    void OnSize(UINT type, int cx, int cy) override;
    // A cursor hidden while typing is shown again when the view goes.
    void OnDestroy() override;

    // The scroll margin: one font size in pixels.
    int ScrollMargin() const;
    IntPoint ToDocument(const CPoint& client) const;
    // A double click at a caret selects the word there (the word before the
    // caret when the click lies left of it); nothing over a selected range.
    void SelectWordAt(CPoint point);

    // Commits and deletes the kept action.
    void DropKeptAction() { m_actions.Drop(); }
    void DropUndoStep() override { DropKeptAction(); }

    int32_t m_viewMode = kEditMode;
    MouseTracker* m_tracker = nullptr;
    // Where the tracker was last taken (the press, then each move), in
    // document coordinates.
    IntPoint m_trackerAt;
    // A release that arrived while a step of the tracker ran waits here
    // until the step has returned.
    struct PendingRelease {
        UINT flags;
        CPoint point;
    };
    std::optional<PendingRelease> m_pendingRelease;
    int m_trackerSteps = 0;
    // A release while a step of the tracker runs waits for the step to
    // return: true when it was kept for then.
    bool DeferReleaseDuringStep(UINT flags, CPoint point);
    // Runs one step of the tracker, then a release that came meanwhile.
    template <typename Step>
    void RunTrackerStep(Step step);
    std::unique_ptr<SelectionHighlight> m_highlight;
    ActionHost m_actions{*this};
    ParagraphList* m_paragraphs = nullptr;
    uint8_t m_displaySize = kDefaultDisplaySize;
    bool m_cursorVisible = true;

private:
    void DropPileOfThisView();
    std::string m_undoText;
    static bool s_mathmlWriter;
    static bool s_svgWriter;
};
