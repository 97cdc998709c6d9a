// The view's calculations: the kernel's choices for a selected formula,
// offered to the keyboard and in the context menu.
#include "app/CCorvellView.h"

#include "foundation/ExprNode.h"
#include "foundation/ParagraphComp.h"
#include "kernel/KernelLink.h"
#include "kernel/NodePath.h"
#include "kernel/TermRef.h"
#include "kernel/TCalculationAction.h"
#include "platform/framework/CMenu.h"

#include <QMenu>

namespace {

// The commands the context menu offers after Cut, Copy and Paste when enabled.
constexpr UINT kContextCommands[] = {34020, 34021, 32502, 32501, 32503, 34110, 34105};
constexpr UINT kClipboardCommands[] = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
const char* const kClipboardTexts[] = {"Cut", "Copy", "Paste"};
const char* const kContextTexts[] = {"Set Plot Bounds...", "Link Properties...", "Insert Column", "Insert Row",
                                     "Insert Derivative", "Drawing Properties...", "Color..."};

// The paragraph whose whole formula the selection covers, else null.
ParagraphComp* SelectedFormula(const DocSelection& selection)
{
    if (!selection.HasExtent() || !selection.IsInOneParagraph())
        return nullptr;
    ParagraphComp* paragraph = selection.First().GetParagraphComp();
    return paragraph && paragraph->IsEquationStyle() ? paragraph : nullptr;
}

} // namespace

std::unique_ptr<ChoiceMenu> CCorvellView::MakeChoiceMenu(const DocSelection& selection, const IntPoint* popupAt)
{
    KernelLink* link = KernelLink::Get();
    ParagraphComp* formula = SelectedFormula(selection);
    if (!formula || !link || !link->IsReady() || link->IsBusy() || m_viewMode != kEditMode)
        return nullptr;
    TermRef whole = TermRef::Build(*formula);
    if (!whole) {
        ShowStatus("Syntax Error");
        return nullptr;
    }
    // The selected part goes marked: the kernel offers what suits it where it stands.
    ExprNode* part = NodePath(whole.Get(), selection, true).Innermost();
    KernelChoice choices[KernelLink::kMaxChoices];
    const int count = link->EvaluateEval(whole.Get(), choices);
    std::vector<ChoiceAlternative> alternatives;
    for (int i = 0; i < count && i < ChoiceMenu::kMaxAlternatives; ++i) {
        if (choices[i].code != 0)
            alternatives.push_back({choices[i].code, choices[i].text, choices[i].extra});
    }
    if (alternatives.empty())
        return nullptr;
    auto* action = new TContextCalculationAction(selection, alternatives.front().value, alternatives.front().mode,
                                                 whole.Release(), part);
    if (popupAt)
        return std::make_unique<PopupChoiceMenu>(action, std::move(alternatives), *popupAt);
    // The status bar names what Enter would do.
    ShowStatus((alternatives.front().label + (alternatives.size() > 1 ? "..." : "")).c_str());
    return std::make_unique<KeyChoiceMenu>(action, std::move(alternatives));
}

void CCorvellView::OnContextMenu(CWnd*, CPoint screenPoint)
{
    CMenu popup;
    popup.CreatePopupMenu();
    for (int i = 0; i < 3; ++i)
        popup.AppendMenu(MF_STRING, kClipboardCommands[i], kClipboardTexts[i]);
    for (int i = 0; i < 7; ++i)
        popup.AppendMenu(MF_STRING, kContextCommands[i], kContextTexts[i]);
    CMenu::UpdatePopup(popup.menu(), this, true);
    // Only the enabled context commands stay, after a separator.
    bool separated = false;
    for (UINT id : kContextCommands) {
        QAction* item = popup.FindItem(id);
        if (!item)
            continue;
        if (!item->isEnabled()) {
            popup.menu()->removeAction(item);
            continue;
        }
        if (!separated)
            popup.menu()->insertSeparator(item);
        separated = true;
    }
    if (m_choiceMenu && m_choiceMenu->HasPendingAction() && !m_choiceMenu->Alternatives().empty()) {
        popup.AppendMenu(MF_SEPARATOR);
        int index = 0;
        for (const ChoiceAlternative& alternative : m_choiceMenu->Alternatives())
            popup.AppendMenu(MF_STRING, ID_CHOICE_FIRST + index++, alternative.label.c_str());
    }
    // The chosen command arrives as an ordinary command of the view.
    popup.TrackPopupMenu(TPM_CENTERALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
}

void CCorvellView::OpenChoicePopup(const IntPoint& point)
{
    CPoint scroll = GetScrollPosition();
    CPoint at(point.x - scroll.x, point.y - scroll.y);
    ClientToScreen(&at);
    OnContextMenu(this, at);
}

void CCorvellView::OnChooseAlternative(UINT id)
{
    if (m_choiceMenu)
        m_choiceMenu->OnChoose(static_cast<int>(id), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
}

void CCorvellView::OnUpdateAlternative(CCmdUI* ui)
{
    KernelLink* link = KernelLink::Get();
    ui->Enable(m_choiceMenu && m_choiceMenu->HasPendingAction() && link && !link->IsBusy());
}
