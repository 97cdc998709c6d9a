// Printing the document: pagination when the job begins, each page drawn
// with its number at the foot, and the screen layout restored at the end.
// A long job shows its progress and stops when the user asks (Escape, or
// closing the print preview); the document is laid out for the screen again.
#include "app/CCorvellView.h"

#include <cstdio>

#include "app/CCorvellDoc.h"
#include "app/PageBreakList.h"
#include "foundation/DrawContext.h"
#include "foundation/FontManager.h"
#include "foundation/LongWork.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Str255.h"
#include "platform/UserInterface.h"
#include "platform/framework/CPrintInfo.h"

namespace {

// The size level of the page numbers.
constexpr int kPageNumberSize = 7;

constexpr const char* kPaginating = "Preparing the pages";
constexpr const char* kPrintingPages = "Printing the pages";
constexpr const char* kStopped = "Stopped: the pages were not printed.";

// The components of the paragraphs' rows: the steps of pagination.
int64_t ComponentCount(const ParagraphList& paragraphs)
{
    int64_t count = 0;
    for (int i = 1; i <= paragraphs.GetCount(); ++i)
        count += paragraphs.GetAt(i)->GetRow()->GetCount();
    return count;
}

// Whether the page edge at y falls between lines, where a paragraph or one of
// its lines starts or ends, rather than across a line taller than a page.
bool FallsBetweenLines(const ParagraphList& paragraphs, int32_t y)
{
    const ParagraphComp* paragraph = paragraphs.GetParagraphAtY(y);
    if (!paragraph)
        return true;
    Rect bounds, line;
    paragraph->GetAbsBounds(bounds);
    paragraph->GetLineBreak(y, line);
    return bounds.top == y || bounds.bottom == y || line.top == y || line.bottom == y;
}

} // namespace

void CCorvellView::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    if (gFontManager)
        gFontManager->DropFonts();
    m_pageBreaks.reset();
    if (!m_paragraphs)
        return;
    gDrawContext.BeginDrawOnDC(this, dc);
    m_printWork = std::make_unique<LongWork>(kPaginating, ComponentCount(*m_paragraphs));
    try {
        auto breaks = std::make_unique<PageBreakList>(gDrawContext.GetLeftMargin(), gDrawContext.GetPageWidth());
        m_paragraphs->Paginate(*breaks);
        info->SetMaxPage(UINT(std::max(1, breaks->GetPageCount())));
        m_printWork->Restart(kPrintingPages, breaks->GetPageCount(), 1);
        m_pageBreaks = std::move(breaks);
    } catch (const WorkStopped&) {
        info->m_bContinuePrinting = FALSE;
    } catch (const CException& e) {
        info->m_bContinuePrinting = FALSE;
        UserInterface::Current().MessageBox(e.what(), "Quorvant", MB_OK | MB_ICONEXCLAMATION);
    }
    gDrawContext.EndDraw();
}

void CCorvellView::OnPrint(CDC* dc, CPrintInfo* info)
{
    if (!m_pageBreaks || !m_paragraphs)
        return;
    gDrawContext.BeginDrawOnDC(this, dc);
    const int margin = gDrawContext.GetMarginUnit();
    dc->SetWindowOrg(0, 0);
    dc->SelectClipRgn(nullptr);
    gDrawContext.SetOrigin(IntPoint());
    CCorvellDoc* doc = GetDocument();
    if (doc && doc->NumberPrintedPages()) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", int(doc->FirstPageNumber()) - 1 + int(info->m_nCurPage));
        const int base = gDrawContext.GetBaseSize();
        gDrawContext.SetBaseSize(kPageNumberSize);
        gDrawContext.SetFontFamily(FontManager::kTextFace);
        gDrawContext.SelectCurrentFont();
        const int width = gDrawContext.GetStringWidth(Str255(text));
        gDrawContext.MoveTo(IntPoint((dc->GetDeviceCaps(HORZRES) - width) / 2, dc->GetDeviceCaps(VERTRES) - margin));
        gDrawContext.TextOutAt(text);
        gDrawContext.SetBaseSize(base);
    }
    // The page's stretch of the document, moved to the page's margins. Only
    // the lines that start above the page's foot are painted: the line that
    // starts there begins the next page. Letters and symbols may reach a
    // little past their line's box at a printer's resolution, so where the
    // page ends between lines the clip leaves a band (inside the margins,
    // clear of the page number) where they show whole, and the next page's
    // first line, not painted here, cannot show its top; a line taller than a
    // page is cut at the edge itself, so that no strip of it prints twice.
    // Across the page the clip reaches the paper's edges, since a frame drawn
    // on the text's left edge would otherwise lie on the clip's edge, where a
    // preview that scales the page down rounds it away.
    const Rect page = m_pageBreaks->GetPageRect(int(info->m_nCurPage));
    const int overshoot = margin / 4;
    const int top = page.top - (FallsBetweenLines(*m_paragraphs, page.top) ? overshoot : 0);
    const int bottom = page.bottom + (FallsBetweenLines(*m_paragraphs, page.bottom) ? overshoot : 0);
    gDrawContext.SetOrigin(IntPoint(margin, margin - page.top));
    gDrawContext.SetClipRegion(Rect(-margin, top, dc->GetDeviceCaps(HORZRES) - margin, bottom));
    m_paragraphs->PaintRange(Rect(page.left, page.top, page.right, page.bottom - 1));
    gDrawContext.ClearClipRegion();
    gDrawContext.EndDraw();
    try {
        LongWork::Step();
    } catch (const WorkStopped&) {
        info->m_bContinuePrinting = FALSE;
    }
}

void CCorvellView::OnEndPrinting(CDC*, CPrintInfo*)
{
    const bool stopped = m_printWork && m_printWork->WasStopped();
    m_printWork.reset();
    if (stopped)
        ShowStatus(kStopped);
    if (gFontManager)
        gFontManager->DropFonts();
    m_pageBreaks.reset();
    if (!m_paragraphs)
        return;
    DrawTargetScope draw(this);
    LayOutAll();
    UpdateScrollSizes();
    SetSelection(GetSelection(), false);
    Invalidate(TRUE);
}
