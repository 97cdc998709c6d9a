#include "foundation/TAction.h"

#include <utility>

#include "foundation/ActionNames.h"
#include "foundation/ActionView.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(TAction, CObject)

ActionView* ActionView::s_current = nullptr;

ActionView* ActionView::Current()
{
    return s_current;
}

TAction::TAction(int16_t nameId) : m_nameId(nameId) {}

TAction::TAction(int16_t nameId, const DocSelection& selection) : m_nameId(nameId)
{
    RecordStart(selection);
}

void TAction::RecordStart(const DocSelection& selection)
{
    DocPosition start = selection.GetStart();
    m_paragraph = start.GetParagraphComp();
    ParagraphList* list = start.GetParagraph();
    m_paragraphIndex = list && m_paragraph ? list->IndexOf(m_paragraph) : 0;
    m_indexInParagraph = std::max(start.GetParagraphIndex(true), 1);
}

void TAction::GetName(Str255& out) const
{
    ActionNames::Load(m_nameId, out);
}

void TAction::Perform()
{
    Do();
    m_done = true;
}

void TAction::Revert()
{
    Undo();
    m_done = false;
}

void TAction::Redo()
{
    // A Do that restored its selection has laid the document out from the
    // same place already; one that did not is laid out here.
    m_laidOut = false;
    Do();
    if (!m_laidOut && m_paragraphIndex > 0)
        if (ActionView* view = ActionView::Current())
            view->UpdateLayoutFrom(m_paragraphIndex, m_indexInParagraph);
    // A redo the user stopped part-way left the document as it was.
    m_done = !ChangedNothing();
}

void TAction::RestoreSelection(const DocSelection& selection)
{
    ActionView* view = ActionView::Current();
    if (!view)
        return;
    if (m_paragraphIndex > 0) {
        view->UpdateLayoutFrom(m_paragraphIndex, m_indexInParagraph);
        m_laidOut = true;
    }
    ShowSelection(selection);
}

void TAction::ShowSelection(const DocSelection& selection) const
{
    if (ActionView* view = ActionView::Current()) {
        view->SetSelection(selection, true);
        view->ScrollToShow(selection);
    }
}

namespace {
StatusTextSink gStatusSink = nullptr;
}

void SetStatusText(const char* text)
{
    if (gStatusSink)
        gStatusSink(text);
}

StatusTextSink SetStatusTextSink(StatusTextSink sink)
{
    std::swap(gStatusSink, sink);
    return sink;
}
