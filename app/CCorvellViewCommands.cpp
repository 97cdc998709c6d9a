// The document view's menu commands: Format, Display, find, spelling, the
// commands that wait for the kernel and the drawings, and the Slides menu.
#include "app/CCorvellView.h"

#include "app/CCorvellApp.h"
#include "app/CCorvellDoc.h"
#include "app/SlideList.h"
#include "app/SlideOrganizer.h"
#include "app/SpellChecker.h"
#include "app/dialogs/CFindReplaceDialog.h"
#include "app/dialogs/CPageNumberingDialog.h"
#include "foundation/DrawContext.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TCharacterStyleAction.h"
#include "foundation/TParagraphStyleAction.h"
#include "foundation/TTypingAction.h"
#include "foundation/TextPrefs.h"
#include "app/dialogs/TextPrefsDialog.h"
#include "kernel/KernelLink.h"
#include "kernel/TCalculationAction.h"

namespace {

// The character style a face stands for: the faces of the character styles
// of "Corvell Roman" (5, 6, 7) count as plain, bold and math.
int CharacterStyleOfFace(int fontId)
{
    switch (fontId) {
    case 5: return 0;
    case 6: return 2;
    case 7: return 3;
    default: return fontId;
    }
}

} // namespace

// ---- Format ----

// A range of several styles takes the chosen one whatever the style before it.
void CCorvellView::OnCharacterStyle(UINT id)
{
    const int index = int(id - ID_FORMAT_PLAIN);
    DocSelection selection = GetSelection();
    if (selection.GetUniformFontIndex() != index)
        PerformAction(new TCharacterStyleAction(selection, index));
}

void CCorvellView::OnUpdateCharacterStyle(CCmdUI* ui)
{
    const int index = int(ui->m_nID - ID_FORMAT_PLAIN);
    int current;
    if (TTypingAction* typing = GetTypingAction(); typing && typing->GetFace())
        current = CharacterStyleOfFace(typing->GetFace()->GetFontId());
    else
        current = GetSelection().GetUniformFontIndex();
    ui->Enable(m_viewMode == kEditMode);
    ui->SetCheck(current == index ? 1 : 0);
}

void CCorvellView::OnParagraphStyle(UINT id)
{
    const int index = int(id - ID_STYLE_TITLE);
    DocSelection selection = GetSelection();
    ParagraphComp* paragraph = selection.GetEnd().GetParagraphComp();
    if (paragraph && paragraph->GetStyleKind() == index && selection.IsInOneParagraph())
        return;
    PerformAction(new TParagraphStyleAction(selection, index));
}

void CCorvellView::OnUpdateParagraphStyle(CCmdUI* ui)
{
    ParagraphComp* paragraph = GetSelection().GetEnd().GetParagraphComp();
    ui->Enable(m_viewMode == kEditMode);
    ui->SetCheck(paragraph && paragraph->GetStyleKind() == int(ui->m_nID - ID_STYLE_TITLE) ? 1 : 0);
}

void CCorvellView::OnPageNumbering()
{
    CCorvellDoc* doc = GetDocument();
    if (!doc)
        return;
    DisplayRecord& record = doc->GetDisplayRecord();
    CPageNumberingDialog dialog(record.numberPrintedPages, record.firstPageNumber);
    if (dialog.DoModal() != IDOK)
        return;
    if (record.numberPrintedPages == dialog.m_bNumberPages && record.firstPageNumber == dialog.m_nFirstPage)
        return;
    record.numberPrintedPages = dialog.m_bNumberPages;
    record.firstPageNumber = int16_t(dialog.m_nFirstPage);
    // The numbering is kept in the file: closing must offer to save it.
    doc->SetModifiedFlag(TRUE);
}

void CCorvellView::OnTextPreferences()
{
    CCorvellApp* app = GetCorvellApp();
    TextPrefs* prefs = app ? app->GetTextPrefs() : nullptr;
    if (!prefs)
        return;
    CTextPrefsDialog dialog(*prefs);
    if (dialog.DoModal() != IDOK)
        return;
    prefs->Save();
    if (gFontManager)
        gFontManager->UpdateTextFaces(*prefs);
    app->RedrawAllViews();
}

// ---- Display ----

void CCorvellView::OnDisplaySize(UINT id)
{
    SetDisplaySize(DisplaySizeOfCommand(id));
    SetDocumentModified();
    Invalidate(TRUE);
}

void CCorvellView::OnUpdateDisplaySize(CCmdUI* ui)
{
    ui->Enable(TRUE);
    ui->SetCheck(ui->m_nID == CommandOfDisplaySize(m_displaySize) ? 1 : 0);
}

void CCorvellView::OnLargerEquations()
{
    CCorvellDoc* doc = GetDocument();
    if (!doc || !m_paragraphs)
        return;
    const bool larger = !doc->GetLargerEquations();
    doc->SetLargerEquations(larger);
    DrawTargetScope draw(this);
    m_paragraphs->SetEquationSizeStep(larger);
    Relayout();
    Invalidate(TRUE);
}

void CCorvellView::OnUpdateLargerEquations(CCmdUI* ui)
{
    CCorvellDoc* doc = GetDocument();
    ui->Enable(m_viewMode == kEditMode && doc);
    ui->SetCheck(doc && doc->GetLargerEquations() ? 1 : 0);
}

// ---- find and spelling ----
// Both change the document directly, outside the single undo step: the kept
// action is dropped when they replace something (DropUndoStep), not before.

void CCorvellView::OnFind()
{
    if (m_paragraphs)
        RunFindDialog(*this, *m_paragraphs, this);
}

void CCorvellView::OnSpellSelection()
{
    if (m_paragraphs)
        CheckSpellingOfSelection(*this, *m_paragraphs, this);
}

void CCorvellView::OnUpdateSpellSelection(CCmdUI* ui)
{
    DocSelection selection = GetSelection();
    ui->Enable(m_viewMode == kEditMode && selection.HasExtent() && selection.First().IsInParagraph());
}

void CCorvellView::OnSpellDocument()
{
    if (m_paragraphs)
        CheckSpellingOfDocument(*this, *m_paragraphs, this);
}

// ---- commands that need the kernel or a drawing ----

// Evaluating source code needs a kernel that is ready and idle; the command
// itself arrives with the calculation actions.
// The selected code paragraphs go to the kernel as text; the answer follows them.
void CCorvellView::OnEvaluateCode()
{
    KernelLink* link = KernelLink::Get();
    DocSelection selection = GetSelection();
    if (m_viewMode != kEditMode || !link || !link->IsReady() || link->IsBusy() || !selection.AllParagraphsSourceCode())
        return;
    PerformAction(new TEvaluateCodeAction(selection));
}

void CCorvellView::OnUpdateEvaluateCode(CCmdUI* ui)
{
    KernelLink* link = KernelLink::Get();
    ui->Enable(m_viewMode == kEditMode && link && link->IsReady() && !link->IsBusy() &&
               GetSelection().AllParagraphsSourceCode());
}

// ---- slides ----

void CCorvellView::RefreshSlide()
{
    UpdateScrollSizes();
    ScrollToPosition(CPoint(0, 0));
    Invalidate(TRUE);
}

void CCorvellView::StartSlideShow()
{
    if (!m_slides || m_slides->GetCount() == 0)
        return;
    DrawTargetScope draw(this);
    m_viewMode = kSlideShowMode;
    m_slides->StartShow();
    RefreshSlide();
}

void CCorvellView::NextSlide()
{
    if (!m_slides || m_viewMode != kSlideShowMode)
        return;
    if (m_slides->GetCurrent() >= m_slides->GetCount() - 1) {
        EndSlideShow();
        return;
    }
    DrawTargetScope draw(this);
    m_slides->Next();
    RefreshSlide();
}

void CCorvellView::PreviousSlide()
{
    if (!m_slides || m_viewMode != kSlideShowMode)
        return;
    DrawTargetScope draw(this);
    m_slides->Previous();
    RefreshSlide();
}

void CCorvellView::EndSlideShow()
{
    if (!m_slides || m_viewMode != kSlideShowMode)
        return;
    DrawTargetScope draw(this);
    m_viewMode = kEditMode;
    m_slides->EndShow();
    UpdateScrollSizes();
    DocSelection selection = GetSelection();
    SetSelection(selection, false);
    ScrollToShow(selection);
    Invalidate(TRUE);
}

void CCorvellView::OnSlideCommand(UINT id)
{
    if (!m_slides)
        return;
    switch (id) {
    case ID_SLIDE_NEW:
        m_slides->NewSlide();
        m_slides->AddSelection(GetSelection());
        break;
    case ID_SLIDE_CLONE: m_slides->CloneLast(); break;
    case ID_SLIDE_ADD: m_slides->AddSelection(GetSelection()); break;
    case ID_SLIDE_DELETE_ALL: m_slides->DeleteAll(); break;
    case ID_SLIDE_ORGANIZE: {
        DrawTargetScope draw(this);
        OrganizeSlides(*this, *m_slides, this);
        Invalidate(TRUE);
        break;
    }
    case ID_SLIDE_START: StartSlideShow(); break;
    case ID_SLIDE_NEXT: NextSlide(); break;
    case ID_SLIDE_PREVIOUS: PreviousSlide(); break;
    case ID_SLIDE_END: EndSlideShow(); break;
    default: break;
    }
}

void CCorvellView::OnUpdateSlideCommand(CCmdUI* ui)
{
    const bool haveSlides = m_slides && m_slides->GetCount() > 0;
    switch (ui->m_nID) {
    case ID_SLIDE_NEW: ui->Enable(m_slides && m_viewMode == kEditMode); break;
    case ID_SLIDE_NEXT:
    case ID_SLIDE_PREVIOUS:
    case ID_SLIDE_END: ui->Enable(m_viewMode == kSlideShowMode); break;
    default: ui->Enable(m_viewMode == kEditMode && haveSlides); break;
    }
}
