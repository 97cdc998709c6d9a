#pragma once
// The view of the editor's document template. On the base view it adds
// typed characters mapped to edit commands, mouse clicks dispatched by the
// component under the mouse, the mouse cursor, the Format, Display, Kernel,
// Drawing and Slides menus, find, spelling, page numbering, printing with
// page numbers, the slide show and the status-bar messages.
#include <memory>

#include "app/CBaseView.h"
#include "app/ChoiceMenu.h"
#include "app/DocumentViewSeam.h"
#include "foundation/LongWork.h"
#include "foundation/StyleKinds.h"

class CCorvellDoc;
class HeldMessages;
class DiagramComp;
class PageBreakList;
class SlideList;

class PlotComp;

class CCorvellView : public CBaseView, public DocumentViewSeam, public ChoiceTarget {
    DECLARE_DYNCREATE(CCorvellView)
public:
    enum : UINT {
        ID_FORMAT_PLAIN = 32601,
        ID_FORMAT_TYPEWRITER = 32605,
        ID_STYLE_TITLE = 32701,
        ID_STYLE_SUB_ITEMIZED = 32711,
        ID_DISPLAY_10 = 15000,
        ID_DISPLAY_18 = 15004,
        ID_DISPLAY_LARGER_EQUATIONS = 32790,
        ID_PAGE_NUMBERING = 32789,
        ID_TEXT_PREFERENCES = 34036,
        ID_FIND = 34013,
        ID_SPELL_SELECTION = 34113,
        ID_SPELL_DOCUMENT = 34114,
        ID_EVALUATE_CODE = 34037,
        ID_CHOICE_FIRST = 33000,
        ID_CHOICE_LAST = 34000,
        ID_DRAWING_HIDE_CONSTRAINTS = 34100,
        ID_DRAWING_SHOW_CONSTRAINTS = 34101,
        ID_DRAWING_HIDE_VERTICES = 34102,
        ID_DRAWING_SHOW_VERTICES = 34103,
        ID_DRAWING_UPDATE = 34104,
        ID_DRAWING_COLOR = 34105,
        ID_DRAWING_PROPERTIES = 34110,
        ID_DRAWING_TO_FRONT = 34111,
        ID_DRAWING_TO_BACK = 34112,
        ID_DRAWING_EQUATION_CONSTRAINT = 34124,
        ID_DRAWING_VARIABLE_VALUE = 34125,
        ID_SLIDE_NEW = 34115,
        ID_SLIDE_CLONE = 34116,
        ID_SLIDE_ADD = 34117,
        ID_SLIDE_DELETE_ALL = 34118,
        ID_SLIDE_ORGANIZE = 34119,
        ID_SLIDE_START = 34120,
        ID_SLIDE_NEXT = 34121,
        ID_SLIDE_PREVIOUS = 34122,
        ID_SLIDE_END = 34123,
    };
    // The display size a Display menu item chooses, and the item of a size.
    static int DisplaySizeOfCommand(UINT id) { return 159 - int(id & 0xFF); }
    static UINT CommandOfDisplaySize(int index) { return UINT(15007 - index); }
    // The style a new paragraph takes after Ctrl+Enter: text after a
    // formula, a plain equation after anything else.
    static int ToggledParagraphStyle(int style)
    {
        return style == StyleKind::kEquation || style == StyleKind::kNumberedEquation ? StyleKind::kPlain
                                                                                      : StyleKind::kEquation;
    }

    CCorvellView();
    ~CCorvellView() override;

    CCorvellDoc* GetDocument() const;
    SlideList* GetSlideList() const { return m_slides; }
    bool IsStatusShown() const { return m_statusShown; }

    // ---- DocumentViewSeam ----
    void SetParagraphList(ParagraphList* paragraphs) override;
    void SetSlideList(SlideList* slides) override { m_slides = slides; }
    void StoreFramePlacement(DisplayRecord& record) override;
    void ApplyFramePlacement(const DisplayRecord& record) override;
    void SetSelection(const DocSelection& selection, bool redraw) override;
    void ScrollToShow(const DocSelection& selection) override { CBaseView::ScrollToShow(selection); }

    // ---- the base view's operations ----
    void SetDisplaySize(int index) override;
    bool PerformAction(TAction* action) override;
    // ---- choice menus ----
    void OpenChoicePopup(const IntPoint& point) override;
    ChoiceMenu* GetChoiceMenu() const { return m_choiceMenu.get(); }
    void SetStatusText(const char* text, bool force) override;
    bool CanEdit() const override;
    TextComp* InsertMatrix() override;
    TextComp* InsertTable() override;
    TextComp* InsertEquationSet() override;
    TextComp* InsertSplitDefinition() override;
    void SetDocumentModified() override;

    // ---- status bar ----
    void ShowStatus(const char* text);
    // Writes one blank when a message of this view stands there (or always with force).
    void ClearStatus(bool force);

    // ---- the current drawing and plot (the component kinds arrive with
    // the drawing and plot code) ----
    TextComp* GetCurrentDrawing() const { return m_currentDrawing; }
    DiagramComp* GetEditedDrawing() const;
    PlotComp* GetSelectedPlot() const { return m_selectedPlot; }

    // ---- slide show ----
    void StartSlideShow();
    void NextSlide();
    void PreviousSlide();
    void EndSlideShow();

    // ---- framework ----
    void OnInitialUpdate() override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;
    const PageBreakList* GetPageBreaks() const { return m_pageBreaks.get(); }

    // Typed keys as the window delivers them (Shift and Ctrl are read from
    // the key state).
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;

protected:
    int GetOverscriptKind() const override;
    void StoreOverscriptKind(int kind) override;

    void OnLButtonDown(UINT flags, CPoint point) override;
    // The view drives the tracker until the button is released.
    void StartTracker(MouseTracker* tracker, const IntPoint& at);
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;

private:
    // A typed character: its code in a character set (text or mathematics).
    struct TypedKey {
        unsigned char code;
        int charSet;
    };
    // Runs the action an edit code names; false for codes with no action.
    bool RunEditCode(int code, TypedKey typed, bool shift, bool ctrl);
    void OnSlideShowChar(UINT ch, bool shift);
    // Puts a paragraph into an empty list.
    void EnsureParagraph();
    // A caret at the start of the first paragraph.
    void PlaceCaretAtStart();
    void RefreshSlide();
    // Lays out from a paragraph after a change made outside an action.
    void RelayoutFromSelection(const DocSelection& selection);
    // ---- plots ----
    // A press on a selected plot's buttons: true when it was one.
    bool OnPlotButtons(TextComp* comp, const IntPoint& at);
    // A press on a selected 3-D plot's picture starts the trackball.
    bool StartTrackball(TextComp* comp, const IntPoint& at);
    void ComputePlot(PlotComp& plot);
    bool EditPlotParameters(PlotComp& plot);
    void RelayoutPlot(PlotComp& plot);
    void OnSetPlotParameters();
    void ShowPlotButtons(TextComp* plot);

    void OnCharacterStyle(UINT id);
    void OnUpdateCharacterStyle(CCmdUI* ui);
    void OnParagraphStyle(UINT id);
    void OnUpdateParagraphStyle(CCmdUI* ui);
    void OnDisplaySize(UINT id);
    void OnUpdateDisplaySize(CCmdUI* ui);
    void OnLargerEquations();
    void OnUpdateLargerEquations(CCmdUI* ui);
    void OnPageNumbering();
    void OnTextPreferences();
    void OnFind();
    void OnSpellSelection();
    void OnUpdateSpellSelection(CCmdUI* ui);
    void OnSpellDocument();
    void OnUpdateEvaluateCode(CCmdUI* ui);
    void OnEvaluateCode();
    // ---- drawings ----
    void SetCurrentDrawing(DiagramComp* drawing);
    void ForgetCurrentDrawing();
    bool IsActiveDocumentView();
    void ShowDrawingBars();
    DiagramComp* SelectedDrawing() const;
    void OnDrawingDisplay(UINT id);
    void OnDrawingUpdate();
    void OnDrawingColorCommand();
    void OnDrawingPropertiesCommand();
    void OnDrawingInside(UINT id);
    void OnUpdateDrawingObject(CCmdUI* ui);
    void OnUpdateDrawingInside(CCmdUI* ui);
    void OnSlideCommand(UINT id);
    void OnUpdateSlideCommand(CCmdUI* ui);

    SlideList* m_slides = nullptr;
    std::unique_ptr<PageBreakList> m_pageBreaks;
    // The print job from its first page break to its last page, which shows
    // its progress and which the user may stop.
    std::unique_ptr<LongWork> m_printWork;
    bool m_statusShown = false;
    bool m_initialUpdateDone = false;
    PlotComp* m_selectedPlot = nullptr;
    TextComp* m_currentDrawing = nullptr;
    std::unique_ptr<ChoiceMenu> m_choiceMenu;
    // The messages held while a tracker runs.
    std::unique_ptr<HeldMessages> m_heldMessages;

    // The calculation of a selected formula with the kernel's choices for it,
    // or null when nothing is selected in a formula or the kernel is not ready.
    std::unique_ptr<ChoiceMenu> MakeChoiceMenu(const DocSelection& selection, const IntPoint* popupAt);
    void OnContextMenu(CWnd* wnd, CPoint screenPoint) override;
    void OnChooseAlternative(UINT id);
    void OnUpdateAlternative(CCmdUI* ui);
};
