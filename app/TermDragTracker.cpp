#include "app/TermDragTracker.h"

#include "app/CCorvellView.h"
#include "app/ChoiceMenu.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/SelectionHighlight.h"
#include "kernel/TCalculationAction.h"
#include "kernel/TDropAction.h"
#include "kernel/TShuffleAction.h"
#include "kernel/TermRef.h"
#include "platform/framework/Cursors.h"

#include <algorithm>

namespace {

constexpr const char* kNothingPossible = "No action possible";
constexpr const char* kSyntaxError = "Syntax Error";

// The formula a position lies in, or null for a paragraph of text.
ParagraphComp* FormulaAt(const DocPosition& position)
{
    ParagraphComp* paragraph = position.GetParagraphComp();
    return paragraph && paragraph->IsEquationStyle() ? paragraph : nullptr;
}

} // namespace

bool KernelTakesDrag()
{
    const KernelLink* link = KernelLink::Get();
    return link && link->IsReady() && !link->IsBusy();
}

TermDragTracker::TermDragTracker(CCorvellView& view, const DocSelection& press)
    : MouseTracker(view), m_docView(view), m_press(press)
{
    ParagraphComp* formula = FormulaAt(press.First());
    if (formula)
        m_sourceExpr = TermRef::Build(*formula);
    if (!m_sourceExpr) {
        m_cancelled = true;
        Status(kSyntaxError);
        return;
    }
    m_sourcePath.emplace(m_sourceExpr.Get(), press, true);
    m_targetExpr = m_sourceExpr.Get();
    m_targetPath = m_sourcePath;
}

TermDragTracker::~TermDragTracker() = default;

DocPosition TermDragTracker::PositionAt(const IntPoint& point) const
{
    DocPosition position;
    if (m_document)
        m_document->PositionFromPoint(position, point, true);
    return position.Normalize();
}

void TermDragTracker::Status(const char* text)
{
    m_docView.ShowStatus(text);
}

void TermDragTracker::MouseDown(const IntPoint& point)
{
    m_lastPoint = point;
    m_drop = PositionAt(point);
    if (m_cancelled)
        return;
    m_docView.SetTimer(kTimerId, kArmingMs);
    Status(" ");
}

void TermDragTracker::SetCursor()
{
    if (m_cancelled)
        return;
    if (!m_armed) {
        // The press has been held for one period: previews start.
        m_armed = m_first = true;
        MouseMove(m_lastPoint);
    } else {
        m_multiple = m_choices.size() > 1;
    }
    if (m_cancelled)
        return;
    m_dragCursor = m_multiple;
    ::SetCursor(m_dragCursor ? LoadAppCursor(kDragCursor) : LoadStandardCursor(IDC_ARROW));
}

void TermDragTracker::MouseMove(const IntPoint& point)
{
    m_lastPoint = point;
    if (m_inRequest) {
        // A preview is waiting for the kernel: this place replaces any older
        // one waiting, and is looked at when the preview has returned.
        m_pendingPoint = point;
        return;
    }
    if (m_cancelled)
        return;
    Preview(point);
    while (m_pendingPoint && !m_cancelled) {
        const IntPoint next = *m_pendingPoint;
        m_pendingPoint.reset();
        Preview(next);
    }
}

void TermDragTracker::Preview(const IntPoint& point)
{
    const DocPosition pos = PositionAt(point);
    if (pos == m_drop && !m_first)
        return;
    m_first = false;
    if (m_armed)
        Status(" ");
    m_choices.clear();
    m_multiple = false;
    if (m_press.PtInSelection(point)) {
        // A term dropped on itself means nothing.
        ClearTargetMark();
        m_targetExpr = m_sourceExpr.Get();
        m_targetPath = m_sourcePath;
        m_otherExpr.Free();
        FrameTarget();
    } else {
        ChooseTarget(pos);
    }
    m_drop = pos;
}

void TermDragTracker::ChooseTarget(const DocPosition& pos)
{
    ParagraphComp* formula = FormulaAt(pos);
    if (formula && formula == m_drop.GetParagraphComp() && m_targetPath && m_targetExpr) {
        ClearTargetMark();
        m_targetPath.emplace(m_targetExpr, pos);
        Recompute();
        return;
    }
    if (!formula) {
        DropTarget(kNothingPossible);
        return;
    }
    ClearTargetMark();
    if (formula == FormulaAt(m_press.First())) {
        m_otherExpr.Free();
        m_targetExpr = m_sourceExpr.Get();
    } else {
        TermRef other = TermRef::Build(*formula);
        if (!other) {
            DropTarget(kSyntaxError);
            return;
        }
        // The kernel's earlier answers were about nodes of another tree.
        m_firstCodes.clear();
        m_otherExpr = std::move(other);
        m_targetExpr = m_otherExpr.Get();
    }
    m_targetPath.emplace(m_targetExpr, pos);
    Recompute();
}

void TermDragTracker::DropTarget(const char* status)
{
    ClearTargetMark();
    m_targetPath.reset();
    m_targetExpr = nullptr;
    m_otherExpr.Free();
    m_firstCodes.clear();
    FrameTarget();
    if (m_armed)
        Status(status);
}

void TermDragTracker::ClearTargetMark()
{
    if (m_targetNode)
        m_targetNode->SetTarget(false);
    m_targetNode = nullptr;
    m_sentNode = nullptr;
}

void TermDragTracker::Recompute()
{
    if (!m_armed || !m_targetPath)
        return;
    ClearTargetMark();
    m_choices.clear();
    Walk walk = Walk::kNone;
    const std::vector<ExprNode*>& targets = m_targetPath->Nodes();
    if (m_targetExpr == m_sourceExpr.Get()) {
        // Inside the smallest expression holding both places first, the
        // target growing outwards; then ever larger expressions, each the
        // target itself.
        ExprNode* shared = m_sourcePath->DeepestShared(*m_targetPath);
        for (auto it = targets.rbegin(); it != targets.rend() && walk == Walk::kNone; ++it) {
            walk = Ask(*it, shared, false);
            if (*it == shared)
                break;
        }
        const std::vector<ExprNode*>& sources = m_sourcePath->Nodes();
        auto at = std::find(sources.begin(), sources.end(), shared);
        while (walk == Walk::kNone && at != sources.begin() && at != sources.end()) {
            --at;
            walk = Ask(*at, *at, false);
        }
    } else {
        for (auto it = targets.rbegin(); it != targets.rend() && walk == Walk::kNone; ++it)
            walk = Ask(*it, *it, true);
    }
    if (walk == Walk::kKernelGone) {
        EndWithKernelGone();
        return;
    }
    ShowChoices();
    FrameTarget();
    m_docView.SetTimer(kTimerId, kArmingMs);
}

TermDragTracker::Walk TermDragTracker::Ask(ExprNode* target, ExprNode* sent, bool drop)
{
    if (auto known = m_firstCodes.find({target, sent}); known != m_firstCodes.end() && known->second == 0)
        return Walk::kNone;
    KernelLink* link = KernelLink::Get();
    if (!link || !link->IsReady())
        return Walk::kKernelGone;
    if (link->IsBusy())
        return Walk::kNone;
    target->SetTarget(true);
    KernelChoice choices[KernelLink::kMaxChoices];
    m_inRequest = true;
    const int count =
        drop ? link->EvaluateDrop(target, m_sourceExpr.Get(), choices) : link->EvaluateShuffle(sent, choices);
    m_inRequest = false;
    if (!link->IsReady()) {
        target->SetTarget(false);
        return Walk::kKernelGone;
    }
    m_firstCodes[{target, sent}] = choices[0].code;
    if (count < 1 || choices[0].code == 0) {
        target->SetTarget(false);
        return Walk::kNone;
    }
    m_targetNode = target;
    m_sentNode = sent;
    for (int i = 0; i < count; ++i) {
        if (choices[i].code != 0)
            m_choices.push_back(choices[i]);
    }
    return Walk::kFound;
}

void TermDragTracker::ShowChoices()
{
    if (!m_targetNode || m_choices.empty()) {
        ClearTargetMark();
        Status(kNothingPossible);
        return;
    }
    std::string text = m_choices.front().text;
    if (m_choices.size() > 1)
        text += "...";
    Status(text.c_str());
}

void TermDragTracker::FrameTarget()
{
    SelectionHighlight& highlight = m_docView.GetHighlight();
    Region old = highlight.GetExtraRegion();
    Region framed;
    if (m_targetNode && m_targetNode->HasRange())
        framed = m_targetNode->GetSourceRange().ToSelection().GetRegion();
    highlight.SetExtraRegion(framed);
    m_docView.InvalidateFramedRegion(old);
    m_docView.InvalidateFramedRegion(framed);
}

void TermDragTracker::EndWithKernelGone()
{
    m_cancelled = true;
    ClearTargetMark();
    m_choices.clear();
    FrameTarget();
    m_docView.KillTimer(kTimerId);
    Status(kNothingPossible);
}

void TermDragTracker::MouseUp(const IntPoint& point)
{
    m_docView.KillTimer(kTimerId);
    if (m_dragCursor)
        ::SetCursor(LoadStandardCursor(IDC_ARROW));
    // The newest place counts, also when the last move was not looked at yet.
    if (m_armed && !m_cancelled && (PositionAt(point) != m_drop || m_pendingPoint)) {
        m_pendingPoint.reset();
        Preview(point);
    }
    if (!m_cancelled && m_armed && m_targetNode && !m_choices.empty())
        MakeMenu(point);
    ClearTargetMark();
    FrameTarget();
    m_sourcePath.reset();
    m_targetPath.reset();
    m_choices.clear();
}

void TermDragTracker::MakeMenu(const IntPoint& point)
{
    const KernelChoice& first = m_choices.front();
    int placement = first.extra;
    TCalculationAction* action = nullptr;
    ExprNode* target = m_targetNode;
    const bool shuffle = m_targetExpr == m_sourceExpr.Get();
    if (shuffle) {
        // Shift continues the equation when the kernel leaves the placement
        // open; else the rearranged part, all the kernel was shown, goes
        // into its whole formula.
        if (placement == Placement::kNewParagraph)
            placement = GetKeyState(VK_SHIFT) < 0 ? Placement::kAfterEquals : Placement::kNewParagraphWhole;
        m_targetNode = nullptr; // the mark stays: the action sends it again
        action = new TShuffleAction(m_press, first.code, placement, m_sourceExpr.Release(), m_sentNode);
    } else {
        m_targetNode = nullptr;
        action = new TDropAction(m_press, first.code, placement, m_otherExpr.Release(), target, m_sourceExpr.Release());
    }
    m_targetExpr = nullptr;
    std::vector<ChoiceAlternative> alternatives;
    for (const KernelChoice& choice : m_choices)
        alternatives.push_back({choice.code, choice.text, choice.extra});
    // The menu performs the first choice with its own placement: the one settled here.
    if (shuffle)
        alternatives.front().mode = placement;
    if (alternatives.size() == 1)
        m_menu = std::make_unique<ImmediateChoice>(action, std::move(alternatives));
    else
        m_menu = std::make_unique<PopupChoiceMenu>(action, std::move(alternatives), point);
}

std::unique_ptr<ChoiceMenu> TermDragTracker::TakeChoiceMenu()
{
    return std::move(m_menu);
}
