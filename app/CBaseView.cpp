#include "app/CBaseView.h"

#include <algorithm>
#include <utility>

#include "app/ElementCommands.h"
#include "app/dialogs/CCreateEquationSetDialog.h"
#include "app/dialogs/CCreateMatrixDialog.h"
#include "app/dialogs/CCreateOverscriptDialog.h"
#include "app/dialogs/CCreateSplitDefinitionDialog.h"
#include "app/dialogs/CCreateTableDialog.h"
#include "app/DrawingCommands.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawingMakers.h"
#include "drawing/DrawingEditActions.h"
#include "drawing/TPasteDrawingAction.h"
#include "drawing/PilePane.h"
#include "drawing/DrawPile.h"
#include "foundation/ArrowKeyActions.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/HomeEndKeyActions.h"
#include "foundation/LongWork.h"
#include "foundation/MouseTracker.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/SelectionHighlight.h"
#include "foundation/TCopyAction.h"
#include "foundation/TCopyAsActions.h"
#include "foundation/TCreateObjectAction.h"
#include "foundation/TCutAction.h"
#include "foundation/TInsertItemAction.h"
#include "foundation/TPasteAction.h"
#include "foundation/TTypingAction.h"
#include "foundation/TextComp.h"
#include "math/AccentComp.h"
#include "math/ConjugateComp.h"
#include "math/EquationSetComp.h"
#include "math/GridComp.h"
#include "math/HyperlinkComp.h"
#include "math/MatrixComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/TableComp.h"
#include "platform/UserInterface.h"
#include "platform/draw/TextCodec.h"
#include "platform/framework/CDocument.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/TwoDPlotComp.h"
#include "resources/SymbolPalette.h"

IMPLEMENT_DYNAMIC(CBaseView, CScrollView)

bool CBaseView::s_mathmlWriter = false;
bool CBaseView::s_svgWriter = false;

namespace {

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }

// The component nearest to the selection's start (the paragraph itself for
// a place in its top row) decides whether a command is available there.
bool EnclosingAllows(const DocSelection& selection, UINT id)
{
    TextComp* enclosing = selection.FindEnclosing(tag_null);
    return !enclosing || enclosing->IsCommandEnabled(int(id), GridComp::LineCodeOf(selection.First()));
}

} // namespace

CBaseView::CBaseView() : m_highlight(std::make_unique<SelectionHighlight>())
{
    MapCommand(ID_EDIT_UNDO, &CBaseView::OnEditUndo);
    MapUpdate(ID_EDIT_UNDO, &CBaseView::OnUpdateEditUndo);
    MapCommand(ID_EDIT_CUT, &CBaseView::OnEditCut);
    MapUpdate(ID_EDIT_CUT, &CBaseView::OnUpdateEditCut);
    MapCommand(ID_EDIT_COPY, &CBaseView::OnEditCopy);
    MapUpdate(ID_EDIT_COPY, &CBaseView::OnUpdateEditCopy);
    MapCommandRange(ID_EDIT_COPY_METAFILE, ID_EDIT_COPY_SVG, &CBaseView::OnCopyAs);
    MapUpdateRange(ID_EDIT_COPY_METAFILE, ID_EDIT_COPY_SVG, &CBaseView::OnUpdateCopyAs);
    MapCommand(ID_EDIT_PASTE, &CBaseView::OnEditPaste);
    MapUpdate(ID_EDIT_PASTE, &CBaseView::OnUpdateEditPaste);
    MapCommand(ID_EDIT_SELECT_ALL_ITEMS, &CBaseView::OnSelectAll);
    MapUpdate(ID_EDIT_SELECT_ALL_ITEMS, &CBaseView::OnUpdateEditMode);
    MapCommandRange(ID_ELEMENT_FIRST, ID_ELEMENT_LAST, &CBaseView::OnElement);
    MapUpdateRange(ID_ELEMENT_FIRST, ID_ELEMENT_LAST, &CBaseView::OnUpdateElement);
    MapCommandRange(ID_ELEMENT_BUTTON_FIRST, ID_ELEMENT_BUTTON_LAST, &CBaseView::OnElement);
    MapUpdateRange(ID_ELEMENT_BUTTON_FIRST, ID_ELEMENT_BUTTON_LAST, &CBaseView::OnUpdateElement);
    MapCommandRange(ID_SYMBOL_FIRST, ID_SYMBOL_LAST, &CBaseView::OnSymbol);
    MapUpdateRange(ID_SYMBOL_FIRST, ID_SYMBOL_LAST, &CBaseView::OnUpdateEditMode);
    MapCommandRange(ID_DRAWING_TOOL_FIRST, ID_DRAWING_TOOL_LAST, &CBaseView::OnDrawingTool);
    MapUpdateRange(ID_DRAWING_TOOL_FIRST, ID_DRAWING_TOOL_LAST, &CBaseView::OnUpdateDrawingTool);
    MapCommandRange(ID_INSERT_ROW, ID_INSERT_DERIVATIVE, &CBaseView::OnInsertItem);
    MapUpdateRange(ID_INSERT_ROW, ID_INSERT_DERIVATIVE, &CBaseView::OnUpdateInsertItem);
    MapUpdate(ID_SET_PLOT_PARAMETERS, &CBaseView::OnUpdateSetPlotParameters);
    MapCommand(ID_LINK_PROPERTIES, &CBaseView::OnLinkProperties);
    MapUpdate(ID_LINK_PROPERTIES, &CBaseView::OnUpdateLinkProperties);
}

CBaseView::~CBaseView()
{
    delete m_tracker;
    m_tracker = nullptr;
    DropKeptAction();
    DropPileOfThisView();
}

// A pile acts through the view it was made in: when that view goes, so does
// the pile (the pane then shows nothing).
void CBaseView::DropPileOfThisView()
{
    DiagramComp* shown = gPilePane ? gPilePane->ShownDiagram() : nullptr;
    DrawPile* pile = shown ? shown->GetPile() : nullptr;
    if (pile && pile->GetView() == static_cast<ActionView*>(this))
        shown->DropPile();
}

void CBaseView::SetCopyWritersAvailable(bool mathml, bool svg)
{
    s_mathmlWriter = mathml;
    s_svgWriter = svg;
}

bool CBaseView::IsLabelSelection(const DocSelection& selection)
{
    return selection.First().GetIndex() == 0 && selection.Second().GetIndex() == 1;
}

// ---- the view's own operations ----

void CBaseView::SetDisplaySize(int index)
{
    m_displaySize = uint8_t(std::clamp(index, 0, 9));
    DrawTargetScope draw(this);
    gDrawContext.SetBaseSize(m_displaySize);
    Relayout();
}

void CBaseView::SetSelection(const DocSelection& selection, bool redraw)
{
    if (!redraw) {
        m_highlight->SetSelection(selection, false);
        return;
    }
    DrawTargetScope draw(this);
    m_highlight->SetSelection(selection, true);
}

bool CBaseView::PerformAction(TAction* action)
{
    if (!action)
        return false;
    if (m_tracker) {
        MessageBeep(0);
        delete action;
        return false;
    }
    DrawTargetScope draw(this);
    if (m_actions.Perform(action))
        return true;
    MessageBeep(0);
    return false;
}

void CBaseView::SetStatusText(const char*, bool) {}

bool CBaseView::CanEdit() const
{
    return m_viewMode == kEditMode;
}

// ---- the element commands that ask first ----

bool CBaseView::AskMatrixSize(int& rows, int& columns)
{
    CCreateMatrixDialog dialog(rows, columns);
    if (dialog.DoModal() != IDOK)
        return false;
    rows = dialog.m_nRows;
    columns = dialog.m_nColumns;
    return true;
}

bool CBaseView::AskTableSize(int& rows, int& columns)
{
    CCreateTableDialog dialog(rows, columns);
    if (dialog.DoModal() != IDOK)
        return false;
    rows = dialog.m_nRows;
    columns = dialog.m_nColumns;
    return true;
}

bool CBaseView::AskEquationSetSize(int& entries)
{
    CCreateEquationSetDialog dialog(entries);
    if (dialog.DoModal() != IDOK)
        return false;
    entries = dialog.m_nEntries;
    return true;
}

bool CBaseView::AskSplitDefinitionSize(int& entries)
{
    CCreateSplitDefinitionDialog dialog(entries);
    if (dialog.DoModal() != IDOK)
        return false;
    entries = dialog.m_nEntries;
    return true;
}

TextComp* CBaseView::InsertMatrix()
{
    int rows = 2, columns = 2;
    return AskMatrixSize(rows, columns) ? new MatrixComp(columns, rows) : nullptr;
}

TextComp* CBaseView::InsertTable()
{
    int rows = 3, columns = 2;
    return AskTableSize(rows, columns) ? new TableComp(columns, rows) : nullptr;
}

TextComp* CBaseView::InsertEquationSet()
{
    int entries = 2;
    return AskEquationSetSize(entries) ? new EquationSetComp(entries) : nullptr;
}

TextComp* CBaseView::InsertSplitDefinition()
{
    int entries = 2;
    return AskSplitDefinitionSize(entries) ? new SplitDefinitionComp(entries) : nullptr;
}

int CBaseView::GetOverscriptKind() const
{
    return CCreateOverscriptDialog::kBar;
}

TextComp* CBaseView::InsertOverscript()
{
    CString text = "x";
    DocSelection selection = GetSelection();
    if (selection.HasExtent() && selection.IsAllCharacters()) {
        Str255 selected;
        selection.GetText(selected);
        text = selected.ToCString();
    }
    CCreateOverscriptDialog dialog(GetOverscriptKind(), text);
    if (dialog.DoModal() != IDOK)
        return nullptr;
    auto items = std::make_unique<CompArray>();
    const std::string& chosen = dialog.m_strText.str();
    for (size_t i = 0; i < chosen.size() && i < 255 && gTextFace; ++i)
        items->Append(gTextFace->GetCharacter(static_cast<unsigned char>(chosen[i])));
    const int kind = dialog.m_nKind;
    StoreOverscriptKind(kind);
    if (kind == CCreateOverscriptDialog::kBar)
        return new ConjugateComp(std::move(items));
    return new AccentComp(std::move(items), static_cast<unsigned char>(kind));
}

// ---- ActionView ----

DocSelection CBaseView::GetSelection() const
{
    return m_highlight->GetSelection();
}

void CBaseView::ScrollToShow(const DocSelection& selection)
{
    if (selection.GetKind() == DocPosition::kNone)
        return;
    Rect s;
    selection.GetBounds(s);
    const Rect v = GetVisibleRect();
    // A selection that starts at the first paragraph's top is shown with the
    // document's top: only the page's top margin lies above it.
    Rect first;
    if (m_paragraphs && m_paragraphs->GetCount() > 0)
        m_paragraphs->GetAt(1)->GetAbsBounds(first);
    const int top = s.top <= first.top ? 0 : s.top;
    if (s.bottom > v.bottom)
        ScrollToPosition(CPoint(0, s.bottom - (v.bottom - v.top)));
    else if (s.top >= v.top && s.right >= v.left && s.left < v.right)
        return;
    else if (s.top >= v.top)
        ScrollToPosition(CPoint(s.left, top));
    else
        ScrollToPosition(CPoint(0, top));
}

void CBaseView::InvalidateSelection(const DocSelection& selection)
{
    if (selection.GetKind() == DocPosition::kNone)
        return;
    Region region = selection.GetRegion();
    Rect box;
    region.GetBox(box);
    box.OffsetNeg(TargetScrollPosition());
    InvalidateTargetRect(box, false);
}

void CBaseView::InvalidateFramedRegion(const Region& region)
{
    if (region.IsEmpty())
        return;
    Rect box;
    region.GetBox(box);
    box.Deflate(-2, -2);
    box.OffsetNeg(TargetScrollPosition());
    InvalidateTargetRect(box, false);
}

void CBaseView::InvalidateCurrentSelection()
{
    InvalidateSelection(GetSelection());
}

void CBaseView::ShowSelection(const DocSelection& selection)
{
    DrawTargetScope draw(this);
    m_highlight->MoveSelection(selection);
}

// ---- DrawTarget ----

CDC* CBaseView::CreateTargetDC()
{
    return new CClientDC(this);
}

IntPoint CBaseView::TargetScrollPosition() const
{
    CPoint p = GetScrollPosition();
    return IntPoint(p.x, p.y);
}

void CBaseView::InvalidateTargetRect(const Rect& rect, bool erase)
{
    CRect r = rect.ToCRect();
    InvalidateRect(&r, erase);
}

void CBaseView::ShowTargetRect(const Rect& rect)
{
    const Rect v = GetVisibleRect();
    CPoint to(v.left, v.top);
    if (rect.bottom > v.bottom)
        to.y = rect.bottom - v.Height();
    if (rect.top < to.y)
        to.y = rect.top;
    if (rect.right > v.right)
        to.x = rect.right - v.Width();
    if (rect.left < to.x)
        to.x = rect.left;
    if (to.x != v.left || to.y != v.top)
        ScrollToPosition(to);
}

// ---- layout and drawing ----

int CBaseView::ScrollMargin() const
{
    return gDrawContext.GetFontSize() * gDrawContext.GetResolutionY() / 72;
}

void CBaseView::UpdateScrollSizes()
{
    if (!m_paragraphs)
        return;
    DrawTargetScope draw(this);
    const int m = ScrollMargin();
    CRect client;
    GetClientRect(&client);
    // A word wider than the line overflows the page: the view reaches past
    // its end, with room for the caret after it.
    const int inkRight = m_paragraphs->GetInkRight();
    CSize total(inkRight > gDrawContext.GetPageWidth() ? inkRight + m : gDrawContext.GetPageWidth(),
                m_paragraphs->GetHeight());
    CSize page(std::max(1, client.Width() - m), std::max(1, client.Height() - m));
    SetScrollSizes(MM_TEXT, total, page, CSize(m, m));
}

Rect CBaseView::GetVisibleRect() const
{
    CPoint p = GetScrollPosition();
    CRect client;
    GetClientRect(&client);
    return Rect(p.x, p.y, p.x + client.Width(), p.y + client.Height());
}

void CBaseView::Relayout()
{
    if (!m_paragraphs)
        return;
    DrawTargetScope draw(this);
    LayOutAll();
    UpdateScrollSizes();
    DocSelection selection = GetSelection();
    if (m_viewMode == kSlideShowMode)
        ScrollToPosition(CPoint(0, 0));
    else
        ScrollToShow(selection);
    SetSelection(selection, false);
}

void CBaseView::LayOutAll()
{
    m_paragraphs->RelayoutAll(false);
    // During a slide show the slide's paragraphs stay stacked from the top.
    if (m_viewMode == kSlideShowMode)
        m_paragraphs->StackVisible();
}

bool CBaseView::DrawingHeld() const
{
    return LongWork::IsRunning();
}

void CBaseView::InsertParagraphs(int paragraphIndex, int indexInParagraph)
{
    if (!m_paragraphs)
        return;
    DrawTargetScope draw(this);
    m_paragraphs->UpdateLayoutFrom(paragraphIndex, indexInParagraph);
    UpdateScrollSizes();
}

void CBaseView::DrawRegion(const Region& region)
{
    if (!m_paragraphs)
        return;
    Rect box;
    region.GetBox(box);
    DrawTargetScope draw(this);
    gDrawContext.SetClipRegion(region);
    m_paragraphs->PaintRange(box);
    if (m_viewMode != kSlideShowMode)
        m_highlight->Draw();
    gDrawContext.ClearClipRegion();
}

void CBaseView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    // The drawing context subtracts the scroll position itself.
    CView::OnPrepareDC(dc, info);
}

void CBaseView::OnDraw(CDC* dc)
{
    if (!m_paragraphs)
        return;
    Rect update = GetVisibleRect();
    CRect clip;
    if (dc->GetClipBox(&clip) != NULLREGION) {
        const IntPoint scroll = TargetScrollPosition();
        Rect area(clip.left + scroll.x, clip.top + scroll.y, clip.right + scroll.x, clip.bottom + scroll.y);
        Rect::Intersection(update, area, update);
    }
    gDrawContext.BeginDrawOnDC(this, dc);
    try {
        m_paragraphs->PaintRange(update);
        if (m_viewMode != kSlideShowMode)
            m_highlight->Draw();
    } catch (const CException&) {
        // A paint that fails leaves the rest of the window as it was.
    }
    gDrawContext.EndDraw();
}

void CBaseView::HideCursorWhileTyping()
{
    if (!m_cursorVisible)
        return;
    CPoint mouse;
    GetCursorPos(&mouse);
    ScreenToClient(&mouse);
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(mouse)) {
        ShowCursor(FALSE);
        m_cursorVisible = false;
    }
}

void CBaseView::ReplaceSelection(const DocSelection& selection, int fontIndex)
{
    if (!selection.HasExtent()) {
        PerformAction(new TTypingAction(fontIndex, selection));
        return;
    }
    DrawTargetScope draw(this);
    DocSelection styled = selection;
    styled.SetFont(fontIndex);
    ParagraphComp* first = styled.First().GetParagraphComp();
    if (m_paragraphs && first)
        InsertParagraphs(m_paragraphs->IndexOf(first), styled.First().GetParagraphIndex(false));
    SetSelection(styled, true);
    ScrollToShow(styled);
}

// ---- typing ----

bool CBaseView::StartTyping(TTypingAction* typing)
{
    return PerformAction(typing) && GetTypingAction() == typing;
}

void CBaseView::TypeCharacter(unsigned char code, int charSet)
{
    TTypingAction* typing = GetTypingAction();
    const DocSelection selection = GetSelection();
    FontFace* current = !typing ? selection.GetCommonFont()
                        : typing->GetReturnFace() ? typing->GetReturnFace() : typing->GetFace();
    unsigned char faceCode = 0;
    FontFace* face = FaceHolding(TextCodec::ToUnicode(code, charSet), current, &faceCode);
    if (!face) {
        MessageBeep(0);
        return;
    }
    if (!typing || typing->GetFace() != face) {
        auto* started = face == current && !typing ? new TTypingAction(selection)
                                                   : new TTypingAction(face->GetFontId(), selection);
        if (face != current)
            started->SetReturnFace(current);
        if (!StartTyping(started))
            return;
    }
    DrawTargetScope draw(this);
    ActionViewScope scope(this);
    GetTypingAction()->AddChar(faceCode);
}

// A symbol extends the typing action while it types in the math face;
// otherwise a new typing action in the math face starts, which the next
// symbols extend, so a run of symbols is one undo step.
void CBaseView::OnSymbol(UINT id)
{
    DocSelection selection = GetSelection();
    if (IsLabelSelection(selection)) {
        MessageBeep(0);
        return;
    }
    const int code = SymbolPaletteCode(id);
    if (!CanEdit() || code < 0)
        return;
    TTypingAction* typing = GetTypingAction();
    FontFace* math = gFontManager ? gFontManager->GetFace(kMathFace) : nullptr;
    if (!typing || typing->GetFace() != math) {
        if (!StartTyping(new TTypingAction(kMathFace, selection)))
            return;
    }
    DrawTargetScope draw(this);
    ActionViewScope scope(this);
    GetTypingAction()->AddChar(static_cast<unsigned char>(code));
}

// ---- Edit menu ----

void CBaseView::OnEditUndo()
{
    DrawTargetScope draw(this);
    m_actions.UndoOrRedo();
}

void CBaseView::OnUpdateEditUndo(CCmdUI* ui)
{
    if (m_viewMode != kEditMode || !m_actions.GetKept()) {
        ui->Enable(FALSE);
        return;
    }
    m_undoText = m_actions.MenuText();
    ui->SetText(m_undoText.c_str());
    ui->Enable(m_actions.MenuEnabled());
}

void CBaseView::OnEditCut()
{
    DocSelection selection = GetSelection();
    // In a whole drawing the drawing's selected items are cut.
    if (selection.GetKind() == DocPosition::kWholeObject) {
        if (auto* drawing = dynamic_cast<DiagramComp*>(selection.First().GetObject()); drawing && drawing->HasSelection())
            PerformAction(new TCutDrawingAction(drawing));
        return;
    }
    PerformAction(new TCutAction(selection));
}

void CBaseView::OnUpdateEditCut(CCmdUI* ui)
{
    DocSelection selection = GetSelection();
    if (selection.GetKind() == DocPosition::kWholeObject) {
        auto* drawing = dynamic_cast<DiagramComp*>(selection.First().GetObject());
        ui->Enable(CanEdit() && drawing && drawing->HasSelection());
        return;
    }
    ui->Enable(CanEdit() && !IsLabelSelection(selection) && selection.HasExtent());
}

void CBaseView::OnEditCopy()
{
    PerformAction(new TCopyAction(GetSelection()));
}

void CBaseView::OnUpdateEditCopy(CCmdUI* ui)
{
    ui->Enable(m_viewMode == kEditMode && GetSelection().HasExtent());
}

void CBaseView::OnCopyAs(UINT id)
{
    DocSelection selection = GetSelection();
    switch (id) {
    case ID_EDIT_COPY_METAFILE: PerformAction(new TCopyMetafileAction(selection)); break;
    case ID_EDIT_COPY_MATHML: PerformAction(new TCopyMathMLAction(selection)); break;
    case ID_EDIT_COPY_SVG: PerformAction(new TCopySVGAction(selection)); break;
    default: break;
    }
}

void CBaseView::OnUpdateCopyAs(CCmdUI* ui)
{
    DocSelection selection = GetSelection();
    bool enable = m_viewMode == kEditMode;
    switch (ui->m_nID) {
    case ID_EDIT_COPY_METAFILE: enable = enable && selection.IsInsideFormula(); break;
    case ID_EDIT_COPY_MATHML: enable = enable && s_mathmlWriter && selection.IsInsideFormula(); break;
    case ID_EDIT_COPY_SVG: {
        TextComp* single = selection.GetSingleObject();
        enable = enable && s_svgWriter && single && single->IsDiagram();
        break;
    }
    default: enable = false; break;
    }
    ui->Enable(enable);
}

void CBaseView::OnEditPaste()
{
    DocSelection selection = GetSelection();
    // Into a whole drawing go copies of the copied drawing's items.
    if (selection.GetKind() == DocPosition::kWholeObject) {
        if (auto* drawing = dynamic_cast<DiagramComp*>(selection.First().GetObject()))
            PerformAction(new TPasteDrawingAction(drawing));
        return;
    }
    PerformAction(new TPasteAction(selection));
}

void CBaseView::OnUpdateEditPaste(CCmdUI* ui)
{
    DocSelection selection = GetSelection();
    bool enable = CanEdit() && !IsLabelSelection(selection) && gDocClipboard && gDocClipboard->HasData();
    if (enable) {
        try {
            enable = gDocClipboard->CanPasteAt(selection.GetStart());
        } catch (const CException&) {
            enable = false;  // clipboard data the program cannot read
        }
    }
    ui->Enable(enable);
}

void CBaseView::OnSelectAll()
{
    if (m_paragraphs)
        SetSelection(m_paragraphs->GetFullSelection(), true);
}

void CBaseView::OnUpdateEditMode(CCmdUI* ui)
{
    ui->Enable(m_viewMode == kEditMode);
}

// ---- Element menu and toolbar ----

void CBaseView::OnElement(UINT id)
{
    id = ElementMenuCommand(id);
    if (IsElementRefusedAt(id, GetSelection()) || !CanEdit())
        return;
    TextComp* comp = nullptr;
    switch (id) {
    case ID_ELEMENT_OVERSCRIPT: comp = InsertOverscript(); break;
    case ID_ELEMENT_MATRIX: comp = InsertMatrix(); break;
    case ID_ELEMENT_TABLE: comp = InsertTable(); break;
    case ID_ELEMENT_EQUATION_SET: comp = InsertEquationSet(); break;
    case ID_ELEMENT_SPLIT_DEFINITION: comp = InsertSplitDefinition(); break;
    case ID_ELEMENT_LINK: {
        auto* link = new HyperlinkComp;
        DocSelection selection = GetSelection();
        if (!link->Edit(&selection)) {
            link->Delete();
            return;
        }
        comp = link;
        break;
    }
    case ID_ELEMENT_TWO_D_PLOT: {
        // A new plot starts from its parameter dialog; Cancel inserts nothing.
        auto* plot = new TwoDPlotComp;
        if (!plot->OnOptions()) {
            plot->Delete();
            return;
        }
        comp = plot;
        break;
    }
    case ID_ELEMENT_THREE_D_PLOT: {
        auto* plot = new ThreeDPlotComp;
        if (!plot->OnOptions()) {
            plot->Delete();
            return;
        }
        comp = plot;
        break;
    }
    default: comp = MakeElementComponent(id); break;
    }
    if (comp)
        PerformAction(new TCreateObjectAction(comp, GetSelection()));
}

void CBaseView::OnUpdateElement(CCmdUI* ui)
{
    const UINT id = ElementMenuCommand(ui->m_nID);
    const DocSelection selection = GetSelection();
    ui->Enable(!IsElementRefusedAt(id, selection) && CanEdit() && EnclosingAllows(selection, id));
}

// The drawing that holds the selection builds the command's shape or
// constraint from its selected shapes.
void CBaseView::OnDrawingTool(UINT id)
{
    auto* drawing = dynamic_cast<DiagramComp*>(GetSelection().FindEnclosing(tag_Draw));
    if (m_viewMode != kEditMode || !drawing)
        return;
    TAction* action = nullptr;
    {
        DrawTargetScope draw(this);
        action = CreateDrawingCommand(*this, *drawing, int(id));
    }
    if (action)
        PerformAction(action);
}

// A command whose maker is not in the list cannot act and stays disabled.
void CBaseView::OnUpdateDrawingTool(CCmdUI* ui)
{
    const int id = int(ui->m_nID);
    const bool acts = id == drawing::kTextLabelCommand || DrawingMakerForCommand(id) != nullptr;
    ui->Enable(acts && m_viewMode == kEditMode && GetSelection().FindEnclosing(tag_Draw) != nullptr);
}

void CBaseView::OnInsertItem(UINT id)
{
    DocSelection selection = GetSelection();
    switch (id) {
    case ID_INSERT_ROW: PerformAction(new TInsertRowAction(selection)); break;
    case ID_INSERT_COLUMN: PerformAction(new TInsertColumnAction(selection)); break;
    case ID_INSERT_DERIVATIVE: PerformAction(new TInsertDerivativeAction(selection)); break;
    default: break;
    }
}

// Each item command is the edit code the grids and derivatives answer for.
void CBaseView::OnUpdateInsertItem(CCmdUI* ui)
{
    static constexpr int kEditCodes[] = {EditCode::kInsertRow, EditCode::kInsertColumn, EditCode::kInsertDerivative};
    const int code = kEditCodes[ui->m_nID - ID_INSERT_ROW];
    ui->Enable(CanEdit() && EnclosingAllows(GetSelection(), UINT(code)));
}

void CBaseView::OnUpdateSetPlotParameters(CCmdUI* ui)
{
    TextComp* single = GetSelection().GetSingleObject();
    ui->Enable(CanEdit() && single && (single->Tag() == tag_2Plt || single->Tag() == tag_3Plt));
}

void CBaseView::OnLinkProperties()
{
    DocSelection selection = GetSelection();
    auto* link = dynamic_cast<HyperlinkComp*>(selection.GetSingleObject());
    if (!link || !link->Edit(nullptr))
        return;
    DrawTargetScope draw(this);
    link->Invalidate();
    ParagraphComp* paragraph = selection.First().GetParagraphComp();
    if (m_paragraphs && paragraph)
        InsertParagraphs(m_paragraphs->IndexOf(paragraph), selection.First().GetParagraphIndex(false));
    InvalidateSelection(selection);
    SetSelection(selection, true);
    SetDocumentModified();
}

void CBaseView::OnUpdateLinkProperties(CCmdUI* ui)
{
    TextComp* single = GetSelection().GetSingleObject();
    ui->Enable(CanEdit() && single && single->Tag() == tag_Link);
}

// ---- keys, mouse, timer, size ----

IntPoint CBaseView::ToDocument(const CPoint& client) const
{
    const IntPoint scroll = TargetScrollPosition();
    return IntPoint(client.x + scroll.x, client.y + scroll.y);
}

void CBaseView::SelectWordAt(CPoint point)
{
    if (m_tracker || !m_paragraphs)
        return;
    DrawTargetScope draw(this);
    DocSelection selection = GetSelection();
    if (selection.GetSingleObject() || selection.HasExtent())
        return;
    DocPosition caret = selection.GetEnd();
    Rect caretRect;
    caret.GetCaretRect(caretRect);
    if (ToDocument(point).x < caretRect.left && caret.GetIndex() > 1 && caret.GetKind() == DocPosition::kListPlace) {
        caret.SetIndex(caret.GetIndex() - 1);
        selection = DocSelection(caret, caret);
    }
    PerformAction(new TSelectWordAction(*this, selection));
}

void CBaseView::OnKeyDown(UINT vk, UINT, UINT)
{
    const bool shift = ShiftDown();
    const bool ctrl = CtrlDown();
    int mapMode;
    CSize total, page, line;
    GetDeviceScrollSizes(mapMode, total, page, line);
    switch (vk) {
    case VK_PRIOR:
        OnScrollBy(CSize(0, -page.cy));
        UpdateWindow();
        break;
    case VK_NEXT:
        OnScrollBy(CSize(0, page.cy));
        UpdateWindow();
        break;
    case VK_END:
        if (ctrl)
            PerformAction(new TCtrlEndKeyAction(*this, GetSelection(), shift));
        else
            PerformAction(new TEndKeyAction(*this, GetSelection(), shift));
        break;
    case VK_HOME:
        if (ctrl)
            PerformAction(new TCtrlHomeKeyAction(*this, GetSelection(), shift));
        else
            PerformAction(new THomeKeyAction(*this, GetSelection(), shift));
        break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        PerformAction(new TArrowKeyAction(*this, GetSelection(), int(vk), shift, ctrl));
        break;
    default:
        break;
    }
}

void CBaseView::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_cursorVisible) {
        ShowCursor(TRUE);
        m_cursorVisible = true;
    }
    if (!m_tracker)
        return;
    // A move without the button held: its release went where the view
    // never saw it.
    if (!(flags & MK_LBUTTON)) {
        EndUnreleasedGesture();
        return;
    }
    DrawTargetScope draw(this);
    const IntPoint at = ToDocument(point);
    CRect client;
    GetClientRect(&client);
    const int step = ScrollMargin();
    CSize by(0, 0);
    if (point.y > client.bottom)
        by.cy = step;
    else if (point.y < client.top)
        by.cy = -step;
    if (point.x < client.left)
        by.cx = -step;
    else if (point.x > client.right)
        by.cx = step;
    if (by.cx != 0 || by.cy != 0)
        OnScrollBy(by);
    RunTrackerStep([this, at] {
        m_trackerAt = at;
        m_tracker->MouseMove(at);
    });
}

void CBaseView::OnCaptureChanged(CWnd*)
{
    EndUnreleasedGesture();
}

// The gesture ends where the tracker was last taken, as a release there
// would end it (after the step under way, when one is).
void CBaseView::EndUnreleasedGesture()
{
    if (!m_tracker)
        return;
    const IntPoint scroll = TargetScrollPosition();
    OnLButtonUp(0, CPoint(m_trackerAt.x - scroll.x, m_trackerAt.y - scroll.y));
}

void CBaseView::OnTimer(UINT_PTR)
{
    if (!m_tracker)
        return;
    DrawTargetScope draw(this);
    RunTrackerStep([this] { m_tracker->SetCursor(); });
}

// A step waiting for the kernel lets the window's events run; the release
// that comes meanwhile must not end the tracker under the step's feet, nor
// wait for it by sleeping (the step could never finish): it is recorded and
// handled as soon as the step has returned. A move or tick meanwhile is
// dropped: the tracker is not ready for it.
template <typename Step>
void CBaseView::RunTrackerStep(Step step)
{
    if (m_trackerSteps > 0)
        return;
    {
        struct Running {
            int& steps;
            explicit Running(int& count) : steps(count) { ++steps; }
            ~Running() { --steps; }
            Running(const Running&) = delete;
            Running& operator=(const Running&) = delete;
        } running(m_trackerSteps);
        step();
    }
    if (std::optional<PendingRelease> release = std::exchange(m_pendingRelease, std::nullopt))
        OnLButtonUp(release->flags, release->point);
}

bool CBaseView::DeferReleaseDuringStep(UINT flags, CPoint point)
{
    if (m_trackerSteps == 0)
        return false;
    m_pendingRelease = PendingRelease{flags, point};
    return true;
}

void CBaseView::OnSize(UINT type, int cx, int cy)
{
    CScrollView::OnSize(type, cx, cy);
    if (m_paragraphs)
        UpdateScrollSizes();
}

void CBaseView::OnDestroy()
{
    if (!m_cursorVisible) {
        ShowCursor(TRUE);
        m_cursorVisible = true;
    }
    CScrollView::OnDestroy();
}
