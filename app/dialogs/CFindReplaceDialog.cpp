#include "app/dialogs/CFindReplaceDialog.h"

#include "foundation/DrawTargetScope.h"
#include "app/TextSearcher.h"
#include "foundation/ActionView.h"
#include "foundation/ByteStream.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextComp.h"
#include "foundation/TextOutBuffer.h"
#include "platform/framework/CWnd.h"

#include <string>

namespace {

class StringStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

// The linear text of a row.
CString LinearText(const CompList& row)
{
    StringStream stream;
    TextOutBuffer out(&stream);
    row.WriteTextAll(out);
    out.Flush();
    return CString(stream.text);
}

// A copy of what the selection covers when it lies in one paragraph and has
// extent; otherwise an empty row.
std::unique_ptr<CompList> CopySelectedComponents(const DocSelection& selection)
{
    auto pattern = std::make_unique<CompList>();
    if (!selection.IsInOneParagraph() || !selection.HasExtent())
        return pattern;
    LinkRemap remap;
    const DocPosition& first = selection.First();
    const DocPosition& second = selection.Second();
    if (first.GetKind() == DocPosition::kListPlace && first.GetList() == second.GetList()) {
        pattern->InsertAllAt(first.GetList()->CloneRange(first.GetIndex(), second.GetIndex() - 1, remap), 1);
    } else if (TextComp* single = selection.GetSingleObject()) {
        pattern->Append(single->Clone(remap));
    }
    remap.RebindLinks();
    return pattern;
}

Str255 ToStr255(const CString& text)
{
    Str255 out;
    out.AssignCString(text);
    return out;
}

}  // namespace

CFindReplaceDialog::CFindReplaceDialog(TextSearcher& searcher, ActionView& view, DrawTarget* target,
                                       const CString& findText, CWnd* parent)
    : CDialog(IDD, parent), m_searcher(searcher), m_view(view), m_target(target), m_findText(findText),
      m_selected(searcher.GetPattern().Clone())
{
}

CFindReplaceDialog::~CFindReplaceDialog() = default;

BOOL CFindReplaceDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(kFindTextId, m_findText);
    return TRUE;
}

void CFindReplaceDialog::OnControlNotify(UINT code, UINT id)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case kFindId: OnFind(); return;
        case kReplaceId: OnReplace(); return;
        case kReplaceAndFindId: OnReplaceAndFind(); return;
        case kReplaceAllId: OnReplaceAll(); return;
        default: break;
        }
    }
    CDialog::OnControlNotify(code, id);
}

void CFindReplaceDialog::TakeFindText()
{
    CString text;
    GetDlgItemText(kFindTextId, text);
    // While the field shows the selection's text the search is for the
    // selected components themselves: a structure cannot be typed as text.
    if (text == m_findText && m_selected->GetCount() > 0)
        m_searcher.SetPattern(std::unique_ptr<CompList>(m_selected->Clone()));
    else
        m_searcher.SetFindText(ToStr255(text));
}

void CFindReplaceDialog::TakeReplaceText()
{
    CString text;
    GetDlgItemText(kReplaceTextId, text);
    m_searcher.SetReplaceText(ToStr255(text));
}

void CFindReplaceDialog::Show(const DocSelection& selection)
{
    m_view.SetSelection(selection, true);
    m_view.ScrollToShow(selection);
    InvalidateWholeView(m_target);
}

DocSelection CFindReplaceDialog::ReplaceMatch()
{
    m_view.DropUndoStep();
    DocSelection inserted = m_searcher.Replace();
    m_view.SetDocumentModified();
    m_view.UpdateLayoutFrom(m_searcher.GetParagraphIndex(), m_searcher.GetTopIndex());
    return inserted;
}

void CFindReplaceDialog::OnFind()
{
    DrawTargetScope drawing(m_target);
    TakeFindText();
    if (m_searcher.Find())
        Show(m_searcher.GetMatch());
    else
        MessageBeep(0);
}

void CFindReplaceDialog::OnReplace()
{
    DrawTargetScope drawing(m_target);
    TakeReplaceText();
    if (m_searcher.LastSearchMatched())
        Show(ReplaceMatch());
}

void CFindReplaceDialog::OnReplaceAndFind()
{
    DrawTargetScope drawing(m_target);
    TakeFindText();
    TakeReplaceText();
    if (!m_searcher.LastSearchMatched()) {
        if (m_searcher.Find())
            Show(m_searcher.GetMatch());
        else
            MessageBeep(0);
        return;
    }
    DocSelection inserted = ReplaceMatch();
    Show(m_searcher.Find() ? m_searcher.GetMatch() : inserted);
}

void CFindReplaceDialog::OnReplaceAll()
{
    DrawTargetScope drawing(m_target);
    TakeFindText();
    TakeReplaceText();
    // An empty pattern matches everywhere, again after each replacement.
    if (m_searcher.GetPattern().GetCount() == 0) {
        MessageBeep(0);
        return;
    }
    m_searcher.Restart(m_view.GetSelection().GetStart());
    const int32_t startParagraph = m_searcher.GetParagraphIndex();
    const int32_t startIndex = m_searcher.GetTopIndex();
    DocSelection last;
    bool replaced = false;
    while (m_searcher.Find()) {
        m_view.DropUndoStep();
        last = m_searcher.Replace();
        m_view.SetDocumentModified();
        replaced = true;
    }
    if (!replaced) {
        MessageBeep(0);
        return;
    }
    m_view.UpdateLayoutFrom(startParagraph, startIndex);
    Show(last);
}

void RunFindDialog(ActionView& view, ParagraphList& paragraphs, DrawTarget* target)
{
    const DocSelection selection = view.GetSelection();
    TextSearcher searcher(paragraphs, selection.GetStart(), CopySelectedComponents(selection), selection.HasExtent());
    CFindReplaceDialog dialog(searcher, view, target, LinearText(searcher.GetPattern()));
    dialog.DoModal();
}
