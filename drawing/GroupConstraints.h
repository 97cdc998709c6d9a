#pragma once
// Two constraints that bind no fixed set of vertices: an equation the user
// types in a label ("EqnC"), solved only by the kernel, and a group of
// segments held at one common length ("EqlC"), marked with tick marks whose
// count the drawing sets so that different groups differ.
#include "drawing/ValueConstraint.h"

#include <functional>
#include <vector>

class SegmentShape;

// Record: x and y of the label's place, the label.
class EquationConstraint : public ValueConstraint {
public:
    EquationConstraint() = default;
    EquationConstraint(const DPoint& position, DrawLabel* label);

    TypeTag GetTag() const override { return tag_EqnC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void HideVertex() override;
    void ShowVertex() override;
    void HideConstraint() override { HideVertex(); }
    void ShowConstraint() override { ShowVertex(); }
    bool HasLabelDecoration() const override { return true; }
    void DrawLabelDecoration(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanShowLabel() const override { return m_label == nullptr; }
    // It binds no item, but it goes with a copy only together with the
    // variables its label shows (or when they are named ones).
    bool CanCopy(const ItemCopyMap& map) const override;
    bool BindsNoItem() const override { return true; }
    DrawConstraint* Copy(ItemCopyMap& map) override;
    int SelectionCode() const override { return 0; }
    // The variables the value displays of its label show: a removal that
    // frees one takes the equation along.
    std::vector<const DrawVariable*> GetUsedVariables() const override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    int GetEquationCount() const override { return 0; }
    ConstraintEqn* GetEquation(int) const override { return nullptr; }
    // Only an equation the kernel can take goes to it (see IsUsable).
    int GetKernelEquationCount() const override { return IsUsable() ? 1 : 0; }
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    const DPoint& GetPosition() const { return m_position; }
    // Whether the label holds something the user typed.
    bool HasText() const;
    // Whether the text reads as one expression: an unfinished equation
    // ("b=") reads as an error and is left out of what the kernel solves.
    bool IsUsable() const;
    // Why the equation does not act, told once each: it is unfinished, the
    // kernel that alone solves equations is not there, or the kernel could
    // not solve it.
    enum class Ignored { Unfinished, NoKernel, Refused };
    // True the first time the reason is noted.
    bool NoteIgnored(Ignored reason);

protected:
    DPoint LabelPlace(const DiagramDC&) const override { return m_position; }

private:
    DPoint m_position;
    bool m_toldUnfinished = false;
    bool m_toldNoKernel = false;
    bool m_toldRefused = false;
};

// Record: the length variable, the segment count (16-bit), then each
// segment's start and end vertex; each segment is found again through the
// vertices' shapes.
class EqualLengthConstraint : public DrawConstraint {
public:
    EqualLengthConstraint() = default;
    explicit EqualLengthConstraint(std::vector<SegmentShape*> segments);
    EqualLengthConstraint(std::vector<SegmentShape*> segments, DrawVariable* length, bool visible);
    ~EqualLengthConstraint() override;

    TypeTag GetTag() const override { return tag_EqlC; }
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    DiagramItem* HitTest(const DPoint& point, const DiagramDC& dc) override;
    void Draw(DiagramDC& dc) override;
    void WriteSVG(MathMLOutput& writer, const DiagramDC& dc) const override;
    bool CanCopy(const ItemCopyMap& map) const override;
    DrawConstraint* Copy(ItemCopyMap& map) override;
    // 0 none, 5 all; 1 two or more of each; 2 one selected and two or more
    // not; 3 two or more selected and one not; 4 one of each.
    int SelectionCode() const override;
    std::vector<const DiagramItem*> GetBoundItems() const override;
    void SetVariableTag(DiagramComp* diagram) override;
    bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const override;
    int GetVariableCount() const override { return 1; }
    DrawVariable* GetVariable(int i) const override { return i == 0 ? m_length : nullptr; }
    int GetEquationCount() const override { return static_cast<int>(m_equations.size()); }
    ConstraintEqn* GetEquation(int i) const override;
    ExprNode* BuildEquationExpr(int i, DiagramComp* context) const override;
    bool IsAttachedTo(const DiagramShape* shape) const override;

    void BuildEquations();
    void AddSegments(const std::vector<SegmentShape*>& segments);
    std::vector<SegmentShape*> SplitOffUnselected();
    std::vector<SegmentShape*> SplitOffSelected();
    // Takes out the segments the test answers true for.
    std::vector<SegmentShape*> SplitOffSegments(const std::function<bool(const DiagramItem*)>& test);
    std::vector<SegmentShape*> TakeSegments();
    // The segments in the order given (those it lacks after the others).
    void OrderSegmentsLike(const std::vector<SegmentShape*>& order);
    bool HasSegment(const SegmentShape* segment) const;
    const std::vector<SegmentShape*>& GetSegments() const { return m_segments; }
    void SetTickCount(int count) { m_tickCount = count; }
    int GetTickCount() const { return m_tickCount; }

private:
    std::vector<SegmentShape*> SplitOff(bool selected);
    // The tick strokes of one segment: count ticks of half-length reach.
    void Ticks(const SegmentShape* segment, const DiagramDC& dc, int count, double reach,
               std::vector<DPoint>& points) const;

    std::vector<SegmentShape*> m_segments;
    std::vector<std::unique_ptr<ConstraintEqn>> m_equations;
    DrawVariable* m_length = nullptr;
    int m_tickCount = 0;
};

// Sets the tick count of every equal-length constraint of the list: groups
// that share a segment show the same count, different groups differ.
void NumberTickGroups(const ItemArray<DrawConstraint>& constraints);
