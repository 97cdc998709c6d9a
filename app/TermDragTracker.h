#pragma once
// Dragging a selected term of a formula with the mouse. Once the press has
// been held for one timer period the gesture is armed; from then on, for
// each place the mouse passes over, the kernel is asked what dropping the
// term there would mean, and the status bar says so (followed by "..." when
// there are several meanings) while the place the kernel chose is framed.
// Releasing makes the calculation: one meaning is performed at once, several
// are offered in a menu at the release point. A term dropped in its own
// formula is rearranged (a shuffle); dropped in another formula, that
// formula is worked on with the dragged one (a drop).
#include "foundation/DocSelection.h"
#include "foundation/ExprNode.h"
#include "foundation/MouseTracker.h"
#include "kernel/KernelLink.h"
#include "kernel/NodePath.h"
#include "kernel/TermRef.h"

#include <memory>
#include <optional>
#include <map>
#include <utility>
#include <vector>

class CCorvellView;
class ChoiceMenu;
class ParagraphComp;

// Whether a drag may start now: a kernel is ready and no request of it is running.
bool KernelTakesDrag();

class TermDragTracker : public MouseTracker {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kArmingMs = 1500;
    static constexpr unsigned kDragCursor = 151;

    TermDragTracker(CCorvellView& view, const DocSelection& press);
    ~TermDragTracker() override;

    void SetCursor() override; // also the timer tick
    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

    // The menu the release made (the view shows it), or null.
    std::unique_ptr<ChoiceMenu> TakeChoiceMenu();
    // True while a preview waits for the kernel: a release then has to wait
    // until it has returned.
    bool InRequest() const { return m_inRequest; }
    bool IsArmed() const { return m_armed; }
    bool IsCancelled() const { return m_cancelled; }
    // The node the kernel chose as the place of the drop, or null.
    const ExprNode* Target() const { return m_targetNode; }
    const std::vector<KernelChoice>& Choices() const { return m_choices; }

private:
    enum class Walk { kFound, kNone, kKernelGone };

    DocPosition PositionAt(const IntPoint& point) const;
    void Preview(const IntPoint& point);
    void ChooseTarget(const DocPosition& pos);
    void Recompute();
    Walk Ask(ExprNode* target, ExprNode* sent, bool drop);
    void ShowChoices();
    void DropTarget(const char* status);
    void ClearTargetMark();
    void FrameTarget();
    void EndWithKernelGone();
    void Status(const char* text);
    void MakeMenu(const IntPoint& point);

    CCorvellView& m_docView;
    IntPoint m_lastPoint;
    DocSelection m_press;
    DocPosition m_drop;
    TermRef m_sourceExpr;
    TermRef m_otherExpr; // the target formula when it is another one
    ExprNode* m_targetExpr = nullptr;
    std::optional<NodePath> m_sourcePath;
    std::optional<NodePath> m_targetPath;
    ExprNode* m_targetNode = nullptr; // marked as the target
    ExprNode* m_sentNode = nullptr;   // the expression the kernel was asked about
    // The kernel's first code for each (target, expression sent) asked so far.
    std::map<std::pair<const ExprNode*, const ExprNode*>, int> m_firstCodes;
    std::vector<KernelChoice> m_choices;
    std::unique_ptr<ChoiceMenu> m_menu;
    std::optional<IntPoint> m_pendingPoint;
    bool m_cancelled = false;
    bool m_multiple = false;
    bool m_inRequest = false;
    bool m_armed = false;
    bool m_first = false;
    bool m_dragCursor = false;
};
