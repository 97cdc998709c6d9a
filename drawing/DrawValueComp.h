#pragma once
// A value display ("VDsp"): a small component in a label's row that shows
// the value of one drawing variable with two decimals and follows it as the
// solvers move it. Its text may be edited to ask for a new value; while the
// text and the value differ by more than 0.01 it is drawn green, otherwise
// purple. It measures and draws its text in the same face.
//
// Record: the shown variable's link id (32-bit), then the text.
#include "foundation/BoxComp.h"
#include "foundation/LinkTarget.h"
#include "foundation/Str255.h"

#include <memory>
#include <optional>
#include <string>

class DiagramComp;
class DrawVariable;
class TAction;

class DrawValueComp : public BoxComp {
public:
    // Empty, for the component factory: no variable, text "0.0".
    DrawValueComp();
    explicit DrawValueComp(DrawVariable* variable);
    DrawValueComp(DrawVariable* variable, const Str255& text);

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_VDsp; }
    bool IsEqual(const TextComp& other) const override;

    void Measure() override;
    void Draw() override;

    ExprNode* BuildNode() override;
    void WriteText(TextOutBuffer& out) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    DrawVariable* GetVariable() const;
    const Str255& GetText() const { return m_text; }
    // The largest size of a value the user may type: beyond it the squares
    // the solver forms lose the precision a drawing needs.
    static constexpr double kLargestValue = 1e9;
    static constexpr const char* kEnterNumber = "Please enter a number.";

    // The text as a number; none when it is not a finite one.
    std::optional<double> ParseValue() const;
    // Why the text cannot become the variable's value (it is no number, or
    // out of range: a length or a radius is never negative), or nothing.
    std::optional<std::string> RefusalOf(const Str255& text) const;
    // The variable's value and the text differ by more than 0.01 (a text
    // that is no number differs).
    bool ValueDiffers() const;
    // What the properties dialog does on OK: the text is taken, and the
    // answer is the step that gives the variable the Locked state and, when
    // the text names another value, moves it there and solves its drawing
    // again (the view performs it: one undo step). Null, changing nothing,
    // when there is no variable, or with the refusal's message when the text
    // is refused. A variable of no drawing takes both at once (null too).
    std::unique_ptr<TAction> MakeEdit(bool locked, const Str255& text);
    // The same, the step performed at once with no undo (a drawing edited
    // without a view): answers whether the text was taken.
    bool ApplyProperties(bool locked, const Str255& text);

    // The "%.2f" form of a value (a shorter form when that would not fit).
    static Str255 FormatValue(double value);

private:
    class Observer : public TargetLink {
    public:
        explicit Observer(DrawValueComp& comp) : m_comp(comp) {}
        void Changed() override { m_comp.OnValueChanged(); }

    private:
        DrawValueComp& m_comp;
    };

    void OnValueChanged();
    const DiagramComp* DrawingAround() const;
    // Whether the text may become the variable's value (a refusal is told).
    bool Accepts(const Str255& text) const;

    Observer m_observer{*this};
    Str255 m_text;
};
