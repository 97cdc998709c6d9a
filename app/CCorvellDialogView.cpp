#include "app/CCorvellDialogView.h"

#include "app/EditCodeActions.h"
#include "foundation/ArrowKeyActions.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/MouseTracker.h"
#include "foundation/ParagraphList.h"
#include "foundation/SelectionHighlight.h"
#include "foundation/SelectionTracker.h"
#include "foundation/TDeleteAction.h"
#include "foundation/TextComp.h"
#include "platform/framework/KeyTranslation.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/Cursors.h"

IMPLEMENT_DYNCREATE(CCorvellDialogView, CBaseView)

namespace {

// The scroll range of the question's paragraph list.
constexpr int kScrollWidth = 1000;
constexpr int kScrollHeight = 4000;
constexpr unsigned char kLineFeed = 10;

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }

} // namespace

void CCorvellDialogView::SetParagraphList(ParagraphList* paragraphs)
{
    DropKeptAction();
    m_highlight->SetSelection(DocSelection(), false);
    SetParagraphs(paragraphs);
    SetScrollSizes(MM_TEXT, CSize(kScrollWidth, kScrollHeight));
    if (!paragraphs)
        return;
    DrawTargetScope draw(this);
    paragraphs->RelayoutAll(false);
    UpdateScrollSizes();
    if (paragraphs->GetCount() > 0) {
        DocPosition start = paragraphs->PositionAt(1);
        SetSelection(DocSelection(start, start), false);
    }
}

void CCorvellDialogView::OnInitialUpdate()
{
    SetScrollSizes(MM_TEXT, CSize(kScrollWidth, kScrollHeight));
}

// ---- typed keys ----

void CCorvellDialogView::OnChar(UINT ch, UINT repeat, UINT flags)
{
    if (!m_paragraphs)
        return;
    DocSelection selection = GetSelection();
    if (IsLabelSelection(selection) || ch == kNoFaceChar) {
        MessageBeep(0);
        return;
    }
    const bool shift = ShiftDown();
    const int code = selection.MapKey(char(ch), shift, CtrlDown());
    const int charSet = (flags & kSymbolFaceChar) ? SYMBOL_CHARSET : ANSI_CHARSET;
    if (!RunEditCode(code, static_cast<unsigned char>(ch), charSet, shift))
        CBaseView::OnChar(ch, repeat, flags);
}

bool CCorvellDialogView::RunEditCode(int code, unsigned char key, int charSet, bool shift)
{
    DocSelection selection = GetSelection();
    TAction* action = nullptr;
    switch (code) {
    case EditCode::kType:
        // A line feed (Ctrl+Enter) is a blank here: the answer is one line.
        if (key == kLineFeed)
            key = ' ';
        else if (key < ' ')
            return false;
        TypeCharacter(key, charSet);
        return true;
    case EditCode::kNewParagraph:
    case EditCode::kToggleParagraph:
        // Enter confirms the question.
        if (CFrameWnd* frame = GetParentFrame())
            frame->EndModalLoop(IDOK);
        return true;
    case EditCode::kDelete: action = new TDeleteAction(selection); break;
    case EditCode::kTypeTab:
    case EditCode::kJoinParagraphs: return false;
    default: action = MakeSharedEditAction(*this, code, selection, shift); break;
    }
    if (!action)
        return false;
    PerformAction(action);
    return true;
}

// ---- mouse ----

MouseTracker* CCorvellDialogView::MakeTracker(const IntPoint&, UINT flags)
{
    // Ctrl+press on a three-dimensional plot will turn it with a trackball;
    // until plots exist the press selects like any other.
    return new SelectionTracker(*this, (flags & MK_SHIFT) != 0);
}

void CCorvellDialogView::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_tracker || !m_paragraphs)
        return;
    DrawTargetScope draw(this);
    const IntPoint at = ToDocument(point);
    m_tracker = MakeTracker(at, flags);
    m_trackerAt = at;
    ClearTypingAction();
    SetCapture();
    m_tracker->MouseDown(at);
}

// The gesture only moves the selection: whatever action a tracker made is
// dropped unperformed.
void CCorvellDialogView::OnLButtonUp(UINT flags, CPoint point)
{
    if (!m_tracker || DeferReleaseDuringStep(flags, point))
        return;
    ReleaseCapture();
    std::unique_ptr<MouseTracker> tracker(m_tracker);
    m_tracker = nullptr;
    DrawTargetScope draw(this);
    tracker->MouseUp(ToDocument(point));
    delete tracker->TakeAction();
}

void CCorvellDialogView::OnLButtonDblClk(UINT, CPoint point)
{
    SelectWordAt(point);
}

BOOL CCorvellDialogView::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_tracker || !m_paragraphs)
        return FALSE;
    CPoint mouse;
    GetCursorPos(&mouse);
    ScreenToClient(&mouse);
    DocPosition position;
    m_paragraphs->PositionFromPoint(position, ToDocument(mouse), true);
    if (std::optional<Qt::CursorShape> shape = position.GetCursor()) {
        SetCursor(LoadStandardCursor(*shape));
        return TRUE;
    }
    return FALSE;
}
