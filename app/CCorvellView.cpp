#include "app/CCorvellView.h"

#include <QTimer>
#include <algorithm>
#include <memory>

#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/DrawingDialogCommands.h"
#include "app/DisplayRecord.h"
#include "app/InsertSizesRecord.h"
#include "app/EditCodeActions.h"
#include "app/PageBreakList.h"
#include "app/SlideList.h"
#include "app/TermDragTracker.h"
#include "app/TFollowLinkAction.h"
#include "app/dialogs/CCreateOverscriptDialog.h"
#include "app/dialogs/CEntryCountDialog.h"
#include "app/dialogs/CRowsColumnsDialog.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawingEditActions.h"
#include "foundation/ArrowKeyActions.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/FieldActions.h"
#include "foundation/KeyCodes.h"
#include "foundation/MouseTracker.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/SelectionHighlight.h"
#include "foundation/SelectionTracker.h"
#include "foundation/StyleKinds.h"
#include "foundation/TDeleteAction.h"
#include "foundation/TNewParagraphAction.h"
#include "foundation/TRemoveParagraphBreakAction.h"
#include "foundation/TextComp.h"
#include "kernel/KernelLink.h"
#include "math/EquationSetComp.h"
#include "math/HyperlinkComp.h"
#include "math/MatrixComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/TableComp.h"
#include "platform/HeldMessages.h"
#include "platform/UserInterface.h"
#include "plot/PlotComp.h"
#include "platform/draw/TextCodec.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/Cursors.h"

#include <QMdiArea>

IMPLEMENT_DYNCREATE(CCorvellView, CBaseView)

namespace {

// The hand over references, links and a plot's buttons.
constexpr UINT kHandCursor = 168;

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }

bool KernelBusy()
{
    KernelLink* link = KernelLink::Get();
    return link && link->IsBusy();
}

// The style of the paragraph holding the caret, or -1 without one.
int CaretParagraphStyle(const DocSelection& selection)
{
    ParagraphComp* paragraph = selection.GetEnd().GetParagraphComp();
    return paragraph ? paragraph->GetStyleKind() : -1;
}

} // namespace

CCorvellView::CCorvellView()
{
    MapCommandRange(ID_FORMAT_PLAIN, ID_FORMAT_TYPEWRITER, &CCorvellView::OnCharacterStyle);
    MapUpdateRange(ID_FORMAT_PLAIN, ID_FORMAT_TYPEWRITER, &CCorvellView::OnUpdateCharacterStyle);
    MapCommandRange(ID_STYLE_TITLE, ID_STYLE_SUB_ITEMIZED, &CCorvellView::OnParagraphStyle);
    MapUpdateRange(ID_STYLE_TITLE, ID_STYLE_SUB_ITEMIZED, &CCorvellView::OnUpdateParagraphStyle);
    MapCommandRange(ID_DISPLAY_10, ID_DISPLAY_18, &CCorvellView::OnDisplaySize);
    MapUpdateRange(ID_DISPLAY_10, ID_DISPLAY_18, &CCorvellView::OnUpdateDisplaySize);
    MapCommand(ID_DISPLAY_LARGER_EQUATIONS, &CCorvellView::OnLargerEquations);
    MapCommand(ID_SET_PLOT_PARAMETERS, &CCorvellView::OnSetPlotParameters);
    MapUpdate(ID_DISPLAY_LARGER_EQUATIONS, &CCorvellView::OnUpdateLargerEquations);
    MapCommand(ID_PAGE_NUMBERING, &CCorvellView::OnPageNumbering);
    MapUpdate(ID_PAGE_NUMBERING, &CCorvellView::OnUpdateEditMode);
    MapCommand(ID_TEXT_PREFERENCES, &CCorvellView::OnTextPreferences);
    MapUpdate(ID_TEXT_PREFERENCES, &CCorvellView::OnUpdateEditMode);
    MapCommand(ID_FIND, &CCorvellView::OnFind);
    MapUpdate(ID_FIND, &CCorvellView::OnUpdateEditMode);
    MapCommand(ID_SPELL_SELECTION, &CCorvellView::OnSpellSelection);
    MapUpdate(ID_SPELL_SELECTION, &CCorvellView::OnUpdateSpellSelection);
    MapCommand(ID_SPELL_DOCUMENT, &CCorvellView::OnSpellDocument);
    MapUpdate(ID_SPELL_DOCUMENT, &CCorvellView::OnUpdateEditMode);
    MapCommand(ID_EVALUATE_CODE, &CCorvellView::OnEvaluateCode);
    MapCommandRange(ID_CHOICE_FIRST, ID_CHOICE_FIRST + ChoiceMenu::kMaxAlternatives - 1, &CCorvellView::OnChooseAlternative);
    MapUpdateRange(ID_CHOICE_FIRST, ID_CHOICE_FIRST + ChoiceMenu::kMaxAlternatives - 1, &CCorvellView::OnUpdateAlternative);
    MapUpdate(ID_EVALUATE_CODE, &CCorvellView::OnUpdateEvaluateCode);
    MapCommandRange(ID_DRAWING_HIDE_CONSTRAINTS, ID_DRAWING_SHOW_VERTICES, &CCorvellView::OnDrawingDisplay);
    MapCommandRange(ID_DRAWING_TO_FRONT, ID_DRAWING_TO_BACK, &CCorvellView::OnDrawingDisplay);
    MapCommand(ID_DRAWING_UPDATE, &CCorvellView::OnDrawingUpdate);
    MapCommand(ID_DRAWING_COLOR, &CCorvellView::OnDrawingColorCommand);
    MapCommand(ID_DRAWING_PROPERTIES, &CCorvellView::OnDrawingPropertiesCommand);
    MapCommandRange(ID_DRAWING_EQUATION_CONSTRAINT, ID_DRAWING_VARIABLE_VALUE, &CCorvellView::OnDrawingInside);
    MapUpdateRange(ID_DRAWING_HIDE_CONSTRAINTS, ID_DRAWING_COLOR, &CCorvellView::OnUpdateDrawingObject);
    MapUpdateRange(ID_DRAWING_PROPERTIES, ID_DRAWING_TO_BACK, &CCorvellView::OnUpdateDrawingObject);
    MapUpdateRange(ID_DRAWING_EQUATION_CONSTRAINT, ID_DRAWING_VARIABLE_VALUE, &CCorvellView::OnUpdateDrawingInside);
    MapCommandRange(ID_SLIDE_NEW, ID_SLIDE_END, &CCorvellView::OnSlideCommand);
    MapUpdateRange(ID_SLIDE_NEW, ID_SLIDE_END, &CCorvellView::OnUpdateSlideCommand);
}

// The bars keep no pointer into a drawing of a closed window.
CCorvellView::~CCorvellView()
{
    ForgetCurrentDrawing();
}

CCorvellDoc* CCorvellView::GetDocument() const
{
    return dynamic_cast<CCorvellDoc*>(m_pDocument);
}

// ---- DocumentViewSeam ----

// New contents: the undo step and the selection belong to the old ones.
void CCorvellView::SetParagraphList(ParagraphList* paragraphs)
{
    ForgetCurrentDrawing();
    m_selectedPlot = nullptr;
    DropKeptAction();
    m_highlight->SetSelection(DocSelection(), false);
    SetParagraphs(paragraphs);
    if (!m_initialUpdateDone || !paragraphs)
        return;
    DrawTargetScope draw(this);
    EnsureParagraph();
    paragraphs->RelayoutAll(false);
    UpdateScrollSizes();
    PlaceCaretAtStart();
    Invalidate(TRUE);
}

void CCorvellView::StoreFramePlacement(DisplayRecord& record)
{
    auto* frame = dynamic_cast<CMDIChildWnd*>(GetParentFrame());
    WINDOWPLACEMENT placement;
    if (!frame || !frame->GetWindowPlacement(&placement))
        return;
    record.left = placement.rcNormalPosition.left;
    record.top = placement.rcNormalPosition.top;
    record.right = placement.rcNormalPosition.right;
    record.bottom = placement.rcNormalPosition.bottom;
}

void CCorvellView::ApplyFramePlacement(const DisplayRecord& record)
{
    auto* frame = dynamic_cast<CMDIChildWnd*>(GetParentFrame());
    if (!frame)
        return;
    CRect area(0, 0, 0x7FFF, 0x7FFF);
    if (CMDIFrameWnd* main = frame->GetMDIFrame(); main && main->mdiArea()) {
        QSize size = main->mdiArea()->viewport()->size();
        area = CRect(0, 0, size.width(), size.height());
    }
    CRect r(std::max(record.left, area.left), std::max(record.top, area.top), std::min(record.right, area.right),
            std::min(record.bottom, area.bottom));
    // A rectangle lying wholly outside the area keeps its size at the
    // area's top-left corner rather than becoming an empty window.
    if (r.right <= r.left || r.bottom <= r.top) {
        // Sizes from a file may be anything: computed wide.
        const int width = int(std::clamp<int64_t>(int64_t(record.right) - record.left, 1, std::max(1, area.Width())));
        const int height = int(std::clamp<int64_t>(int64_t(record.bottom) - record.top, 1, std::max(1, area.Height())));
        r = CRect(area.left, area.top, area.left + width, area.top + height);
    }
    WINDOWPLACEMENT placement;
    frame->GetWindowPlacement(&placement);
    placement.rcNormalPosition = r;
    placement.showCmd = SW_SHOWNORMAL;
    frame->SetWindowPlacement(&placement);
}

// The selection decides which drawing is being edited and which plot is
// selected: the nearest of them enclosing the selection's start.
void CCorvellView::SetSelection(const DocSelection& selection, bool redraw)
{
    CBaseView::SetSelection(selection, redraw);
    TextComp* drawing = nullptr;
    TextComp* plot = nullptr;
    if (selection.GetKind() == DocPosition::kListPlace) {
        for (CompList* list = selection.First().GetList(); list;) {
            TextComp* owner = list->GetOwner();
            if (!owner || owner->Tag() == tag_Para)
                break;
            if (owner->IsDiagram()) {
                drawing = owner;
                break;
            }
            if (owner->IsPlot()) {
                plot = owner;
                break;
            }
            list = owner->GetOwner();
        }
    } else if (selection.GetKind() == DocPosition::kWholeObject) {
        TextComp* object = selection.First().GetObject();
        if (object && object->IsPlot())
            plot = object;
        else if (object && object->IsDiagram())
            drawing = object;
    }
    SetCurrentDrawing(static_cast<DiagramComp*>(drawing));
    ShowPlotButtons(plot);
    // A formula just selected offers the kernel's choices to the keyboard.
    m_choiceMenu = redraw ? MakeChoiceMenu(selection, nullptr) : nullptr;
    if (m_choiceMenu)
        m_choiceMenu->Show(*this);
}

// ---- the base view's operations ----

void CCorvellView::SetDisplaySize(int index)
{
    CBaseView::SetDisplaySize(index);
    if (CCorvellDoc* doc = GetDocument())
        doc->GetDisplayRecord().displaySize = GetDisplaySize();
}

bool CCorvellView::PerformAction(TAction* action)
{
    ClearStatus(true);
    return CBaseView::PerformAction(action);
}

void CCorvellView::SetStatusText(const char* text, bool)
{
    UserInterface::Current().SetStatusText(ToQString(CString(text)).toStdString());
}

bool CCorvellView::CanEdit() const
{
    return m_viewMode == kEditMode && !KernelBusy();
}

void CCorvellView::SetDocumentModified()
{
    if (m_pDocument)
        m_pDocument->SetModifiedFlag(TRUE);
}

namespace {

// The element dialogs start from the document's stored sizes and store the
// confirmed ones: rows and columns are shared by matrix and table, entries by
// equation set and split definition. A stored size the dialogs would refuse
// (a damaged file) starts them at the nearest size they accept.
int AcceptedGridCount(int stored)
{
    return std::clamp(stored, int(CRowsColumnsDialog::kMinCount), int(CRowsColumnsDialog::kMaxCount));
}

int AcceptedEntryCount(int stored)
{
    return std::clamp(stored, int(CEntryCountDialog::kMinCount), int(CEntryCountDialog::kMaxCount));
}

template <class Grid>
TextComp* InsertGrid(InsertSizesRecord& sizes, bool (*ask)(int&, int&))
{
    int rows = AcceptedGridCount(sizes.rows), columns = AcceptedGridCount(sizes.columns);
    if (!ask(rows, columns))
        return nullptr;
    sizes.rows = int16_t(rows);
    sizes.columns = int16_t(columns);
    return new Grid(columns, rows);
}

template <class Lines>
TextComp* InsertLines(InsertSizesRecord& sizes, bool (*ask)(int&))
{
    int entries = AcceptedEntryCount(sizes.entries);
    if (!ask(entries))
        return nullptr;
    sizes.entries = int16_t(entries);
    return new Lines(entries);
}

} // namespace

TextComp* CCorvellView::InsertMatrix()
{
    CCorvellDoc* doc = GetDocument();
    return doc ? InsertGrid<MatrixComp>(doc->GetInsertSizes(), &AskMatrixSize) : CBaseView::InsertMatrix();
}

TextComp* CCorvellView::InsertTable()
{
    CCorvellDoc* doc = GetDocument();
    return doc ? InsertGrid<TableComp>(doc->GetInsertSizes(), &AskTableSize) : CBaseView::InsertTable();
}

TextComp* CCorvellView::InsertEquationSet()
{
    CCorvellDoc* doc = GetDocument();
    return doc ? InsertLines<EquationSetComp>(doc->GetInsertSizes(), &AskEquationSetSize)
               : CBaseView::InsertEquationSet();
}

TextComp* CCorvellView::InsertSplitDefinition()
{
    CCorvellDoc* doc = GetDocument();
    return doc ? InsertLines<SplitDefinitionComp>(doc->GetInsertSizes(), &AskSplitDefinitionSize)
               : CBaseView::InsertSplitDefinition();
}

int CCorvellView::GetOverscriptKind() const
{
    CCorvellDoc* doc = GetDocument();
    // A stored kind that no button stands for (a damaged file) is not used.
    if (!doc || CCreateOverscriptDialog::ButtonOfKind(doc->GetOverscriptKind().code) == 0)
        return CBaseView::GetOverscriptKind();
    return doc->GetOverscriptKind().code;
}

void CCorvellView::StoreOverscriptKind(int kind)
{
    if (CCorvellDoc* doc = GetDocument())
        doc->GetOverscriptKind().code = uint8_t(kind);
}

// ---- status bar ----

void CCorvellView::ShowStatus(const char* text)
{
    SetStatusText(text, false);
    m_statusShown = true;
}

void CCorvellView::ClearStatus(bool force)
{
    if (m_statusShown || force)
        SetStatusText(" ", false);
    m_statusShown = false;
}

// ---- first update and activation ----

void CCorvellView::EnsureParagraph()
{
    // A document without paragraphs (read from an empty file) still needs a
    // place for the caret.
    if (m_paragraphs && m_paragraphs->GetCount() == 0)
        m_paragraphs->Append(new ParagraphComp(CCorvellDoc::kNewParagraphStyle));
}

void CCorvellView::PlaceCaretAtStart()
{
    if (!m_paragraphs || m_paragraphs->GetCount() == 0)
        return;
    DocPosition start = m_paragraphs->PositionAt(1);
    SetSelection(DocSelection(start, start), false);
}

void CCorvellView::OnInitialUpdate()
{
    SetScrollSizes(MM_TEXT, CSize(1000, 4000));
    if (m_paragraphs) {
        DrawTargetScope draw(this);
        CCorvellDoc* doc = GetDocument();
        if (doc && doc->GetLargerEquations())
            m_paragraphs->SetEquationSizeStep(true);
        if (doc && doc->GetDisplayRecord().displaySize != m_displaySize) {
            m_displaySize = doc->GetDisplayRecord().displaySize;
            gDrawContext.SetBaseSize(m_displaySize);
        }
        EnsureParagraph();
        m_paragraphs->RelayoutAll(false);
        UpdateScrollSizes();
        PlaceCaretAtStart();
    }
    m_initialUpdateDone = true;
    ClearStatus(true);
    if (CFrameWnd* frame = GetParentFrame())
        frame->ShowWindow(SW_SHOWMAXIMIZED);
    Invalidate(TRUE);
}

void CCorvellView::OnActivateView(BOOL activate, CView*, CView*)
{
    m_highlight->SetMode(activate ? SelectionHighlight::kActiveMode : SelectionHighlight::kInactiveMode);
    if (m_paragraphs && GetSafeHwnd()) {
        DrawTargetScope draw(this);
        m_highlight->SetSelection(GetSelection(), true);
    }
    // The drawing bars follow the drawing of the active window.
    if (DiagramComp* drawing = GetEditedDrawing()) {
        DrawTargetScope draw(this);
        if (activate) {
            drawing->RecomputePlots(true);
        } else {
            drawing->SetActive(false);
            drawing->InvalidateBox();
        }
        if (activate)
            ShowDrawingBars();
        else if (gMainFrame && gMainFrame->GetDrawing() == drawing)
            gMainFrame->HideDrawingBars();
    }
}

// ---- typed keys ----

void CCorvellView::OnKeyDown(UINT vk, UINT repeat, UINT flags)
{
    // Escape while the kernel computes asks it to stop.
    if (vk == VK_ESCAPE && KernelBusy()) {
        KernelLink::Get()->AbortEvaluation();
        return;
    }
    if (m_viewMode != kSlideShowMode) {
        CBaseView::OnKeyDown(vk, repeat, flags);
        return;
    }
    switch (vk) {
    case VK_LEFT: PreviousSlide(); break;
    case VK_RIGHT: NextSlide(); break;
    // Space and Esc act as characters; modifier keys alone do nothing.
    case VK_SPACE:
    case VK_ESCAPE:
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
        break;
    default: MessageBeep(0); break;
    }
}

// In a show only space (Shift+space) and Esc act; other keys have beeped
// once already, as they went down.
void CCorvellView::OnSlideShowChar(UINT ch, bool shift)
{
    if (ch == ' ') {
        if (shift)
            PreviousSlide();
        else
            NextSlide();
    } else if (ch == KeyCode::kEscape) {
        EndSlideShow();
    }
}

void CCorvellView::OnChar(UINT ch, UINT, UINT flags)
{
    const bool shift = ShiftDown();
    const bool ctrl = CtrlDown();
    if (m_viewMode == kSlideShowMode) {
        OnSlideShowChar(ch, shift);
        return;
    }
    if (!m_paragraphs)
        return;
    ClearStatus(true);
    if (m_choiceMenu && m_choiceMenu->OnKey(static_cast<int>(ch), shift, ctrl))
        return;
    DocSelection selection = GetSelection();
    if (IsLabelSelection(selection)) {
        MessageBeep(0);
        return;
    }
    // Keys are dropped while the kernel computes.
    if (KernelBusy()) {
        MessageBeep(0);
        return;
    }
    if (ch == kNoFaceChar) {
        MessageBeep(0);
        return;
    }
    const int code = selection.MapKey(char(ch), shift, ctrl);
    const int charSet = (flags & kSymbolFaceChar) ? SYMBOL_CHARSET : ANSI_CHARSET;
    RunEditCode(code, TypedKey{static_cast<unsigned char>(ch), charSet}, shift, ctrl);
}

bool CCorvellView::RunEditCode(int code, TypedKey typed, bool shift, bool)
{
    const unsigned char key = typed.code;
    DocSelection selection = GetSelection();
    TAction* action = nullptr;
    switch (code) {
    case EditCode::kType:
    case EditCode::kTypeTab:
        // Control characters (Esc, Ctrl with a letter) are keys, not text.
        if (code == EditCode::kType && key < ' ')
            return false;
        HideCursorWhileTyping();
        if (code == EditCode::kTypeTab)
            TypeCharacter(KeyCode::kTab, ANSI_CHARSET);
        else
            TypeCharacter(key, typed.charSet);
        return true;
    case EditCode::kDelete:
        // In a whole drawing the drawing's selected items are deleted.
        if (selection.GetKind() != DocPosition::kWholeObject)
            action = new TDeleteAction(selection);
        else if (auto* drawing = dynamic_cast<DiagramComp*>(selection.First().GetObject());
                 drawing && drawing->HasSelection())
            action = new TDeleteDrawingAction(drawing);
        break;
    case EditCode::kNewParagraph: {
        ParagraphComp* paragraph = selection.GetEnd().GetParagraphComp();
        int style = paragraph && paragraph->GetStyle() ? paragraph->GetStyle()->GetNextStyle() : StyleKind::kPlain;
        action = new TNewParagraphAction(selection, style);
        break;
    }
    case EditCode::kToggleParagraph: action = new TNewParagraphAction(selection, ToggledParagraphStyle(CaretParagraphStyle(selection))); break;
    case EditCode::kJoinParagraphs: action = new TRemoveParagraphBreakAction(selection); break;
    default:
        action = MakeSharedEditAction(*this, code, selection, shift);
        break;
    }
    if (!action)
        return false;
    HideCursorWhileTyping();
    PerformAction(action);
    return true;
}

// ---- mouse ----

void CCorvellView::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_tracker || !m_paragraphs)
        return;
    DrawTargetScope draw(this);
    const IntPoint at = ToDocument(point);
    const bool shift = (flags & MK_SHIFT) != 0;
    const bool ctrl = (flags & MK_CONTROL) != 0;
    // A press on the selected part of a formula drags it while a kernel is ready.
    const DocSelection selection = GetSelection();
    if (m_viewMode == kEditMode && KernelTakesDrag() && selection.HasExtent() && selection.IsInsideFormula() &&
        selection.PtInSelection(at)) {
        StartTracker(new TermDragTracker(*this, selection), at);
        return;
    }
    // A click on a cross-reference goes to its equation, one on a link
    // follows it (or, with Ctrl, edits it); the click is then done, so that
    // no selection made by the press puts the caret back.
    if (TextComp* comp = m_paragraphs->ComponentAt(at)) {
        const TypeTag tag = comp->Tag();
        if (tag == tag_Ref) {
            PerformAction(new TGoToReferenceAction(*this, GetSelection(), comp));
            return;
        }
        if (tag == tag_Link) {
            auto* link = static_cast<HyperlinkComp*>(comp);
            if (!ctrl) {
                // Following changes nothing in the document: the undo step
                // the user has is kept.
                TFollowLinkAction follow(link, m_pDocument);
                follow.Do();
                return;
            }
            DocSelection selection = GetSelection();
            if (link->Edit(nullptr)) {
                link->Invalidate();
                DocSelection range(link);
                RelayoutFromSelection(range);
                InvalidateSelection(range);
                SetSelection(selection, true);
                SetDocumentModified();
            }
            return;
        }
        if (OnPlotButtons(comp, at) || StartTrackball(comp, at))
            return;
        // Ctrl+click on a value display opens its variable's properties.
        if (tag == tag_VDsp && ctrl && m_viewMode == kEditMode) {
            OnValueDisplayProperties(*this, *static_cast<DrawValueComp*>(comp));
            return;
        }
        // A press in the drawing being edited (off its label texts) goes to
        // its tool; the first press on another drawing selects it for editing.
        if (comp->IsDiagram()) {
            auto* drawing = static_cast<DiagramComp*>(comp);
            if (drawing != GetEditedDrawing()) {
                SetSelection(DocSelection::SelectObject(drawing), true);
                return;
            }
            std::unique_ptr<MouseTracker> tracker = drawing->OnMouseDown(*this, at, shift, ctrl);
            if (tracker)
                StartTracker(tracker.release(), at);
            return;
        }
    }
    StartTracker(new SelectionTracker(*this, shift), at);
}

void CCorvellView::StartTracker(MouseTracker* tracker, const IntPoint& at)
{
    m_tracker = tracker;
    m_trackerAt = at;
    ClearTypingAction();
    // What the gesture's steps tell the user waits until it has ended.
    m_heldMessages = std::make_unique<HeldMessages>();
    SetCapture();
    m_tracker->MouseDown(at);
}

void CCorvellView::OnLButtonUp(UINT flags, CPoint point)
{
    if (!m_tracker)
        return;
    // A move of the tracker still running further down the stack: the
    // release follows when it has returned.
    if (DeferReleaseDuringStep(flags, point))
        return;
    auto* drag = dynamic_cast<TermDragTracker*>(m_tracker);
    if (drag && drag->InRequest()) {
        // A drag's preview waits for the kernel further down the stack: the
        // release is handled once that request has ended and returned.
        KernelLink::Get()->WhenIdle([this, flags, point] {
            QTimer::singleShot(0, widget(), [this, flags, point] { OnLButtonUp(flags, point); });
        });
        return;
    }
    ReleaseCapture();
    std::unique_ptr<MouseTracker> tracker(m_tracker);
    m_tracker = nullptr;
    {
        DrawTargetScope draw(this);
        tracker->MouseUp(ToDocument(point));
    }
    // A term drag hands over a menu of its calculations, another tracker an action.
    std::unique_ptr<ChoiceMenu> menu = drag ? drag->TakeChoiceMenu() : nullptr;
    TAction* action = tracker->TakeAction();
    const bool click = drag && !drag->IsArmed();
    tracker.reset();
    if (click) {
        // Released before the drag began: a click in the selection, which puts the caret there.
        DrawTargetScope draw(this);
        SelectionTracker caret(*this, false);
        caret.MouseDown(ToDocument(point));
        caret.MouseUp(ToDocument(point));
    } else if (menu) {
        m_choiceMenu = std::move(menu);
        m_choiceMenu->Show(*this);
    } else if (action) {
        PerformAction(action);
    }
    std::unique_ptr<HeldMessages> held = std::move(m_heldMessages);
    held.reset();
}

void CCorvellView::OnLButtonDblClk(UINT, CPoint point)
{
    // A double click on a selected plot, or on a plot's picture, opens its
    // parameter dialog.
    auto* plot = dynamic_cast<PlotComp*>(GetSelection().GetSingleObject());
    if (!plot && m_paragraphs && !m_tracker)
        plot = dynamic_cast<PlotComp*>(m_paragraphs->ComponentAt(ToDocument(point)));
    if (plot) {
        if (CanEdit())
            EditPlotParameters(*plot);
        return;
    }
    SelectWordAt(point);
}

BOOL CCorvellView::OnSetCursor(CWnd*, UINT, UINT)
{
    if (KernelBusy() || !m_paragraphs)
        return FALSE;
    // A gesture keeps the cursor it began with, or shows its own.
    if (m_tracker) {
        if (const int cursor = m_tracker->CursorId())
            SetCursor(LoadAppCursor(UINT(cursor)));
        return TRUE;
    }
    CPoint mouse;
    GetCursorPos(&mouse);
    ScreenToClient(&mouse);
    const IntPoint at = ToDocument(mouse);
    TextComp* comp = m_paragraphs->ComponentAt(at);
    const TypeTag tag = comp ? comp->Tag() : tag_null;
    if (tag == tag_Ref || tag == tag_Link) {
        SetCursor(LoadAppCursor(kHandCursor));
        if (tag == tag_Link)
            ShowStatus(static_cast<HyperlinkComp*>(comp)->GetURL().ToCString());
        else
            ClearStatus(false);
        return TRUE;
    }
    ClearStatus(false);
    if (tag == tag_VDsp && CtrlDown()) {
        SetCursor(LoadAppCursor(kHandCursor));
        return TRUE;
    }
    // The hand over a selected plot's buttons.
    if (auto* plot = dynamic_cast<PlotComp*>(comp); plot && plot->HitButtons(at)) {
        SetCursor(LoadAppCursor(kHandCursor));
        return TRUE;
    }
    if (comp && comp->IsDiagram()) {
        const int cursor = static_cast<DiagramComp*>(comp)->GetCursor(at, ShiftDown(), CtrlDown());
        SetCursor(cursor ? LoadAppCursor(UINT(cursor)) : LoadStandardCursor(IDC_ARROW));
        return TRUE;
    }
    DocPosition position;
    m_paragraphs->PositionFromPoint(position, at, true);
    if (std::optional<Qt::CursorShape> shape = position.GetCursor()) {
        SetCursor(LoadStandardCursor(*shape));
        return TRUE;
    }
    return FALSE;
}

void CCorvellView::RelayoutFromSelection(const DocSelection& selection)
{
    ParagraphComp* paragraph = selection.First().GetParagraphComp();
    if (m_paragraphs && paragraph)
        InsertParagraphs(m_paragraphs->IndexOf(paragraph), selection.First().GetParagraphIndex(false));
}
